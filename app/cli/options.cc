#include "app/cli/options.h"

#include <algorithm>
#include <utility>

#include "app/cli/command_line.h"
#include "app/engine/messages.h"
#include "app/engine/name_pattern_option.h"
#include "app/engine/start_number.h"
#include "tagging/uniform_values.h"
#include "text/encoding.h"
#include "text/gbk_text.h"

namespace kscgen::cli {


namespace {

// "0 歌名，1 歌手－歌名，..." from the labels the window shows, `per_line`
// to a line of the help's second column; the first `count` labels.
std::string NumberedLabels(const char* const* labels, int count, int per_line,
                           const char* first_note = "") {
  std::string text;
  for (int i = 0; i < count; ++i) {
    if (i > 0) text += i % per_line == 0 ? u8"，\n                            " : u8"，";
    text += std::to_string(i) + " " + labels[i] + (i == 0 ? first_note : "");
  }
  return text + "\n";
}

}  // namespace

std::string Usage() {
  return std::string(u8"用法: kscgen [选项] 文件夹\n"
                     u8"为文件夹中的每个视频（*.mpg;*.dat;*.wmv;*.rmvb;*.avi）在其旁边生成一个KSC歌曲文件。\n"
                     u8"\n"
                     u8"  -t, --template N          歌曲命名模板（必选）：\n"
                     u8"                            ") +
         NumberedLabels(messages::kTemplateLabels, kTemplateCustom, 2) +
         u8"                            auto " + messages::kTemplateLabels[kTemplateAuto] +
         u8"（名称中各项的顺序不限）\n"
         u8"  -p, --pattern PATTERN     自定义命名格式（代替 -t），如 \"{歌名} - {歌手}\"、\n"
    u8"                            \"{编号}_{歌手}_{歌名}\"；可用 {歌手} {歌名} {语种} {类别}\n"
    u8"                            {声道} {编号} {*}（{*} 跳过任意文字）\n"
    u8"  -r, --folder-role N       目录名的作用：\n"
    u8"                            " +
         NumberedLabels(messages::kFolderRoleLabels, kRoleCount, 3, u8"（默认）") +
         u8"  -s, --start-number N      自动编号：第一首歌曲的编号为 N 加 1（N 不小于 0），\n"
    u8"                            至少五位数字，如 0 得 00001\n"
    u8"      --number-from-name    编号取自文件名（如 后来-国语-103962 中的 103962），\n"
    u8"                            不能与 -s 同用\n"
    u8"  -u, --uniform KIND=VALUE  统一设定值，可重复；KIND 为 singer（歌 手 名）、\n"
    u8"                            style（歌曲类别）、language（歌曲语种）\n"
    u8"                            或 channel（歌曲声道），也可写作 歌手、类别、风格、语种、声道\n"
    u8"      --date TEXT           每个KSC文件\"时间\"一项的内容；默认已有的KSC文件保留原日期，\n"
    u8"                            新的为今天的日期（如 2026/12/7）\n"
    u8"  -R, --recursive           同时处理文件夹下的所有子文件夹\n"
    u8"      --ext LIST            另外处理这些后缀名的视频，如 mkv,mp4；可重复\n"
    u8"      --force               重写内容未变的KSC文件，并替换其中手工修改过的值\n"
    u8"  -n, --dry-run             只列出每个视频将得到的内容，不写任何文件\n"
    u8"      --utf8                输出到文件或管道时用 UTF-8（Windows 默认用控制台的代码页）\n"
    u8"  -h, --help                显示本帮助\n"
    u8"      --version             显示版本\n"
    u8"\n"
    u8"退出码：0 全部生成；1 有视频被跳过、没有找到视频、文件写入失败或输出失败；2 选项或文件夹有误。\n"
    u8"\n"
    u8"要用窗口操作，请运行 " KSCGEN_WINDOW_PROGRAM u8"。\n";
}

namespace {

std::optional<int> ParseIndex(const std::string& text) {
  std::string s = text;
  if (s.size() != 1 || s[0] < '0' || s[0] > '4') return std::nullopt;
  return s[0] - '0';
}

// A UTF-8 argument in GBK; the message when it cannot be.
std::optional<std::string> ArgumentInGbk(std::string_view what, const std::string& arg,
                                         std::string* error) {
  if (!text::IsValidUtf8(arg)) {
    *error = messages::NotUtf8(what, arg);
    return std::nullopt;
  }
  auto gbk = text::Utf8ToGbk(arg);
  if (!gbk) *error = messages::NotInGbk(what, arg);
  return gbk;
}

// The kind drop-down's label for a KIND given as a label or an English name.
std::string UniformLabel(const std::string& kind) {
  static const char* const kEnglish[kUniformKindCount] = {"singer", "style", "language", "channel"};
  for (int k = 0; k < kUniformKindCount; ++k) {
    if (kind == kEnglish[k]) return UniformKindLabel(k);
  }
  return text::Utf8ToGbk(kind).value_or(std::string());
}

enum OptionId {
  kOptTemplate,
  kOptPattern,
  kOptFolderRole,
  kOptStartNumber,
  kOptNumberFromName,
  kOptUniform,
  kOptDate,
  kOptRecursive,
  kOptExtensions,
  kOptForce,
  kOptDryRun,
  kOptUtf8,
  kOptHelp,
  kOptVersion,
};

const std::vector<cli::OptionDef> kOptions = {
    {"template", 't', true, kOptTemplate},
    {"pattern", 'p', true, kOptPattern},
    {"folder-role", 'r', true, kOptFolderRole},
    {"start-number", 's', true, kOptStartNumber},
    {"number-from-name", '\0', false, kOptNumberFromName},
    {"uniform", 'u', true, kOptUniform},
    {"date", '\0', true, kOptDate},
    {"recursive", 'R', false, kOptRecursive},
    {"ext", '\0', true, kOptExtensions},
    {"force", '\0', false, kOptForce},
    {"dry-run", 'n', false, kOptDryRun},
    {"utf8", '\0', false, kOptUtf8},
    {"help", 'h', false, kOptHelp},
    {"version", '\0', false, kOptVersion},
};

ParsedArguments& Fail(ParsedArguments& parsed, std::string message) {
  parsed.error = UsageError(message);
  return parsed;
}

}  // namespace

std::string UsageError(const std::string& message) {
  return "kscgen: " + message + "\n" + u8"运行 kscgen --help 查看用法。\n";
}

namespace {

// Reads one -u KIND=VALUE into `entries`; its refusal, or empty.
std::string ReadUniformOption(const std::string& arg, std::vector<UniformEntry>& entries) {
  const std::size_t eq = arg.find('=');
  if (eq == std::string::npos || !text::IsValidUtf8(arg.substr(0, eq))) {
    return messages::UniformOptionShape(text::DisplayName(arg));
  }
  std::string error;
  const std::optional<std::string> value = ArgumentInGbk(u8"统一设定值", arg.substr(eq + 1), &error);
  if (!value) return error;
  UniformEntryParse parse = ParseUniformEntry(UniformLabel(arg.substr(0, eq)), *value);
  if (parse.error == UniformEntryError::kNone) {
    entries.push_back(std::move(parse.entry));
    return {};
  }
  return messages::UniformEntryRefusal(parse.error, arg, arg.substr(eq + 1), true);
}

// -t or -r: its index, into `request`; the refusal, or empty.
std::string ReadIndexOption(const ParsedOption& option, BatchRequest& request) {
  const bool naming = option.id == kOptTemplate;
  const std::optional<int> index = naming && option.value == "auto"
                                       ? std::optional<int>(kTemplateAuto)
                                       : ParseIndex(option.value);
  auto bad = [&] { return messages::BadIndexOption(naming, text::DisplayName(option.value)); };
  if (!naming) {
    const std::optional<FolderRole> role = index ? FolderRoleOf(*index) : std::nullopt;
    if (!role) return bad();
    request.folder_role = *role;
    return {};
  }
  const std::optional<NamingTemplate> naming_template =
      index ? NamingTemplateOf(*index) : std::nullopt;
  if (!naming_template) return bad();
  if (request.name_pattern) return messages::kTemplateAndPattern;
  request.naming_template = naming_template;
  return {};
}

// -p: the pattern, into `request`; the refusal, or empty.
std::string ReadPatternOption(const std::string& value, BatchRequest& request) {
  if (request.naming_template && !request.name_pattern) return messages::kTemplateAndPattern;
  NamePatternOption pattern = ParseNamePatternOption(value);
  if (!pattern.pattern) return pattern.error;
  request.naming_template = kTemplateCustom;
  request.name_pattern = std::move(pattern.pattern);
  return {};
}

// --date, into `options`; the refusal, or empty.
std::string ReadDateOption(const std::string& value, Options& options) {
  std::string error;
  options.date = ArgumentInGbk(u8"日期", value, &error);
  if (!options.date) return error;
  // A line break would split the KSC file's line, as in a uniform value.
  if (text::HasControlByte(*options.date)) {
    return messages::DateControlCharacter(text::DisplayName(value));
  }
  // An empty date would stand over every date a KSC file holds.
  if (text::TrimView(*options.date).empty()) return messages::kEmptyDate;
  return {};
}

// --ext, added to the kinds `options` lists; the refusal, or empty.
std::string ReadExtensionsOption(const std::string& value, Options& options) {
  // Each --ext is checked alone, so that its message names what it was given.
  const VideoExtensionsParse alone = ParseVideoExtensions(value);
  if (!alone.error.empty()) return alone.error;
  if (alone.named == 0) return messages::NoVideoExtensionGiven(text::DisplayName(value));
  VideoExtensionsParse parse =
      ParseVideoExtensions(VideoExtensionsText(options.extensions) + "," + value);
  if (!parse.error.empty()) return parse.error;
  options.extensions = std::move(parse.extensions);
  return {};
}

// One option, into `options`; its refusal, or empty.
std::string ApplyOption(const ParsedOption& option, Options& options,
                        std::vector<UniformEntry>& uniform_entries) {
  BatchRequest& request = options.request;
  const std::string& value = option.value;
  switch (option.id) {
    case kOptTemplate:
    case kOptFolderRole:
      return ReadIndexOption(option, request);
    case kOptPattern:
      return ReadPatternOption(value, request);
    case kOptNumberFromName:
      request.number_from_name = true;
      break;
    case kOptStartNumber: {
      const std::optional<std::int32_t> start = ParseStartNumber(value);
      if (!start) return StartNumberRefusal(text::DisplayName(value));
      request.start_number = *start;
      break;
    }
    case kOptUniform:
      return ReadUniformOption(value, uniform_entries);
    case kOptDate:
      return ReadDateOption(value, options);
    case kOptRecursive:
      options.recursive = true;
      break;
    case kOptExtensions:
      return ReadExtensionsOption(value, options);
    case kOptForce:
      request.force = true;
      break;
    case kOptDryRun:
      request.dry_run = true;
      break;
    case kOptUtf8:
      options.utf8 = true;
      break;
    case kOptHelp:
      options.action = Options::Action::kHelp;
      break;
    case kOptVersion:
      options.action = Options::Action::kVersion;
      break;
  }
  return {};
}

// What the options together refuse, once each was read; empty when none.
std::string CheckTogether(const CommandLine& line, const BatchRequest& request) {
  switch (line.error) {
    case OptionError::kNone:
      break;
    case OptionError::kMissingValue:
      return messages::MissingOptionValue(text::DisplayName(line.typed));
    case OptionError::kUnknown:
    case OptionError::kUnexpectedValue:
      return messages::UnknownOption(text::DisplayName(line.typed));
  }
  if (line.operands.size() != 1) return messages::kOneFolder;
  if (request.number_from_name && request.start_number) return messages::kTwoNumberings;
  if (request.number_from_name && request.naming_template == kTemplateTitle) {
    return messages::kNoNumbersUnderTitleTemplate;
  }
  if (!request.naming_template) return messages::kNoTemplateOption;
  return {};
}

}  // namespace

ParsedArguments ParseArguments(const std::vector<std::string>& args) {
  ParsedArguments parsed;
  Options& options = parsed.options;
  std::vector<UniformEntry> uniform_entries;
  // Options act in the order given, and the first error ends the run before
  // anything is written; help and version need nothing else.
  const CommandLine line = ParseCommandLine(args, kOptions);
  for (const ParsedOption& option : line.options) {
    if (std::string error = ApplyOption(option, options, uniform_entries); !error.empty()) {
      return Fail(parsed, error);
    }
    if (options.action != Options::Action::kRun) return parsed;
  }
  if (std::string error = CheckTogether(line, options.request); !error.empty()) {
    return Fail(parsed, error);
  }
  options.folder = line.operands[0];
  options.request.uniform = CollectUniformValues(uniform_entries);
  return parsed;
}

int ExitStatusOf(const BatchResult& result, std::size_t unreadable_folders) {
  switch (result.status) {
    case BatchStatus::kDone:
      return result.skipped.empty() && unreadable_folders == 0 ? kExitDone : kExitIncomplete;
    case BatchStatus::kLocked:
    case BatchStatus::kWriteFailed:
    case BatchStatus::kStopped:
      return kExitIncomplete;
    case BatchStatus::kNoTemplate:
    case BatchStatus::kBadOptions:
      return kExitUsage;
  }
  return kExitUsage;
}

}  // namespace kscgen::cli
