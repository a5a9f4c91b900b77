// Where kscgen meets the system's console: its arguments, and how UTF-8
// text reaches the terminal.
#pragma once

#include <memory>
#include <string>
#include <vector>

namespace kscgen::cli {

// The program's arguments in UTF-8, its own name left out: as given on
// POSIX systems, from the UTF-16 command line on Windows (so that a Chinese
// folder name arrives whatever the console's code page).
std::vector<std::string> Utf8Arguments(int argc, char** argv);

// How text redirected to a file or a pipe is written on Windows.
enum class RedirectedText {
  // In the console's code page (the ANSI code page when there is no
  // console), with CR LF line ends: what type, more, a batch file's log and
  // Excel read on Windows (GBK on Chinese Windows).
  kCodePage,
  // UTF-8 with LF line ends, the bytes kscgen writes on Linux.
  kUtf8,
};

// While it lives, what goes to std::cout and std::cerr, which is UTF-8,
// shows correctly on the terminal: on Windows, written as UTF-16 to a
// console, as `redirected` says to a file or pipe; as bytes elsewhere.
class ConsoleOutput {
 public:
  explicit ConsoleOutput(RedirectedText redirected = RedirectedText::kCodePage);
  ~ConsoleOutput();
  ConsoleOutput(const ConsoleOutput&) = delete;
  ConsoleOutput& operator=(const ConsoleOutput&) = delete;

 private:
  struct State;
  std::unique_ptr<State> state_;
};

// Whether the program's console is its own and closes with it: on Windows,
// started from Explorer rather than from a command prompt.
bool OwnsConsole();

// Gives the console window `title` (UTF-8) in place of the program's path.
void NameConsole(const std::string& title);

// Shows `prompt` and waits for a key press on the console.
void WaitForKey(const std::string& prompt);

}  // namespace kscgen::cli
