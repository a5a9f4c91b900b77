#include "app/engine/start_number.h"

#include <limits>

#include "app/engine/messages.h"
#include "text/gbk_text.h"

namespace kscgen {

namespace {

constexpr std::int64_t kLargest = kLargestSongNumber;

// The number `text` spells, capped just past the largest (so that any
// number too large reads as kLargest + 1); none when it spells none.
std::optional<std::int64_t> ReadNumber(std::string_view text) {
  text = text::TrimView(text);
  std::size_t i = 0;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  int base = 10;
  if (i < text.size() && text[i] == '$') {
    base = 16, ++i;
  } else if (i + 1 < text.size() && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X')) {
    base = 16, i += 2;
  } else if (i < text.size() && (text[i] == 'x' || text[i] == 'X')) {
    base = 16, ++i;
  }
  if (i == text.size()) return std::nullopt;
  std::int64_t value = 0;
  for (; i < text.size(); ++i) {
    char c = text[i];
    int digit;
    if (c >= '0' && c <= '9') {
      digit = c - '0';
    } else if (base == 16 && c >= 'a' && c <= 'f') {
      digit = c - 'a' + 10;
    } else if (base == 16 && c >= 'A' && c <= 'F') {
      digit = c - 'A' + 10;
    } else {
      return std::nullopt;
    }
    value = std::min(value * base + digit, kLargest + 1);
  }
  return negative ? -value : value;
}

}  // namespace

std::optional<std::int32_t> ParseStartNumber(std::string_view text) {
  const std::optional<std::int64_t> value = ReadNumber(text);
  if (!value || *value < 0 || *value > kLargest) return std::nullopt;
  return static_cast<std::int32_t>(*value);
}

bool CouldBecomeStartNumber(std::string_view typed) {
  // A digit more makes a start number of every beginning of one.
  return ParseStartNumber(typed) || ParseStartNumber(std::string(typed) + "1");
}

std::string StartNumberRefusal(std::string_view typed_utf8) {
  const std::optional<std::int64_t> value = ReadNumber(typed_utf8);
  if (value && *value > kLargest) return messages::StartNumberAboveLimit(typed_utf8, kLargest);
  return messages::BadStartNumber(typed_utf8);
}

std::string FormatSongNumber(std::int64_t number) {
  std::string digits = std::to_string(number);
  if (digits.size() < 5) digits.insert(0, 5 - digits.size(), '0');
  return digits;
}

std::optional<std::string> SongNumberFromName(std::string_view digits) {
  const std::size_t first = digits.find_first_not_of('0');
  const std::string_view value = first == std::string_view::npos ? "" : digits.substr(first);
  // More digits than the largest number has cannot be a song number.
  const std::string largest = std::to_string(kLargestSongNumber);
  if (value.size() > largest.size() || (value.size() == largest.size() && value > largest)) {
    return std::nullopt;
  }
  return FormatSongNumber(value.empty() ? 0 : std::stoll(std::string(value)));
}

}  // namespace kscgen
