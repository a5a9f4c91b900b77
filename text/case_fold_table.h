// The GBK characters that name the same character once letter case is set
// aside as Windows sets it aside in file names: full-width Latin, Greek,
// Cyrillic and the other letters GBK holds in both cases.
#pragma once

#include <cstddef>
#include <cstdint>

namespace kscgen::text {

struct GbkCaseFold {
  std::uint16_t code;    // lead byte << 8 | trail byte
  std::uint16_t folded;  // the character its class is compared as
};

// Sorted by code.
extern const GbkCaseFold kGbkCaseFolds[];
extern const std::size_t kGbkCaseFoldCount;

}  // namespace kscgen::text
