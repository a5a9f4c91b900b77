#include "tagging/file_name.h"

#include "tagging/classification.h"
#include "tagging/name_reading.h"
#include "text/gbk_text.h"

namespace kscgen {
namespace {

using naming::IsDash;
using naming::Mark;
using naming::MarkOf;
using naming::Note;
using naming::WalkChars;
using text::TrimView;

constexpr std::string_view kWideDash = "－";
constexpr std::size_t kNone = std::string_view::npos;

// The folder name stands for the singer, language, style or date added.
// Under the template "歌名" the names say nothing but the title, so the folder
// is read by how it begins; under the others by keywords anywhere in it.
void ApplyFolderRole(int naming_template, int folder_role, std::string_view folder_name,
                     SongInfo& info) {
  switch (folder_role) {
    case kRoleNone:
      if (naming_template == kTemplateTitle) info.singer = kUnknownSinger;
      break;
    case kRoleSinger:
      // A folder name GBK cannot hold reads as empty: such a name, or one of
      // blanks only, names no singer.
      if (naming_template == kTemplateTitle) {
        info.singer = TrimView(folder_name).empty() ? kUnknownSinger : std::string(folder_name);
      }
      break;
    case kRoleLanguage:
      // Template 2's bracket part names the language of each song itself.
      if (naming_template == kTemplateTitle) {
        info.language = ClassifyLanguagePrefix(folder_name);
      } else if (naming_template == kTemplateSingerTitle) {
        info.language = ClassifyLanguage(folder_name);
      }
      break;
    case kRoleStyle:
      if (naming_template == kTemplateTitle) {
        if (auto style = ClassifyStylePrefix(folder_name)) info.style = *style;
      } else {
        info.style = ClassifyStyle(folder_name);
      }
      break;
    case kRoleDateAdded:
      info.date_text = std::string(folder_name);
      break;
    default:
      break;
  }
}

}  // namespace

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

namespace {

// Splits at the first "－" outside brackets, else at the first "-" outside
// brackets that has a blank on each side (A-Lin - 给我一个理由忘记), else at
// the first "-" outside brackets: a dash between an opening bracket and its
// closing bracket (or the end, for a bracket left open) is part of a field,
// never a separator (Beyond-富士山下(国语－流行)). Dashes next to the
// separator belong to it (孙燕姿--遇见). With neither, the singer is empty
// and the title part is the whole text. Both parts are trimmed.
struct SingerTitleView {
  std::string_view singer;
  std::string_view title_part;
  bool separated = false;
};

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

}  // namespace

void ParseSongName(int naming_template, int folder_role, std::string_view base_name,
                   std::string_view folder_name, SongInfo& info, NameFindings* findings) {
  base_name = TrimView(base_name);
  folder_name = TrimView(folder_name);
  if (naming_template == kTemplateTitle || naming_template == kTemplateCustom) {
    info.title = std::string(base_name);
    naming::NoteDoubtfulTitle(info.title, findings);
    ApplyFolderRole(kTemplateTitle, folder_role, folder_name, info);
    return;
  }
  if (naming_template < kTemplateSingerTitle || naming_template >= kTemplateCount) return;

  naming::Reading r{info, findings, naming::SlotsOf(naming_template),
                    naming::SlotsOf(naming_template)};
  const SingerTitleView split = SplitView(naming::WithoutLeadingTags(base_name, r, true));
  if (!split.separated) {
    Note(findings, NameFindingKind::kNoSeparator);
  } else if (split.singer.empty()) {
    Note(findings, NameFindingKind::kEmptySinger);
  }
  info.singer = std::string(split.singer);
  if (naming_template == kTemplateSingerTitle) {
    // The names hold no brackets of fields: a bracket stays in the title.
    const std::size_t unread = naming::ReadTrailing(split.title_part, true, r);
    info.title = std::string(TrimView(split.title_part.substr(0, unread)));
    if (split.singer.empty()) info.singer = kUnknownSinger;
    ApplyFolderRole(naming_template, folder_role, folder_name, info);
  } else {
    info.title = std::string(naming::ReadTitlePart(split.title_part, r));
    if (naming_template == kTemplateSingerTitleLanguage) {
      ApplyFolderRole(naming_template, folder_role, folder_name, info);
    } else if (folder_role == kRoleDateAdded) {
      // The name itself carries language and style, so of the folder roles
      // only the date added still applies.
      info.date_text = std::string(folder_name);
    }
  }
  if (info.title.empty()) Note(findings, NameFindingKind::kEmptyTitle);
  naming::NoteDoubtfulTitle(info.title, findings);
}

}  // namespace kscgen
