#include "ksc/ksc_file.h"

#include <cstring>
#include <utility>

#include "text/gbk_text.h"

namespace kscgen {

namespace {

// Writes the KSC text into a buffer sized for the usual case up front: it
// runs once per video, and growing a string piece by piece dominated it. An
// estimate that falls short costs one more allocation, never a write past
// the end.
class KscWriter {
 public:
  explicit KscWriter(std::size_t capacity) { out_.resize(capacity); }

  void Text(std::string_view text) {
    Reserve(text.size());
    std::memcpy(&out_[size_], text.data(), text.size());
    size_ += text.size();
  }

  // `value` as the inside of a quoted literal: a quote doubled, a control
  // byte as a blank.
  void Quoted(std::string_view value) {
    Reserve(2 * value.size());
    for (char c : value) {
      if (c == '\'') {
        out_[size_++] = '\'';
        out_[size_++] = '\'';
      } else {
        out_[size_++] = text::IsControlByte(static_cast<unsigned char>(c)) ? ' ' : c;
      }
    }
  }

  std::string Finish() {
    out_.resize(size_);
    return std::move(out_);
  }

 private:
  // Room for `more` bytes after what is written.
  void Reserve(std::size_t more) {
    if (out_.size() - size_ < more) out_.resize(2 * out_.size() + more);
  }

  std::string out_;
  std::size_t size_ = 0;
};

// The bytes of the values a KSC file holds, unquoted.
std::size_t ValueBytes(const SongInfo& s) {
  return s.number.size() + s.title.size() + s.abbrev.size() + s.singer.size() + s.language.size() +
         s.style.size() + s.channel.size() + s.date_text.size() + s.singer_pinyin.size() +
         s.video_name.size();
}

}  // namespace

std::string FormatKscText(const SongInfo& s) {
  // Fixed text, the title's byte count, and every value twice over (a value
  // of quotes doubles in size).
  KscWriter out(1024 + 2 * ValueBytes(s));
  out.Text(
      "karaoke := CreateKaraokeObject;\r\n"
      "karaoke.internalnumber :=");
  out.Quoted(s.number);
  out.Text(
      " ;\r\n"
      "karaoke.rows := 2;\r\n"
      "karaoke := CreateKaraokeObject;\r\n"  // the song manager's files create it twice
      "karaoke.clear;\r\n"
      "\r\n"
      "// 歌曲附加信息(便于检索)\r\n"
      "karaoke.tag('歌名', '");
  out.Quoted(s.title);
  out.Text("');\r\nkaraoke.tag('缩写', '");
  out.Quoted(s.abbrev);
  out.Text("');\r\nkaraoke.tag('歌手', '");
  out.Quoted(s.singer);
  out.Text("');\r\nkaraoke.tag('字数', '");
  out.Text(std::to_string(s.title.size()));  // bytes: two per Chinese character
  out.Text("');\r\nkaraoke.tag('语种', '");
  out.Quoted(s.language);
  out.Text(
      "');\r\n"
      "karaoke.tag('歌类', '男人');\r\n"
      "karaoke.tag('电影', 'false');\r\n"
      "karaoke.tag('风格', '");
  out.Quoted(s.style);
  out.Text(
      "');\r\n"
      "karaoke.tag('流行', 'true');\r\n"
      "karaoke.tag('音量', '80');\r\n"
      "karaoke.tag('声道', '");
  out.Quoted(s.channel);
  out.Text(
      "');\r\n"
      "karaoke.tag('语音', '0');\r\n"
      "karaoke.tag('流行', 'true');\r\n"  // twice, as the song manager's files have it
      "karaoke.tag('介质', 'true');\r\n"
      "karaoke.tag('时间', '");
  out.Quoted(s.date_text);
  out.Text("');\r\nkaraoke.tag('歌星拼音', '");
  out.Quoted(s.singer_pinyin);
  out.Text(
      "');\r\n"
      "karaoke.mtvmode :=true;\r\n"
      "karaoke.videofilename := '';\r\n"
      "karaoke.audiofilename := '*.wav';\r\n"
      "karaoke.XSDVideoMode := 4;\r\n"
      "karaoke.CommonVideo := '");
  out.Quoted(s.video_name);
  out.Text("';\r\n");
  return out.Finish();
}

namespace {

// One line of a KSC file's script, read as the song manager's script reader
// takes it: blanks and tabs anywhere between the parts, the words in either
// case, literals in single or double quotes (a doubled quote inside one is
// one quote).
class ScriptLine {
 public:
  explicit ScriptLine(std::string_view line) : line_(line) {}

  // Whether `w` (ASCII, lower case) comes next, after any blanks; taken if so.
  bool Word(std::string_view w) {
    Blanks();
    if (line_.size() - at_ < w.size()) return false;
    for (std::size_t i = 0; i < w.size(); ++i) {
      char c = line_[at_ + i];
      if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
      if (c != w[i]) return false;
    }
    at_ += w.size();
    return true;
  }

  // The quoted literal next, after any blanks. No byte of a GBK character is
  // a quote, so it ends at the first quote that is not doubled.
  std::optional<std::string> Literal() {
    Blanks();
    if (at_ >= line_.size() || (line_[at_] != '\'' && line_[at_] != '"')) return std::nullopt;
    const char quote = line_[at_++];
    std::string value;
    for (; at_ < line_.size(); ++at_) {
      if (line_[at_] != quote) {
        value += line_[at_];
      } else if (at_ + 1 < line_.size() && line_[at_ + 1] == quote) {
        value += quote;
        ++at_;
      } else {
        ++at_;
        return value;
      }
    }
    return std::nullopt;
  }

  // The decimal digits next, after any blanks, quoted or not.
  std::optional<std::int64_t> Number() {
    Blanks();
    const bool quoted = at_ < line_.size() && (line_[at_] == '\'' || line_[at_] == '"');
    const std::size_t first = at_ + (quoted ? 1 : 0);
    std::size_t end = first;
    while (end < line_.size() && end - first < 18 && line_[end] >= '0' && line_[end] <= '9') ++end;
    if (end == first) return std::nullopt;
    std::int64_t value = 0;
    for (std::size_t i = first; i < end; ++i) value = value * 10 + (line_[i] - '0');
    at_ = end;
    return value;
  }

 private:
  void Blanks() {
    while (at_ < line_.size() && (line_[at_] == ' ' || line_[at_] == '\t')) ++at_;
  }

  std::string_view line_;
  std::size_t at_ = 0;
};

// `karaoke.tag('时间', 'VALUE')`: VALUE.
std::optional<std::string> DateOnLine(std::string_view text) {
  ScriptLine line(text);
  if (!line.Word("karaoke") || !line.Word(".") || !line.Word("tag") || !line.Word("(")) {
    return std::nullopt;
  }
  if (line.Literal() != std::optional<std::string>("时间") || !line.Word(",")) return std::nullopt;
  return line.Literal();
}

// `karaoke.internalnumber := N`: N.
std::optional<std::int64_t> NumberOnLine(std::string_view text) {
  ScriptLine line(text);
  if (!line.Word("karaoke") || !line.Word(".") || !line.Word("internalnumber") ||
      !line.Word(":=")) {
    return std::nullopt;
  }
  return line.Number();
}

// The first of the text's lines (LF or CR LF) that `read` finds a value on.
template <typename Read>
auto FirstOnALine(std::string_view text, Read read) -> decltype(read(text)) {
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    std::string_view line = text.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (auto value = read(line)) return value;
    start = end + 1;
  }
  return std::nullopt;
}

}  // namespace

std::optional<std::string> KscDateText(std::string_view ksc_text) {
  return FirstOnALine(ksc_text, DateOnLine);
}

std::optional<std::int64_t> KscSongNumber(std::string_view ksc_text) {
  return FirstOnALine(ksc_text, NumberOnLine);
}

}  // namespace kscgen
