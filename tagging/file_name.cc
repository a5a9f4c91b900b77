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
constexpr std::string_view kAsciiClose = ")";
constexpr std::string_view kWideClose = "）";

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

// Templates 3 and 4: 歌手－歌名(语种－类别) and 歌手－歌名(语种－类别－声道).
// The name itself carries language and style, so of the folder roles only
// the date added still applies.
void ParseFullName(int naming_template, int folder_role, std::string_view base_name,
                   std::string_view folder_name, TSongInfo& info) {
  SingerAndTitle split = SplitSingerTitle(base_name, true);
  info.Singer = split.singer;
  TitleAndBracket bracket = SplitBracket(Trim(split.title_part));
  info.Title = bracket.title;
  std::vector<std::string> fields = SplitBracketFields(bracket.bracket_part);
  if (!fields.empty()) info.Language = ClassifyLanguage(fields[0]);
  if (fields.size() > 1) info.Style = ClassifyStyle(fields[1]);
  if (naming_template == kTemplateSingerTitleLanguageStyleChannel && fields.size() > 2) {
    info.Channel = ChannelOf(fields[2]);
  }
  if (folder_role == kRoleDateAdded) info.DateText = std::string(folder_name);
}

}  // namespace

std::vector<std::string> SplitBracketFields(std::string_view bracket_part) {
  std::vector<std::string> fields;
  if (bracket_part.empty()) return fields;
  std::string field;
  for (std::size_t i = 0; i < bracket_part.size();) {
    std::size_t len = text::CharLength(bracket_part, i);
    std::string_view c = bracket_part.substr(i, len);
    i += len;
    if (c == kAsciiClose || c == kWideClose) break;
    if (c == kAsciiDash || c == kWideDash) {
      fields.push_back(Trim(field));
      field.clear();
    } else {
      field.append(c);
    }
  }
  fields.push_back(Trim(field));
  return fields;
}

std::string ChannelOf(std::string_view field) {
  if (!field.empty() && field[0] >= '0' && field[0] <= '9') return std::string(1, field[0]);
  if (text::ContainsAtCharacter(field, "左")) return "2";
  if (text::ContainsAtCharacter(field, "右")) return "1";
  if (text::ContainsAtCharacter(field, "立体")) return "3";
  return "0";
}

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
    case kTemplateSingerTitleLanguageStyle:
    case kTemplateSingerTitleLanguageStyleChannel:
      ParseFullName(naming_template, folder_role, base_name, folder_name, info);
      return;
    default:
      return;
  }
  ApplyFolderRole(naming_template, folder_role, folder_name, info);
}

}  // namespace kscgen
