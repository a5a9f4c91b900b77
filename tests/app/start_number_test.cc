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

// What a box for the start number may hold while it is typed.
TEST(StartNumberTest, TheBeginningOfAStartNumberCanBecomeOne) {
  for (const char* typed : {"", " ", "+", "$", "x", "0x", "0X", "1", "$1f", "+7", "2147483647"}) {
    EXPECT_TRUE(CouldBecomeStartNumber(typed)) << typed;
  }
  for (const char* typed : {"-", "-1", "1x", "1a", "1.", "abc", "$g", "2147483648", "1 2"}) {
    EXPECT_FALSE(CouldBecomeStartNumber(typed)) << typed;
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

// One number is one song number however many zeros stand before it; one
// past the largest song number is none.
TEST(StartNumberTest, NumbersFromNamesDropZerosPastFiveDigits) {
  const struct {
    const char* digits;
    std::optional<std::string> number;
  } rows[] = {
      {"0153", "00153"},
      {"00153", "00153"},
      {"00000000000000000153", "00153"},
      {"153", "00153"},
      {"0", "00000"},
      {"0000000", "00000"},
      {"103962", "103962"},
      {"2147483647", "2147483647"},
      {"02147483647", "2147483647"},
      {"2147483648", std::nullopt},
      {"9999999999", std::nullopt},
      {"12345678901234567890", std::nullopt},
  };
  for (const auto& row : rows) EXPECT_EQ(SongNumberFromName(row.digits), row.number) << row.digits;
}

}  // namespace
}  // namespace kscgen
