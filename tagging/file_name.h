// Reads the song values that a video's file name and its folder's name carry.
//
// Videos are named 歌手－歌名(语种－类别－声道).后缀名; the naming template says
// how much of that scheme a folder's names follow, or a pattern of the
// user's own says how they are written, and the folder role says what the
// folder's own name stands for. Real libraries write more than the scheme:
// square brackets ([国语], 【KTV】), tags before the singer, tag words and
// their own catalogue numbers after the title (后来-国语-103962); these are
// read too, and every reading that may be wrong is noted.
#pragma once

#include <optional>
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
  kTemplateCustom = 5,                           // 自定义: a NamePattern of the user's own
  kTemplateAuto = 6,                             // 自动识别: every field read for what it is
  kTemplateCount = 7,
};

enum FolderRole : int {
  kRoleNone = 0,       // 无作用
  kRoleSinger = 1,     // 歌手名
  kRoleLanguage = 2,   // 语种名
  kRoleStyle = 3,      // 类别名
  kRoleDateAdded = 4,  // 加入日期
  kRoleCount = 5,
};

// The template or folder role an index names (a row of the window's
// choices, a number after -t or -r), or none when it names none: the front
// ends convert once, here, and pass the typed value on.
std::optional<NamingTemplate> NamingTemplateOf(int index);
std::optional<FolderRole> FolderRoleOf(int index);

// Where a name departs from its template. The engine turns these into the
// notes (备注) of the preview and of kscgen -n; the song values are read
// all the same.
enum class NameFindingKind {
  kNoSeparator,          // no "－" or "-" outside brackets: the singer is 佚名 or empty
  kEmptySinger,          // nothing before the separator
  kEmptyTitle,           // nothing after the separator, or only a bracket
  kUnclosedBracket,      // an opening bracket without its closing bracket
  kUnknownLanguage,      // text: the field, which names none of the languages
  kUnknownStyle,         // text: the field, which names none of the styles
  kUnknownChannel,       // text: the field, which names no channel
  kExtraFields,          // text: the bracket's fields past those the template reads
  kUnreadText,           // text: what follows a tag bracket and names nothing
  kLeadingTag,           // text: a bracket before the singer holding no known tag word, left out
  kTrailingTag,          // text: tag words after the title, left out of it
  kTitleBracket,         // text: a bracket still in the title
  kTitleLanguage,        // text: a language word still in the title
  kTitleNumber,          // text: a catalogue-like number still in the title
  kPatternMismatch,      // the name does not follow the user's pattern: all of it is the title
  kNoNameNumber,         // numbering from names, and the name carries no number
  kYearAsNumber,         // text: a number read as the library's that may be a year (1999)
  kUnreadEnd,            // text: what follows the pattern's last literal and names nothing
  kBadNumber,            // text: what the pattern's {编号} took, which is no number
  kSameNameNumber,       // text: the row (1-based) whose name carries the same number
  kCatalogueCode,        // text: a library's code with letters (MB302511), left out of the title
  kYearInTitle,          // text: a year after a blank, kept in the title (恋曲 1980)
  kLatinName,            // text: a Latin name after a Chinese singer's name, left out
  kFolderNoLanguage,     // text: the folder's name, which names no language (语种名)
  kFolderNoStyle,        // text: the folder's name, which names no style (类别名)
  kKnownSinger,          // text: the singer the library's other names gave, which decided the order
  kSingerByOrder,        // text: the first of two words without a separator, taken for the singer
  kNumberTaken,          // text: a number read as the library's own (自动识别)
  kTitleTag,             // text: tag words still in the title (自动识别)
  kNumberTooLarge,       // text: a number from the name past the largest song number
  kPatternMismatchRead,  // as kPatternMismatch, but brackets or fields after the title were read
};

struct NameFinding {
  NameFindingKind kind;
  std::string text;  // GBK, as the name spells it; empty for the first four kinds

  bool operator==(const NameFinding& o) const { return kind == o.kind && text == o.text; }
};

// In the order the name is read. Empty for a name that fits its template.
using NameFindings = std::vector<NameFinding>;

class KnownSingers;

struct BracketFields {
  std::vector<std::string> fields;  // trimmed
  bool closed = false;              // a closing bracket ended them
};

// The fields of a bracket part such as 粤语－怀旧－左声道): the text up to the
// first closing bracket of any kind, split at each "－" or "-", each field
// trimmed. Walks by characters, so a separator is never found across two.
BracketFields SplitBracketFields(std::string_view bracket_part);

// Fills title, singer, name_number and, by template and role, language,
// style, channel and date_text of `info`; leaves every other field as it is.
// Brackets are ( ), （ ）, [ ], ［ ］ and 【 】 alike.
//
// Templates 1 to 4: brackets at the very start of the name are tags, left
// out of the singer. Singer and title split at the first "－" outside
// brackets, else at the first "-" outside brackets ("--" counts as one).
// Under templates 2 to 4 the title ends before the first bracket; the
// brackets after it are read in turn (the first that names a language gives
// the language and its further fields, then brackets naming a style or a
// channel), and then the fields at the end of the name, split at "-", "－"
// or "_" (七里香-国语-流行, 练舞功(MTV)-闽南语-流行), as far as the template
// reads language (2), style (3) and channel (4). Under every template but 0,
// a last field of four or more digits is the library's own number
// (name_number), and tag words after the title (遇见 原唱) are left out of it;
// one field always stays the title.
//
// Never fails: every name, the empty one included, yields values; title and
// singer never begin or end with a blank. Where the name departs from the
// template or a reading may be wrong (a bracket, a language word or a
// number left in the title), says so in `findings` (when given), which it
// appends to. Under kTemplateCustom without a pattern, reads as template 0.
//
// Under every template the folder gives what the name leaves open, by its
// role; a folder that names nothing under its role is noted. kTemplateAuto
// reads as ParseAutoName, with `known` (may be null).
void ParseSongName(NamingTemplate naming_template, FolderRole folder_role, std::string_view base_name,
                   std::string_view folder_name, SongInfo& info, NameFindings* findings = nullptr,
                   const KnownSingers* known = nullptr);

// Whether a folder's name names nothing under its role: no language under
// 语种名, no style under 类别名 (摇滚金曲). Its songs whose names give none
// get the default, and a note.
bool FolderNamesNothing(FolderRole folder_role, std::string_view folder_name);

// 自动识别: reads every field of a name for what it is, wherever it stands:
// tags and fields before the singer and after the title, in any order; the
// title quoted in 《 》; singer and title at a separator, or, in a name
// without one, as the first word and the rest. Where the order is not
// given, a side that `known` holds (and the other does not) is the singer.
// Notes every guess.
void ParseAutoName(FolderRole folder_role, std::string_view base_name, std::string_view folder_name,
                   SongInfo& info, NameFindings* findings, const KnownSingers* known);

}  // namespace kscgen
