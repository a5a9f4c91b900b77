// Every text the user reads, in one place: the window and kscgen show the
// same words. All UTF-8; lines end in line feeds, which kscgen prints as
// they are and the window turns into its message boxes' lines.
#pragma once

#include <cstddef>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "app/engine/video_plan.h"
#include "os/file_system.h"
#include "tagging/file_name.h"
#include "tagging/name_pattern.h"
#include "tagging/uniform_values.h"

namespace kscgen {
struct BatchResult;
struct NameFinding;
}  // namespace kscgen

namespace kscgen::messages {

// The naming templates' and the folder roles' names, by index, as the
// window lists them and kscgen --help names them.
extern const char* const kTemplateLabels[kTemplateCount];  // 歌名 ... 自定义
extern const char* const kFolderRoleLabels[kRoleCount];    // 无作用 ... 加入日期

// 请选择歌曲命名模板！, as the window's message box says it.
extern const char* const kNoTemplate;
std::string NoTemplate();

// A folder listed before the run and found moved or replaced since.
extern const char* const kMovedOrReplaced;

// Another run holds the folder: 另一个批量任务正在处理此文件夹
extern const char* const kFolderLocked;
std::string FolderLocked(std::string_view folder);

// 批量KSC before a folder is chosen.
std::string ChooseFolderFirst();
// A run on a list without videos: none found in `folder` by `masks`
// ("*.mpg;...;*.mkv"), or every one removed from the list.
std::string NoVideos(std::string_view folder, std::string_view masks);
std::string NoVideosLeft();
// 打开文件夹 when no file manager opened the folder: the path, to be copied.
std::string CannotOpenFolder(std::string_view folder);

// The chosen folder cannot be used: missing, not a folder, no permission,
// a path too long, or another reason of the system's.
std::string CannotUseFolder(std::string_view path, const os::Error& error);
// A folder below the chosen one cannot be read.
std::string CannotReadFolder(std::string_view path, const os::Error& error);

// Numbering from a start number and from the names at once.
extern const char* const kTwoNumberings;
// kscgen's usage errors: an index out of range for -t (`naming`) or -r, a
// -u not written KIND=VALUE, an option without its value, an unknown
// option, and not one folder given.
std::string BadIndexOption(bool naming, std::string_view typed_utf8);
std::string UniformOptionShape(std::string_view typed_utf8);
std::string MissingOptionValue(std::string_view typed_utf8);
std::string UnknownOption(std::string_view typed_utf8);
extern const char* const kOneFolder;

// kscgen given a template and a pattern of its own at once.
extern const char* const kTemplateAndPattern;
// Numbers from the names under the template that reads the title only.
extern const char* const kNoNumbersUnderTitleTemplate;

// A naming pattern that cannot be read: what is wrong and where (`part_utf8`).
std::string BadNamePattern(PatternFault fault, std::string_view part_utf8);

// The start number is not an integer of 0 or more.
std::string BadStartNumber(std::string_view typed_utf8);
// A start number past the largest one, `max`.
std::string StartNumberAboveLimit(std::string_view typed_utf8, std::int64_t max);
// Numbering from `start` would pass the largest song number.
std::string StartNumberTooLarge(std::int64_t start, std::size_t videos, std::int64_t max);

// An extension typed for more kinds of video that cannot be one.
std::string BadVideoExtension(std::string_view typed_utf8);
std::string KscIsNoVideo(std::string_view typed_utf8);

// A channel value that names no channel.
std::string BadChannel(std::string_view typed_utf8);
// A uniform kind that names none of the four kinds; `typed_utf8` is the
// entry as typed (KIND=VALUE, or the window's kind and value). kscgen's
// message names its English kinds too, the window's only its own.
std::string UnknownUniformKind(std::string_view typed_utf8);
std::string UnknownUniformKindOption(std::string_view typed_utf8);
// Why a uniform entry is refused: `entry_utf8` is the entry as typed
// (KIND=VALUE, or the window's kind and value), `value_utf8` its value;
// kscgen's -u (`option`) names its English kinds too. Empty for kNone.
std::string UniformEntryRefusal(UniformEntryError error, std::string_view entry_utf8,
                                std::string_view value_utf8, bool option);
// A uniform style that names none of the song manager's styles.
std::string BadStyle(std::string_view typed_utf8);

// A uniform value, or the date given for every song, that holds a control
// character (a line break would split the KSC file's line).
std::string UniformControlCharacter(std::string_view typed_utf8);
std::string DateControlCharacter(std::string_view typed_utf8);
// A uniform value that is empty after trimming.
std::string EmptyUniformValue(std::string_view typed_utf8);
// A typed text with a character GBK lacks (the KSC file could not hold it).
std::string NotInGbk(std::string_view what, std::string_view typed_utf8);
// A typed text that is not UTF-8: its bytes in hexadecimal.
std::string NotUtf8(std::string_view what, std::string_view bytes);

// Files of other kinds of video not listed ({".mkv": 20}): 另有 20 个 .mkv
// 文件未列出，可在后缀中加入. Empty when there are none.
std::string UnlistedVideos(const std::map<std::string, std::size_t>& kinds);

// A KSC file that is one name with the KSC file a video writes, and stays
// as it is: the song manager sees only one of them.
std::string StaleKscFile(std::string_view name_utf8);

// Who holds a number the run does not give: a KSC file left alone, or one
// whose number a person changed (kept). The start of the messages below.
std::string NumberHolder(std::string_view video, bool kept_by_hand);
// A KSC file that keeps its song number `number` (its holder as above): the
// numbering steps over it, or (when another song of the run has it already)
// gives it twice.
std::string HeldNumberSteppedOver(std::string_view holder, std::string_view number);
std::string HeldNumberGivenTwice(std::string_view holder, std::string_view number);

// A KSC file replaced without some of the old one's extended attributes:
// as a note on its video, and as the run's message.
std::string AttributesLostNote(const std::vector<std::string>& names);
std::string AttributesLost(std::string_view video, const std::vector<std::string>& names);

// A folder name that GBK cannot hold gives the folder role nothing to read.
std::string FolderNameNotInGbk(std::string_view folder);
// A folder whose name names no language (folder role 语种名) or no style
// (类别名): once in the run's message; its rows carry a note each.
std::string FolderNamesNothing(std::string_view folder, bool language);

// Why a video gets no KSC file.
extern const char* const kControlCharacter;
extern const char* const kNotInGbkName;
extern const char* const kUndecodableName;
extern const char* const kEmptyBaseName;
extern const char* const kKscReadOnly;
extern const char* const kKscImmutable;
extern const char* const kKscAppendOnly;
extern const char* const kKscOtherOwner;
extern const char* const kKscForeignOwner;
extern const char* const kKscForeignGroup;
// The window's settings file could not be written.
std::string SettingsNotSaved(std::string_view path);
// Asked before a run that replaces the values a person changed.
extern const char* const kReplaceEditsQuestion;
extern const char* const kKscIsFolder;
extern const char* const kKscNotAFile;
// A KSC file the system would not let the run replace, for a reason of its own.
std::string CannotReplaceKscFile(const os::Error& error);
// The skip reason of a video whose existing KSC file cannot be read: what it
// holds (its date among it) would be lost.
std::string CannotReadKscFile(const os::Error& error);
// An existing KSC file whose read failed for the disk's sake: the run stops.
std::string CannotReadKscFileAt(std::string_view path, const os::Error& error);
// A KSC file left alone: larger than a run reads (`limit` bytes), changed
// while it was read, or text that GBK cannot hold or its encoding (`encoding`)
// does not allow, or of an encoding kscgen does not read.
std::string KscFileTooLarge(std::size_t limit);
extern const char* const kKscChangedWhileRead;
std::string KscTextNotInGbk(KscEncoding encoding);
// A KSC file left alone: the statement of a value on line `line` is not
// whole on its line.
std::string KscStatementIncomplete(std::size_t line);
// A KSC file left alone: line `line` holds the statement of a value inside
// another statement (after `begin`, `if … then`, in an expression).
std::string KscStatementUnreadable(std::size_t line);
// A KSC file left alone: the block comment opened on line `line` does not
// end, and a line put after it would be part of it.
std::string KscCommentUnclosed(std::size_t line);
// A KSC file left alone holds a number that is no number, or one the song
// manager cannot hold.
std::string HeldNumberNotANumber(std::string_view holder, std::string_view gbk_number);
std::string HeldNumberTooLarge(std::string_view holder, std::string_view digits, std::int64_t max);
// The record of what kscgen wrote could not be saved at `path`: the old one
// (`had_record`) was removed, or its removal failed too (`removal`).
std::string CannotSaveRecord(std::string_view path, const os::Error& error, bool had_record,
                             const os::Error& removal);
// The record at `path` exists but could not be read or is no record; and
// why a KSC file that differs is then left as it is, or (`force`) that it
// is replaced while the record is not, so that the next run may take its
// values for a person's.
std::string CannotReadRecord(std::string_view path, const os::Error& error, bool force,
                             bool dry_run);
extern const char* const kRecordUnreadable;

// The notes on an update (UTF-8): the values it changes (风格：流行→怀旧歌)
// and those it adds (加入缩写、歌手),
// each value a person changed and the run kept, and what else it keeps of the
// file (保留 12 行歌词). Empty when there is nothing to say.
std::string ChangesNote(const std::vector<ValueChange>& changes);
std::string KeptNote(const KeptContent& kept);
// The lines of the run's message that count the files whose lyrics, other
// lines or hand edits were kept; empty when none were.
std::string KeptInRun(std::size_t kept_lyrics, std::size_t kept_edits);

// Memory ran out while the run worked in `folder`.
std::string OutOfMemory(std::string_view folder);

// The preview's words: its summary of what a run would do, its title with
// the rows that have notes, the notes above a row's KSC text, and what
// stands in place of the text of a video that would be skipped.
std::string PreviewSummary(std::size_t videos, std::size_t written, std::size_t skipped,
                           std::size_t superseded);
std::string PreviewTitle(std::size_t noted);
std::string PreviewNote(std::string_view notes);
std::string PreviewSkipped(std::string_view reason);

// A note (备注) on where a video's name departs from the naming template.
std::string NameNote(const NameFinding& finding);

// A KSC file that could not be written: the temporary file in its folder, or
// the KSC file itself; each names the error's path.
std::string CannotWriteInFolder(const os::Error& error);
std::string CannotWriteKscFile(const os::Error& error);
// What was written before a stop, appended to a failure or a stop.
// A dry run counts what it would write, but wrote nothing: it says so.
std::string WrittenBeforeStop(std::size_t written, std::size_t not_reached, bool dry_run = false);
std::string Stopped();
std::string CannotSync(std::string_view folder, const os::Error& error);

// The completion message, or the failure with its counts. At most
// `max_names` video names are listed in all (and as many folders); the rest
// are counted ("另有 N 个"), and every list cut short is in the details whole.
// How many names a message box lists before it counts the rest.
constexpr std::size_t kNamesInAMessageBox = 10;
struct Report {
  std::string summary;  // what a message box shows
  std::string details;  // every name past the summary's; empty when none
};
Report BatchReport(const BatchResult& result, std::size_t max_names);

// Messages one per line: at most `max_lines` in the summary; when there are
// more, every one in the details (folders below the chosen one that could not
// be read).
Report LinesReport(const std::vector<std::string>& lines, std::size_t max_lines);

// A uniform language that names none of the song manager's languages.
std::string BadLanguage(std::string_view typed_utf8);
// A naming pattern that holds a control character (no file name read here
// holds one).
std::string PatternControlCharacter(std::string_view typed_utf8);
// kscgen --date with nothing in it, and --ext naming no extension.
extern const char* const kEmptyDate;
std::string NoVideoExtensionGiven(std::string_view typed_utf8);
// kscgen without -t or -p: its own options named, as every usage error does.
extern const char* const kNoTemplateOption;
// kscgen over a folder without videos of the listed kinds: where it looked,
// for what, and the other kinds of video there with the --ext that adds them.
std::string NoVideosFound(std::string_view folder, std::string_view masks,
                          const std::map<std::string, std::size_t>& unlisted);
// How many videos of a run carry notes (备注), and where to see them; empty
// when none do.
std::string NotedVideos(std::size_t noted);
// How many videos 编号取自文件名 left without a number, and how many got one
// an earlier video's name gave too; empty when there are none of either.
std::string NameNumbers(std::size_t without, std::size_t clashing);
// What a dry run had listed before a stop: it wrote nothing.
std::string ListedBeforeStop(std::size_t not_reached);

}  // namespace kscgen::messages
