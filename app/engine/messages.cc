#include "app/engine/messages.h"

#include <cstdio>

#include "app/engine/batch.h"
#include "tagging/file_name.h"
#include "tagging/uniform_values.h"
#include "text/encoding.h"

namespace kscgen::messages {

const char* const kNoTemplate = u8"请选择歌曲命名模板！";
const char* const kMovedOrReplaced = u8"已被移动或替换";
const char* const kFolderLocked = u8"另一个批量任务正在处理此文件夹";
const char* const kControlCharacter = u8"文件名含有控制字符";
const char* const kNotInGbkName = u8"文件名含有GBK无法表示的字符";
const char* const kUndecodableName = u8"文件名既不是UTF-8也不是GBK编码";
const char* const kEmptyBaseName = u8"文件名去掉扩展名后为空";
const char* const kKscReadOnly = u8"KSC文件只读";
const char* const kKscImmutable = u8"KSC文件被设为不可更改";
const char* const kKscAppendOnly = u8"KSC文件被设为只能追加";
const char* const kKscOtherOwner = u8"KSC文件属于其他用户，文件夹不允许替换它";
const char* const kKscIsFolder = u8"KSC文件的位置上是一个文件夹";
const char* const kKscNotAFile = u8"KSC文件的位置上是链接或特殊文件";
const char* const kRecordUnreadable = u8"无法读取已写入内容的记录，未更新，以免覆盖手工修改";

namespace {

std::string Shown(std::string_view native) { return u8"“" + text::DisplayName(native) + u8"”"; }

// The phrase for a kind of error; null for one without a phrase of its own.
const char* PhraseFor(os::ErrorKind kind) {
  switch (kind) {
    case os::ErrorKind::kNotFound:
      return u8"不存在";
    case os::ErrorKind::kNotFolder:
      return u8"不是文件夹";
    case os::ErrorKind::kPermission:
      return u8"没有权限";
    case os::ErrorKind::kNameTooLong:
      return u8"名称太长";
    case os::ErrorKind::kLocked:
      return kFolderLocked;
    case os::ErrorKind::kIsFolder:
      return u8"是一个文件夹";
    case os::ErrorKind::kNoSpace:
      return u8"磁盘空间不足";
    case os::ErrorKind::kReadOnlyFileSystem:
      return u8"只读文件系统";
    case os::ErrorKind::kTooManyOpenFiles:
      return u8"打开的文件太多";
    case os::ErrorKind::kNoMemory:
      return u8"内存不足";
    case os::ErrorKind::kQuota:
      return u8"超出磁盘配额";
    case os::ErrorKind::kExists:
      return u8"已存在同名的文件或文件夹";
    case os::ErrorKind::kBusy:
      return u8"正在使用中";
    case os::ErrorKind::kHeldByAnotherProgram:
      return u8"被其他程序占用";
    case os::ErrorKind::kIoError:
      return u8"磁盘读写错误";
    case os::ErrorKind::kImmutable:
      return u8"被设为不可更改";
    case os::ErrorKind::kAppendOnly:
      return u8"被设为只能追加";
    case os::ErrorKind::kChangedSinceRead:
      return u8"读取后被其他程序修改";
    case os::ErrorKind::kNone:
    case os::ErrorKind::kOther:
      break;
  }
  return nullptr;
}

// The cause in the user's words. The system's own words would be English on
// Linux (and a Windows machine's may differ from the user's): a cause
// without a phrase of its own is given by the system's code for it, which
// help and searches find.
std::string Because(const os::Error& error) {
  std::string cause;
  if (const char* phrase = PhraseFor(error.kind)) {
    cause = phrase;
  } else {
    cause = error.code != 0 ? u8"系统错误代码 " + std::to_string(error.code) : error.reason;
  }
  return cause.empty() ? std::string() : u8"（" + cause + u8"）";
}

std::string Count(std::size_t n) { return std::to_string(n); }

// Appends a titled list: lines to the summary while `*budget` lasts (the
// budget is shared by every list of one message; each list shows its first
// line whatever is left, so that a list after a long one still names one)
// and a line saying how many more there are; a list cut short goes to the
// details whole.
template <typename Items, typename Line>
void AppendList(Report& report, const std::string& title, const Items& items, std::size_t* budget,
                Line line) {
  if (items.empty()) return;
  report.summary += u8"\n\n" + title;
  std::size_t shown = 0;
  std::string all;
  for (const auto& item : items) {
    const std::string text = u8"\n" + line(item);
    if (*budget > 0 || shown == 0) {
      report.summary += text;
      if (*budget > 0) --*budget;
      ++shown;
    }
    all += text;
  }
  if (shown < items.size()) {
    // The details list every name again, so that they read whole.
    report.summary += u8"\n……另有 " + Count(items.size() - shown) + u8" 个";
    report.details += (report.details.empty() ? title : u8"\n\n" + title) + all;
  }
}

}  // namespace

std::string NotedVideos(std::size_t noted) {
  if (noted == 0) return std::string();
  return u8"\n\n" + Count(noted) +
         u8" 个视频有备注（文件名与模板不符之处等），可在预览中查看"
         u8"（命令行用 kscgen -n）";
}

std::string NameNumbers(std::size_t without, std::size_t clashing) {
  if (without == 0 && clashing == 0) return std::string();
  return u8"\n\n编号取自文件名：" + Count(without) + u8" 个视频没有编号，" + Count(clashing) +
         u8" 个视频的编号与前面的视频相同";
}

std::string NoTemplate() { return u8"\n　" + std::string(kNoTemplate) + " "; }

std::string ChooseFolderFirst() { return u8"请先选择歌曲所在目录。"; }

std::string NoVideos(std::string_view folder, std::string_view masks) {
  return u8"没有找到视频文件\n\n文件夹：" + Shown(folder) + u8"\n查找的是：" + std::string(masks) +
         u8"\n\n其他格式的视频（如 .mkv、.mp4）可在“后缀”中加入。";
}

std::string NoVideosLeft() { return u8"列表中的视频都已移除：按 F5 重新列出文件夹中的视频。"; }

std::string CannotOpenFolder(std::string_view folder) {
  return u8"无法打开文件夹（没有可用的文件管理器）。请复制下面的路径自行打开：\n\n" +
         text::DisplayName(folder);
}

std::string FolderLocked(std::string_view folder) {
  return std::string(kFolderLocked) + u8"：" + text::DisplayName(folder);
}

std::string CannotReadFolder(std::string_view path, const os::Error& error) {
  return u8"无法读取文件夹：" + Shown(path) + Because(error);
}

std::string BadStartNumber(std::string_view typed_utf8) {
  return u8"编号起始值必须是不小于 0 的整数：“" + std::string(typed_utf8) + u8"”";
}

std::string StartNumberAboveLimit(std::string_view typed_utf8, std::int64_t max) {
  return u8"编号起始值不能大于 " + std::to_string(max) + u8"：“" + std::string(typed_utf8) + u8"”";
}

std::string StartNumberTooLarge(std::int64_t start, std::size_t videos, std::int64_t max) {
  const std::int64_t over = start + static_cast<std::int64_t>(videos) - max;
  return u8"编号起始值 " + std::to_string(start) + u8" 太大：" + Count(videos) + u8" 首歌曲中有 " +
         std::to_string(over) + u8" 首的编号将超过 " + std::to_string(max);
}

std::string BadVideoExtension(std::string_view typed_utf8) {
  return u8"视频后缀名“" + std::string(typed_utf8) +
         u8"”无法使用：应由 1 到 10 个英文字母或数字组成，如 mkv、mp4";
}

std::string KscIsNoVideo(std::string_view typed_utf8) {
  return u8"视频后缀名“" + std::string(typed_utf8) + u8"”是KSC文件自己的后缀名";
}

std::string BadChannel(std::string_view typed_utf8) {
  return u8"歌曲声道的值“" + std::string(typed_utf8) +
         u8"”无法识别：应以数字 0 到 3 开头（0 默认，1 右声道，2 左声道，3 立体声），"
         u8"或含有“左”、“右”或“立体”";
}

std::string UnknownUniformKind(std::string_view typed_utf8) {
  return u8"统一设定值的种类应为歌 手 名（歌手）、歌曲类别（类别、风格）、歌曲语种（语种）"
         u8"或歌曲声道（声道）：" +
         std::string(typed_utf8);
}

std::string UnknownUniformKindOption(std::string_view typed_utf8) {
  return u8"统一设定值的种类应为 singer（歌 手 名）、style（歌曲类别）、language（歌曲语种）"
         u8"或 channel（歌曲声道）：" +
         std::string(typed_utf8);
}

std::string BadStyle(std::string_view typed_utf8) {
  std::string styles;
  for (const std::string& style : UniformValuesOffered(kUniformStyle)) {
    styles += (styles.empty() ? "" : u8"、") + text::GbkToUtf8(style).value_or(std::string());
  }
  return u8"歌曲类别的值“" + std::string(typed_utf8) + u8"”不是歌曲管理器的类别：应为" + styles +
         u8"之一，或含有其中的关键字";
}

std::string UniformControlCharacter(std::string_view typed_utf8) {
  return u8"统一设定值含有控制字符：" + std::string(typed_utf8);
}

std::string DateControlCharacter(std::string_view typed_utf8) {
  return u8"日期含有控制字符：" + std::string(typed_utf8);
}

std::string EmptyUniformValue(std::string_view typed_utf8) {
  return u8"统一设定值为空：“" + std::string(typed_utf8) + u8"”";
}

std::string NotInGbk(std::string_view what, std::string_view typed_utf8) {
  return std::string(what) + u8"含有GBK无法表示的字符：“" + std::string(typed_utf8) + u8"”";
}

std::string NotUtf8(std::string_view what, std::string_view bytes) {
  std::string hex;
  for (char c : bytes) {
    char buf[4];
    std::snprintf(buf, sizeof buf, "%02X", static_cast<unsigned char>(c));
    hex += (hex.empty() ? "" : " ") + std::string(buf);
  }
  return std::string(what) + u8"不是有效的UTF-8文本（字节：" + hex + u8"）";
}

std::string UnlistedVideos(const std::map<std::string, std::size_t>& kinds) {
  if (kinds.empty()) return std::string();
  std::string text = u8"另有 ";
  bool first = true;
  for (const auto& [ext, count] : kinds) {
    if (!first) text += u8"、";
    text += std::to_string(count) + u8" 个 " + ext;
    first = false;
  }
  return text + u8" 文件未列出，可在后缀中加入";
}

std::string StaleKscFile(std::string_view name_utf8) {
  return u8"另有同名的旧KSC文件 “" + std::string(name_utf8) + u8"” 未更新";
}

std::string NumberHolder(std::string_view video, bool kept_by_hand) {
  return u8"“" + std::string(video) +
         (kept_by_hand ? u8"”的编号为手工修改，已保留" : u8"”的KSC文件未更新");
}

std::string HeldNumberSteppedOver(std::string_view holder, std::string_view number) {
  return std::string(holder) + u8"，仍占用编号 " + std::string(number) +
         u8"，其他歌曲的编号跳过了它";
}

std::string HeldNumberGivenTwice(std::string_view holder, std::string_view number) {
  return std::string(holder) + u8"，仍占用编号 " + std::string(number) +
         u8"，与本次另一首歌曲的编号相同";
}

std::string AttributesLostNote(const std::vector<std::string>& names) {
  std::string list;
  for (const std::string& n : names) list += (list.empty() ? "" : u8"、") + text::DisplayName(n);
  return u8"未能保留扩展属性 " + list;
}

std::string AttributesLost(std::string_view video, const std::vector<std::string>& names) {
  return u8"“" + std::string(video) + u8"”的KSC文件已更新，但" + AttributesLostNote(names);
}

std::string FolderNameNotInGbk(std::string_view folder) {
  return u8"警告：文件夹名" + Shown(folder) +
         u8"含有GBK无法表示的字符，目录名的作用对其中的歌曲不起作用";
}

std::string FolderNamesNothing(std::string_view folder, bool language) {
  return u8"文件夹名" + Shown(folder) +
         (language ? u8"中没有语种，名称中没有语种的歌曲用默认的语种"
                   : u8"中没有类别，名称中没有类别的歌曲用默认的类别");
}

const char* const kTemplateLabels[kTemplateCount] = {
    u8"歌名",
    u8"歌手－歌名",
    u8"歌手－歌名(语种)",
    u8"歌手－歌名(语种－类别)",
    u8"歌手－歌名(语种－类别－声道)",
    u8"自定义",
    u8"自动识别",
};
const char* const kFolderRoleLabels[kRoleCount] = {u8"无作用", u8"歌手名", u8"语种名", u8"类别名",
                                                   u8"加入日期"};

std::string BadIndexOption(bool naming, std::string_view typed_utf8) {
  return std::string(naming ? u8"模板" : u8"目录名作用") +
         (naming ? u8"必须是 0 到 4 或 auto：" : u8"必须是 0 到 4：") + std::string(typed_utf8);
}

std::string UniformOptionShape(std::string_view typed_utf8) {
  return u8"统一设定值应写成 KIND=VALUE，KIND 为 singer、style、language 或 channel：" +
         std::string(typed_utf8);
}

std::string MissingOptionValue(std::string_view typed_utf8) {
  return u8"选项缺少参数：" + std::string(typed_utf8);
}

std::string UnknownOption(std::string_view typed_utf8) {
  return u8"未知选项：" + std::string(typed_utf8);
}

const char* const kOneFolder = u8"请给出一个文件夹";

const char* const kTwoNumberings = u8"自动编号与编号取自文件名只能选一个";
const char* const kTemplateAndPattern = u8"命名模板（-t）与自定义命名格式（-p）只能选一个";
const char* const kNoNumbersUnderTitleTemplate =
    u8"模板“歌名”不从文件名读取编号，不能用编号取自文件名";

std::string BadNamePattern(PatternFault fault, std::string_view part_utf8) {
  const std::string part = u8"“" + std::string(part_utf8) + u8"”";
  switch (fault) {
    case PatternFault::kNone:
      break;
    case PatternFault::kNoTitle:
      return u8"命名格式中没有{歌名}";
    case PatternFault::kUnknownPlaceholder:
      // Short, for the window shows it under the pattern box, whose tooltip
      // and kscgen --help list the placeholders.
      return u8"命名格式中的" + part + u8"不是可用的项目";
    case PatternFault::kUnclosedPlaceholder:
      return u8"命名格式中的" + part + u8"缺少“}”";
    case PatternFault::kStrayClosingBrace:
      return u8"命名格式中的“}”前面缺少“{”";
    case PatternFault::kRepeatedPlaceholder:
      return u8"命名格式中" + part + u8"出现了两次";
    case PatternFault::kAdjacentPlaceholders:
      return u8"命名格式中" + part + u8"两项之间没有分隔的文字";
    case PatternFault::kTooManyPlaceholders:
      return u8"命名格式中的项目太多，最多 " + std::to_string(kMaxPatternSteps) + u8" 个";
    case PatternFault::kExtension:
      return u8"命名格式中不要写后缀名" + part + u8"，文件名去掉后缀名后才与格式比较";
    case PatternFault::kNotInFileNames:
      return u8"命名格式中的" + part + u8"不会出现在文件名中";
  }
  return std::string();
}

std::string PreviewSummary(std::size_t videos, std::size_t written, std::size_t skipped,
                           std::size_t superseded) {
  return u8"共 " + Count(videos) + u8" 个视频：将生成 " + Count(written) + u8" 个KSC文件，跳过 " +
         Count(skipped) + u8" 个（红色），" + Count(superseded) + u8" 个与后面的视频同名（黄色）。";
}

std::string PreviewTitle(std::size_t noted) { return u8"预览（" + Count(noted) + u8" 行有备注）"; }

std::string PreviewNote(std::string_view notes) { return u8"备注：" + std::string(notes); }

std::string PreviewSkipped(std::string_view reason) {
  return u8"不生成KSC文件：" + std::string(reason);
}

std::string CannotWriteInFolder(const os::Error& error) {
  // Not the folder's fault: the run holds as many files open as it may.
  if (error.kind == os::ErrorKind::kTooManyOpenFiles) {
    return u8"打开的文件太多，无法继续处理文件夹：" + Shown(error.path);
  }
  return u8"无法在文件夹中写入文件：" + Shown(error.path) + Because(error);
}

std::string CannotWriteKscFile(const os::Error& error) {
  return u8"无法写入KSC文件：" + Shown(error.path) + Because(error);
}

std::string CannotReplaceKscFile(const os::Error& error) {
  return u8"无法替换KSC文件" + Because(error);
}

std::string CannotReadKscFile(const os::Error& error) {
  // Too long a name is refused before any file is looked for: there is no
  // KSC file to read, and none could be made.
  if (error.kind == os::ErrorKind::kNameTooLong) return u8"KSC文件的名称太长";
  return u8"无法读取已有的KSC文件" + Because(error);
}

std::string CannotReadKscFileAt(std::string_view path, const os::Error& error) {
  return u8"无法读取已有的KSC文件：" + Shown(path) + Because(error);
}

std::string CannotSaveRecord(std::string_view path, const os::Error& error, bool had_record,
                             const os::Error& removal) {
  std::string text = u8"无法保存已写入内容的记录：" + Shown(path) + Because(error);
  if (removal.failed()) {
    return text + u8"；旧记录也无法删除" + Because(removal) +
           u8"，下次运行可能把本次写入的值当作手工修改而保留";
  }
  return text + (had_record ? u8"；已删除旧记录，" : u8"；") +
         u8"下次运行时这些KSC文件按没有记录的文件处理，手工修改的值不会被识别";
}

std::string CannotReadRecord(std::string_view path, const os::Error& error, bool force,
                             bool dry_run) {
  const std::string text = u8"无法读取已写入内容的记录：" + Shown(path) + Because(error);
  if (!force) return text + u8"；文件夹中有变化的已有KSC文件未更新，以免覆盖手工修改，记录也未改动";
  // Replaced without the record being written, their values would be taken
  // for a person's once the record can be read again.
  return text +
         (dry_run ? u8"；已选择替换手工修改，文件夹中有变化的已有KSC文件将被替换，但记录不会改动"
                  : u8"；已选择替换手工修改，文件夹中有变化的已有KSC文件已被替换，但记录未改动") +
         u8"，下次运行可能把本次写入的值当作手工修改而保留";
}

std::string OutOfMemory(std::string_view folder) {
  return u8"内存不足，无法处理文件夹：" + Shown(folder);
}

std::string WrittenBeforeStop(std::size_t written, std::size_t not_reached, bool dry_run) {
  if (dry_run) return ListedBeforeStop(not_reached);
  return u8"\n本次已写入 " + Count(written) + u8" 个KSC文件，另有 " + Count(not_reached) +
         u8" 个视频未处理。";
}

std::string Stopped() { return u8"批量任务已停止。"; }

std::string CannotSync(std::string_view folder, const os::Error& error) {
  return u8"无法将文件写入磁盘：" + Shown(folder) + Because(error);
}

Report BatchReport(const BatchResult& r, std::size_t max_names) {
  Report report;
  if (r.status != BatchStatus::kDone) {
    report.summary = r.failure;
  } else if (r.written() == 0 && r.unchanged > 0) {
    // Nothing for the song manager to scan.
    report.summary = u8"\n" + Count(r.unchanged) + u8" 个KSC文件都已是最新，没有改动";
  } else if (r.ksc_files() == 0 && !r.skipped.empty()) {
    report.summary = u8"\n没有生成KSC文件：" + Count(r.skipped.size()) + u8" 个视频都被跳过";
  } else {
    // Files left unchanged were not generated: the counts below name them.
    report.summary =
        u8"\n" + Count(r.written()) +
        u8"　首歌曲生成KSC文件完毕！\n\n如果需要加入歌库，请手动到歌曲管理器中进行扫描！"
        u8"\n\n新建 " +
        Count(r.created) + u8" 个，更新 " + Count(r.updated) + u8" 个，未变 " + Count(r.unchanged) +
        u8" 个";
  }
  report.summary += KeptInRun(r.kept_lyrics, r.kept_edits);
  // Every video run through was read: a stopped run's rows have their notes too.
  if (r.status == BatchStatus::kDone || r.status == BatchStatus::kStopped) {
    report.summary +=
        NameNumbers(r.without_name_number, r.name_number_clashes) + NotedVideos(r.noted);
  }
  if (r.folders.size() > 1) {
    std::size_t folders = max_names;
    AppendList(report, u8"各文件夹的KSC文件：", r.folders, &folders, [](const FolderCount& f) {
      return f.relative + u8"：" + Count(f.ksc_files) + u8" 个";
    });
  }
  std::size_t budget = max_names;  // video names in the whole message, not in each list
  AppendList(report, u8"以下 " + Count(r.skipped.size()) + u8" 个视频未生成KSC文件：", r.skipped,
             &budget, [](const SkippedVideo& s) { return s.name + u8"（" + s.reason + u8"）"; });
  AppendList(report, u8"以下视频的KSC文件同名，保留的是后一个视频的：", r.same_ksc, &budget,
             [](const SameKscPair& p) { return p.earlier + u8" 与 " + p.later; });
  AppendList(report, u8"注意：", r.warnings, &budget, [](const std::string& w) { return w; });
  std::size_t folders_left = max_names;
  AppendList(report, u8"以下 " + Count(r.folders_not_reached.size()) + u8" 个文件夹未处理：",
             r.folders_not_reached, &folders_left, [](const std::string& f) { return f; });
  return report;
}

Report LinesReport(const std::vector<std::string>& lines, std::size_t max_lines) {
  Report report;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (i < max_lines) report.summary += (i ? u8"\n" : "") + lines[i];
  }
  // Cut short, the details hold every line.
  if (lines.size() > max_lines) {
    for (std::size_t i = 0; i < lines.size(); ++i) report.details += (i ? u8"\n" : "") + lines[i];
  }
  return report;
}

}  // namespace kscgen::messages
