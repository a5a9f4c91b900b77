#include "app/cli/command_line.h"

#include <string_view>

namespace kscgen::cli {
namespace {

// The table entry of a long option named by `name` or by a prefix of one name
// only; nullptr when none, or when the prefix fits more than one.
const OptionDef* FindLong(std::string_view name, const std::vector<OptionDef>& table) {
  const OptionDef* found = nullptr;
  for (const OptionDef& def : table) {
    if (def.long_name == nullptr) continue;
    std::string_view long_name = def.long_name;
    if (long_name == name) return &def;
    if (long_name.substr(0, name.size()) == name) {
      if (found != nullptr && found->id != def.id) return nullptr;  // ambiguous
      found = &def;
    }
  }
  return found;
}

const OptionDef* FindShort(char name, const std::vector<OptionDef>& table) {
  for (const OptionDef& def : table) {
    if (def.short_name != '\0' && def.short_name == name) return &def;
  }
  return nullptr;
}

}  // namespace

CommandLine ParseCommandLine(const std::vector<std::string>& args,
                             const std::vector<OptionDef>& table) {
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
      const OptionDef* def = FindLong(std::string_view(typed).substr(2), table);
      if (def == nullptr || typed.size() == 2) return fail(OptionError::kUnknown, typed);
      ParsedOption option{def->id, ""};
      if (eq != std::string::npos) {
        if (!def->takes_value) return fail(OptionError::kUnexpectedValue, typed);
        option.value = arg.substr(eq + 1);
      } else if (def->takes_value) {
        // The next argument is the value, whatever it looks like ("-1").
        if (i + 1 == args.size()) return fail(OptionError::kMissingValue, typed);
        option.value = args[++i];
      }
      line.options.push_back(std::move(option));
      continue;
    }
    for (std::size_t k = 1; k < arg.size(); ++k) {
      const OptionDef* def = FindShort(arg[k], table);
      const std::string typed = std::string("-") + arg[k];
      if (def == nullptr) return fail(OptionError::kUnknown, typed);
      ParsedOption option{def->id, ""};
      if (def->takes_value) {
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
