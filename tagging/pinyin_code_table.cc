#include "tagging/pinyin_code_table.h"

#include <cstdint>

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

}  // namespace kscgen
