#include "tagging/pinyin.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <iterator>

#include "tagging/pinyin_dict_tables.h"
#include "tagging/pinyin_gbk_table.h"
#include "text/gbk_text.h"

namespace kscgen {
namespace {

// GB2312 level one (0xB0A1 to 0xD7F9) is ordered by pinyin, so a character's
// initial follows from the range its code falls in. 'X' reaches to 0xD1B8:
// 0xD1A1 to 0xD1B8 are 选 学 雪 血 寻 训 讯 迅 and their neighbours, read xuan,
// xue, xun.
struct InitialRange {
  char letter;
  std::uint16_t low;
  std::uint16_t high;
};

constexpr InitialRange kLevelOneRanges[] = {
    {'A', 0xB0A1, 0xB0C4}, {'B', 0xB0C5, 0xB2C0}, {'C', 0xB2C1, 0xB4ED}, {'D', 0xB4EE, 0xB6E9},
    {'E', 0xB6EA, 0xB7A1}, {'F', 0xB7A2, 0xB8C0}, {'G', 0xB8C1, 0xB9FD}, {'H', 0xB9FE, 0xBBF6},
    {'J', 0xBBF7, 0xBFA5}, {'K', 0xBFA6, 0xC0AB}, {'L', 0xC0AC, 0xC2E7}, {'M', 0xC2E8, 0xC4C2},
    {'N', 0xC4C3, 0xC5B5}, {'O', 0xC5B6, 0xC5BD}, {'P', 0xC5BE, 0xC6D9}, {'Q', 0xC6DA, 0xC8BA},
    {'R', 0xC8BB, 0xC8F5}, {'S', 0xC8F6, 0xCBF9}, {'T', 0xCBFA, 0xCDD9}, {'W', 0xCDDA, 0xCEF3},
    {'X', 0xCEF4, 0xD1B8}, {'Y', 0xD1B9, 0xD4D0}, {'Z', 0xD4D1, 0xD7F9},
};

// Band and group names end in one of these; they have no surname.
const char* const kGroupEndings[] = {"乐队", "乐团", "组合", "合唱团"};

// Surnames with a reading of their own that the dictionary lists only as part
// of a compound surname (尉迟): 尉 alone is Yu as a surname, Wei otherwise.
const PinyinSurname kMoreSurnames[] = {{"尉", "Y"}};

char LevelOneInitial(std::uint16_t code) {
  for (const InitialRange& r : kLevelOneRanges) {
    if (code <= r.high) return r.letter;
  }
  return ' ';
}

char SingleByteInitial(unsigned char c) {
  char upper = text::ToUpperAscii(static_cast<char>(c));
  if ((upper >= 'A' && upper <= 'Z') || (c >= '0' && c <= '9')) return upper;
  return ' ';
}

bool IsPassedOver(std::string_view s, std::size_t i, std::size_t len) {
  return len == 1 && text::IsBlank(static_cast<unsigned char>(s[i]));
}

// The longest stored word that starts at byte `i` of `s`, or null.
const PinyinWord* WordAt(std::string_view s, std::size_t i) {
  const std::uint16_t first = GbkCode(s.data() + i);
  const PinyinWord* end = kPinyinWords + kPinyinWordCount;
  const PinyinWord* it =
      std::lower_bound(kPinyinWords, end, first,
                       [](const PinyinWord& w, std::uint16_t code) { return w.first < code; });
  const std::string_view rest = s.substr(i);
  for (; it != end && it->first == first; ++it) {
    if (rest.compare(0, std::strlen(it->word), it->word) == 0) return it;
  }
  return nullptr;
}

// Whether `name` ends with `ending` starting on one of its characters.
bool EndsWithWord(std::string_view name, std::string_view ending) {
  if (name.size() < ending.size()) return false;
  const std::size_t at = name.size() - ending.size();
  std::size_t i = 0;
  while (i < at) i += text::CharLength(name, i);
  return i == at && name.substr(at) == ending;
}

// The surname at the start of a singer's name, two characters before one, or
// null. A band's name has none.
const PinyinSurname* SurnameAt(std::string_view name) {
  for (const char* ending : kGroupEndings) {
    if (EndsWithWord(name, ending)) return nullptr;
  }
  const PinyinSurname* end = kPinyinSurnames + kPinyinSurnameCount;
  for (std::size_t bytes : {4, 2}) {
    if (name.size() < bytes || text::CharLength(name, 0) != 2) continue;
    if (bytes == 4 && text::CharLength(name, 2) != 2) continue;
    const std::string_view head = name.substr(0, bytes);
    const PinyinSurname* it =
        std::lower_bound(kPinyinSurnames, end, head,
                         [](const PinyinSurname& s, std::string_view h) { return s.surname < h; });
    if (it != end && it->surname == head) return it;
  }
  for (const PinyinSurname& s : kMoreSurnames) {
    if (name.compare(0, std::strlen(s.surname), s.surname) == 0) return &s;
  }
  return nullptr;
}

// Appends initials to `out` as long as `limit` allows; false once it is full.
bool Append(std::string& out, std::string_view initials, std::optional<std::size_t> limit) {
  for (char c : initials) {
    if (limit && out.size() >= *limit) return false;
    out += c;
  }
  return true;
}

// The initials of `trimmed` from byte `i` on, appended to `initials`.
void WordInitials(std::string_view trimmed, std::size_t i, std::optional<std::size_t> limit,
                  std::string& initials) {
  while (i < trimmed.size()) {
    std::size_t len = text::CharLength(trimmed, i);
    if (IsPassedOver(trimmed, i, len)) {
      i += len;
      continue;
    }
    if (len == 2) {
      if (const PinyinWord* word = WordAt(trimmed, i)) {
        if (!Append(initials, word->initials, limit)) return;
        i += std::strlen(word->word);
        continue;
      }
    }
    const char letter = PinyinInitial(trimmed.substr(i, len));
    if (!Append(initials, std::string_view(&letter, 1), limit)) return;
    i += len;
  }
}

// A text that starts with a symbol has no initial to lead with; the song
// manager then gets the text's own first characters.
void ApplyFallback(std::string& initials, std::string_view trimmed) {
  if (!initials.empty() && initials[0] == ' ') initials = text::LeadingChars(trimmed, 4);
}

}  // namespace

char CodeTableInitial(std::string_view piece) {
  if (piece.empty()) return ' ';
  auto lead = static_cast<unsigned char>(piece[0]);
  if (text::CharLength(piece, 0) == 1) return SingleByteInitial(lead);
  auto trail = static_cast<unsigned char>(piece[1]);
  if (IsGb2312LevelOne(lead, trail)) {
    return LevelOneInitial(static_cast<std::uint16_t>(lead << 8 | trail));
  }
  return kGbkInitialRows[lead - kGbkLeadFirst][trail - kGbkTrailFirst];
}

char PinyinInitial(std::string_view piece) {
  if (!piece.empty() && text::CharLength(piece, 0) == 2) {
    const std::uint16_t code = GbkCode(piece.data());
    const PinyinCharReading* end = kPinyinCharReadings + kPinyinCharReadingCount;
    const PinyinCharReading* it =
        std::lower_bound(kPinyinCharReadings, end, code,
                         [](const PinyinCharReading& r, std::uint16_t c) { return r.code < c; });
    if (it != end && it->code == code) return it->initial;
  }
  return CodeTableInitial(piece);
}

std::string PinyinInitials(std::string_view text, std::optional<std::size_t> limit) {
  const std::string_view trimmed = text::TrimView(text);
  std::string initials;
  WordInitials(trimmed, 0, limit, initials);
  ApplyFallback(initials, trimmed);
  return initials;
}

std::string SingerInitials(std::string_view singer) {
  const std::string_view trimmed = text::TrimView(singer);
  std::string initials;
  std::size_t i = 0;
  if (const PinyinSurname* surname = SurnameAt(trimmed)) {
    initials = surname->initials;
    i = std::strlen(surname->surname);
  }
  WordInitials(trimmed, i, std::nullopt, initials);
  ApplyFallback(initials, trimmed);
  return initials;
}

std::string HiddenPairInitials(std::string_view text) {
  std::string initials;
  for (std::size_t i = 0; i < text.size();) {
    std::size_t len = text::CharLength(text, i);
    initials += PinyinInitial(text.substr(i, len));
    i += len;
  }
  return initials;
}

}  // namespace kscgen
