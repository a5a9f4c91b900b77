#include "ksc/ksc_script.h"

#include <algorithm>

#include "ksc/ksc_file.h"
#include "text/encoding.h"

namespace kscgen {

namespace {

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

// Whether text without a byte-order mark is of an encoding kscgen does not
// read: UTF-16 or UTF-32, whose ASCII characters each bring one NUL byte or
// more. GBK text holds a NUL only here and there (kept as it is).
bool HasManyNulBytes(std::string_view bytes) {
  const auto nuls = static_cast<std::size_t>(std::count(bytes.begin(), bytes.end(), '\0'));
  return nuls > 0 && nuls * 8 >= bytes.size();
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
  } else if (bytes.substr(0, 4) == "\xFF\xFE\0\0"sv || bytes.substr(0, 4) == "\0\0\xFE\xFF"sv) {
    // UTF-32, whose mark begins as UTF-16's does.
    *encoding = KscEncoding::kUnrecognised;
    return std::nullopt;
  } else if (bytes.substr(0, 2) == "\xFF\xFE"sv || bytes.substr(0, 2) == "\xFE\xFF"sv) {
    const bool big = bytes[0] == '\xFE';
    *encoding = big ? KscEncoding::kUtf16Be : KscEncoding::kUtf16Le;
    utf8 = text::Utf16ToUtf8(bytes.substr(2), big);
  } else if (HasManyNulBytes(bytes)) {
    *encoding = KscEncoding::kUnrecognised;
    return std::nullopt;
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

KscScript::KscScript(std::string gbk) : text_(std::move(gbk)) {
  CommentState comment = CommentState::kNone;
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
    line.starts_in_comment = comment != CommentState::kNone;
    const std::vector<ScriptStatement> read = ReadLineStatements(TextOf(line), &comment);
    line.ends_in_comment = comment != CommentState::kNone;
    line.first = statements_.size();
    lines_.push_back(line);
    AddStatements(lines_.size() - 1, read);
    start = line.start + line.size + line.end_size;
  }
  if (comment != CommentState::kNone) {
    // Opened on the last line that starts outside it.
    std::size_t opened = lines_.size() - 1;
    while (opened > 0 && lines_[opened].starts_in_comment) --opened;
    unclosed_comment_line_ = opened + 1;
  }
}

void KscScript::AddStatements(std::size_t index, const std::vector<ScriptStatement>& read) {
  Line& line = lines_[index];
  bool sets_field = false;
  bool timed = false;
  for (const ScriptStatement& s : read) {
    timed |= s.key.kind == StatementKind::kCall && s.key.name == "add";
    const std::size_t order = StatementOrder(s.key);
    if (order == kNoStatement) continue;
    if (s.hidden) {
      if (FieldOf(order) && hidden_line_ == 0) hidden_line_ = index + 1;
      continue;
    }
    Statement statement{index, order, FieldOf(order), s.value, s.begin, s.end};
    if (statement.field) {
      const auto f = static_cast<std::size_t>(*statement.field);
      sets_field = true;
      set_[f] = true;
      statements_of_[f].push_back(statements_.size());
      if (!values_[f]) values_[f] = statement.value;
      if (!s.complete && incomplete_line_ == 0) incomplete_line_ = index + 1;
    }
    statements_.push_back(std::move(statement));
  }
  line.count = statements_.size() - line.first;
  if (sets_field) return;
  if (timed) {
    ++lyric_lines_;
  } else if (line.count == 0 && !IsBlank(TextOf(line)) && !IsFixedLine(TextOf(line))) {
    ++other_lines_;
  }
}

std::optional<std::string> KscScript::ValueOtherThan(KscField field, std::string_view value) const {
  for (std::size_t i : statements_of_[static_cast<std::size_t>(field)]) {
    const std::optional<std::string>& held = statements_[i].value;
    if (held && !GivesValue(field, *held, value)) return held;
  }
  return std::nullopt;
}

std::size_t KscScript::InsertAfter(std::size_t order) const {
  constexpr std::size_t kBeforeFirst = static_cast<std::size_t>(-1);
  std::size_t best = kBeforeFirst;  // the latest statement before `order`
  std::size_t next = kBeforeFirst;  // the earliest after it
  for (std::size_t i = 0; i < statements_.size(); ++i) {
    const std::size_t o = statements_[i].order;
    if (o < order && (best == kBeforeFirst || o > statements_[best].order)) best = i;
    if (o > order && (next == kBeforeFirst || o < statements_[next].order)) next = i;
  }
  if (best != kBeforeFirst) {
    // After the comment its line opens, if any.
    std::size_t after = statements_[best].line;
    while (after + 1 < lines_.size() && lines_[after].ends_in_comment) ++after;
    return after;
  }
  if (next == kBeforeFirst) return kBeforeFirst;
  // Before the comment its line starts in, if any.
  std::size_t before = statements_[next].line;
  while (before > 0 && lines_[before].starts_in_comment) --before;
  return before > 0 ? before - 1 : kBeforeFirst;
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

void KscScript::MergedLine(const Line& line, const KscValues& values,
                           const KscOptionalValues& only_over, std::string* out) const {
  const std::string_view old = TextOf(line);
  // Only the statements that give another value change: blanks, other
  // statements and comments around them stay.
  std::size_t kept = 0;  // the line is copied up to here
  for (std::size_t i = line.first; i < line.first + line.count; ++i) {
    const Statement& s = statements_[i];
    if (!s.field) continue;
    const std::size_t f = static_cast<std::size_t>(*s.field);
    const std::string value = ValueAsWritten(values[f]);
    if (s.value && GivesValue(*s.field, *s.value, value)) continue;
    if (only_over[f] && !(s.value && GivesValue(*s.field, *s.value, *only_over[f]))) continue;
    *out += old.substr(kept, s.begin - kept);
    *out += KscLineFor(*s.field, values[static_cast<std::size_t>(*s.field)]);
    kept = s.end;
  }
  *out += old.substr(kept);
}

std::string KscScript::Merge(const KscValues& values, const KscOptionalValues& only_over) const {
  if (statements_.empty()) {
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
    MergedLine(line, values, only_over, &out);
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
