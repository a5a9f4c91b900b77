// The notes (备注) on where a video's name departs from its template, and
// on every guess the reading made.
#include <string>

#include "app/engine/messages.h"
#include "app/engine/start_number.h"
#include "text/encoding.h"

namespace kscgen::messages {

namespace {

// How a note holds the finding's text.
enum class Holds {
  kPlain,              // not at all
  kQuoted,             // quoted: “…”
  kAsIs,               // as it is (a row number)
  kQuotedPastLargest,  // quoted, then that it is past the largest song number
};

struct NoteWords {
  NameFindingKind kind;
  const char* before;
  Holds holds;
  const char* after;
};

// Each kind of finding and its note, the finding's text between the words.
constexpr NoteWords kNotes[] = {
    {NameFindingKind::kNoSeparator, u8"歌手与歌名之间没有分隔符“－”或“-”", Holds::kPlain, u8""},
    {NameFindingKind::kEmptySinger, u8"分隔符前没有歌手", Holds::kPlain, u8""},
    {NameFindingKind::kEmptyTitle, u8"没有歌名", Holds::kPlain, u8""},
    {NameFindingKind::kUnclosedBracket, u8"括号没有闭合", Holds::kPlain, u8""},
    {NameFindingKind::kUnknownLanguage, u8"语种", Holds::kQuoted, u8"不是歌曲管理器的语种，按国语"},
    {NameFindingKind::kUnknownStyle, u8"类别", Holds::kQuoted, u8"不是歌曲管理器的类别，按流行"},
    {NameFindingKind::kUnknownChannel, u8"声道", Holds::kQuoted, u8"无法识别，按 0"},
    {NameFindingKind::kExtraFields, u8"括号中多出的", Holds::kQuoted, u8"未读取"},
    {NameFindingKind::kUnreadText, u8"括号后的", Holds::kQuoted, u8"未读取"},
    {NameFindingKind::kLeadingTag, u8"名称开头的", Holds::kQuoted, u8"当作标签略去"},
    {NameFindingKind::kTrailingTag, u8"末尾的", Holds::kQuoted, u8"当作标签略去"},
    {NameFindingKind::kTitleBracket, u8"歌名中含有括号", Holds::kQuoted, u8""},
    {NameFindingKind::kTitleLanguage, u8"歌名中含有语种", Holds::kQuoted, u8""},
    {NameFindingKind::kTitleNumber, u8"歌名中含有编号样的数字", Holds::kQuoted, u8""},
    {NameFindingKind::kPatternMismatch, u8"名称不符合自定义格式，整个名称当作歌名", Holds::kPlain,
     u8""},
    {NameFindingKind::kNoNameNumber, u8"文件名中没有编号，未编号", Holds::kPlain, u8""},
    {NameFindingKind::kYearAsNumber, u8"", Holds::kQuoted, u8"当作文件名编号，如是年份请核对"},
    {NameFindingKind::kUnreadEnd, u8"末尾的", Holds::kQuoted, u8"未读取"},
    {NameFindingKind::kBadNumber, u8"编号", Holds::kQuoted, u8"不是数字，未读取"},
    {NameFindingKind::kSameNameNumber, u8"编号与第 ", Holds::kAsIs, u8" 行相同"},
    {NameFindingKind::kCatalogueCode, u8"", Holds::kQuoted, u8"当作曲库编号略去"},
    {NameFindingKind::kYearInTitle, u8"", Holds::kQuoted, u8"当作年份留在歌名中"},
    {NameFindingKind::kLatinName, u8"歌手名后的", Holds::kQuoted, u8"当作外文名略去"},
    {NameFindingKind::kFolderNoLanguage, u8"文件夹名", Holds::kQuoted, u8"中没有语种"},
    {NameFindingKind::kFolderNoStyle, u8"文件夹名", Holds::kQuoted, u8"中没有类别"},
    {NameFindingKind::kKnownSinger, u8"按歌库中已有的歌手", Holds::kQuoted, u8"判断"},
    {NameFindingKind::kSingerByOrder, u8"没有分隔符，按顺序把", Holds::kQuoted, u8"当作歌手"},
    {NameFindingKind::kNumberTaken, u8"", Holds::kQuoted, u8"当作文件名编号"},
    {NameFindingKind::kTitleTag, u8"歌名中含有标签词", Holds::kQuoted, u8""},
    {NameFindingKind::kPatternMismatchRead, u8"名称不符合自定义格式，按歌名及其后的括号、字段读取",
     Holds::kPlain, u8""},
    {NameFindingKind::kNumberTooLarge, u8"编号", Holds::kQuotedPastLargest, u8"，未编号"},
};

}  // namespace

std::string NameNote(const NameFinding& finding) {
  for (const NoteWords& note : kNotes) {
    if (note.kind != finding.kind) continue;
    std::string text = note.before;
    switch (note.holds) {
      case Holds::kPlain:
        break;
      case Holds::kQuoted:
        text += u8"“" + text::GbkForDisplay(finding.text) + u8"”";
        break;
      case Holds::kAsIs:
        text += finding.text;
        break;
      case Holds::kQuotedPastLargest:
        text += u8"“" + text::GbkForDisplay(finding.text) + u8"”大于 " +
                std::to_string(kLargestSongNumber);
        break;
    }
    return text + note.after;
  }
  return std::string();
}

}  // namespace kscgen::messages
