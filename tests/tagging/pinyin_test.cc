#include "tagging/pinyin.h"

#include <gtest/gtest.h>

#include "tagging/pinyin_code_table.h"

namespace kscgen {
namespace {

constexpr std::optional<std::size_t> kNoLimit = std::nullopt;

TEST(PinyinInitialTest, LevelOneFollowsItsRanges) {
  EXPECT_EQ(PinyinInitial("\xB0\xA1"), 'A');  // first code of level one
  EXPECT_EQ(PinyinInitial("\xB0\xC5"), 'B');
  EXPECT_EQ(PinyinInitial("\xC5\xB6"), 'O');
  EXPECT_EQ(PinyinInitial("\xC5\xBD"), 'O');
  EXPECT_EQ(PinyinInitial("\xC5\xBE"), 'P');
  EXPECT_EQ(PinyinInitial("\xD7\xF9"), 'Z');  // last code of level one
  EXPECT_EQ(PinyinInitial("大"), 'D');
  EXPECT_EQ(PinyinInitial("大学"), 'D');  // only the first character is read
}

TEST(PinyinInitialTest, XReachesToD1B8) {
  // 选 学 雪 血 寻 训 讯 迅 are read xuan, xue, xun; 压 (D1B9) begins the Ys.
  for (const char* x : {"选", "学", "雪", "血", "寻", "训", "讯", "迅", "\xD1\xA1", "\xD1\xB8"}) {
    EXPECT_EQ(PinyinInitial(x), 'X') << x;
  }
  EXPECT_EQ(PinyinInitial("压"), 'Y');
  EXPECT_EQ(PinyinInitial("押"), 'Y');
}

TEST(PinyinInitialTest, OtherChineseCharactersFollowTheirMandarinReading) {
  EXPECT_EQ(PinyinInitial("佚"), 'Y');        // D8FD, level two, yì
  EXPECT_EQ(PinyinInitial("丞"), 'C');        // D8A9, level two, chéng
  EXPECT_EQ(PinyinInitial("\x81\x40"), 'K');  // 丂, GBK extension, kǎo
  EXPECT_EQ(PinyinInitial("\xB0\x40"), 'L');  // 癅, extension with a level-one lead byte, liú
  EXPECT_EQ(PinyinInitial("\xC1\x80"), 'F');  // 羳, fán
}

TEST(PinyinInitialTest, CharactersTakeTheirMostCommonReading) {
  // Where the code tables hold a rarer reading: 靓 liang (not jing), 玟 min
  // (not wen), 曾 ceng (level one files it under zeng), 弹 tan, 调 tiao.
  EXPECT_EQ(PinyinInitial("靓"), 'L');
  EXPECT_EQ(PinyinInitial("玟"), 'M');
  EXPECT_EQ(PinyinInitial("曾"), 'C');
  EXPECT_EQ(PinyinInitial("弹"), 'T');
  EXPECT_EQ(PinyinInitial("调"), 'T');
  // The code tables alone keep the level-one order and the Han database.
  EXPECT_EQ(CodeTableInitial("曾"), 'Z');
  EXPECT_EQ(CodeTableInitial("靓"), 'J');
  EXPECT_EQ(CodeTableInitial("玟"), 'W');
  // Characters with one reading are left as they were.
  EXPECT_EQ(PinyinInitial("乐"), 'L');
  EXPECT_EQ(PinyinInitial("行"), 'X');
}

TEST(PinyinInitialTest, AsciiGivesItselfAndSymbolsGiveABlank) {
  EXPECT_EQ(PinyinInitial("a"), 'A');
  EXPECT_EQ(PinyinInitial("Z"), 'Z');
  EXPECT_EQ(PinyinInitial("7"), '7');
  EXPECT_EQ(PinyinInitial("'"), ' ');
  EXPECT_EQ(PinyinInitial(""), ' ');
  EXPECT_EQ(PinyinInitial("（"), ' ');        // full-width bracket
  EXPECT_EQ(PinyinInitial("\xA1\xA1"), ' ');  // full-width blank
  EXPECT_EQ(PinyinInitial("\xA5\xA2"), ' ');  // katakana
  EXPECT_EQ(PinyinInitial("\xA6\xC1"), ' ');  // Greek alpha
  EXPECT_EQ(PinyinInitial("\xD7\xFA"), ' ');  // no character
}

TEST(PinyinInitialsTest, AbbreviatesTitlesAndSingers) {
  struct Row {
    const char* text;
    std::optional<std::size_t> limit;
    const char* initials;
  };
  const Row rows[] = {
      {"我爱你中国人", kAbbrevLimit, "WANZ"},
      {"我爱你中国人", kNoLimit, "WANZGR"},
      {"合唱团", kNoLimit, "HCT"},
      {"大学生", kAbbrevLimit, "DXS"},
      {"佚名", kNoLimit, "YM"},
      {"杨丞琳", kNoLimit, "YCL"},
      {"K歌之王", kAbbrevLimit, "KGZW"},
      {"LOVE STORY", kAbbrevLimit, "LOVE"},
      {"你LOVE", kAbbrevLimit, "NLOV"},
      {"A我们", kAbbrevLimit, "AWM"},
      {"A", kAbbrevLimit, "A"},
      {"AB", kAbbrevLimit, "AB"},
      {"大 学生", kAbbrevLimit, "DXS"},
      {"  歌名", kAbbrevLimit, "GM"},
      {"好  人", kAbbrevLimit, "HR"},
      {"", kAbbrevLimit, ""},
      {"   ", kNoLimit, ""},
      // A blank given by a symbol counts towards the limit.
      {"大'学生好", kAbbrevLimit, "D XS"},
  };
  for (const Row& r : rows) EXPECT_EQ(PinyinInitials(r.text, r.limit), r.initials) << r.text;
}

TEST(PinyinInitialsTest, WordsReadAsWords) {
  struct Row {
    const char* text;
    const char* initials;
  };
  const Row rows[] = {
      {"音乐", "YY"},
      {"快乐", "KL"},
      {"曾经", "CJ"},
      {"长大", "ZD"},
      {"银行", "YH"},
      {"行走", "XZ"},
      {"倔强", "JJ"},
      {"重来", "CL"},
      {"乐团", "YT"},
      {"单依纯", "DYC"},  // a title has no surname
      {"我们一起长大", "WMYQZD"},
      {"好想重来", "HXCL"},
      // 长 is zhang in 长大 but chang in 长城 and 长久.
      {"长城长", "CCC"},
      {"天长地久", "TCDJ"},
      {"音乐 快乐", "YYKL"},  // a blank parts two words
      // From the left: 杯子 is read first, so 子弹 (ZD) never starts and 弹
      // alone is tan.
      {"杯子弹", "BZT"},
      {"我的子弹", "WDZD"},
  };
  for (const Row& r : rows) EXPECT_EQ(PinyinInitials(r.text, kNoLimit), r.initials) << r.text;
}

TEST(PinyinInitialsTest, TheLimitCutsAfterTheWordsAreRead) {
  // 银行 is read whole although only 银 fits.
  EXPECT_EQ(PinyinInitials("你好我银行", kAbbrevLimit), "NHWY");
  EXPECT_EQ(PinyinInitials("我们一起长大", kAbbrevLimit), "WMYQ");
  EXPECT_EQ(PinyinInitials("一起长大", kAbbrevLimit), "YQZD");
}

TEST(SingerInitialsTest, SurnamesReadAsSurnames) {
  struct Row {
    const char* singer;
    const char* initials;
  };
  const Row rows[] = {
      {"单依纯", "SYC"},
      {"区瑞强", "ORQ"},
      {"解晓东", "XXD"},
      {"张靓颖", "ZLY"},
      {"金玟岐", "JMQ"},
      {"曾轶可", "ZYK"},
      {"乐嘉", "YJ"},
      {"仇小龙", "QXL"},
      {"查良镛", "ZLY"},
      {"翟惠民", "ZHM"},
      {"覃之宇", "QZY"},
      {"缪斯", "MS"},
      {"万俟丽", "MQL"},
      {"欧阳菲菲", "OYFF"},
      {"长孙一", "ZSY"},
      {"司马相", "SMX"},
      {"上官红", "SGH"},
      {"曾经", "ZJ"},
      {"  单依纯 ", "SYC"},  // trimmed first
      // 尉 is Yu only in the compound 尉迟; alone the surname is Wei.
      {"尉迟琳嘉", "YCLJ"},
      {"尉小宁", "WXN"},
  };
  for (const Row& r : rows) EXPECT_EQ(SingerInitials(r.singer), r.initials) << r.singer;
}

TEST(SingerInitialsTest, BandsHaveNoSurname) {
  EXPECT_EQ(SingerInitials("信乐团"), "XYT");
  EXPECT_EQ(SingerInitials("解放乐团"), "JFYT");  // not Xie
  EXPECT_EQ(SingerInitials("单车乐队"), "DCYD");  // not Shan
  EXPECT_EQ(SingerInitials("曾经组合"), "CJZH");
  EXPECT_EQ(SingerInitials("曾经合唱团"), "CJHCT");
  EXPECT_EQ(SingerInitials("合唱团"), "HCT");
}

TEST(SingerInitialsTest, OtherNamesAsTitlesWithoutLimit) {
  EXPECT_EQ(SingerInitials("Beyond"), "BEYOND");
  EXPECT_EQ(SingerInitials("佚名"), "YM");
  EXPECT_EQ(SingerInitials("五月天"), "WYT");
  EXPECT_EQ(SingerInitials("（群星）"), "（群");
  EXPECT_EQ(SingerInitials(""), "");
}

TEST(PinyinInitialsTest, FallsBackToWholeLeadingCharactersOfTheText) {
  // The bracket leads with a blank: the text's own first four bytes stand in.
  EXPECT_EQ(PinyinInitials("（粤语）", kAbbrevLimit), "（粤");
  EXPECT_EQ(PinyinInitials(" 'A我们", kAbbrevLimit), "'A我");
  // Never half a character: '·' then 我们 would end inside 们 at four bytes.
  EXPECT_EQ(PinyinInitials("·我们", kAbbrevLimit), "·我");
}

TEST(HiddenPairTest, OneInitialPerCharacterWithoutFallback) {
  EXPECT_EQ(HiddenPairInitials("歌名"), "GM");
  EXPECT_EQ(HiddenPairInitials("音乐"), "YL");  // one character at a time
  EXPECT_EQ(HiddenPairInitials("（粤语）"), " YY ");
  EXPECT_EQ(HiddenPairInitials(" a"), " A");
  EXPECT_EQ(HiddenPairInitials(""), "");
}

}  // namespace
}  // namespace kscgen
