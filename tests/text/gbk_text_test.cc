#include "text/gbk_text.h"

#include <gtest/gtest.h>

namespace kscgen::text {
namespace {

TEST(TrimTest, RemovesBytesUpToBlankButNotTheFullWidthBlank) {
  EXPECT_EQ(Trim(" \t\r\nab c\x01 "), "ab c");
  EXPECT_EQ(Trim("   "), "");
  EXPECT_EQ(Trim(""), "");
  // 0xA1 0xA1 is the full-width blank: it stays.
  EXPECT_EQ(Trim("\xA1\xA1x\xA1\xA1 "), "\xA1\xA1x\xA1\xA1");
}

TEST(PosTest, IsOneBasedAndFindsOnlyWholeCharacters) {
  EXPECT_EQ(Pos("-", "a-b-c"), 2u);
  EXPECT_EQ(Pos("x", "abc"), 0u);
  EXPECT_EQ(Pos("", "abc"), 0u);
  // B0A1 B0A2 (啊阿): the bytes A1 B0 straddle two characters: no match.
  EXPECT_EQ(Pos("\xA1\xB0", "\xB0\xA1\xB0\xA2"), 0u);
  EXPECT_EQ(Pos("\xB0\xA2", "\xB0\xA1\xB0\xA2"), 3u);
  // 埃瑻 (B0A3 AD40) holds the bytes of "－" (A3AD) and of "@" (40, a trail byte).
  EXPECT_EQ(Pos("\xA3\xAD", "\xB0\xA3\xAD\x40"), 0u);
  EXPECT_EQ(Pos("@", "\xB0\xA3\xAD\x40"), 0u);
  EXPECT_EQ(Pos("\xA3\xAD", "\xB0\xA3\xAD\x40\xA3\xAD"), 5u);
  // A lone lead byte before ASCII stands alone, so the ASCII after it counts.
  EXPECT_EQ(Pos("-", "\xB0-"), 2u);
  EXPECT_FALSE(Contains("\xD7\xD4\xC1\xA2", "\xD4\xC1"));  // 自立 does not hold 粤
  EXPECT_TRUE(Contains("\xD7\xD4\xC1\xA2", "\xC1\xA2"));
}

TEST(CaseTest, ChangesOnlyAsciiLettersThatAreCharactersOfTheirOwn) {
  // 81 61 is one character whose trail byte is "a": it is never raised.
  EXPECT_TRUE(ContainsUpper("disco\xB5\xCF", "DISCO"));
  EXPECT_FALSE(ContainsUpper("\x81\x61", "A"));
  EXPECT_EQ(LowerAscii("A.MPG\xB5\xCF"), "a.mpg\xB5\xCF");
  // "disco" spelled with a trail byte as its d: no match.
  EXPECT_FALSE(ContainsUpper("\x81\x64isco", "DISCO"));
  EXPECT_TRUE(ContainsUpper("\x81\x64 disco", "DISCO"));
  EXPECT_TRUE(ContainsUpper("DiScO", "DISCO"));
  EXPECT_FALSE(ContainsUpper("DISC", "DISCO"));
}

TEST(CompareFoldingCaseTest, IgnoresTheCaseOfLettersThatStandAloneOnly) {
  EXPECT_EQ(CompareFoldingCase("Song", "sONG"), 0);
  EXPECT_EQ(CompareFoldingCase("小河水ABC", "小河水abc"), 0);
  EXPECT_LT(CompareFoldingCase("a", "B"), 0);
  EXPECT_GT(CompareFoldingCase("b", "A"), 0);
  EXPECT_LT(CompareFoldingCase("song", "songs"), 0);
  EXPECT_GT(CompareFoldingCase("songs", "SONG"), 0);
  // 81 61 and 81 41 are two characters whose trail bytes spell "a" and
  // "A": folding a trail byte would make them one.
  EXPECT_NE(CompareFoldingCase("\x81\x61", "\x81\x41"), 0);
  EXPECT_NE(CompareFoldingCase("x\x81\x61", "x\x81\x41"), 0);
  EXPECT_EQ(CompareFoldingCase("\x81\x61Z", "\x81\x61z"), 0);
}

// Windows sets aside the case of every letter, not only ASCII's: the GBK
// letters with two cases are one name in either case.
TEST(CompareFoldingCaseTest, SetsAsideTheCaseOfEveryLetterGbkHolds) {
  struct Row {
    const char* x;
    const char* y;
    int sign;
  };
  const Row rows[] = {
      {"\xA3\xC1", "\xA3\xE1", 0},      // full-width Ａ, ａ
      {"x\xA3\xC1.", "X\xA3\xE1.", 0},  // amid other characters
      {"\xA6\xB2", "\xA6\xD2", 0},      // Greek Σ, σ
      {"\xA7\xA7", "\xA7\xD7", 0},      // Cyrillic Ё, ё
      {"\xA2\xF1", "\xA2\xA1", 0},      // Roman numerals Ⅰ, ⅰ
      {"\xA3\xE1", "\xA3\xC2", -1},     // ａ before Ｂ, as Ａ is
      {"\xA3\xC1", "A", 1},             // full-width Ａ is not A
      {"\xA6\xB2", "\xA6\xB3", -1},     // Σ before Τ
      {"\xB4\xF3", "\xB4\xF3", 0},      // 大: no case
      {"\xB4\xF3\xA3\xC1",
       "\xB4\xF3\xA3\xE1"
       "b",
       -1},  // shorter first
  };
  for (const Row& r : rows) {
    const int c = CompareFoldingCase(r.x, r.y);
    EXPECT_EQ((c > 0) - (c < 0), r.sign) << r.x << " " << r.y;
    const int back = CompareFoldingCase(r.y, r.x);
    EXPECT_EQ((back > 0) - (back < 0), -r.sign) << r.y << " " << r.x;
  }
}

TEST(CharLengthTest, PairsALeadByteWithAValidTrailByteOnly) {
  EXPECT_EQ(CharLength("\xB4\xF3", 0), 2u);  // 大
  EXPECT_EQ(CharLength("\x81\x40", 0), 2u);  // lowest GBK code
  EXPECT_EQ(CharLength("\x81\x7F", 0), 1u);  // 0x7F is never a trail byte
  EXPECT_EQ(CharLength("\x81\x20", 0), 1u);
  EXPECT_EQ(CharLength("\xB4", 0), 1u);      // cut off at the end
  EXPECT_EQ(CharLength("\x80\x41", 0), 1u);  // 0x80 leads nothing
  EXPECT_EQ(CharLength("\xFE\x50", 0), 2u);  // the last row leads too
  EXPECT_EQ(CharLength("\xFF\x50", 0), 1u);
  EXPECT_EQ(CharLength("A\xB4\xF3", 0), 1u);
}

TEST(LeadingCharsTest, NeverCutsACharacterInHalf) {
  // A我们: 41 CE D2 C3 C7. Four bytes would end inside 们.
  EXPECT_EQ(LeadingChars("A\xCE\xD2\xC3\xC7", 4), "A\xCE\xD2");
  EXPECT_EQ(LeadingChars("\xA3\xA8\xD4\xC1\xD3\xEF", 4), "\xA3\xA8\xD4\xC1");
  EXPECT_EQ(LeadingChars("AB", 4), "AB");
}

}  // namespace
}  // namespace kscgen::text
