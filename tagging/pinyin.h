// Pinyin initials for the song manager's search fields "缩写" (title) and
// "歌星拼音" (singer): one upper-case letter per character, 我爱你 → WAN.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace kscgen {

// The initial of the GBK character at the start of `piece` (later characters
// are not read). A GB2312 level-one character gives the letter of the range
// its code falls in (that level is ordered by pinyin); any other Chinese
// character of GBK gives the first letter of its first Mandarin reading, or a
// blank when it has none; an ASCII letter or digit gives itself, letters
// upper-cased; everything else, an empty piece included, gives a blank.
char PinyinInitial(std::string_view piece);

// The initials of the trimmed text, character by character. Blanks inside
// the text are passed over; `limit` caps the number of initials. When the
// result begins with a blank (a title such as （粤语） that starts with a
// symbol), the leading whole characters of the text that fit into four bytes
// are used instead. Never ends inside a two-byte character.
std::string PinyinInitials(std::string_view text, std::optional<std::size_t> limit);

// The hidden test pair of the window: one initial per character of the text
// as it stands, blanks giving blanks, with no limit and no fallback.
std::string HiddenPairInitials(std::string_view text);

// The title abbreviation holds at most this many initials.
constexpr std::size_t kAbbrevLimit = 4;

}  // namespace kscgen
