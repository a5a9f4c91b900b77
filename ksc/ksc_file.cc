#include "ksc/ksc_file.h"

#include <cstring>
#include <utility>

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
        out_[size_++] = static_cast<unsigned char>(c) < 0x20 ? ' ' : c;
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

}  // namespace

std::string KscQuote(std::string_view value) {
  KscWriter out(value.size() * 2);
  out.Quoted(value);
  return out.Finish();
}

std::string FormatKscText(const SongInfo& info) {
  const SongInfo& s = info;
  // Fixed text, the title's byte count, and every value twice over (a value
  // of quotes doubles in size).
  std::size_t values = s.number.size() + s.title.size() + s.abbrev.size() + s.singer.size() +
                       s.language.size() + s.style.size() + s.channel.size() + s.date_text.size() +
                       s.singer_pinyin.size() + s.video_name.size();
  KscWriter out(1024 + 2 * values);
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

// Reads `karaoke.tag('时间', 'VALUE')` at `line` as the song manager's script
// reader takes it: blanks and tabs anywhere between the parts, the words in
// either case, single or double quotes (a doubled quote inside a value is one
// quote). None when the line is another statement.
std::optional<std::string> DateOnLine(std::string_view line) {
  std::size_t at = 0;
  auto blanks = [&] {
    while (at < line.size() && (line[at] == ' ' || line[at] == '\t')) ++at;
  };
  auto word = [&](std::string_view w) {  // ASCII, either case
    if (line.size() - at < w.size()) return false;
    for (std::size_t i = 0; i < w.size(); ++i) {
      char c = line[at + i];
      if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
      if (c != w[i]) return false;
    }
    at += w.size();
    return true;
  };
  // A quoted literal; no byte of a GBK character is a quote or a line end,
  // so it ends at the first quote that is not doubled.
  auto literal = [&]() -> std::optional<std::string> {
    if (at >= line.size() || (line[at] != '\'' && line[at] != '"')) return std::nullopt;
    const char quote = line[at++];
    std::string value;
    for (; at < line.size(); ++at) {
      if (line[at] != quote) {
        value += line[at];
      } else if (at + 1 < line.size() && line[at + 1] == quote) {
        value += quote;
        ++at;
      } else {
        ++at;
        return value;
      }
    }
    return std::nullopt;
  };
  blanks();
  if (!word("karaoke")) return std::nullopt;
  blanks();
  if (!word(".")) return std::nullopt;
  blanks();
  if (!word("tag")) return std::nullopt;
  blanks();
  if (!word("(")) return std::nullopt;
  blanks();
  if (literal() != std::optional<std::string>("时间")) return std::nullopt;
  blanks();
  if (!word(",")) return std::nullopt;
  blanks();
  return literal();
}

}  // namespace

std::optional<std::string> KscDateText(std::string_view ksc_text) {
  std::size_t start = 0;
  while (start < ksc_text.size()) {
    std::size_t end = ksc_text.find('\n', start);
    if (end == std::string_view::npos) end = ksc_text.size();
    std::string_view line = ksc_text.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (std::optional<std::string> date = DateOnLine(line)) return date;
    start = end + 1;
  }
  return std::nullopt;
}

KscAction PlanKscFile(const os::Existing& existing, std::string_view text, bool force) {
  switch (existing.kind) {
    case os::Existing::kMissing:
      return KscAction::kCreate;
    case os::Existing::kFolder:
    case os::Existing::kOther:
      return KscAction::kNotAFile;
    case os::Existing::kRegular:
      break;
  }
  const bool same = existing.bytes.size() == text.size() && existing.bytes == text;
  if (same && (!force || existing.write_protected)) return KscAction::kUnchanged;
  return existing.write_protected ? KscAction::kProtected : KscAction::kUpdate;
}

os::Error ReadExistingKsc(os::Folder& folder, const std::string& name, std::size_t text_size,
                          bool force, os::Existing* existing) {
  os::Error error = folder.ReadExisting(name, force ? 0 : text_size, existing);
  if (!error.failed() && force && existing->kind == os::Existing::kRegular &&
      existing->write_protected) {
    // On failure `existing` still says what stands there.
    os::Existing whole;
    error = folder.ReadExisting(name, text_size, &whole);
    if (!error.failed()) *existing = std::move(whole);
  }
  return error;
}

KscAction PlanKscFile(os::Folder& folder, const std::string& name, std::string_view text,
                      bool force) {
  os::Existing what;
  if (os::Error error = ReadExistingKsc(folder, name, text.size(), force, &what); error.failed()) {
    // A protected file whose bytes could not be read is left alone;
    // otherwise the write tells what becomes of it.
    return what.write_protected ? KscAction::kProtected : KscAction::kUpdate;
  }
  return PlanKscFile(what, text, force);
}

WriteStatus WriteFileReplacing(os::Folder& folder, const std::string& name, std::string_view text) {
  bool in_folder = false;
  os::Error error = folder.Replace(name, text, &in_folder);
  if (!error.failed()) return {};
  return {in_folder ? WriteFailure::kFolder : WriteFailure::kKscFile, error};
}

}  // namespace kscgen
