// The naming pattern as the user types it, in the window or after kscgen -p:
// one reading for both, with one message for what is wrong.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "tagging/name_pattern.h"

namespace kscgen {

struct NamePatternOption {
  std::optional<NamePattern> pattern;
  std::string error;  // UTF-8, when there is no pattern
};

// Reads a pattern typed in UTF-8: refused, with the reason, when it is not
// UTF-8, holds a character GBK lacks or a control character, or cannot be
// read as a pattern.
NamePatternOption ParseNamePatternOption(std::string_view typed_utf8);

}  // namespace kscgen
