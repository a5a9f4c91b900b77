#include "tagging/uniform_values.h"

#include <gtest/gtest.h>

namespace kscgen {
namespace {

std::string List(std::initializer_list<const char*> entries) {
  std::vector<std::string> v(entries.begin(), entries.end());
  return JoinUniformList(v);
}

TEST(UniformEntryTest, IsBuiltAsTheAddButtonBuildsIt) {
  // 歌曲语种 --> 粤语; : 19 bytes.
  EXPECT_EQ(MakeUniformEntry(" 歌曲语种 ", " 粤语 "), "歌曲语种 --> 粤语; ");
  EXPECT_EQ(MakeUniformEntry("歌曲语种", " 粤语 ")->size(), 19u);
  EXPECT_EQ(MakeUniformEntry("", "x"), " --> x; ");
  EXPECT_EQ(MakeUniformEntry("歌曲语种", "  "), std::nullopt);
  EXPECT_EQ(MakeUniformEntry("歌曲语种", ""), std::nullopt);
}

TEST(UniformEntryTest, ListTextEndsEveryEntryWithCrLf) {
  EXPECT_EQ(List({}), "");
  EXPECT_EQ(List({"a; ", "b; "}), "a; \r\nb; \r\n");
}

TEST(UniformEntryTest, OffersEachKindsValuesInOrder) {
  EXPECT_TRUE(UniformValuesOffered(kUniformSinger).empty());
  EXPECT_TRUE(UniformValuesOffered(-1).empty());
  auto styles = UniformValuesOffered(kUniformStyle);
  ASSERT_EQ(styles.size(), 11u);
  EXPECT_EQ(styles.front(), "流行");
  EXPECT_EQ(styles[9], "情侣对唱");
  auto languages = UniformValuesOffered(kUniformLanguage);
  ASSERT_EQ(languages.size(), 7u);
  EXPECT_EQ(languages.back(), "其它");
  auto channels = UniformValuesOffered(kUniformChannel);
  ASSERT_EQ(channels.size(), 4u);
  EXPECT_EQ(channels[2], "2 左声道");
  EXPECT_EQ(UniformKindLabel(kUniformSinger), "歌 手 名");
  EXPECT_EQ(UniformKindLabel(kUniformSinger).size(), 8u);
}

TEST(ExtractUniformValueTest, ReadsEntriesOneByOne) {
  std::string list = List({"歌 手 名 --> 合唱团; ", "歌曲语种 --> 粤语; ", "歌曲语种 --> 英语; "});
  EXPECT_EQ(ExtractUniformValue(list, "歌曲语种"), "粤语");  // the first entry of a kind counts
  EXPECT_EQ(ExtractUniformValue(list, "歌 手 名"), "合唱团");
  EXPECT_EQ(ExtractUniformValue(list, "歌曲声道"), std::nullopt);
  EXPECT_EQ(ExtractUniformValue("", "歌曲声道"), std::nullopt);
}

TEST(ExtractUniformValueTest, TakesLongValuesAndSemicolonsWhole) {
  std::string long_singer(60, 'x');  // past any fixed window
  EXPECT_EQ(ExtractUniformValue(List({("歌 手 名 --> " + long_singer + "; ").c_str()}), "歌 手 名"),
            long_singer);
  EXPECT_EQ(ExtractUniformValue(List({"歌 手 名 --> A;B; "}), "歌 手 名"), "A;B");
}

TEST(ExtractUniformValueTest, FindsLabelsOnlyInTheKindText) {
  // A label typed inside an earlier value is not that kind's entry.
  std::string list = List({"歌 手 名 --> 歌曲语种 --> 英语; ", "歌曲语种 --> 粤语; "});
  EXPECT_EQ(ExtractUniformValue(list, "歌曲语种"), "粤语");
  // A typed kind that contains a label is found, its value taken whole.
  EXPECT_EQ(ExtractUniformValue(List({"新歌曲语种 --> 日语; "}), "歌曲语种"), "日语");
}

TEST(ApplyUniformValuesTest, OverridesNameAndFolder) {
  TSongInfo song;
  song.Singer = "张三";
  song.Language = "国语";
  ApplyUniformValues(List({"歌曲语种 --> 粤语; ", "歌曲语种 --> 英语; ", "歌曲类别 --> 情侣对唱; ",
                           "歌 手 名 --> 合唱团; ", "歌曲声道 --> 2 左声道; "}),
                     song);
  EXPECT_EQ(song.Language, "粤语");
  EXPECT_EQ(song.Style, "对唱");
  EXPECT_EQ(song.Singer, "合唱团");
  EXPECT_EQ(song.Channel, "2");
}

TEST(ApplyUniformValuesTest, ClassifiesTypedValues) {
  TSongInfo song;
  ApplyUniformValues(List({"歌曲语种 --> 闽南语; ", "歌曲类别 --> 经典; "}), song);
  EXPECT_EQ(song.Language, "粤语");
  EXPECT_EQ(song.Style, "流行");
  song = TSongInfo();
  std::string long_language = "粤语" + std::string(30, 'x');  // longer than the old 26 bytes
  ApplyUniformValues(List({("歌曲语种 --> " + long_language + "; ").c_str()}), song);
  EXPECT_EQ(song.Language, "粤语");
}

TEST(ApplyUniformValuesTest, ChannelWithoutALeadingDigitHasNoEffect) {
  TSongInfo song;
  song.Channel = "0";
  ApplyUniformValues(List({"歌曲声道 --> 左声道; "}), song);
  EXPECT_EQ(song.Channel, "0");
  ApplyUniformValues(List({"歌曲声道 --> 3x; "}), song);
  EXPECT_EQ(song.Channel, "3");
}

TEST(ApplyUniformValuesTest, EmptyListAndForeignKindsChangeNothing) {
  TSongInfo song;
  song.Singer = "张三";
  ApplyUniformValues("", song);
  ApplyUniformValues(List({" --> 合唱团; ", "歌手 --> 李四; "}), song);
  EXPECT_EQ(song.Singer, "张三");
  EXPECT_EQ(song.Language, "国语");
  EXPECT_EQ(song.Style, "流行");
  EXPECT_EQ(song.Channel, "0");
}

}  // namespace
}  // namespace kscgen
