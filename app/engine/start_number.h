// The start number of song numbering, as the user types it.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace kscgen {

// The largest song number the song manager holds (a 32-bit signed number).
constexpr std::int64_t kLargestSongNumber = 2147483647;

// A decimal integer of 0 or more, or a hexadecimal one after "$", "x" or
// "0x" (in either case), within the 32-bit range; blanks around it are
// ignored. No value for anything else, a negative number included.
std::optional<std::int32_t> ParseStartNumber(std::string_view text);

// Whether `typed` is a start number or the beginning of one ("", "+", "$",
// "0x"): what a box for it may hold while it is typed.
bool CouldBecomeStartNumber(std::string_view typed);

// Why ParseStartNumber refused `typed_utf8`, in the user's words: a number
// past the largest start number is named as such, with the limit.
std::string StartNumberRefusal(std::string_view typed_utf8);

// The song number text: at least five digits, zeros in front (101 → 00101).
std::string FormatSongNumber(std::int64_t number);

// The song number of a number a name carries (digits, any count): as it
// stands, with zeros in front to five digits (0153 → 00153), the shape the
// song manager gets from numbering.
// Zeros in front beyond five digits are dropped (0000000153 → 00153), so
// that one number is one song number however it is written. None for a
// number past the largest song number, 2147483647, as with numbering.
std::optional<std::string> SongNumberFromName(std::string_view digits);

}  // namespace kscgen
