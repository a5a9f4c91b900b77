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

// While it lives, what goes to std::cout and std::cerr, which is UTF-8,
// shows correctly on the terminal: on Windows, written as UTF-16 to a
// console, as bytes when redirected to a file or pipe; as bytes elsewhere.
class ConsoleOutput {
 public:
  ConsoleOutput();
  ~ConsoleOutput();
  ConsoleOutput(const ConsoleOutput&) = delete;
  ConsoleOutput& operator=(const ConsoleOutput&) = delete;

 private:
  struct State;
  std::unique_ptr<State> state_;
};

}  // namespace kscgen::cli
