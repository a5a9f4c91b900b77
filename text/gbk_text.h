// Byte-string rules for GBK text.
//
// All song values are GBK bytes. Lengths and positions count bytes, positions
// are 1-based as the song manager's script language counts them, and a range
// that reaches past the text is clipped to it instead of failing.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace kscgen::text {

// A blank is any byte of value 0x20 or less; the full-width blank is not one.
inline bool IsBlank(unsigned char c) { return c <= 0x20; }

// GBK's row of punctuation, whose first code is the full-width blank "　"
// (A1 A1), and its row of full-width ASCII forms: "！" A3 A1 to "～" A3 FE,
// each 0x80 above its ASCII form's byte.
constexpr unsigned char kPunctuationRow = 0xA1;
constexpr unsigned char kFullWidthBlankTrail = 0xA1;
constexpr unsigned char kFullWidthFormsRow = 0xA3;
inline bool IsFullWidthBlank(unsigned char lead, unsigned char trail) {
  return lead == kPunctuationRow && trail == kFullWidthBlankTrail;
}

// A control byte, below 0x20, or DEL: a line break or a tab would split or
// shift a line of the KSC file, and DEL shows as nothing, so names and values
// that hold one are refused. GBK's second bytes skip 0x7F: it is always DEL.
inline bool IsControlByte(unsigned char c) { return c < 0x20 || c == 0x7F; }
bool HasControlByte(std::string_view s);

// Raises or lowers an ASCII letter; every other byte, GBK included, stays.
inline char ToUpperAscii(char c) {
  return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}
inline char ToLowerAscii(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// Removes every blank from both ends.
std::string Trim(std::string_view s);
std::string_view TrimView(std::string_view s);

// Lowers only the bytes 'A' to 'Z'. For file name extensions, whose
// letters always stand alone.
std::string LowerAscii(std::string_view s);

// Length in bytes (1 or 2) of the GBK character that starts at 0-based index
// `i`: a byte from 0x81 to 0xFE followed by one from 0x40 to 0xFE other than
// 0x7F is one two-byte character; any other byte stands alone. Inline: every
// walk over a name calls it once per character.
inline std::size_t CharLength(std::string_view s, std::size_t i) {
  auto lead = static_cast<unsigned char>(s[i]);
  if (lead < 0x81 || lead > 0xFE || i + 1 >= s.size()) return 1;
  auto trail = static_cast<unsigned char>(s[i + 1]);
  return (trail >= 0x40 && trail <= 0xFE && trail != 0x7F) ? 2 : 1;
}

// 1-based position of the first occurrence of `needle` in `hay` that starts
// at a character boundary, 0 when there is none. In GBK the trail byte of one
// character and the lead byte of the next can spell a third character (the
// bytes of 埃瑻 hold those of "－"); such a straddling match is no match.
std::size_t Pos(std::string_view needle, std::string_view hay);

// Whether `needle` occurs in `hay` at a character boundary.
bool Contains(std::string_view hay, std::string_view needle);

// Whether `needle` (upper-case ASCII) occurs in `hay` at a character boundary
// once the ASCII letters of `hay` that are characters of their own are
// raised; a trail byte is never raised, so it never matches a letter.
bool ContainsUpper(std::string_view hay, std::string_view needle);

// Compares two GBK texts bytewise once letter case is set aside as Windows
// sets it aside in file names: ASCII letters that are characters of their
// own lowered (a trail byte is never lowered), and every double-byte letter
// (full-width Latin, Greek, Cyrillic, Roman numerals...) taken as the first
// character of its class in text/case_fold_table.cc. Below zero when `x`
// comes first, zero when the song manager, which reads names on Windows,
// cannot tell them apart.
int CompareFoldingCase(std::string_view x, std::string_view y);

// The leading whole characters of `s` that fit into `max_bytes` bytes.
std::string LeadingChars(std::string_view s, std::size_t max_bytes);

}  // namespace kscgen::text
