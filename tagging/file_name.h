// Reads the song values that a video's file name and its folder's name carry.
//
// Videos are named 歌手－歌名(语种－类别－声道).后缀名; the naming template says
// how much of that scheme a folder's names follow, and the folder role says
// what the folder's own name stands for.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "tagging/song_info.h"

namespace kscgen {

enum NamingTemplate : int {
  kTemplateTitle = 0,                            // 歌名
  kTemplateSingerTitle = 1,                      // 歌手－歌名
  kTemplateSingerTitleLanguage = 2,              // 歌手－歌名(语种)
  kTemplateSingerTitleLanguageStyle = 3,         // 歌手－歌名(语种－类别)
  kTemplateSingerTitleLanguageStyleChannel = 4,  // 歌手－歌名(语种－类别－声道)
  kTemplateCount = 5,
};

enum FolderRole : int {
  kRoleNone = 0,       // 无作用
  kRoleSinger = 1,     // 歌手名
  kRoleLanguage = 2,   // 语种名
  kRoleStyle = 3,      // 类别名
  kRoleDateAdded = 4,  // 加入日期
  kRoleCount = 5,
};

struct SingerAndTitle {
  std::string singer;
  std::string title_part;  // everything after the separator
};

// Splits at "-" or "－", whichever first occurs further right; with neither,
// the singer is empty and the title part is the whole text. A split at "－"
// keeps the blanks around it unless `trim_both`; a split at "-" always trims.
SingerAndTitle SplitSingerTitle(std::string_view text, bool trim_both);

struct TitleAndBracket {
  std::string title;
  std::string bracket_part;  // after the opening bracket, closing bracket included
};

// Splits at "(" or "（", whichever first occurs further right. Without an
// opening bracket the title is the whole text and the bracket part is empty,
// so that a title such as 生日快乐 is not mistaken for a language.
TitleAndBracket SplitBracket(std::string_view title_part);

// The fields of a bracket part such as 粤语－怀旧－左声道): the text up to the
// first closing bracket, ")" or "）", split at each "－" or "-", each field
// trimmed. Walks by characters, so a separator is never found across two.
std::vector<std::string> SplitBracketFields(std::string_view bracket_part);

// The channel code a channel field names: its leading digit, else "2" for
// 左 (left), "1" for 右 (right), "3" for 立体 (stereo), and "0" otherwise.
std::string ChannelOf(std::string_view field);

// Fills title, singer and, by template and role, language, style, channel and
// date_text of `info`; leaves every other field as it is. Never fails: every
// name, the empty one included, yields values.
void ParseSongName(int naming_template, int folder_role, std::string_view base_name,
                   std::string_view folder_name, SongInfo& info);

}  // namespace kscgen
