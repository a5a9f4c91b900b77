// What kscgen's arguments ask for: the typed request, or why they cannot be
// used. Everything here is checked before anything is printed or written,
// so that main() only runs what this gives and prints what it says.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "app/engine/batch.h"
#include "app/engine/video_folder.h"

namespace kscgen::cli {

// Exit statuses: every video got its KSC file; some did not (skipped, a
// failure, another run, lost output); options or a folder that cannot be used.
constexpr int kExitDone = 0;
constexpr int kExitIncomplete = 1;
constexpr int kExitUsage = 2;

struct Options {
  enum class Action { kRun, kHelp, kVersion };
  Action action = Action::kRun;
  // Template, role, numbering, uniform values, --force, --dry-run; its
  // date_text is left to the caller (`date`; without one the engine keeps
  // each existing KSC file's date and gives a new one today's).
  BatchRequest request;
  std::optional<std::string> date;  // GBK, from --date
  bool recursive = false;
  VideoExtensions extensions;  // --ext: kinds of video beyond the five
  // Redirected output in UTF-8 (--utf8) rather than, on Windows, the
  // console's code page.
  bool utf8 = false;
  std::string folder;  // UTF-8, the one operand
};

struct ParsedArguments {
  Options options;
  // When the arguments cannot be used: the whole text for standard error
  // and the exit status (kExitUsage).
  std::optional<std::string> error;
};

// Reads the program's arguments (UTF-8, its name left out). Options act in
// the order given, and the first that cannot be used decides the message.
ParsedArguments ParseArguments(const std::vector<std::string>& args);

// The text for standard error when the options or the folder cannot be used.
std::string UsageError(const std::string& message);

// The exit status of a run that went as `result` says, over a listing in
// which `unreadable_folders` folders below the chosen one could not be read.
int ExitStatusOf(const BatchResult& result, std::size_t unreadable_folders);

// kscgen --help.
std::string Usage();

}  // namespace kscgen::cli
