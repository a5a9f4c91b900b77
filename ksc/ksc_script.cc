#include "ksc/ksc_script.h"

#include <algorithm>

#include "ksc/ksc_file.h"
#include "text/encoding.h"

namespace kscgen {

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
      if (Lower(line_[at_ + i]) != w[i]) return false;
    }
    at_ += w.size();
    return true;
  }

  // The name next (letters, digits, underscores), in lower case.
  std::string Identifier() {
    Blanks();
    std::string name;
    while (at_ < line_.size() && IsNameByte(line_[at_])) name += Lower(line_[at_++]);
    return name;
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

  std::size_t at() const { return at_; }

  // Whether the statement ends here, with its semicolon (taken if so).
  bool End() { return Word(";"); }

  // What stands before the statement's end (a semicolon, or the line's),
  // blanks around it left out: a value written without quotes.
  std::string Bare() {
    Blanks();
    std::size_t end = line_.find(';', at_);
    if (end == std::string_view::npos) end = line_.size();
    std::size_t last = end;
    while (last > at_ && (line_[last - 1] == ' ' || line_[last - 1] == '\t')) --last;
    std::string value(line_.substr(at_, last - at_));
    at_ = end;
    return value;
  }

 private:
  static char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }
  static bool IsNameByte(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
  }
  void Blanks() {
    while (at_ < line_.size() && (line_[at_] == ' ' || line_[at_] == '\t')) ++at_;
  }

  std::string_view line_;
  std::size_t at_ = 0;
};

// The field whose value a statement with `key` gives, if any.
std::optional<KscField> FieldOf(std::size_t order) {
  if (order == kNoStatement || !kKscStatements[order].has_field) return std::nullopt;
  return kKscStatements[order].field;
}

// Whether `line` is one of the lines kscgen writes that set nothing (the
// blank line, the comment above the tags).
bool IsFixedLine(std::string_view line) {
  for (std::size_t i = 0; i < kKscStatementCount; ++i) {
    if (!kKscStatements[i].has_field && line == kKscStatements[i].prefix) return true;
  }
  return false;
}

// Whether text without a byte-order mark is UTF-8 rather than GBK. Chinese
// in UTF-8 takes three bytes a character; GBK text is valid UTF-8 only by
// chance, and then (小 is D0 A1) in two-byte sequences. So valid UTF-8 with a
// sequence of three bytes or more is UTF-8; valid UTF-8 of two-byte
// sequences only is UTF-8 only when it is no valid GBK.
bool LooksLikeUtf8(std::string_view bytes) {
  bool two_byte_only = true;
  bool any = false;
  for (char c : bytes) {
    const auto b = static_cast<unsigned char>(c);
    if (b >= 0xE0) two_byte_only = false;
    if (b >= 0x80) any = true;
  }
  if (!any || !text::IsValidUtf8(bytes)) return false;
  return !two_byte_only || !text::GbkToUtf8(bytes);
}

bool IsBlank(std::string_view line) {
  return std::all_of(line.begin(), line.end(), [](char c) { return c == ' ' || c == '\t'; });
}

}  // namespace

std::optional<std::string> KscTextAsGbk(std::string_view bytes, KscEncoding* encoding) {
  using namespace std::string_view_literals;
  std::optional<std::string> utf8;
  if (bytes.substr(0, 3) == "\xEF\xBB\xBF"sv) {
    *encoding = KscEncoding::kUtf8WithBom;
    utf8 = std::string(bytes.substr(3));
    if (!text::IsValidUtf8(*utf8)) return std::nullopt;
  } else if (bytes.substr(0, 2) == "\xFF\xFE"sv || bytes.substr(0, 2) == "\xFE\xFF"sv) {
    const bool big = bytes[0] == '\xFE';
    *encoding = big ? KscEncoding::kUtf16Be : KscEncoding::kUtf16Le;
    utf8 = text::Utf16ToUtf8(bytes.substr(2), big);
  } else {
    if (!LooksLikeUtf8(bytes)) {
      *encoding = KscEncoding::kGbk;
      return std::string(bytes);
    }
    *encoding = KscEncoding::kUtf8;
    utf8 = std::string(bytes);
  }
  if (!utf8) return std::nullopt;
  return text::Utf8ToGbk(*utf8);
}

ScriptStatement ReadStatement(std::string_view text) {
  ScriptLine line(text);
  ScriptStatement statement;
  statement.begin = text.find_first_not_of(" \t");
  if (statement.begin == std::string_view::npos) statement.begin = text.size();
  if (!line.Word("karaoke")) return statement;
  if (line.Word(":=")) {
    if (line.Word("createkaraokeobject")) statement.key.kind = StatementKind::kCreate;
    return statement;
  }
  if (!line.Word(".")) return statement;
  std::string name = line.Identifier();
  if (name == "tag" && line.Word("(")) {
    std::optional<std::string> tag = line.Literal();
    if (!tag) return statement;
    statement.key = {StatementKind::kTag, std::move(*tag)};
    if (line.Word(",")) statement.value = line.Literal();
    statement.complete = statement.value && line.Word(")") && line.End();
    statement.end = line.at();
    return statement;
  }
  if (name == "clear") {
    statement.key.kind = StatementKind::kClear;
  } else if (line.Word(":=")) {
    statement.key = {StatementKind::kAssign, std::move(name)};
    statement.value = line.Literal();
    if (!statement.value) statement.value = line.Bare();
    statement.complete = line.End();
    statement.end = line.at();
  } else if (line.Word("(")) {
    statement.key = {StatementKind::kCall, std::move(name)};
  }
  return statement;
}

KscScript::KscScript(std::string gbk) : text_(std::move(gbk)) {
  std::size_t start = 0;
  while (start < text_.size()) {
    std::size_t end = text_.find_first_of("\r\n", start);
    Line line;
    line.start = start;
    line.size = (end == std::string::npos ? text_.size() : end) - start;
    if (end != std::string::npos) {
      line.end_size =
          text_[end] == '\r' && end + 1 < text_.size() && text_[end + 1] == '\n' ? 2 : 1;
    }
    ScriptStatement statement = ReadStatement(TextOf(line));
    line.order = StatementOrder(statement.key);
    line.field = FieldOf(line.order);
    if (line.field) {
      const auto f = static_cast<std::size_t>(*line.field);
      set_[f] = true;
      lines_of_[f].push_back(lines_.size());
      line.value = std::move(statement.value);
      line.statement_begin = statement.begin;
      line.statement_end = statement.end;
      if (!values_[f]) values_[f] = line.value;
      if (!statement.complete && incomplete_line_ == 0) incomplete_line_ = lines_.size() + 1;
    } else if (statement.key.kind == StatementKind::kCall && statement.key.name == "add") {
      ++lyric_lines_;
    } else if (line.order == kNoStatement && !IsBlank(TextOf(line)) && !IsFixedLine(TextOf(line))) {
      ++other_lines_;
    }
    lines_.push_back(line);
    start = line.start + line.size + line.end_size;
  }
}

std::optional<std::string> KscScript::ValueOtherThan(KscField field, std::string_view value) const {
  for (std::size_t i : lines_of_[static_cast<std::size_t>(field)]) {
    if (lines_[i].value && *lines_[i].value != value) return lines_[i].value;
  }
  return std::nullopt;
}

std::size_t KscScript::InsertAfter(std::size_t order) const {
  constexpr std::size_t kBeforeFirst = static_cast<std::size_t>(-1);
  std::size_t best = kBeforeFirst;  // the latest statement before `order`
  std::size_t next = kBeforeFirst;  // the earliest after it
  for (std::size_t i = 0; i < lines_.size(); ++i) {
    const std::size_t o = lines_[i].order;
    if (o == kNoStatement) continue;
    if (o < order && (best == kBeforeFirst || o > lines_[best].order)) best = i;
    if (o > order && (next == kBeforeFirst || o < lines_[next].order)) next = i;
  }
  if (best != kBeforeFirst) return best;
  if (next != kBeforeFirst && next > 0) return next - 1;
  return kBeforeFirst;
}

std::string_view KscScript::LineEndAfter(std::size_t after) const {
  const std::size_t i = after == static_cast<std::size_t>(-1) ? 0 : after;
  if (i < lines_.size() && lines_[i].end_size > 0) {
    return std::string_view(text_).substr(lines_[i].start + lines_[i].size, lines_[i].end_size);
  }
  for (const Line& l : lines_) {
    if (l.end_size > 0) return std::string_view(text_).substr(l.start + l.size, l.end_size);
  }
  return "\r\n";
}

void KscScript::MergedLine(const Line& line, const KscValues& values, std::string* out) const {
  const std::string_view old = TextOf(line);
  if (!line.field) {
    *out += old;
    return;
  }
  const std::string& value = values[static_cast<std::size_t>(*line.field)];
  if (line.value && *line.value == ValueAsWritten(value)) {
    *out += old;
    return;
  }
  // Only the statement changes: blanks before it, and whatever follows it on
  // its line (another statement, a comment), stay.
  *out += old.substr(0, line.statement_begin);
  *out += KscLineFor(*line.field, value);
  *out += old.substr(line.statement_end);
}

std::string KscScript::Merge(const KscValues& values) const {
  const bool any_statement = std::any_of(lines_.begin(), lines_.end(),
                                         [](const Line& l) { return l.order != kNoStatement; });
  if (!any_statement) {
    // Nothing of the song manager's script to put the values into: kscgen's
    // whole file, then whatever the file held.
    const bool blank = std::all_of(lines_.begin(), lines_.end(),
                                   [this](const Line& l) { return IsBlank(TextOf(l)); });
    return FormatKscText(values) + (blank ? std::string() : text_);
  }
  constexpr std::size_t kBeforeFirst = static_cast<std::size_t>(-1);
  // The lines to add, by the line they follow, in kscgen's order.
  std::vector<std::pair<std::size_t, std::string>> added;
  for (std::size_t order = 0; order < kKscStatementCount; ++order) {
    const std::optional<KscField> field = FieldOf(order);
    if (!field || set_[static_cast<std::size_t>(*field)]) continue;
    added.emplace_back(InsertAfter(order),
                       KscLineFor(*field, values[static_cast<std::size_t>(*field)]));
  }
  std::string out;
  out.reserve(text_.size() + 256);
  auto add_after = [&](std::size_t after) {
    for (const auto& [where, line] : added) {
      if (where != after) continue;
      out += line;
      out += LineEndAfter(after);
    }
  };
  add_after(kBeforeFirst);
  for (std::size_t i = 0; i < lines_.size(); ++i) {
    const Line& line = lines_[i];
    MergedLine(line, values, &out);
    out += std::string_view(text_).substr(line.start + line.size, line.end_size);
    if (line.end_size == 0 &&
        std::any_of(added.begin(), added.end(), [i](const auto& a) { return a.first == i; })) {
      out += LineEndAfter(i);
    }
    add_after(i);
  }
  return out;
}

}  // namespace kscgen
