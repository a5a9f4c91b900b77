#include "app/cli/command_line.h"

#include <string_view>

namespace kscgen::cli {
namespace {

// The spec of a long option named by `name` or by a prefix of one name
// only; nullptr when none, or when the prefix fits more than one.
const OptionSpec* FindLong(std::string_view name, const std::vector<OptionSpec>& specs) {
  const OptionSpec* found = nullptr;
  for (const OptionSpec& spec : specs) {
    if (spec.long_name == nullptr) continue;
    std::string_view long_name = spec.long_name;
    if (long_name == name) return &spec;
    if (long_name.substr(0, name.size()) == name) {
      if (found != nullptr && found->id != spec.id) return nullptr;  // ambiguous
      found = &spec;
    }
  }
  return found;
}

const OptionSpec* FindShort(char name, const std::vector<OptionSpec>& specs) {
  for (const OptionSpec& spec : specs) {
    if (spec.short_name != '\0' && spec.short_name == name) return &spec;
  }
  return nullptr;
}

}  // namespace

CommandLine ParseCommandLine(const std::vector<std::string>& args,
                             const std::vector<OptionSpec>& specs) {
  CommandLine line;
  auto fail = [&line](OptionError error, std::string typed) {
    line.error = error;
    line.typed = std::move(typed);
    return line;
  };
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (arg == "--") {
      line.operands.insert(line.operands.end(), args.begin() + i + 1, args.end());
      break;
    }
    if (arg.size() < 2 || arg[0] != '-') {  // "-" alone names standard input: an operand
      line.operands.push_back(arg);
      continue;
    }
    if (arg[1] == '-') {
      const std::size_t eq = arg.find('=');
      const std::string typed = arg.substr(0, eq);
      const OptionSpec* spec = FindLong(std::string_view(typed).substr(2), specs);
      if (spec == nullptr || typed.size() == 2) return fail(OptionError::kUnknown, typed);
      ParsedOption option{spec->id, ""};
      if (eq != std::string::npos) {
        if (!spec->takes_value) return fail(OptionError::kUnexpectedValue, typed);
        option.value = arg.substr(eq + 1);
      } else if (spec->takes_value) {
        // The next argument is the value, whatever it looks like ("-1").
        if (i + 1 == args.size()) return fail(OptionError::kMissingValue, typed);
        option.value = args[++i];
      }
      line.options.push_back(std::move(option));
      continue;
    }
    for (std::size_t k = 1; k < arg.size(); ++k) {
      const OptionSpec* spec = FindShort(arg[k], specs);
      const std::string typed = std::string("-") + arg[k];
      if (spec == nullptr) return fail(OptionError::kUnknown, typed);
      ParsedOption option{spec->id, ""};
      if (spec->takes_value) {
        // The rest of the cluster is the value ("-t1"), or else the next argument.
        if (k + 1 < arg.size()) {
          option.value = arg.substr(k + 1);
        } else if (i + 1 < args.size()) {
          option.value = args[++i];
        } else {
          return fail(OptionError::kMissingValue, typed);
        }
        line.options.push_back(std::move(option));
        break;
      }
      line.options.push_back(std::move(option));
    }
  }
  return line;
}

}  // namespace kscgen::cli
