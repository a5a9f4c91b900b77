// Readings of words, surnames and single characters that the code tables
// alone get wrong, generated from a pinyin dictionary by tools/pinyin_dict_gen
// (see the generated files tagging/pinyin_words_table.cc,
// tagging/pinyin_surname_table.cc and tagging/pinyin_char_table.cc). Every
// text is GBK; every initial an upper-case ASCII letter.
#pragma once

#include <cstddef>
#include <cstdint>

namespace kscgen {

// The code of the two-byte GBK character at the start of `s`, lead byte high.
constexpr std::uint16_t GbkCode(const char* s) {
  return static_cast<std::uint16_t>(static_cast<unsigned char>(s[0]) << 8 |
                                    static_cast<unsigned char>(s[1]));
}

// A word of two or more characters, its length in bytes and one initial per
// character. Sorted by
// the code of the first character, and for one first character from the
// longest word to the shortest, so the first entry that matches is the
// longest.
struct PinyinWord {
  std::uint16_t first;
  std::uint8_t size;
  const char* word;
  const char* initials;
};
extern const PinyinWord kPinyinWords[];
extern const std::size_t kPinyinWordCount;

// A surname of one or two characters and its initials as a surname. Sorted by
// the bytes of the surname.
struct PinyinSurname {
  const char* surname;
  const char* initials;
};
extern const PinyinSurname kPinyinSurnames[];
extern const std::size_t kPinyinSurnameCount;

// A character whose most common reading starts with another letter than the
// code tables give it. Sorted by code.
struct PinyinCharReading {
  std::uint16_t code;
  char initial;
};
extern const PinyinCharReading kPinyinCharReadings[];
extern const std::size_t kPinyinCharReadingCount;

}  // namespace kscgen
