#include "tagging/file_name.h"

#include "tagging/classification.h"
#include "text/gbk_text.h"

namespace kscgen {
namespace {

using text::Pos;
using text::Range;
using text::Trim;

constexpr std::string_view kAsciiDash = "-";
constexpr std::string_view kWideDash = "－";
constexpr std::string_view kAsciiOpen = "(";
constexpr std::string_view kWideOpen = "（";

long Len(std::string_view s) { return static_cast<long>(s.size()); }

// The folder name stands for the singer, language, style or date added.
// Under the template "歌名" the names say nothing but the title, so the folder
// is read by how it begins; under the others by keywords anywhere in it.
void ApplyFolderRole(int naming_template, int folder_role, std::string_view folder_name,
                     TSongInfo& info) {
  switch (folder_role) {
    case kRoleNone:
      if (naming_template == kTemplateTitle) info.Singer = kUnknownSinger;
      break;
    case kRoleSinger:
      if (naming_template == kTemplateTitle) info.Singer = std::string(folder_name);
      break;
    case kRoleLanguage:
      // Template 2's bracket part names the language of each song itself.
      if (naming_template == kTemplateTitle) {
        info.Language = ClassifyLanguagePrefix(folder_name);
      } else if (naming_template == kTemplateSingerTitle) {
        info.Language = ClassifyLanguage(folder_name);
      }
      break;
    case kRoleStyle:
      if (naming_template == kTemplateTitle) {
        if (auto style = ClassifyStylePrefix(folder_name)) info.Style = *style;
      } else {
        info.Style = ClassifyStyle(folder_name);
      }
      break;
    case kRoleDateAdded:
      info.DateText = std::string(folder_name);
      break;
    default:
      break;
  }
}

}  // namespace

SingerAndTitle SplitSingerTitle(std::string_view text, bool trim_both) {
  std::size_t a = Pos(kAsciiDash, text);
  std::size_t b = Pos(kWideDash, text);
  SingerAndTitle out;
  if (b > a) {
    long at = static_cast<long>(b);
    out.singer = Range(text, 1, at - 1);
    out.title_part = Range(text, at + Len(kWideDash), Len(text));
    if (trim_both) {
      out.singer = Trim(out.singer);
      out.title_part = Trim(out.title_part);
    }
  } else {
    long at = static_cast<long>(a);
    out.singer = Trim(Range(text, 1, at - 1));
    out.title_part = Trim(Range(text, at + 1, Len(text)));
  }
  return out;
}

TitleAndBracket SplitBracket(std::string_view title_part) {
  std::size_t q1 = Pos(kAsciiOpen, title_part);
  std::size_t q2 = Pos(kWideOpen, title_part);
  TitleAndBracket out;
  if (q1 == 0 && q2 == 0) {
    out.title = std::string(title_part);
  } else if (q2 > q1) {
    out.title = Range(title_part, 1, static_cast<long>(q2) - 1);
    out.bracket_part = Range(title_part, static_cast<long>(q2) + Len(kWideOpen), Len(title_part));
  } else {
    out.title = Range(title_part, 1, static_cast<long>(q1) - 1);
    out.bracket_part = Range(title_part, static_cast<long>(q1) + 1, Len(title_part));
  }
  return out;
}

void ParseSongName(int naming_template, int folder_role, std::string_view base_name,
                   std::string_view folder_name, TSongInfo& info) {
  switch (naming_template) {
    case kTemplateTitle:
      info.Title = std::string(base_name);
      break;
    case kTemplateSingerTitle: {
      SingerAndTitle split = SplitSingerTitle(base_name, false);
      info.Title = split.title_part;
      info.Singer = Trim(split.singer).empty() ? std::string(kUnknownSinger) : split.singer;
      break;
    }
    case kTemplateSingerTitleLanguage: {
      SingerAndTitle split = SplitSingerTitle(base_name, true);
      info.Singer = split.singer;
      TitleAndBracket bracket = SplitBracket(Trim(split.title_part));
      info.Title = bracket.title;
      info.Language = ClassifyLanguage(bracket.bracket_part);
      break;
    }
    default:
      // The names under the other templates are not read yet.
      return;
  }
  ApplyFolderRole(naming_template, folder_role, folder_name, info);
}

}  // namespace kscgen
