// The start number of song numbering, as the user types it.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace kscgen {

// A signed decimal integer, or a hexadecimal one after "$", "x" or "0x" (in
// either case), within the 32-bit range. No value for anything else.
std::optional<std::int32_t> ParseStartNumber(std::string_view text);

// The song number text: at least five digits, zeros in front (101 → 00101).
std::string FormatSongNumber(std::int64_t number);

}  // namespace kscgen
