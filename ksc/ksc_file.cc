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

// A temporary file of WriteFileReplacing (".kscgen-<process>.tmp"), as an
// interrupted run may leave behind.
bool IsTemporaryFileName(std::string_view name) {
  return name.size() > kTempPrefix.size() + kTempSuffix.size() &&
         name.substr(0, kTempPrefix.size()) == kTempPrefix &&
         name.substr(name.size() - kTempSuffix.size()) == kTempSuffix;
}

// Writes the KSC text into a buffer sized for the worst case up front: it
// runs once per video, and growing a string piece by piece dominated it.
class KscWriter {
 public:
  explicit KscWriter(std::size_t capacity) { out_.resize(capacity); }

  void Text(std::string_view text) {
    std::memcpy(&out_[size_], text.data(), text.size());
    size_ += text.size();
  }

  // `value` as the inside of a quoted literal: a quote doubled, a control
  // byte as a blank.
  void Quoted(std::string_view value) {
    for (char c : value) {
      if (c == '\'') {
        out_[size_++] = '\'';
        out_[size_++] = '\'';
      } else {
        out_[size_++] = static_cast<unsigned char>(c) < 0x20 ? ' ' : c;
      }
    }
  }

  std::string Finish() {
    out_.resize(size_);
    return std::move(out_);
  }

 private:
  std::string out_;
  std::size_t size_ = 0;
};

std::string CannotCreate(const std::string& path, const std::string& reason) {
  return "Cannot create file \"" + text::DisplayName(path) + "\". " + reason;
}

}  // namespace

std::string KscQuote(std::string_view value) {
  KscWriter out(value.size() * 2);
  out.Quoted(value);
  return out.Finish();
}

std::string FormatKscText(const TSongInfo& info) {
  const TSongInfo& s = info;
  // Fixed text, the title's byte count, and every value twice over (a value
  // of quotes doubles in size).
  std::size_t values = s.Number.size() + s.Title.size() + s.Abbrev.size() + s.Singer.size() +
                       s.Language.size() + s.Style.size() + s.Channel.size() + s.DateText.size() +
                       s.SingerPinyin.size() + s.VideoName.size();
  KscWriter out(1024 + 2 * values);
  out.Text(
      "karaoke := CreateKaraokeObject;\r\n"
      "karaoke.internalnumber :=");
  out.Quoted(s.Number);
  out.Text(
      " ;\r\n"
      "karaoke.rows := 2;\r\n"
      "karaoke := CreateKaraokeObject;\r\n"  // the song manager's files create it twice
      "karaoke.clear;\r\n"
      "\r\n"
      "// 歌曲附加信息(便于检索)\r\n"
      "karaoke.tag('歌名', '");
  out.Quoted(s.Title);
  out.Text("');\r\nkaraoke.tag('缩写', '");
  out.Quoted(s.Abbrev);
  out.Text("');\r\nkaraoke.tag('歌手', '");
  out.Quoted(s.Singer);
  out.Text("');\r\nkaraoke.tag('字数', '");
  out.Text(std::to_string(s.Title.size()));  // bytes: two per Chinese character
  out.Text("');\r\nkaraoke.tag('语种', '");
  out.Quoted(s.Language);
  out.Text(
      "');\r\n"
      "karaoke.tag('歌类', '男人');\r\n"
      "karaoke.tag('电影', 'false');\r\n"
      "karaoke.tag('风格', '");
  out.Quoted(s.Style);
  out.Text(
      "');\r\n"
      "karaoke.tag('流行', 'true');\r\n"
      "karaoke.tag('音量', '80');\r\n"
      "karaoke.tag('声道', '");
  out.Quoted(s.Channel);
  out.Text(
      "');\r\n"
      "karaoke.tag('语音', '0');\r\n"
      "karaoke.tag('流行', 'true');\r\n"  // twice, as the song manager's files have it
      "karaoke.tag('介质', 'true');\r\n"
      "karaoke.tag('时间', '");
  out.Quoted(s.DateText);
  out.Text("');\r\nkaraoke.tag('歌星拼音', '");
  out.Quoted(s.SingerPinyin);
  out.Text(
      "');\r\n"
      "karaoke.mtvmode :=true;\r\n"
      "karaoke.videofilename := '';\r\n"
      "karaoke.audiofilename := '*.wav';\r\n"
      "karaoke.XSDVideoMode := 4;\r\n"
      "karaoke.CommonVideo := '");
  out.Quoted(s.VideoName);
  out.Text("';\r\n");
  return out.Finish();
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
