// kscgen: writes one KSC song file beside every video of a folder, as the
// window's batch button does. Arguments are UTF-8; so is everything printed.
//
// Exit status: 0 when every video got its KSC file, 1 when some were skipped
// or a file could not be written, 2 for options that cannot be used.
#include <getopt.h>

#include <clocale>
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "app/engine/batch.h"
#include "app/engine/preview.h"
#include "app/engine/short_date.h"
#include "app/engine/video_folder.h"
#include "tagging/uniform_values.h"
#include "text/encoding.h"

namespace {

using namespace kscgen;

constexpr int kExitDone = 0;
constexpr int kExitIncomplete = 1;
constexpr int kExitUsage = 2;

const char kUsage[] =
    u8"用法: kscgen [选项] 文件夹\n"
    u8"为文件夹中的每个视频（*.mpg;*.dat;*.wmv;*.rmvb;*.avi）在其旁边生成一个KSC歌曲文件。\n"
    u8"\n"
    u8"  -t, --template N          歌曲命名模板（必选）：0 歌名，1 歌手－歌名，\n"
    u8"                            2 歌手－歌名(语种)，3 歌手－歌名(语种－类别)，\n"
    u8"                            4 歌手－歌名(语种－类别－声道)\n"
    u8"  -r, --folder-role N       目录名的作用：0 无作用（默认），1 歌手名，2 语种名，\n"
    u8"                            3 类别名，4 加入日期\n"
    u8"  -s, --start-number TEXT   自动编号，第一首歌曲的编号为 TEXT 加 1\n"
    u8"  -u, --uniform KIND=VALUE  统一设定值，可重复；KIND 为 singer（歌 手 名）、\n"
    u8"                            style（歌曲类别）、language（歌曲语种）或 channel（歌曲声道）\n"
    u8"      --date TEXT           \"时间\"一项的内容，默认为今天的日期\n"
    u8"  -n, --dry-run             只列出每个视频将得到的内容，不写任何文件\n"
    u8"  -h, --help                显示本帮助\n"
    u8"      --version             显示版本\n"
    u8"\n"
    u8"退出码：0 全部生成；1 有视频被跳过或文件写入失败；2 选项有误。\n";

int Usage(const std::string& message) {
  std::cerr << "kscgen: " << message << "\n" << u8"运行 kscgen --help 查看用法。\n";
  return kExitUsage;
}

std::optional<int> ParseIndex(const char* text) {
  std::string s = text;
  if (s.size() != 1 || s[0] < '0' || s[0] > '4') return std::nullopt;
  return s[0] - '0';
}

// The kind drop-down's label for a KIND given as a label or an English name.
std::optional<std::string> UniformLabel(const std::string& kind_utf8) {
  static const char* const kEnglish[kUniformKindCount] = {"singer", "style", "language", "channel"};
  std::optional<std::string> kind_gbk = text::Utf8ToGbk(kind_utf8);
  for (int k = 0; k < kUniformKindCount; ++k) {
    if (kind_utf8 == kEnglish[k] || (kind_gbk && *kind_gbk == UniformKindLabel(k))) {
      return UniformKindLabel(k);
    }
  }
  return std::nullopt;
}

std::string ForTerminal(std::string message) {
  for (char& c : message) {
    if (c == '\r') c = '\n';
  }
  return message;
}

class DryRunPrinter : public BatchObserver {
 public:
  DryRunPrinter() { PrintRow(PreviewHeader()); }
  void OnVideo(const VideoReport& report, std::size_t, std::size_t) override {
    PrintRow(PreviewRow(report));
  }

 private:
  static void PrintRow(const std::vector<std::string>& row) {
    std::string line;
    for (std::size_t i = 0; i < row.size(); ++i) line += (i ? "\t" : "") + row[i];
    std::cout << line << "\n";
  }
};

}  // namespace

int main(int argc, char** argv) {
  std::setlocale(LC_ALL, "");
  BatchOptions options;
  std::vector<std::string> uniform_entries;
  std::optional<std::string> date_text;

  enum { kOptDate = 1000, kOptVersion };
  static const option kLongOptions[] = {
      {"template", required_argument, nullptr, 't'},
      {"folder-role", required_argument, nullptr, 'r'},
      {"start-number", required_argument, nullptr, 's'},
      {"uniform", required_argument, nullptr, 'u'},
      {"date", required_argument, nullptr, kOptDate},
      {"dry-run", no_argument, nullptr, 'n'},
      {"help", no_argument, nullptr, 'h'},
      {"version", no_argument, nullptr, kOptVersion},
      {nullptr, 0, nullptr, 0},
  };
  opterr = 0;
  int opt;
  while ((opt = getopt_long(argc, argv, ":t:r:s:u:nh", kLongOptions, nullptr)) != -1) {
    switch (opt) {
      case 't':
      case 'r': {
        std::optional<int> index = ParseIndex(optarg);
        if (!index) {
          return Usage(std::string(opt == 't' ? u8"模板" : u8"目录名作用") + u8"必须是 0 到 4：" +
                       optarg);
        }
        (opt == 't' ? options.naming_template : options.folder_role) = *index;
        break;
      }
      case 's': {
        auto gbk = text::Utf8ToGbk(optarg);
        if (!gbk) return Usage(u8"编号起始值不是有效的文本：" + text::DisplayName(optarg));
        options.number_start_on = true;
        options.start_number_text = *gbk;
        break;
      }
      case 'u': {
        std::string arg = optarg;
        std::size_t eq = arg.find('=');
        std::optional<std::string> label =
            eq == std::string::npos ? std::nullopt : UniformLabel(arg.substr(0, eq));
        if (!label)
          return Usage(
              u8"统一设定值应写成 KIND=VALUE，KIND 为 singer、style、language 或 channel：" +
              text::DisplayName(arg));
        auto value = text::Utf8ToGbk(arg.substr(eq + 1));
        if (!value) return Usage(u8"统一设定值含有GBK无法表示的字符：" + text::DisplayName(arg));
        // A line break would split the entry; the window's fields cannot hold one either.
        for (char c : *value) {
          if (static_cast<unsigned char>(c) < 0x20) {
            return Usage(u8"统一设定值含有控制字符：" + text::DisplayName(arg));
          }
        }
        auto entry = MakeUniformEntry(*label, *value);
        if (!entry) return Usage(u8"统一设定值为空：" + text::DisplayName(arg));
        options.uniform_on = true;
        uniform_entries.push_back(*entry);
        break;
      }
      case kOptDate: {
        date_text = text::Utf8ToGbk(optarg);
        if (!date_text) return Usage(u8"日期含有GBK无法表示的字符：" + text::DisplayName(optarg));
        break;
      }
      case 'n':
        options.dry_run = true;
        break;
      case 'h':
        std::cout << kUsage;
        return kExitDone;
      case kOptVersion:
        std::cout << "kscgen " << KSCGEN_VERSION << "\n";
        return kExitDone;
      case ':':
        return Usage(std::string(u8"选项缺少参数：") + argv[optind - 1]);
      default:
        return Usage(std::string(u8"未知选项：") + argv[optind - 1]);
    }
  }
  if (optind + 1 != argc) return Usage(u8"请给出一个文件夹");
  if (options.naming_template < 0) {
    std::cerr << kNoTemplateText << "\n";
    return kExitUsage;
  }

  // Absolute, so that "." and "../粤语金曲" give the folder's real name.
  namespace fs = std::filesystem;
  std::error_code ec;
  fs::path folder = fs::absolute(fs::path(argv[optind]), ec).lexically_normal();
  if (ec || !fs::is_directory(folder, ec)) {
    return Usage(u8"文件夹不存在：" + text::DisplayName(argv[optind]));
  }
  options.folder_path = folder.string();
  options.uniform_list_text = JoinUniformList(uniform_entries);
  options.date_text = date_text ? *date_text : TodayShortDate();

  FolderListing listing = ListVideoFiles(options.folder_path);
  if (!listing.ok) return Usage(listing.message);

  std::optional<DryRunPrinter> printer;
  if (options.dry_run) printer.emplace();
  BatchResult result = RunBatch(options, listing.files, printer ? &*printer : nullptr);
  switch (result.status) {
    case BatchStatus::kDone:
      if (!options.dry_run) std::cout << ForTerminal(result.message) << "\n";
      return result.skipped.empty() ? kExitDone : kExitIncomplete;
    case BatchStatus::kWriteFailed:
      std::cerr << result.message << "\n";
      return kExitIncomplete;
    case BatchStatus::kNoTemplate:
    case BatchStatus::kBadOptions:
      std::cerr << ForTerminal(result.message) << "\n";
      return kExitUsage;
  }
  return kExitUsage;
}
