// Reading a name by a pattern of the user's own: where each literal stands
// in the name, what each placeholder takes, and what follows the last.
#include "tagging/pattern_reading.h"

#include "tagging/classification.h"
#include "tagging/name_reading.h"
#include "text/gbk_text.h"

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

void ParseSongName(const NamePattern& pattern, FolderRole folder_role, std::string_view base_name,
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
