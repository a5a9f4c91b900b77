#include "text/gbk_text.h"

#include <algorithm>

namespace kscgen::text {

std::string_view TrimView(std::string_view s) {
  std::size_t b = 0;
  std::size_t e = s.size();
  while (b < e && IsBlank(static_cast<unsigned char>(s[b]))) ++b;
  while (e > b && IsBlank(static_cast<unsigned char>(s[e - 1]))) --e;
  return s.substr(b, e - b);
}

std::string Trim(std::string_view s) { return std::string(TrimView(s)); }

std::size_t Pos(std::string_view needle, std::string_view hay) {
  if (needle.empty() || needle.size() > hay.size()) return 0;
  const std::size_t last = hay.size() - needle.size();
  for (std::size_t i = 0; i <= last; i += CharLength(hay, i)) {
    // The first byte alone rules out nearly every place, without a call.
    if (hay[i] == needle[0] && hay.compare(i, needle.size(), needle) == 0) return i + 1;
  }
  return 0;
}

bool Contains(std::string_view hay, std::string_view needle) { return Pos(needle, hay) != 0; }

bool ContainsUpper(std::string_view hay, std::string_view needle) {
  if (needle.empty()) return false;
  for (std::size_t i = 0; i + needle.size() <= hay.size(); i += CharLength(hay, i)) {
    // From a boundary, a run of bytes below 0x80 is a run of one-byte
    // characters, and a byte from 0x80 never equals an ASCII letter.
    std::size_t k = 0;
    while (k < needle.size() && ToUpperAscii(hay[i + k]) == needle[k]) ++k;
    if (k == needle.size()) return true;
  }
  return false;
}

std::string UpperAscii(std::string_view s) {
  std::string out(s);
  for (std::size_t i = 0; i < out.size(); i += CharLength(out, i)) out[i] = ToUpperAscii(out[i]);
  return out;
}

int CompareFoldingCase(std::string_view x, std::string_view y) {
  const std::size_t n = std::min(x.size(), y.size());
  std::size_t next_x = 0;  // where the next character of each begins
  std::size_t next_y = 0;
  for (std::size_t i = 0; i < n; ++i) {
    char cx = x[i];
    char cy = y[i];
    if (i == next_x) {
      next_x += CharLength(x, i);
      cx = ToLowerAscii(cx);
    }
    if (i == next_y) {
      next_y += CharLength(y, i);
      cy = ToLowerAscii(cy);
    }
    if (cx != cy) return static_cast<unsigned char>(cx) < static_cast<unsigned char>(cy) ? -1 : 1;
  }
  return x.size() < y.size() ? -1 : x.size() > y.size() ? 1 : 0;
}

std::string LowerAscii(std::string_view s) {
  std::string out(s);
  for (char& c : out) c = ToLowerAscii(c);
  return out;
}

std::string LeadingChars(std::string_view s, std::size_t max_bytes) {
  std::size_t end = 0;
  while (end < s.size()) {
    std::size_t len = CharLength(s, end);
    if (end + len > max_bytes) break;
    end += len;
  }
  return std::string(s.substr(0, end));
}

}  // namespace kscgen::text
