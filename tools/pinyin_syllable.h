// The initial letter of one pinyin syllable as dictionaries spell it, with
// tone marks: shared by the generators of the pinyin tables.
#pragma once

#include <string>
#include <unordered_map>

namespace kscgen::tools {

// Upper-case first letter of `syllable`; syllables start with a plain letter
// or with a toned vowel (ā, é), m or n. A blank for anything else.
inline char SyllableInitial(const std::string& syllable) {
  if (syllable.empty()) return ' ';
  auto c = static_cast<unsigned char>(syllable[0]);
  if (c < 0x80) {
    if (c >= 'a' && c <= 'z') return static_cast<char>(c - 'a' + 'A');
    if (c >= 'A' && c <= 'Z') return static_cast<char>(c);
    return ' ';
  }
  static const std::unordered_map<std::string, char> kToned = {
      {"ā", 'A'}, {"á", 'A'}, {"ǎ", 'A'}, {"à", 'A'}, {"ē", 'E'}, {"é", 'E'},
      {"ě", 'E'}, {"è", 'E'}, {"ê", 'E'}, {"ō", 'O'}, {"ó", 'O'}, {"ǒ", 'O'},
      {"ò", 'O'}, {"ḿ", 'M'}, {"ń", 'N'}, {"ň", 'N'}, {"ǹ", 'N'}};
  for (const auto& [prefix, letter] : kToned) {
    if (syllable.compare(0, prefix.size(), prefix) == 0) return letter;
  }
  return ' ';
}

}  // namespace kscgen::tools
