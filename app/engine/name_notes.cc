// The notes (备注) on where a video's name departs from its template, and
// on every guess the reading made.
#include <string>

#include "app/engine/messages.h"
#include "app/engine/start_number.h"
#include "text/encoding.h"

namespace kscgen::messages {

std::string NameNote(const NameFinding& finding) {
  const std::string quoted = u8"“" + text::GbkForDisplay(finding.text) + u8"”";
  switch (finding.kind) {
    case NameFindingKind::kNoSeparator:
      return u8"歌手与歌名之间没有分隔符“－”或“-”";
    case NameFindingKind::kEmptySinger:
      return u8"分隔符前没有歌手";
    case NameFindingKind::kEmptyTitle:
      return u8"没有歌名";
    case NameFindingKind::kUnclosedBracket:
      return u8"括号没有闭合";
    case NameFindingKind::kUnknownLanguage:
      return u8"语种" + quoted + u8"不是歌曲管理器的语种，按国语";
    case NameFindingKind::kUnknownStyle:
      return u8"类别" + quoted + u8"不是歌曲管理器的类别，按流行";
    case NameFindingKind::kUnknownChannel:
      return u8"声道" + quoted + u8"无法识别，按 0";
    case NameFindingKind::kExtraFields:
      return u8"括号中多出的" + quoted + u8"未读取";
    case NameFindingKind::kUnreadText:
      return u8"括号后的" + quoted + u8"未读取";
    case NameFindingKind::kLeadingTag:
      return u8"名称开头的" + quoted + u8"当作标签略去";
    case NameFindingKind::kTrailingTag:
      return u8"末尾的" + quoted + u8"当作标签略去";
    case NameFindingKind::kTitleBracket:
      return u8"歌名中含有括号" + quoted;
    case NameFindingKind::kTitleLanguage:
      return u8"歌名中含有语种" + quoted;
    case NameFindingKind::kTitleNumber:
      return u8"歌名中含有编号样的数字" + quoted;
    case NameFindingKind::kPatternMismatch:
      return u8"名称不符合自定义格式，整个名称当作歌名";
    case NameFindingKind::kNoNameNumber:
      return u8"文件名中没有编号，未编号";
    case NameFindingKind::kYearAsNumber:
      return quoted + u8"当作文件名编号，如是年份请核对";
    case NameFindingKind::kUnreadEnd:
      return u8"末尾的" + quoted + u8"未读取";
    case NameFindingKind::kBadNumber:
      return u8"编号" + quoted + u8"不是数字，未读取";
    case NameFindingKind::kSameNameNumber:
      return u8"编号与第 " + finding.text + u8" 行相同";
    case NameFindingKind::kCatalogueCode:
      return quoted + u8"当作曲库编号略去";
    case NameFindingKind::kYearInTitle:
      return quoted + u8"当作年份留在歌名中";
    case NameFindingKind::kLatinName:
      return u8"歌手名后的" + quoted + u8"当作外文名略去";
    case NameFindingKind::kFolderNoLanguage:
      return u8"文件夹名" + quoted + u8"中没有语种";
    case NameFindingKind::kFolderNoStyle:
      return u8"文件夹名" + quoted + u8"中没有类别";
    case NameFindingKind::kKnownSinger:
      return u8"按歌库中已有的歌手" + quoted + u8"判断";
    case NameFindingKind::kSingerByOrder:
      return u8"没有分隔符，按顺序把" + quoted + u8"当作歌手";
    case NameFindingKind::kNumberTaken:
      return quoted + u8"当作文件名编号";
    case NameFindingKind::kTitleTag:
      return u8"歌名中含有标签词" + quoted;
    case NameFindingKind::kPatternMismatchRead:
      return u8"名称不符合自定义格式，按歌名及其后的括号、字段读取";
    case NameFindingKind::kNumberTooLarge:
      return u8"编号" + quoted + u8"大于 " + std::to_string(kLargestSongNumber) + u8"，未编号";
  }
  return std::string();
}

}  // namespace kscgen::messages
