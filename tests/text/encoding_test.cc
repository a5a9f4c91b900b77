#include "text/encoding.h"

#include <gtest/gtest.h>

namespace kscgen::text {
namespace {

// 小河水 in UTF-8 and in GBK, written out byte by byte.
const std::string kUtf8 = "\xE5\xB0\x8F\xE6\xB2\xB3\xE6\xB0\xB4";
const std::string kGbk = "\xD0\xA1\xBA\xD3\xCB\xAE";

TEST(ConversionTest, ConvertsBetweenUtf8AndGbk) {
  EXPECT_EQ(Utf8ToGbk(kUtf8), kGbk);
  EXPECT_EQ(GbkToUtf8(kGbk), kUtf8);
  EXPECT_EQ(Utf8ToGbk("plain.mpg"), "plain.mpg");
  // A lone lead byte at the end is no GBK text.
  EXPECT_EQ(GbkToUtf8("\xD0\xA1\xBA"), std::nullopt);
  // 😀 has no GBK form.
  EXPECT_EQ(Utf8ToGbk("\xF0\x9F\x98\x80"), std::nullopt);
}

TEST(ConversionTest, ValidatesUtf8Strictly) {
  EXPECT_TRUE(IsValidUtf8(kUtf8));
  EXPECT_FALSE(IsValidUtf8(kGbk));
  EXPECT_FALSE(IsValidUtf8("\xC0\xAF"));      // overlong
  EXPECT_FALSE(IsValidUtf8("\xED\xA0\x80"));  // surrogate
  EXPECT_FALSE(IsValidUtf8("\xE5\xB0"));      // cut off
}

TEST(FileNameTest, ReadsUtf8NamesAndGbkNamesFromWindows) {
  DecodedName utf8 = DecodeFileName(kUtf8 + ".mpg");
  EXPECT_EQ(utf8.problem, NameProblem::kNone);
  EXPECT_EQ(utf8.encoding, NameEncoding::kUtf8);
  EXPECT_EQ(utf8.gbk, kGbk + ".mpg");

  DecodedName gbk = DecodeFileName(kGbk + ".mpg");
  EXPECT_EQ(gbk.problem, NameProblem::kNone);
  EXPECT_EQ(gbk.encoding, NameEncoding::kGbk);
  EXPECT_EQ(gbk.gbk, kGbk + ".mpg");

  EXPECT_EQ(DecodeFileName("\xF0\x9F\x98\x80.mpg").problem, NameProblem::kNotInGbk);
  EXPECT_EQ(DecodeFileName("\xFF\xFF.mpg").problem, NameProblem::kUndecodable);
}

TEST(FileNameTest, DisplaysEveryNameAsPrintableUtf8) {
  EXPECT_EQ(DisplayName(kUtf8), kUtf8);
  EXPECT_EQ(DisplayName(kGbk), kUtf8);
  EXPECT_EQ(DisplayName("a\nb\xFF"), "a\\x0Ab\\xFF");
  EXPECT_EQ(GbkForDisplay(kGbk + "\x01"), kUtf8 + "\\x01");
}

}  // namespace
}  // namespace kscgen::text
