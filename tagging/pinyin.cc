#include "tagging/pinyin.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <iterator>

#include "tagging/pinyin_code_table.h"
#include "tagging/pinyin_dict_tables.h"
#include "tagging/pinyin_gbk_table.h"
#include "text/gbk_text.h"

namespace kscgen {
namespace {

// Band and group names end in one of these; they have no surname.
const char* const kGroupEndings[] = {"乐队", "乐团", "组合", "合唱团"};

bool IsPassedOver(std::string_view s, std::size_t i, std::size_t len) {
  return len == 1 && text::IsBlank(static_cast<unsigned char>(s[i]));
}

// Per two-byte GBK code: the character's initial, and where the stored words
// that start with it begin. Built once from the tables, so that a character
// costs one look-up instead of two binary searches.
constexpr std::size_t kGbkCodeCount = kGbkLeadCount * kGbkTrailCount;
constexpr std::uint16_t kNoWord = 0xFFFF;

std::size_t CodeIndex(unsigned char lead, unsigned char trail) {
  return (lead - kGbkLeadFirst) * kGbkTrailCount + (trail - kGbkTrailFirst);
}

struct CodeIndexTables {
  CodeIndexTables();
  char initial[kGbkCodeCount];
  std::uint16_t first_word[kGbkCodeCount];
};

CodeIndexTables::CodeIndexTables() {
  for (unsigned lead = kGbkLeadFirst; lead < kGbkLeadFirst + kGbkLeadCount; ++lead) {
    for (unsigned trail = kGbkTrailFirst; trail < kGbkTrailFirst + kGbkTrailCount; ++trail) {
      const char piece[] = {static_cast<char>(lead), static_cast<char>(trail)};
      initial[CodeIndex(lead, trail)] = CodeTableInitial(std::string_view(piece, 2));
      first_word[CodeIndex(lead, trail)] = kNoWord;
    }
  }
  for (std::size_t i = 0; i < kPinyinCharReadingCount; ++i) {
    const PinyinCharReading& r = kPinyinCharReadings[i];
    initial[CodeIndex(r.code >> 8, r.code & 0xFF)] = r.initial;
  }
  for (std::size_t i = kPinyinWordCount; i-- > 0;) {
    const std::uint16_t code = kPinyinWords[i].first;
    first_word[CodeIndex(code >> 8, code & 0xFF)] = static_cast<std::uint16_t>(i);
  }
}

// Built when the program starts, from tables that need no construction: a
// look-up then costs no check whether it is built yet.
const CodeIndexTables kTables;

// The longest stored word that starts at byte `i` of `s` (on a two-byte
// character), or null.
const PinyinWord* WordAt(std::string_view s, std::size_t i) {
  const auto lead = static_cast<unsigned char>(s[i]);
  const auto trail = static_cast<unsigned char>(s[i + 1]);
  std::uint16_t at = kTables.first_word[CodeIndex(lead, trail)];
  if (at == kNoWord) return nullptr;
  const std::uint16_t first = GbkCode(s.data() + i);
  const std::string_view rest = s.substr(i);
  for (; at < kPinyinWordCount && kPinyinWords[at].first == first; ++at) {
    const PinyinWord& w = kPinyinWords[at];
    // The first character matches; most words part at the second.
    if (rest.size() >= w.size && rest[2] == w.word[2] && rest[3] == w.word[3] &&
        std::memcmp(rest.data() + 4, w.word + 4, w.size - 4) == 0) {
      return &w;
    }
  }
  return nullptr;
}

// Whether `name` ends with `ending` starting on one of its characters.
bool EndsWithWord(std::string_view name, std::string_view ending) {
  if (name.size() < ending.size()) return false;
  const std::size_t at = name.size() - ending.size();
  if (name.substr(at) != ending) return false;
  std::size_t i = 0;
  while (i < at) i += text::CharLength(name, i);
  return i == at;
}

// Whether a surname of the table sorts before `head`, as their bytes
// compare (unsigned), without measuring the surname first: every singer's
// name is looked up here.
bool SurnameBefore(const PinyinSurname& s, std::string_view head) {
  for (std::size_t k = 0;; ++k) {
    const auto a = static_cast<unsigned char>(s.surname[k]);
    if (k == head.size()) return false;  // head is a prefix of the surname, or equal
    if (a == 0) return true;             // the surname is a shorter prefix of head
    const auto b = static_cast<unsigned char>(head[k]);
    if (a != b) return a < b;
  }
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
    const PinyinSurname* it = std::lower_bound(kPinyinSurnames, end, head, SurnameBefore);
    if (it != end && it->surname == head) return it;
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
        i += word->size;
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

char PinyinInitial(std::string_view piece) {
  if (piece.empty() || text::CharLength(piece, 0) != 2) return CodeTableInitial(piece);
  return kTables.initial[CodeIndex(static_cast<unsigned char>(piece[0]),
                                   static_cast<unsigned char>(piece[1]))];
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
