#include "ksc/ksc_file.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <system_error>

#ifdef _WIN32
#include <process.h>
#define getpid _getpid
#else
#include <unistd.h>
#endif

#include "text/encoding.h"

namespace kscgen {

namespace {

constexpr std::string_view kTempPrefix = ".kscgen-";
constexpr std::string_view kTempSuffix = ".tmp";

std::string TemporaryPathBeside(const std::string& path) {
  std::filesystem::path temp = std::filesystem::path(path).parent_path();
  temp /= std::string(kTempPrefix) + std::to_string(getpid()) + std::string(kTempSuffix);
  return temp.string();
}

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
  const std::string temp = TemporaryPathBeside(path);
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

bool IsTemporaryFileName(std::string_view name) {
  return name.size() > kTempPrefix.size() + kTempSuffix.size() &&
         name.substr(0, kTempPrefix.size()) == kTempPrefix &&
         name.substr(name.size() - kTempSuffix.size()) == kTempSuffix;
}

void RemoveStaleTemporaryFiles(const std::string& folder) {
  namespace fs = std::filesystem;
  std::error_code ec;
  fs::directory_iterator it(folder.empty() ? fs::path(".") : fs::path(folder), ec);
  for (; !ec && it != fs::directory_iterator(); it.increment(ec)) {
    if (!IsTemporaryFileName(it->path().filename().string())) continue;
    std::error_code ignored;
    if (it->is_regular_file(ignored)) fs::remove(it->path(), ignored);
  }
}

WriteStatus WriteKscFile(const TSongInfo& info) {
  return WriteFileReplacing(info.KscPath, FormatKscText(info));
}

}  // namespace kscgen
