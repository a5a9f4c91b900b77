#include "text/gbk_text.h"

namespace kscgen::text {

std::string_view TrimView(std::string_view s) {
  std::size_t b = 0;
  std::size_t e = s.size();
  while (b < e && IsBlank(static_cast<unsigned char>(s[b]))) ++b;
  while (e > b && IsBlank(static_cast<unsigned char>(s[e - 1]))) --e;
  return s.substr(b, e - b);
}

std::string Trim(std::string_view s) { return std::string(TrimView(s)); }

bool ContainsUpper(std::string_view hay, std::string_view needle) {
  if (needle.empty() || needle.size() > hay.size()) return false;
  for (std::size_t i = 0; i + needle.size() <= hay.size(); ++i) {
    std::size_t k = 0;
    while (k < needle.size() && ToUpperAscii(hay[i + k]) == needle[k]) ++k;
    if (k == needle.size()) return true;
  }
  return false;
}

std::size_t Pos(std::string_view needle, std::string_view hay) {
  if (needle.empty()) return 0;
  std::size_t at = hay.find(needle);
  return at == std::string_view::npos ? 0 : at + 1;
}

std::string UpperAscii(std::string_view s) {
  std::string out(s);
  for (char& c : out) c = ToUpperAscii(c);
  return out;
}

std::string LowerAscii(std::string_view s) {
  std::string out(s);
  for (char& c : out) c = ToLowerAscii(c);
  return out;
}

bool ContainsAtCharacter(std::string_view hay, std::string_view needle) {
  if (needle.empty()) return false;
  for (std::size_t i = 0; i < hay.size(); i += CharLength(hay, i)) {
    if (hay.compare(i, needle.size(), needle) == 0) return true;
  }
  return false;
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
