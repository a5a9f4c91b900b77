#include "ksc/ksc_file.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "text/encoding.h"

namespace kscgen {

const char* const kKscTempSuffix = ".kscgen-tmp";

namespace {

void Line(std::string& out, std::string_view text) { out.append(text).append("\r\n"); }

void TagLine(std::string& out, std::string_view tag, std::string_view value) {
  out.append("karaoke.tag('").append(tag).append("', '").append(KscQuote(value)).append("');\r\n");
}

std::string CannotCreate(const std::string& path, const std::string& reason) {
  return "Cannot create file \"" + text::DisplayName(path) + "\". " + reason;
}

}  // namespace

std::string KscQuote(std::string_view value) {
  std::string out;
  out.reserve(value.size());
  for (char c : value) {
    if (c == '\'') {
      out += "''";
    } else if (static_cast<unsigned char>(c) < 0x20) {
      out += ' ';
    } else {
      out += c;
    }
  }
  return out;
}

std::string FormatKscText(const TSongInfo& info) {
  std::string out;
  out.reserve(1024);
  Line(out, "karaoke := CreateKaraokeObject;");
  out.append("karaoke.internalnumber :=").append(KscQuote(info.Number)).append(" ;\r\n");
  Line(out, "karaoke.rows := 2;");
  Line(out, "karaoke := CreateKaraokeObject;");
  Line(out, "karaoke.clear;");
  Line(out, "");
  Line(out, "// 歌曲附加信息(便于检索)");
  TagLine(out, "歌名", info.Title);
  TagLine(out, "缩写", info.Abbrev);
  TagLine(out, "歌手", info.Singer);
  TagLine(out, "字数", std::to_string(info.Title.size()));  // bytes: two per Chinese character
  TagLine(out, "语种", info.Language);
  Line(out, "karaoke.tag('歌类', '男人');");
  Line(out, "karaoke.tag('电影', 'false');");
  TagLine(out, "风格", info.Style);
  Line(out, "karaoke.tag('流行', 'true');");
  Line(out, "karaoke.tag('音量', '80');");
  TagLine(out, "声道", info.Channel);
  Line(out, "karaoke.tag('语音', '0');");
  Line(out, "karaoke.tag('流行', 'true');");  // the song manager's files carry it twice
  Line(out, "karaoke.tag('介质', 'true');");
  TagLine(out, "时间", info.DateText);
  TagLine(out, "歌星拼音", info.SingerPinyin);
  Line(out, "karaoke.mtvmode :=true;");
  Line(out, "karaoke.videofilename := '';");
  Line(out, "karaoke.audiofilename := '*.wav';");
  Line(out, "karaoke.XSDVideoMode := 4;");
  out.append("karaoke.CommonVideo := '").append(KscQuote(info.VideoName)).append("';\r\n");
  return out;
}

WriteStatus WriteFileReplacing(const std::string& path, std::string_view text) {
  const std::string temp = path + kKscTempSuffix;
  std::FILE* f = std::fopen(temp.c_str(), "wb");
  if (f == nullptr) return {false, CannotCreate(path, std::strerror(errno))};
  bool written = std::fwrite(text.data(), 1, text.size(), f) == text.size();
  int write_errno = errno;
  if (std::fclose(f) != 0 && written) {
    written = false;
    write_errno = errno;
  }
  std::error_code ec;
  if (!written) {
    std::filesystem::remove(temp, ec);
    return {false, CannotCreate(path, std::strerror(write_errno))};
  }
  std::filesystem::rename(temp, path, ec);
  if (ec) {
    std::error_code ignored;
    std::filesystem::remove(temp, ignored);
    return {false, CannotCreate(path, ec.message())};
  }
  return {};
}

WriteStatus WriteKscFile(const TSongInfo& info) {
  return WriteFileReplacing(info.KscPath, FormatKscText(info));
}

}  // namespace kscgen
