#include "tagging/file_name.h"

#include "tagging/classification.h"
#include "tagging/known_singers.h"
#include "tagging/name_reading.h"
#include "text/gbk_text.h"

namespace kscgen {
namespace {

using naming::IsDash;
using naming::Mark;
using naming::MarkOf;
using naming::Note;
using naming::WalkChars;
using naming::kWideDash;
using text::TrimView;

constexpr std::size_t kNone = std::string_view::npos;

}  // namespace

std::optional<NamingTemplate> NamingTemplateOf(int index) {
  if (index < 0 || index >= kTemplateCount) return std::nullopt;
  return static_cast<NamingTemplate>(index);
}

std::optional<FolderRole> FolderRoleOf(int index) {
  if (index < 0 || index >= kRoleCount) return std::nullopt;
  return static_cast<FolderRole>(index);
}

BracketFields SplitBracketFields(std::string_view bracket_part) {
  BracketFields result;
  std::vector<std::string>& fields = result.fields;
  if (bracket_part.empty()) return result;
  fields.reserve(4);  // language, style, channel, and rarely more
  std::size_t start = 0;
  std::size_t i = 0;
  while (i < bracket_part.size()) {
    const std::size_t len = text::CharLength(bracket_part, i);
    const Mark m = MarkOf(bracket_part, i, len);
    if (m == Mark::kClose) {
      result.closed = true;
      break;
    }
    if (IsDash(m)) {
      fields.emplace_back(TrimView(bracket_part.substr(start, i - start)));
      start = i + len;
    }
    i += len;
  }
  fields.emplace_back(TrimView(bracket_part.substr(start, i - start)));
  return result;
}

namespace naming {

// Splits at the first "－" outside brackets, else at the first "-" outside
// brackets that has a blank on each side (A-Lin - 给我一个理由忘记), else at
// the first "-" outside brackets: a dash between an opening bracket and its
// closing bracket (or the end, for a bracket left open) is part of a field,
// never a separator (Beyond-富士山下(国语－流行)). Dashes next to the
// separator belong to it (孙燕姿--遇见). With neither, the singer is empty
// and the title part is the whole text. Both parts are trimmed.
SingerTitleView SplitView(std::string_view text) {
  std::size_t wide = kNone;
  std::size_t ascii = kNone;
  std::size_t spaced = kNone;
  WalkChars(text, 0, [&](std::size_t b, std::size_t e, Mark m, std::size_t depth) {
    if (depth == 0 && m == Mark::kWideDash) wide = b;
    if (depth == 0 && m == Mark::kAsciiDash) {
      if (ascii == kNone) ascii = b;
      // Blanks are ASCII, never the trail byte of a character.
      if (spaced == kNone && b > 0 && e < text.size() && text[b - 1] == ' ' && text[e] == ' ') {
        spaced = b;
      }
    }
    return wide == kNone;
  });
  SingerTitleView split;
  // A " - " before fields only (月亮代表我的心 - 国语 - 怀旧) separates
  // those fields, not singer from title.
  if (wide == kNone && spaced != kNone && spaced != ascii &&
      naming::OnlyFieldWords(text.substr(spaced + 1))) {
    spaced = kNone;
  }
  const std::size_t at = wide != kNone ? wide : spaced != kNone ? spaced : ascii;
  if (at == kNone) {
    split.title_part = TrimView(text);
    return split;
  }
  split.separated = true;
  split.singer = naming::TrimSeparators(text.substr(0, at));
  split.title_part =
      naming::TrimSeparators(text.substr(at + (wide != kNone ? kWideDash.size() : 1)));
  return split;
}

std::string_view ReadQuotedName(std::string_view name, const QuotedTitle& quoted, Reading& r) {
  std::string_view singer = naming::TrimSeparators(name.substr(0, quoted.open));
  std::string_view after = naming::TrimSeparators(name.substr(quoted.end));
  if (singer.empty()) {
    std::size_t end = after.size();
    WalkChars(after, 0, [&](std::size_t b, std::size_t, Mark m, std::size_t) {
      if (m != Mark::kOpen && m != Mark::kTitleOpen && !naming::IsFieldSeparator(m)) return true;
      end = b;
      return false;
    });
    singer = TrimView(after.substr(0, end));
    after = after.substr(end);
  }
  r.info.title = std::string(quoted.title);
  const std::string_view rest = naming::TrimSeparators(naming::ReadTitlePart(after, r, false));
  if (!rest.empty()) {
    Note(
        r.findings,
        naming::OnlyFieldWords(rest) ? NameFindingKind::kTrailingTag : NameFindingKind::kUnreadText,
        rest);
  }
  return singer;
}

}  // namespace naming

namespace {

using naming::SingerTitleView;
using naming::SplitView;

// Singer and title split at a separator; the title part read by the
// template. Singer first, as the template says, unless the library knows
// the second side as a singer and not the first (后来 - 刘若英): then the
// sides are turned, with a note. Returns the singer.
std::string_view ReadSplitName(NamingTemplate naming_template, std::string_view name,
                               const KnownSingers* known, naming::Reading& r) {
  const SingerTitleView split = SplitView(name);
  if (!split.separated) {
    Note(r.findings, NameFindingKind::kNoSeparator);
  } else if (split.singer.empty()) {
    Note(r.findings, NameFindingKind::kEmptySinger);
  }
  std::string_view title;
  if (naming_template == kTemplateSingerTitle) {
    // The names hold no brackets of fields: a bracket stays in the title,
    // but for one of tag words at its end.
    const std::string_view part = naming::WithoutTrailingTagBrackets(split.title_part, r);
    title = TrimView(part.substr(0, naming::ReadTrailing(part, true, r)));
  } else {
    title = naming::ReadTitlePart(split.title_part, r);
  }
  if (known != nullptr && !split.singer.empty() && !title.empty() &&
      known->KnowsOnly(title, split.singer)) {
    Note(r.findings, NameFindingKind::kKnownSinger, title);
    r.info.title = std::string(split.singer);
    return title;
  }
  r.info.title = std::string(title);
  return split.singer;
}

}  // namespace

void ParseSongName(NamingTemplate naming_template, FolderRole folder_role, std::string_view base_name,
                   std::string_view folder_name, SongInfo& info, NameFindings* findings,
                   const KnownSingers* known) {
  if (naming_template == kTemplateAuto) {
    ParseAutoName(folder_role, base_name, folder_name, info, findings, known);
    return;
  }
  base_name = TrimView(base_name);
  folder_name = TrimView(folder_name);
  if (naming_template == kTemplateTitle || naming_template == kTemplateCustom) {
    naming::Reading r{info, findings};
    info.title = std::string(base_name);
    naming::NoteDoubtfulTitle(info.title, findings);
    // Only a folder of no role leaves the singer 佚名; under the others the
    // song manager's libraries have it empty.
    if (folder_role == kRoleNone) info.singer = kUnknownSinger;
    naming::ApplyFolderRole(folder_role, folder_name, true, false, r);
    return;
  }
  if (naming_template < kTemplateSingerTitle || naming_template >= kTemplateCount) return;

  naming::Reading r{info, findings, naming::SlotsOf(naming_template),
                    naming::SlotsOf(naming_template)};
  const std::string_view name = naming::WithoutLeadingTags(base_name, r, true);
  naming::QuotedTitle quoted;
  const std::string_view singer = naming::FindQuotedTitle(name, &quoted)
                                      ? naming::ReadQuotedName(name, quoted, r)
                                      : ReadSplitName(naming_template, name, known, r);
  info.singer = std::string(naming::WithoutLatinName(singer, findings));
  if (info.singer.empty() && naming_template == kTemplateSingerTitle) info.singer = kUnknownSinger;
  naming::ApplyFolderRole(folder_role, folder_name, false, !singer.empty(), r);
  if (info.title.empty()) Note(findings, NameFindingKind::kEmptyTitle);
  naming::NoteDoubtfulTitle(info.title, findings);
}

}  // namespace kscgen
