// kscgen: writes one KSC song file beside every video of a folder, as the
// window's batch button does. Arguments are UTF-8; so is everything printed.
//
// Exit status: 0 when every video got its KSC file, 1 when some were skipped,
// there were none to list, a file could not be written or the output was
// lost, 2 for options or a folder that cannot be used.
#include <clocale>
#include <cstdio>
#include <iostream>
#include <limits>
#include <optional>
#include <string>
#include <vector>

#include "app/cli/console.h"
#include "app/cli/options.h"
#include "app/engine/batch.h"
#include "app/engine/messages.h"
#include "app/engine/preview.h"
#include "app/engine/video_folder.h"

namespace {

using namespace kscgen;

// Everything printed goes through here, so that lost output is noticed.
bool Flushed() {
  std::cout.flush();
  return static_cast<bool>(std::cout) && std::fflush(stdout) == 0;
}

int Finish(int code) {
  if (!Flushed()) {
    std::cerr << u8"kscgen: 无法写出输出（标准输出写入失败）\n";
    return cli::kExitIncomplete;
  }
  // A warning or a failure that could not be told is lost output too.
  std::cerr.flush();
  if (!std::cerr || std::fflush(stderr) != 0) return cli::kExitIncomplete;
  return code;
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

// Started from Explorer, kscgen has a console of its own that closes with
// it: what it printed stays until a key is pressed.
class KeepOwnConsoleOpen {
 public:
  KeepOwnConsoleOpen() : own_(cli::OwnsConsole()) {
    if (own_) cli::NameConsole("kscgen");
  }
  ~KeepOwnConsoleOpen() {
    if (own_) cli::WaitForKey(u8"\n按任意键关闭此窗口……");
  }
  KeepOwnConsoleOpen(const KeepOwnConsoleOpen&) = delete;
  KeepOwnConsoleOpen& operator=(const KeepOwnConsoleOpen&) = delete;
  bool own() const { return own_; }

 private:
  bool own_;
};

// Prints why `listing` gives the run nothing to work on, and returns the
// exit status; none when it does.
std::optional<int> RefuseListing(const FolderListing& listing, const cli::Options& options) {
  if (listing.error.kind == os::ErrorKind::kNoMemory ||
      listing.error.kind == os::ErrorKind::kTooManyOpenFiles) {
    // Not a folder that cannot be used: one too large for this machine's
    // memory, or a process that may open no more files.
    std::cerr << "kscgen: " << listing.message << "\n";
    return Finish(cli::kExitIncomplete);
  }
  if (!listing.ok()) {
    std::cerr << cli::UsageError(listing.message);
    std::cerr.flush();
    return cli::kExitUsage;
  }
  std::size_t videos = 0;
  for (const VideoFolder& folder : listing.folders) videos += folder.files.size();
  if (videos == 0) {
    // Nothing to write is no success: the folder may hold its videos under
    // other kinds, which --ext adds.
    std::cerr << "kscgen: "
              << messages::NoVideosFound(options.folder, VideoMasks(options.extensions),
                                         listing.unlisted_kinds())
              << "\n";
    return Finish(cli::kExitIncomplete);
  }
  return std::nullopt;
}

}  // namespace

static int Main(int argc, char** argv) {
  const std::vector<std::string> args = cli::Utf8Arguments(argc, argv);
  const cli::ParsedArguments parsed = cli::ParseArguments(args);
  cli::ConsoleOutput console(parsed.options.utf8 ? cli::RedirectedText::kUtf8
                                                 : cli::RedirectedText::kCodePage);
  const KeepOwnConsoleOpen keep_open;
  if (keep_open.own() && args.empty()) {  // double-clicked: no folder, no prompt to type one at
    std::cout << cli::Usage();
    return Finish(cli::kExitUsage);
  }
  if (parsed.error) {
    std::cerr << *parsed.error;
    std::cerr.flush();
    return cli::kExitUsage;
  }
  const cli::Options& options = parsed.options;
  switch (options.action) {
    case cli::Options::Action::kHelp:
      std::cout << cli::Usage();
      return Finish(cli::kExitDone);
    case cli::Options::Action::kVersion:
      std::cout << "kscgen " << KSCGEN_VERSION << "\n";
      return Finish(cli::kExitDone);
    case cli::Options::Action::kRun:
      break;
  }

  FolderListing listing = ListVideos(options.folder, options.recursive, options.extensions);
  if (std::optional<int> refused = RefuseListing(listing, options)) return *refused;
  BatchRequest request = options.request;
  request.date_text = options.date;

  std::optional<DryRunPrinter> printer;
  if (request.dry_run) printer.emplace(options.recursive);
  BatchResult result = RunBatch(request, listing.folders, printer ? &*printer : nullptr);
  for (const std::string& m : listing.unreadable) std::cerr << m << "\n";
  const messages::Report report =
      messages::BatchReport(result, std::numeric_limits<std::size_t>::max());
  const int status = cli::ExitStatusOf(result, listing.unreadable.size());
  if (result.status == BatchStatus::kDone) {
    if (!request.dry_run) {
      std::cout << report.summary << "\n";
    } else {
      for (const std::string& w : result.warnings) std::cerr << w << "\n";
    }
  } else if (status == cli::kExitUsage) {
    // Options that cannot be used together, found once the folder is known.
    std::cerr << cli::UsageError(report.summary);
  } else {
    std::cerr << report.summary << "\n";
  }
  return status == cli::kExitUsage ? status : Finish(status);
}

int main(int argc, char** argv) {
  std::setlocale(LC_ALL, "");
  try {
    return Main(argc, argv);
  } catch (const std::bad_alloc&) {
    // The engine counts what it did when memory runs out; this is for
    // what is left: nothing to print with but a fixed text.
    std::fputs(u8"kscgen: 内存不足\n", stderr);
    return cli::kExitIncomplete;
  }
}
