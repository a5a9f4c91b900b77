// Characters that show as nothing: a message names them by their code point
// (U+200D) rather than print them, so that a name holding one can be told
// from the name without it.
#pragma once

#include <cstddef>

namespace kscgen::text {

struct CodePointRange {
  char32_t first;
  char32_t last;
};

// In ascending order, not overlapping.
extern const CodePointRange kInvisibleRanges[];
extern const std::size_t kInvisibleRangeCount;

bool IsInvisible(char32_t c);

}  // namespace kscgen::text
