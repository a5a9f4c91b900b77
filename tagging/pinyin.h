// Pinyin initials for the song manager's search fields "缩写" (title) and
// "歌星拼音" (singer): one upper-case letter per character, 我爱你 → WAN, as
// people say the words: 音乐 → YY, not YL. Guests find songs by typing them.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace kscgen {

// The initial of the GBK character at the start of `piece` (later characters
// are not read): the first letter of its most common Mandarin reading, or a
// blank when it has none; an ASCII letter or digit gives itself, letters
// upper-cased; everything else, an empty piece included, gives a blank. The
// dictionary's most common readings correct CodeTableInitial
// (tagging/pinyin_code_table.h) where they start with another letter.
char PinyinInitial(std::string_view piece);

// The initials of a title, word by word: read from the left, the longest
// dictionary word that starts at the next character gives the initials of
// its characters (长大 ZD, 成长 CZ); a character that starts no word takes
// PinyinInitial. Blanks inside the text are passed over;
// `limit` caps the number of initials, the words being read in the whole
// text. When the result begins with a blank (a title such as （粤语） that
// starts with a symbol), the leading whole characters of the text that fit
// into four bytes are used instead. Never ends inside a two-byte character.
std::string PinyinInitials(std::string_view text, std::optional<std::size_t> limit);

// The initials of a singer's name: as PinyinInitials without a limit, except
// that a name that starts with a surname reads it as a surname (单依纯 SYC,
// 区瑞强 ORQ, 欧阳 OY). The names of bands and groups (…乐队, …乐团, …组合,
// …合唱团) have no surname and are read as words (信乐团 XYT).
std::string SingerInitials(std::string_view singer);

// The hidden test pair of the window: one initial per character of the text
// as it stands, blanks giving blanks, with no limit and no fallback.
std::string HiddenPairInitials(std::string_view text);

// The title abbreviation holds at most this many initials.
constexpr std::size_t kAbbrevLimit = 4;

}  // namespace kscgen
