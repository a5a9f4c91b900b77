// Command-line options read the way GNU getopt_long reads them, on every
// system: short options alone or in clusters ("-nR", "-t1", "-t 1"), long
// ones with "=" or a separate value ("--template=1", "--template 1"), an
// unambiguous prefix of a long name ("--temp 1"), operands anywhere, and "--"
// ending the options. Windows has no getopt, and a general-purpose parser
// would word its own errors; here the caller words them, naming the option
// as it was typed.
#pragma once

#include <string>
#include <vector>

namespace kscgen::cli {

struct OptionDef {
  const char* long_name;  // without "--"; nullptr for a short option only
  char short_name;        // '\0' for a long option only
  bool takes_value;
  int id;
};

struct ParsedOption {
  int id;
  std::string value;  // empty for an option without a value
};

enum class OptionError {
  kNone,
  kUnknown,          // no such option, or a prefix of more than one long name
  kMissingValue,     // the option needs a value and the arguments ended
  kUnexpectedValue,  // "--name=value" for an option that takes none
};

struct CommandLine {
  // The options in the order given, up to the first error.
  std::vector<ParsedOption> options;
  std::vector<std::string> operands;  // in the order given
  OptionError error = OptionError::kNone;
  // The option in error as typed: "-x" of "-xn", "--bogus" of "--bogus=1".
  std::string typed;
};

// Reads `args` (the program's arguments, its name left out) against the
// table `table`. Stops at the first error; the options before it are kept,
// so that the caller can act on them in order as getopt's caller does.
CommandLine ParseCommandLine(const std::vector<std::string>& args,
                             const std::vector<OptionDef>& table);

}  // namespace kscgen::cli
