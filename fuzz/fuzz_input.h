// Splitting a fuzzer's bytes into the pieces a target needs, and the checks
// that hold for any input.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "text/gbk_text.h"

namespace kscgen::fuzz {

// The bytes split at each 0x00, into at least `count` pieces.
inline std::vector<std::string> Pieces(const std::uint8_t* data, std::size_t size,
                                       std::size_t count) {
  std::vector<std::string> pieces(1);
  for (std::size_t i = 0; i < size; ++i) {
    if (data[i] == 0) {
      pieces.emplace_back();
    } else {
      pieces.back() += static_cast<char>(data[i]);
    }
  }
  if (pieces.size() < count) pieces.resize(count);
  return pieces;
}

inline void Check(bool holds) {
  if (!holds) std::abort();
}

// Initials are letters, digits and blanks; otherwise the text's own leading
// whole characters (four bytes at most), never a character cut in half.
inline bool AreWellFormedInitials(std::string_view initials, std::string_view text) {
  bool letters = true;
  for (char c : initials) {
    letters &= (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == ' ';
  }
  if (letters && (initials.empty() || initials[0] != ' ')) return true;
  std::string_view trimmed = text::TrimView(text);
  return initials.size() <= 4 && text::LeadingChars(trimmed, 4) == initials;
}

}  // namespace kscgen::fuzz
