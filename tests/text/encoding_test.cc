#include "text/encoding.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>

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
  // 😀 has no GBK form, and the "?" a system may write for it is not taken.
  EXPECT_EQ(Utf8ToGbk("\xF0\x9F\x98\x80"), std::nullopt);
  EXPECT_EQ(Utf8ToGbk(kUtf8 + "\xF0\x9F\x98\x80"), std::nullopt);
  // Malformed UTF-8 after a good start is refused whole.
  EXPECT_EQ(Utf8ToGbk(kUtf8 + "\xC0\xAF"), std::nullopt);
  EXPECT_EQ(Utf8ToGbk(kUtf8 + "\xED\xA0\x80"), std::nullopt);
}

// The characters where GBK tables part ways: every system must give these
// same bytes, so that a KSC file and a skipped video do not depend on it.
TEST(ConversionTest, GbkTableEdgesAreTheSameOnEverySystem) {
  const std::pair<std::string, std::string> pairs[] = {
      {"\xE2\x82\xAC", "\x80"},      // € U+20AC, GBK's one single-byte extra
      {"\xC2\xB7", "\xA1\xA4"},      // · U+00B7 (GB2312 has U+30FB here)
      {"\xE2\x80\x94", "\xA1\xAA"},  // — U+2014 (GB2312 has U+2015 here)
      {"\xE2\x80\x95", "\xA8\x44"},  // ― U+2015
      {"\xEF\xBC\x8D", "\xA3\xAD"},  // － U+FF0D, the separator of many names
      {"\xE5\x9B\xA7", "\x87\xE5"},  // 囧 U+56E7, beyond GB2312
      {"\xE9\x95\x95", "\xE9\x46"},  // 镕 U+9555, beyond GB2312
  };
  for (const auto& [utf8, gbk] : pairs) {
    EXPECT_EQ(Utf8ToGbk(utf8), gbk) << DisplayName(utf8);
    EXPECT_EQ(GbkToUtf8(gbk), utf8) << DisplayName(utf8);
  }
  EXPECT_EQ(Utf8ToGbk("\xE3\x83\xBB"), std::nullopt);  // ・ U+30FB

  // GBK's user-defined areas and unassigned codes, which some tables read
  // as Private Use characters, are no text; nor is a Private Use character.
  for (const char* gbk :
       {"\xAA\xA1", "\xA1\x40", "\xFE\xFE", "\xFE\x50", "\xA3\xA0", "\xD7\xFA", "\xFF", "\x81"}) {
    EXPECT_EQ(GbkToUtf8(gbk), std::nullopt) << DisplayName(gbk);
  }
  for (const char* utf8 : {"\xEE\x80\x80", "\xEF\xA3\xB5", "\xEF\xA3\xBF"}) {
    EXPECT_EQ(Utf8ToGbk(utf8), std::nullopt) << DisplayName(utf8);
  }
  EXPECT_EQ(DecodeFileName("\xEE\x80\x80.mpg").problem, NameProblem::kNotInGbk);
  EXPECT_EQ(DecodeFileName("\xAA\xA1.mpg").problem, NameProblem::kUndecodable);
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
  // Characters that show as nothing are named by their code point.
  const struct {
    const char* name;
    const char* shown;
  } rows[] = {
      {u8"a\u200Db", u8"a<U+200D>b"},           // zero width joiner
      {u8"\u200B\u5929", u8"<U+200B>\u5929"},  // zero width space, then 天
      {u8"x\u00AD", u8"x<U+00AD>"},             // soft hyphen
      {u8"\u202Eabc", u8"<U+202E>abc"},         // right-to-left override
      {u8"a\u2028b", u8"a<U+2028>b"},           // line separator
      {u8"\uFEFFa", u8"<U+FEFF>a"},             // byte order mark
      {u8"a\u0085", u8"a<U+0085>"},             // next line, a C1 control
      {u8"\U000E0041", u8"<U+E0041>"},          // tag letter A
      {u8"a\u00A0b", u8"a\u00A0b"},            // a no-break space shows: left as it is
      {u8"\u3000", u8"\u3000"},                // the full-width blank too
      {u8"a\x7F", u8"a\\x7F"},
  };
  for (const auto& row : rows) EXPECT_EQ(DisplayName(row.name), row.shown) << row.shown;
}

}  // namespace
}  // namespace kscgen::text
