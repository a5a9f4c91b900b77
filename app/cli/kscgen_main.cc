// kscgen: writes one KSC song file beside every video of a folder, as the
// window's batch button does. Arguments are UTF-8; so is everything printed.
//
// Exit status: 0 when every video got its KSC file, 1 when some were skipped,
// a file could not be written or the output was lost, 2 for options or a
// folder that cannot be used.
#include <algorithm>
#include <clocale>
#include <cstdio>
#include <iostream>
#include <limits>
#include <optional>
#include <string>
#include <vector>

#include "app/cli/command_line.h"
#include "app/cli/console.h"
#include "app/engine/batch.h"
#include "app/engine/messages.h"
#include "app/engine/preview.h"
#include "app/engine/short_date.h"
#include "app/engine/start_number.h"
#include "app/engine/video_folder.h"
#include "tagging/uniform_values.h"
#include "text/encoding.h"

namespace {

using namespace kscgen;

constexpr int kExitDone = 0;
constexpr int kExitIncomplete = 1;
constexpr int kExitUsage = 2;

#ifdef _WIN32
#define KSCGEN_WINDOW_PROGRAM "kscgen-gui.exe"
#else
#define KSCGEN_WINDOW_PROGRAM "kscgen-gui"
#endif

const char kUsage[] =
    u8"用法: kscgen [选项] 文件夹\n"
    u8"为文件夹中的每个视频（*.mpg;*.dat;*.wmv;*.rmvb;*.avi）在其旁边生成一个KSC歌曲文件。\n"
    u8"\n"
    u8"  -t, --template N          歌曲命名模板（必选）：0 歌名，1 歌手－歌名，\n"
    u8"                            2 歌手－歌名(语种)，3 歌手－歌名(语种－类别)，\n"
    u8"                            4 歌手－歌名(语种－类别－声道)\n"
    u8"  -r, --folder-role N       目录名的作用：0 无作用（默认），1 歌手名，2 语种名，\n"
    u8"                            3 类别名，4 加入日期\n"
    u8"  -s, --start-number N      自动编号：第一首歌曲的编号为 N 加 1（N 不小于 0），\n"
    u8"                            至少五位数字，如 0 得 00001\n"
    u8"  -u, --uniform KIND=VALUE  统一设定值，可重复；KIND 为 singer（歌 手 名）、\n"
    u8"                            style（歌曲类别）、language（歌曲语种）或 channel（歌曲声道）\n"
    u8"      --date TEXT           \"时间\"一项的内容，默认为今天的日期（如 2026/12/7）\n"
    u8"  -R, --recursive           同时处理文件夹下的所有子文件夹\n"
    u8"      --force               重写内容未变的KSC文件\n"
    u8"  -n, --dry-run             只列出每个视频将得到的内容，不写任何文件\n"
    u8"      --utf8                输出到文件或管道时用 UTF-8（Windows 默认用控制台的代码页）\n"
    u8"  -h, --help                显示本帮助\n"
    u8"      --version             显示版本\n"
    u8"\n"
    u8"退出码：0 全部生成；1 有视频被跳过、文件写入失败或输出失败；2 选项或文件夹有误。\n"
    u8"\n"
    u8"要用窗口操作，请运行 " KSCGEN_WINDOW_PROGRAM u8"。\n";

// Everything printed goes through here, so that lost output is noticed.
bool Flushed() {
  std::cout.flush();
  return static_cast<bool>(std::cout) && std::fflush(stdout) == 0;
}

int Finish(int code) {
  if (!Flushed()) {
    std::cerr << u8"kscgen: 无法写出输出（标准输出写入失败）\n";
    return kExitIncomplete;
  }
  // A warning or a failure that could not be told is lost output too.
  std::cerr.flush();
  if (!std::cerr || std::fflush(stderr) != 0) return kExitIncomplete;
  return code;
}

int Usage(const std::string& message) {
  std::cerr << "kscgen: " << message << "\n" << u8"运行 kscgen --help 查看用法。\n";
  std::cerr.flush();
  return kExitUsage;
}

std::string ForTerminal(std::string message) {
  for (char& c : message) {
    if (c == '\r') c = '\n';
  }
  return message;
}

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

class DryRunPrinter : public BatchObserver {
 public:
  explicit DryRunPrinter(bool recursive) : recursive_(recursive) {}
  void OnStart(std::size_t) override { PrintRow(PreviewHeader(recursive_)); }
  void OnVideo(const VideoReport& report, std::size_t, std::size_t) override {
    PrintRow(PreviewRow(report, recursive_));
  }

 private:
  static void PrintRow(const std::vector<std::string>& row) {
    std::string line;
    for (std::size_t i = 0; i < row.size(); ++i) line += (i ? "\t" : "") + row[i];
    std::cout << line << "\n";
  }
  bool recursive_;
};

enum OptionId {
  kOptTemplate,
  kOptFolderRole,
  kOptStartNumber,
  kOptUniform,
  kOptDate,
  kOptRecursive,
  kOptForce,
  kOptDryRun,
  kOptUtf8,
  kOptHelp,
  kOptVersion,
};

const std::vector<cli::OptionDef> kOptions = {
    {"template", 't', true, kOptTemplate},
    {"folder-role", 'r', true, kOptFolderRole},
    {"start-number", 's', true, kOptStartNumber},
    {"uniform", 'u', true, kOptUniform},
    {"date", '\0', true, kOptDate},
    {"recursive", 'R', false, kOptRecursive},
    {"force", '\0', false, kOptForce},
    {"dry-run", 'n', false, kOptDryRun},
    {"utf8", '\0', false, kOptUtf8},
    {"help", 'h', false, kOptHelp},
    {"version", '\0', false, kOptVersion},
};

}  // namespace

// Started from Explorer, kscgen has a console of its own that closes with
// it: what it printed stays until a key is pressed.
class KeepOwnConsoleOpen {
 public:
  KeepOwnConsoleOpen() : own_(cli::OwnsConsole()) {}
  ~KeepOwnConsoleOpen() {
    if (own_) cli::WaitForKey(u8"\n按任意键关闭此窗口……");
  }
  KeepOwnConsoleOpen(const KeepOwnConsoleOpen&) = delete;
  KeepOwnConsoleOpen& operator=(const KeepOwnConsoleOpen&) = delete;
  bool own() const { return own_; }

 private:
  bool own_;
};

int main(int argc, char** argv) {
  std::setlocale(LC_ALL, "");
  const cli::CommandLine line = cli::ParseCommandLine(cli::Utf8Arguments(argc, argv), kOptions);
  const bool utf8 = std::any_of(line.options.begin(), line.options.end(),
                                [](const cli::ParsedOption& o) { return o.id == kOptUtf8; });
  cli::ConsoleOutput console(utf8 ? cli::RedirectedText::kUtf8 : cli::RedirectedText::kCodePage);
  const KeepOwnConsoleOpen keep_open;
  // Double-clicked: no folder to work on, and no prompt to type one at.
  if (keep_open.own() && line.options.empty() && line.operands.empty() &&
      line.error == cli::OptionError::kNone) {
    std::cout << kUsage;
    return Finish(kExitUsage);
  }
  BatchRequest request;
  std::vector<UniformEntry> uniform_entries;
  std::optional<std::string> date_text;
  bool recursive = false;

  // Options act in the order given, and the first error ends the run before
  // anything is written.
  for (const cli::ParsedOption& option : line.options) {
    const std::string& value = option.value;
    std::string error;
    switch (option.id) {
      case kOptTemplate:
      case kOptFolderRole: {
        std::optional<int> index = ParseIndex(value);
        if (!index) {
          return Usage(std::string(option.id == kOptTemplate ? u8"模板" : u8"目录名作用") +
                       u8"必须是 0 到 4：" + text::DisplayName(value));
        }
        if (option.id == kOptTemplate) {
          request.naming_template = static_cast<NamingTemplate>(*index);
        } else {
          request.folder_role = static_cast<FolderRole>(*index);
        }
        break;
      }
      case kOptStartNumber: {
        std::optional<std::int32_t> start = ParseStartNumber(value);
        if (!start) return Usage(messages::BadStartNumber(text::DisplayName(value)));
        request.start_number = *start;
        break;
      }
      case kOptUniform: {
        const std::string& arg = value;
        std::size_t eq = arg.find('=');
        if (eq == std::string::npos || !text::IsValidUtf8(arg.substr(0, eq))) {
          return Usage(
              u8"统一设定值应写成 KIND=VALUE，KIND 为 singer、style、language 或 channel：" +
              text::DisplayName(arg));
        }
        std::string label = UniformLabel(arg.substr(0, eq));
        if (!UniformKindOf(label)) {
          return Usage(u8"统一设定值的种类应为 singer、style、language 或 channel：" +
                       text::DisplayName(arg));
        }
        auto uniform_value = ArgumentInGbk(u8"统一设定值", arg.substr(eq + 1), &error);
        if (!uniform_value) return Usage(error);
        for (char c : *uniform_value) {
          // A line break would split the entry; the window's fields cannot hold one either.
          if (static_cast<unsigned char>(c) < 0x20) {
            return Usage(u8"统一设定值含有控制字符：" + text::DisplayName(arg));
          }
        }
        UniformEntryParse parse = ParseUniformEntry(label, *uniform_value);
        if (parse.error == UniformEntryError::kEmptyValue) {
          return Usage(messages::EmptyUniformValue(arg));
        }
        if (parse.error == UniformEntryError::kBadChannel) {
          return Usage(messages::BadChannel(arg.substr(eq + 1)));
        }
        uniform_entries.push_back(std::move(parse.entry));
        break;
      }
      case kOptDate:
        date_text = ArgumentInGbk(u8"日期", value, &error);
        if (!date_text) return Usage(error);
        break;
      case kOptRecursive:
        recursive = true;
        break;
      case kOptForce:
        request.force = true;
        break;
      case kOptDryRun:
        request.dry_run = true;
        break;
      case kOptUtf8:
        break;
      case kOptHelp:
        std::cout << kUsage;
        return Finish(kExitDone);
      case kOptVersion:
        std::cout << "kscgen " << KSCGEN_VERSION << "\n";
        return Finish(kExitDone);
    }
  }
  switch (line.error) {
    case cli::OptionError::kNone:
      break;
    case cli::OptionError::kMissingValue:
      return Usage(u8"选项缺少参数：" + text::DisplayName(line.typed));
    case cli::OptionError::kUnknown:
    case cli::OptionError::kUnexpectedValue:
      return Usage(u8"未知选项：" + text::DisplayName(line.typed));
  }
  if (line.operands.size() != 1) return Usage(u8"请给出一个文件夹");
  if (!request.naming_template) {
    std::cerr << messages::kNoTemplate << "\n";
    return kExitUsage;
  }

  FolderListing listing = ListVideos(line.operands[0], recursive);
  if (!listing.ok()) return Usage(listing.message);
  request.uniform = CollectUniformValues(uniform_entries);
  request.date_text = date_text ? *date_text : TodayShortDate();

  std::optional<DryRunPrinter> printer;
  if (request.dry_run) printer.emplace(recursive);
  BatchResult result = RunBatch(request, listing.folders, printer ? &*printer : nullptr);
  for (const std::string& m : listing.unreadable) std::cerr << ForTerminal(m) << "\n";
  const messages::Report report =
      messages::BatchReport(result, std::numeric_limits<std::size_t>::max());
  switch (result.status) {
    case BatchStatus::kDone:
      if (!request.dry_run) {
        std::cout << ForTerminal(report.summary) << "\n";
      } else {
        for (const std::string& w : result.warnings) std::cerr << ForTerminal(w) << "\n";
      }
      return Finish(result.skipped.empty() && listing.unreadable.empty() ? kExitDone
                                                                         : kExitIncomplete);
    case BatchStatus::kLocked:
    case BatchStatus::kWriteFailed:
    case BatchStatus::kStopped:
      std::cerr << ForTerminal(report.summary) << "\n";
      return Finish(kExitIncomplete);
    case BatchStatus::kNoTemplate:
    case BatchStatus::kBadOptions:
      std::cerr << ForTerminal(report.summary) << "\n";
      return kExitUsage;
  }
  return kExitUsage;
}
