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

TEST(PosTest, IsOneBasedAndNotAlignedToCharacters) {
  EXPECT_EQ(Pos("-", "a-b-c"), 2u);
  EXPECT_EQ(Pos("x", "abc"), 0u);
  EXPECT_EQ(Pos("", "abc"), 0u);
  // 0xB0 0xA1 0xB0 0xA2: the bytes A1 B0 straddle two characters yet are found.
  EXPECT_EQ(Pos("\xA1\xB0", "\xB0\xA1\xB0\xA2"), 2u);
}

TEST(CaseTest, ChangesOnlyAsciiLetters) {
  EXPECT_EQ(UpperAscii("disco\xB5\xCF\xC0\xEF"), "DISCO\xB5\xCF\xC0\xEF");
  EXPECT_EQ(LowerAscii("A.MPG\xB5\xCF"), "a.mpg\xB5\xCF");
}

TEST(CharLengthTest, PairsALeadByteWithAValidTrailByteOnly) {
  EXPECT_EQ(CharLength("\xB4\xF3", 0), 2u);  // 大
  EXPECT_EQ(CharLength("\x81\x40", 0), 2u);  // lowest GBK code
  EXPECT_EQ(CharLength("\x81\x7F", 0), 1u);  // 0x7F is never a trail byte
  EXPECT_EQ(CharLength("\x81\x20", 0), 1u);
  EXPECT_EQ(CharLength("\xB4", 0), 1u);      // cut off at the end
  EXPECT_EQ(CharLength("\x80\x41", 0), 1u);  // 0x80 leads nothing
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
