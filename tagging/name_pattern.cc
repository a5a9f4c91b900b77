#include "tagging/name_pattern.h"

#include <cctype>
#include <iterator>

#include "tagging/classification.h"
#include "tagging/file_name.h"
#include "tagging/name_reading.h"
#include "text/gbk_text.h"

namespace kscgen {
namespace {

struct Placeholder {
  std::string_view name;  // between the braces
  PatternField field;
};

constexpr Placeholder kPlaceholders[] = {
    {"歌手", PatternField::kSinger},   {"歌名", PatternField::kTitle},
    {"语种", PatternField::kLanguage}, {"类别", PatternField::kStyle},
    {"声道", PatternField::kChannel},  {"编号", PatternField::kNumber},
    {"*", PatternField::kSkip},
};

const Placeholder* PlaceholderNamed(std::string_view name) {
  name = text::TrimView(name);
  for (const Placeholder& p : kPlaceholders) {
    if (p.name == name) return &p;
  }
  return nullptr;
}

PatternCheck Refuse(PatternFault fault, std::string_view text) {
  PatternCheck check;
  check.fault = fault;
  check.text = std::string(text);
  return check;
}

}  // namespace

bool NamePattern::Has(PatternField field) const {
  for (const PatternStep& step : steps) {
    if (step.field == field) return true;
  }
  return false;
}

// Which brace a character of a pattern is: "{" and "}", or their
// full-width forms ｛ and ｝, which a Chinese input method types.
enum class Brace { kNone, kOpen, kClose };

Brace BraceAt(std::string_view s, std::size_t i, std::size_t len) {
  if (len == 1) return s[i] == '{' ? Brace::kOpen : s[i] == '}' ? Brace::kClose : Brace::kNone;
  if (static_cast<unsigned char>(s[i]) != text::kFullWidthFormsRow) return Brace::kNone;
  const auto trail = static_cast<unsigned char>(s[i + 1]);
  return trail == 0xFB ? Brace::kOpen : trail == 0xFD ? Brace::kClose : Brace::kNone;
}

// Characters no file name on Windows holds: a pattern that needs one fits
// no video's name.
constexpr std::string_view kNotInFileNames = "\\/:*?\"<>|";

PatternCheck CompileNamePattern(std::string_view gbk) {
  gbk = text::TrimView(gbk);
  NamePattern pattern;
  std::string* literal = &pattern.leading;
  std::size_t last_placeholder = std::string_view::npos;  // where the one before began
  for (std::size_t i = 0; i < gbk.size();) {
    const std::size_t len = text::CharLength(gbk, i);
    const Brace brace = BraceAt(gbk, i, len);
    if (brace == Brace::kClose) return Refuse(PatternFault::kStrayClosingBrace, gbk.substr(i, len));
    if (brace == Brace::kNone) {
      if (len == 1 && kNotInFileNames.find(gbk[i]) != std::string_view::npos) {
        return Refuse(PatternFault::kNotInFileNames, gbk.substr(i, 1));
      }
      literal->append(gbk.substr(i, len));
      i += len;
      continue;
    }
    std::size_t close = i + len;
    while (close < gbk.size() &&
           BraceAt(gbk, close, text::CharLength(gbk, close)) != Brace::kClose) {
      close += text::CharLength(gbk, close);
    }
    if (close == gbk.size()) return Refuse(PatternFault::kUnclosedPlaceholder, gbk.substr(i));
    const std::size_t end = close + text::CharLength(gbk, close);
    const std::string_view typed = gbk.substr(i, end - i);
    const Placeholder* p = PlaceholderNamed(gbk.substr(i + len, close - i - len));
    if (p == nullptr) return Refuse(PatternFault::kUnknownPlaceholder, typed);
    if (p->field != PatternField::kSkip && pattern.Has(p->field)) {
      return Refuse(PatternFault::kRepeatedPlaceholder, typed);
    }
    if (!pattern.steps.empty() && literal->empty()) {
      return Refuse(PatternFault::kAdjacentPlaceholders,
                    gbk.substr(last_placeholder, end - last_placeholder));
    }
    if (pattern.steps.size() == kMaxPatternSteps) {
      return Refuse(PatternFault::kTooManyPlaceholders, typed);
    }
    pattern.steps.push_back({p->field, std::string()});
    literal = &pattern.steps.back().literal;
    last_placeholder = i;
    i = end;
  }
  if (!pattern.Has(PatternField::kTitle)) return Refuse(PatternFault::kNoTitle, gbk);
  // Names are read without their extension: ".mpg" at the end fits none.
  if (const std::size_t dot = literal->rfind('.');
      dot != std::string::npos && dot + 1 < literal->size()) {
    const std::string_view after = std::string_view(*literal).substr(dot + 1);
    bool letters = true;
    for (char c : after) letters = letters && std::isalnum(static_cast<unsigned char>(c));
    if (letters) return Refuse(PatternFault::kExtension, std::string_view(*literal).substr(dot));
  }
  PatternCheck check;
  check.pattern = std::move(pattern);
  return check;
}

}  // namespace kscgen

// Reading a name by a pattern.
namespace kscgen {
namespace {

using naming::Mark;
using naming::MarkOf;
using text::TrimView;

bool IsBlankAt(std::string_view s, std::size_t i, std::size_t len) {
  return MarkOf(s, i, len) == Mark::kBlank || text::IsBlank(static_cast<unsigned char>(s[i]));
}

// A character as a pattern's literal text matches it: the full-width forms
// of ASCII (GBK's row A3: －, ＿) are their ASCII, and every opening bracket
// is "(", every closing one ")", as brackets count alike everywhere.
unsigned CanonicalChar(std::string_view s, std::size_t i, std::size_t len) {
  const Mark m = MarkOf(s, i, len);
  if (m == Mark::kOpen) return '(';
  if (m == Mark::kClose) return ')';
  const auto lead = static_cast<unsigned char>(s[i]);
  if (len == 1) return lead;
  const auto trail = static_cast<unsigned char>(s[i + 1]);
  if (lead == text::kFullWidthFormsRow && trail >= 0xA1) return trail - 0x80u;
  return lead << 8 | trail;
}

std::size_t SkipBlanks(std::string_view s, std::size_t i) {
  while (i < s.size() && IsBlankAt(s, i, text::CharLength(s, i))) i += text::CharLength(s, i);
  return i;
}

// Blanks only, full-width ones (　) among them: such a literal needs a blank.
bool IsAllBlank(std::string_view s) { return SkipBlanks(s, 0) == s.size(); }

// Where a literal that begins at `i` of `name` ends, or npos when it does
// not begin there. A run of blanks in the literal matches a run of blanks
// in the name; when not `strict`, no blank too.
std::size_t LiteralEndAt(std::string_view name, std::size_t i, std::string_view literal,
                         bool strict) {
  for (std::size_t k = 0; k < literal.size();) {
    const std::size_t klen = text::CharLength(literal, k);
    if (IsBlankAt(literal, k, klen)) {
      k = SkipBlanks(literal, k);
      const std::size_t after = SkipBlanks(name, i);
      if (strict && after == i) return std::string_view::npos;
      i = after;
      continue;
    }
    if (i >= name.size()) return std::string_view::npos;
    const std::size_t len = text::CharLength(name, i);
    if (CanonicalChar(name, i, len) != CanonicalChar(literal, k, klen)) {
      return std::string_view::npos;
    }
    i += len;
    k += klen;
  }
  return i;
}

struct Span {
  std::size_t begin = 0;
  std::size_t end = 0;
};

// The first place at or after `from`, outside brackets opened after `from`,
// where `literal` occurs with text before it (unless `may_be_empty`). A
// literal with blanks is looked for with them first ("A-Z - 大学生" splits at
// " - "), then without; blanks around it belong to it either way.
bool FindLiteral(std::string_view name, std::size_t from, std::string_view literal,
                 bool may_be_empty, Span* found) {
  const bool blank_only = IsAllBlank(literal);
  bool ok = false;
  for (const bool strict : {true, false}) {
    bool text_before = may_be_empty;  // a placeholder takes some text first
    naming::WalkChars(name, from, [&](std::size_t b, std::size_t e, Mark, std::size_t depth) {
      const bool blank = IsBlankAt(name, b, e - b);
      if (depth > 0 || !text_before) {
        text_before = text_before || !blank;
        return true;
      }
      if (blank_only) {
        if (!blank) return true;
        *found = {b, SkipBlanks(name, b)};
      } else {
        const std::size_t end = LiteralEndAt(name, b, literal, strict);
        if (end == std::string_view::npos) return true;
        *found = {b, SkipBlanks(name, end)};
      }
      ok = true;
      return false;
    });
    if (ok || blank_only) break;
  }
  return ok;
}

// The text each placeholder takes, separators at its ends left out, or
// false when the name does not fit. `tail` is what follows the pattern's
// last literal.
bool MatchPattern(const NamePattern& pattern, std::string_view name, std::string_view* captures,
                  std::string_view* tail) {
  std::size_t pos = 0;
  if (!TrimView(pattern.leading).empty()) {
    pos = LiteralEndAt(name, 0, TrimView(pattern.leading), false);
    if (pos == std::string_view::npos) return false;
    pos = SkipBlanks(name, pos);
  }
  *tail = std::string_view();
  for (std::size_t s = 0; s < pattern.steps.size(); ++s) {
    const PatternStep& step = pattern.steps[s];
    const bool may_be_empty = step.field == PatternField::kSkip;
    if (step.literal.empty()) {  // the last placeholder takes the rest
      captures[s] = naming::TrimSeparators(name.substr(pos));
      return may_be_empty || !captures[s].empty();
    }
    Span at;
    if (!FindLiteral(name, pos, step.literal, may_be_empty, &at)) return false;
    captures[s] = naming::TrimSeparators(name.substr(pos, at.begin - pos));
    if (!may_be_empty && captures[s].empty()) return false;
    if (step.field == PatternField::kNumber && !naming::IsDigits(captures[s])) return false;
    pos = at.end;
  }
  *tail = name.substr(pos);
  return true;
}

// The value a placeholder other than {歌名} and {歌手} gives, with a note
// where it names none of the song manager's values.
void ReadPlaceholder(PatternField field, std::string_view value, naming::Reading& r) {
  switch (field) {
    case PatternField::kLanguage:
      r.info.language = ClassifyLanguage(value);
      if (!NamesLanguage(value)) naming::Note(r.findings, NameFindingKind::kUnknownLanguage, value);
      break;
    case PatternField::kStyle:
      if (std::optional<std::string> style = MatchStyle(value)) {
        r.info.style = std::move(*style);
      } else {
        naming::Note(r.findings, NameFindingKind::kUnknownStyle, value);
      }
      break;
    case PatternField::kChannel:
      if (std::optional<std::string> channel = ClassifyChannel(value)) {
        r.info.channel = std::move(*channel);
      } else {
        naming::Note(r.findings, NameFindingKind::kUnknownChannel, value);
      }
      break;
    case PatternField::kNumber:
      if (naming::IsDigits(value)) {
        r.info.name_number = std::string(value);
      } else {
        naming::Note(r.findings, NameFindingKind::kBadNumber, value);
      }
      break;
    case PatternField::kSinger:
      r.info.singer = std::string(value);
      break;
    case PatternField::kTitle:
      r.info.title = std::string(value);
      break;
    case PatternField::kSkip:
      break;
  }
}

// The slot a placeholder fills, so that brackets after the name do not.
unsigned SlotOf(PatternField field) {
  switch (field) {
    case PatternField::kLanguage:
      return naming::kLanguageSlot;
    case PatternField::kStyle:
      return naming::kStyleSlot;
    case PatternField::kChannel:
      return naming::kChannelSlot;
    default:
      return 0;
  }
}

}  // namespace

void ParseSongName(const NamePattern& pattern, int folder_role, std::string_view base_name,
                   std::string_view folder_name, SongInfo& info, NameFindings* findings) {
  folder_name = TrimView(folder_name);
  const unsigned all = naming::SlotsOf(kTemplateCustom);
  naming::Reading r{info, findings, all, all};
  std::string_view name = TrimView(base_name);
  // A pattern that begins with a placeholder leaves tags before the name
  // aside; one that begins with text of its own says what is there.
  // Its {编号} is the number: none is looked for elsewhere in the name.
  r.number_read = pattern.Has(PatternField::kNumber);
  if (TrimView(pattern.leading).empty()) {
    name = naming::WithoutLeadingTags(name, r, !r.number_read);
  }

  std::string_view captures[kMaxPatternSteps];
  std::string_view tail;
  if (!MatchPattern(pattern, name, captures, &tail)) {
    const std::size_t note = findings ? findings->size() : 0;
    naming::Note(findings, NameFindingKind::kPatternMismatch);
    info.title = std::string(naming::ReadTitlePart(name, r));
    info.singer = kUnknownSinger;
    // Brackets and fields after the title were read: not the whole name is it.
    if (findings && info.title != name) {
      (*findings)[note].kind = NameFindingKind::kPatternMismatchRead;
    }
    naming::ApplyFolderRole(folder_role, folder_name, false, false, r);
  } else {
    for (const PatternStep& step : pattern.steps) {
      r.open &= ~SlotOf(step.field);
      r.given |= SlotOf(step.field);
    }
    const std::size_t last = pattern.steps.size() - 1;
    if (pattern.steps[last].literal.empty()) {
      captures[last] = naming::ReadTitlePart(captures[last], r);
    } else {
      const std::string_view rest = naming::ReadTitlePart(tail, r, false);
      if (!rest.empty() && !naming::IsTagWords(rest)) {
        naming::Note(findings, NameFindingKind::kUnreadEnd, rest);
      }
    }
    for (std::size_t s = 0; s < pattern.steps.size(); ++s) {
      const PatternField field = pattern.steps[s].field;
      if (field == PatternField::kTitle && s != last) {
        captures[s] = naming::ReadTitlePart(captures[s], r);
      }
      ReadPlaceholder(field, captures[s], r);
    }
    if (!pattern.Has(PatternField::kSinger)) info.singer = kUnknownSinger;
    naming::ApplyFolderRole(folder_role, folder_name, false, pattern.Has(PatternField::kSinger), r);
  }
  if (info.title.empty()) naming::Note(findings, NameFindingKind::kEmptyTitle);
  naming::NoteDoubtfulTitle(info.title, findings);
}

}  // namespace kscgen
