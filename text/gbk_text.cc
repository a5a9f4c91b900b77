#include "text/gbk_text.h"

#include <algorithm>

#include "text/case_fold_table.h"

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

namespace {

// The character at `at` of a GBK text, one byte or two, with its letter
// case set aside: an ASCII letter lowered, a double-byte letter as the
// character of its class in the generated table.
unsigned FoldedChar(std::string_view s, std::size_t at, std::size_t* length) {
  *length = CharLength(s, at);
  if (*length == 1) return static_cast<unsigned char>(ToLowerAscii(s[at]));
  const unsigned code =
      static_cast<unsigned char>(s[at]) << 8 | static_cast<unsigned char>(s[at + 1]);
  const GbkCaseFold* begin = kGbkCaseFolds;
  const GbkCaseFold* end = kGbkCaseFolds + kGbkCaseFoldCount;
  // Most names are Chinese characters, which lie past the letters.
  if (begin == end || code < begin->code || code > (end - 1)->code) return code;
  const GbkCaseFold* it = std::lower_bound(
      begin, end, code, [](const GbkCaseFold& f, unsigned c) { return f.code < c; });
  return it != end && it->code == code ? it->folded : code;
}

}  // namespace

int CompareFoldingCase(std::string_view x, std::string_view y) {
  std::size_t i = 0, j = 0;
  while (i < x.size() && j < y.size()) {
    std::size_t nx = 0, ny = 0;
    const unsigned cx = FoldedChar(x, i, &nx);
    const unsigned cy = FoldedChar(y, j, &ny);
    // A double-byte character compares by its lead byte first, as bytes
    // would: the order is the bytewise one, letters folded.
    const unsigned kx = nx == 1 ? cx << 8 : cx;
    const unsigned ky = ny == 1 ? cy << 8 : cy;
    if (kx != ky) return kx < ky ? -1 : 1;
    i += nx;
    j += ny;
  }
  const std::size_t rest_x = x.size() - i, rest_y = y.size() - j;
  return rest_x < rest_y ? -1 : rest_x > rest_y ? 1 : 0;
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

bool HasControlByte(std::string_view s) {
  for (char c : s) {
    if (IsControlByte(static_cast<unsigned char>(c))) return true;
  }
  return false;
}

}  // namespace kscgen::text
