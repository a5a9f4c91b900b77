#include "app/engine/start_number.h"

#include <gtest/gtest.h>

namespace kscgen {
namespace {

TEST(StartNumberTest, ReadsDecimalAndHexadecimal) {
  EXPECT_EQ(ParseStartNumber("100"), 100);
  EXPECT_EQ(ParseStartNumber("+7"), 7);
  EXPECT_EQ(ParseStartNumber("0"), 0);
  EXPECT_EQ(ParseStartNumber(" 2 "), 2);
  EXPECT_EQ(ParseStartNumber("$1f"), 31);
  EXPECT_EQ(ParseStartNumber("x1F"), 31);
  EXPECT_EQ(ParseStartNumber("0X10"), 16);
  EXPECT_EQ(ParseStartNumber("2147483647"), 2147483647);
}

TEST(StartNumberTest, RejectsNegativeNumbersAndAnythingElse) {
  for (const char* bad : {"", "+", "$", "0x", "12a", "1 2", "1.5", "abc", "2147483648",
                          "99999999999999999999", "$g", "--1", "-1", "-$10", "-2147483648"}) {
    EXPECT_EQ(ParseStartNumber(bad), std::nullopt) << bad;
  }
}

TEST(StartNumberTest, PadsSongNumbersToFiveDigits) {
  EXPECT_EQ(FormatSongNumber(3), "00003");
  EXPECT_EQ(FormatSongNumber(101), "00101");
  // Around the fifth digit: zeros until a number has five digits of its own.
  EXPECT_EQ(FormatSongNumber(9999), "09999");
  EXPECT_EQ(FormatSongNumber(10000), "10000");
  EXPECT_EQ(FormatSongNumber(99999), "99999");
  EXPECT_EQ(FormatSongNumber(100000), "100000");
}

}  // namespace
}  // namespace kscgen
