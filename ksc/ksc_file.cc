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

// Appends `value` as the inside of a quoted literal: a quote doubled, a
// control byte as a blank. Runs of plain bytes go in one piece.
void AppendQuoted(std::string& out, std::string_view value) {
  std::size_t plain = 0;
  for (std::size_t i = 0; i < value.size(); ++i) {
    char c = value[i];
    if (c != '\'' && static_cast<unsigned char>(c) >= 0x20) continue;
    out.append(value.substr(plain, i - plain));
    out.append(c == '\'' ? "''" : " ");
    plain = i + 1;
  }
  out.append(value.substr(plain));
}

std::string CannotCreate(const std::string& path, const std::string& reason) {
  return "Cannot create file \"" + text::DisplayName(path) + "\". " + reason;
}

}  // namespace

std::string KscQuote(std::string_view value) {
  std::string out;
  out.reserve(value.size());
  AppendQuoted(out, value);
  return out;
}

std::string FormatKscText(const TSongInfo& info) {
  // The fixed text between two values is appended in one piece: this runs
  // once per video, and short appends would dominate it.
  std::string out;
  out.reserve(768 + info.Title.size() * 2 + info.Singer.size() + info.VideoName.size());
  out.append(
      "karaoke := CreateKaraokeObject;\r\n"
      "karaoke.internalnumber :=");
  AppendQuoted(out, info.Number);
  out.append(
      " ;\r\n"
      "karaoke.rows := 2;\r\n"
      "karaoke := CreateKaraokeObject;\r\n"  // the song manager's files create it twice
      "karaoke.clear;\r\n"
      "\r\n"
      "// 歌曲附加信息(便于检索)\r\n"
      "karaoke.tag('歌名', '");
  AppendQuoted(out, info.Title);
  out.append("');\r\nkaraoke.tag('缩写', '");
  AppendQuoted(out, info.Abbrev);
  out.append("');\r\nkaraoke.tag('歌手', '");
  AppendQuoted(out, info.Singer);
  out.append("');\r\nkaraoke.tag('字数', '");
  out.append(std::to_string(info.Title.size()));  // bytes: two per Chinese character
  out.append("');\r\nkaraoke.tag('语种', '");
  AppendQuoted(out, info.Language);
  out.append(
      "');\r\n"
      "karaoke.tag('歌类', '男人');\r\n"
      "karaoke.tag('电影', 'false');\r\n"
      "karaoke.tag('风格', '");
  AppendQuoted(out, info.Style);
  out.append(
      "');\r\n"
      "karaoke.tag('流行', 'true');\r\n"
      "karaoke.tag('音量', '80');\r\n"
      "karaoke.tag('声道', '");
  AppendQuoted(out, info.Channel);
  out.append(
      "');\r\n"
      "karaoke.tag('语音', '0');\r\n"
      "karaoke.tag('流行', 'true');\r\n"  // twice, as the song manager's files have it
      "karaoke.tag('介质', 'true');\r\n"
      "karaoke.tag('时间', '");
  AppendQuoted(out, info.DateText);
  out.append("');\r\nkaraoke.tag('歌星拼音', '");
  AppendQuoted(out, info.SingerPinyin);
  out.append(
      "');\r\n"
      "karaoke.mtvmode :=true;\r\n"
      "karaoke.videofilename := '';\r\n"
      "karaoke.audiofilename := '*.wav';\r\n"
      "karaoke.XSDVideoMode := 4;\r\n"
      "karaoke.CommonVideo := '");
  AppendQuoted(out, info.VideoName);
  out.append("';\r\n");
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
