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

// Where a name departs from its template. The engine turns these into the
// notes (备注) of the preview and of kscgen -n; the song values are read
// all the same.
enum class NameFindingKind {
  kNoSeparator,      // no "－" or "-" outside brackets: the singer is 佚名 or empty
  kEmptySinger,      // nothing before the separator
  kEmptyTitle,       // nothing after the separator, or only a bracket
  kUnclosedBracket,  // an opening bracket without its closing bracket
  kUnknownLanguage,  // text: the field, which names none of the languages
  kUnknownStyle,     // text: the field, which names none of the styles
  kUnknownChannel,   // text: the field, which names no channel
  kExtraFields,      // text: the bracket's fields past those the template reads
  kUnreadText,       // text: what follows a tag bracket and names nothing
};

struct NameFinding {
  NameFindingKind kind;
  std::string text;  // GBK, as the name spells it; empty for the first four kinds

  bool operator==(const NameFinding& o) const { return kind == o.kind && text == o.text; }
};

// In the order the name is read. Empty for a name that fits its template.
using NameFindings = std::vector<NameFinding>;

struct TitleAndBracket {
  std::string title;         // trimmed
  std::string bracket_part;  // after the opening bracket, closing bracket included
};

// Splits at "(" or "（", whichever first occurs further right. Without an
// opening bracket the title is the whole text and the bracket part is empty,
// so that a title such as 生日快乐 is not mistaken for a language.
TitleAndBracket SplitBracket(std::string_view title_part);

struct BracketFields {
  std::vector<std::string> fields;  // trimmed
  bool closed = false;              // a closing bracket ended them
};

// The fields of a bracket part such as 粤语－怀旧－左声道): the text up to the
// first closing bracket, ")" or "）", split at each "－" or "-", each field
// trimmed. Walks by characters, so a separator is never found across two.
BracketFields SplitBracketFields(std::string_view bracket_part);

// Fills title, singer and, by template and role, language, style, channel and
// date_text of `info`; leaves every other field as it is. Singer and title
// split at the first "－" outside brackets, else at the first "-" outside
// brackets. Under templates 3 and 4 the first bracket whose first field names
// a language gives language, style and channel; without one, they are read
// from the fields at the end of the name or after its tag brackets
// (七里香-国语-流行, 练舞功(MTV)-闽南语-流行). Never fails: every
// name, the empty one included, yields values; title and singer never begin
// or end with a blank. Where the name departs from the template, says so in
// `findings` (when given), which it appends to.
void ParseSongName(int naming_template, int folder_role, std::string_view base_name,
                   std::string_view folder_name, SongInfo& info, NameFindings* findings = nullptr);

}  // namespace kscgen
