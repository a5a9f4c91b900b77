// The console of POSIX systems: arguments and output are bytes, UTF-8 by
// the user's locale, and pass through as they are.
#include "app/cli/console.h"

namespace kscgen::cli {

std::vector<std::string> Utf8Arguments(int argc, char** argv) {
  return std::vector<std::string>(argv + (argc > 0 ? 1 : 0), argv + argc);
}

struct ConsoleOutput::State {};

ConsoleOutput::ConsoleOutput(RedirectedText) {}
ConsoleOutput::~ConsoleOutput() = default;

bool OwnsConsole() { return false; }

void NameConsole(const std::string&) {}

void WaitForKey(const std::string&) {}

}  // namespace kscgen::cli
