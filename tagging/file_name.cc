#include "tagging/file_name.h"

#include "tagging/classification.h"
#include "text/gbk_text.h"

namespace kscgen {
namespace {

using text::Pos;
using text::Trim;

constexpr std::string_view kAsciiDash = "-";
constexpr std::string_view kWideDash = "－";
constexpr std::string_view kAsciiOpen = "(";
constexpr std::string_view kWideOpen = "（";
constexpr std::string_view kAsciiClose = ")";
constexpr std::string_view kWideClose = "）";

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
      if (naming_template == kTemplateTitle) info.singer = std::string(folder_name);
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

// Templates 3 and 4: 歌手－歌名(语种－类别) and 歌手－歌名(语种－类别－声道).
// The name itself carries language and style, so of the folder roles only
// the date added still applies.
void ParseFullName(int naming_template, int folder_role, std::string_view base_name,
                   std::string_view folder_name, SongInfo& info) {
  SingerAndTitle split = SplitSingerTitle(base_name, true);
  info.singer = split.singer;
  TitleAndBracket bracket = SplitBracket(text::TrimView(split.title_part));
  info.title = bracket.title;
  std::vector<std::string> fields = SplitBracketFields(bracket.bracket_part);
  if (!fields.empty()) info.language = ClassifyLanguage(fields[0]);
  if (fields.size() > 1) info.style = ClassifyStyle(fields[1]);
  if (naming_template == kTemplateSingerTitleLanguageStyleChannel && fields.size() > 2) {
    info.channel = ChannelOf(fields[2]);
  }
  if (folder_role == kRoleDateAdded) info.date_text = std::string(folder_name);
}

}  // namespace

std::vector<std::string> SplitBracketFields(std::string_view bracket_part) {
  std::vector<std::string> fields;
  if (bracket_part.empty()) return fields;
  fields.reserve(4);  // language, style, channel, and rarely more
  std::size_t start = 0;
  std::size_t i = 0;
  auto is = [](std::string_view c, std::string_view ascii, std::string_view wide) {
    return c.size() == 1 ? c[0] == ascii[0] : c == wide;
  };
  while (i < bracket_part.size()) {
    std::size_t len = text::CharLength(bracket_part, i);
    std::string_view c = bracket_part.substr(i, len);
    if (is(c, kAsciiClose, kWideClose)) break;
    if (is(c, kAsciiDash, kWideDash)) {
      fields.emplace_back(text::TrimView(bracket_part.substr(start, i - start)));
      start = i + len;
    }
    i += len;
  }
  fields.emplace_back(text::TrimView(bracket_part.substr(start, i - start)));
  return fields;
}

std::string ChannelOf(std::string_view field) {
  if (!field.empty() && field[0] >= '0' && field[0] <= '9') return std::string(1, field[0]);
  if (text::Contains(field, "左")) return "2";
  if (text::Contains(field, "右")) return "1";
  if (text::Contains(field, "立体")) return "3";
  return "0";
}

SingerAndTitle SplitSingerTitle(std::string_view text, bool trim_both) {
  // 1-based positions, 0 when absent; byte i is text[i - 1].
  const std::size_t a = Pos(kAsciiDash, text);
  const std::size_t b = Pos(kWideDash, text);
  std::string_view singer;
  std::string_view title_part;
  if (b > a) {
    singer = text.substr(0, b - 1);
    title_part = text.substr(b - 1 + kWideDash.size());
    if (trim_both) {
      singer = text::TrimView(singer);
      title_part = text::TrimView(title_part);
    }
  } else {
    singer = text::TrimView(text.substr(0, a == 0 ? 0 : a - 1));
    title_part = text::TrimView(text.substr(a));
  }
  return {std::string(singer), std::string(title_part)};
}

TitleAndBracket SplitBracket(std::string_view title_part) {
  const std::size_t q1 = Pos(kAsciiOpen, title_part);
  const std::size_t q2 = Pos(kWideOpen, title_part);
  if (q1 == 0 && q2 == 0) return {std::string(title_part), std::string()};
  const std::size_t at = q2 > q1 ? q2 : q1;
  const std::size_t width = q2 > q1 ? kWideOpen.size() : kAsciiOpen.size();
  return {std::string(title_part.substr(0, at - 1)),
          std::string(title_part.substr(at - 1 + width))};
}

void ParseSongName(int naming_template, int folder_role, std::string_view base_name,
                   std::string_view folder_name, SongInfo& info) {
  switch (naming_template) {
    case kTemplateTitle:
      info.title = std::string(base_name);
      break;
    case kTemplateSingerTitle: {
      SingerAndTitle split = SplitSingerTitle(base_name, false);
      info.title = split.title_part;
      info.singer = Trim(split.singer).empty() ? std::string(kUnknownSinger) : split.singer;
      break;
    }
    case kTemplateSingerTitleLanguage: {
      SingerAndTitle split = SplitSingerTitle(base_name, true);
      info.singer = split.singer;
      TitleAndBracket bracket = SplitBracket(text::TrimView(split.title_part));
      info.title = bracket.title;
      info.language = ClassifyLanguage(bracket.bracket_part);
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
