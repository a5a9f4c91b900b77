// Initials of the Chinese characters of GBK outside GB2312 level one,
// generated from the kMandarin readings of the Unicode Han database by
// tools/pinyin_table_gen (see tagging/pinyin_gbk_table.cc).
#pragma once

namespace kscgen {

// Lead bytes 0x81 to 0xFE, trail bytes 0x40 to 0xFE.
constexpr int kGbkLeadFirst = 0x81;
constexpr int kGbkLeadCount = 0xFE - 0x81 + 1;
constexpr int kGbkTrailFirst = 0x40;
constexpr int kGbkTrailCount = 0xFE - 0x40 + 1;

// GB2312 level one: 0xB0A1 to 0xD7F9, the characters ordered by pinyin.
constexpr bool IsGb2312LevelOne(unsigned lead, unsigned trail) {
  return lead >= 0xB0 && lead <= 0xD7 && trail >= 0xA1 && trail <= 0xFE &&
         (lead < 0xD7 || trail <= 0xF9);
}

// Row per lead byte, one character per trail byte: an upper-case letter, or
// a blank where the code is no Chinese character outside level one, or the
// database gives no Mandarin reading.
extern const char* const kGbkInitialRows[kGbkLeadCount];

}  // namespace kscgen
