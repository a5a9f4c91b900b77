#include "tagging/uniform_values.h"

#include <gtest/gtest.h>

namespace kscgen {
namespace {

std::vector<UniformEntry> Entries(
    std::initializer_list<std::pair<const char*, const char*>> typed) {
  std::vector<UniformEntry> entries;
  for (auto [kind, value] : typed) entries.push_back(ParseUniformEntry(kind, value).entry);
  return entries;
}

TEST(UniformEntryTest, IsShownAsTheAddButtonShowsIt) {
  // 歌曲语种 --> 粤语; : 19 bytes.
  UniformEntryParse p = ParseUniformEntry(" 歌曲语种 ", " 粤语 ");
  ASSERT_EQ(p.error, UniformEntryError::kNone);
  EXPECT_EQ(p.entry.kind, kUniformLanguage);
  EXPECT_EQ(UniformEntryText(p.entry), "歌曲语种 --> 粤语; ");
  EXPECT_EQ(UniformEntryText(p.entry).size(), 19u);
  // A kind that holds none of the four labels is refused, not kept to count
  // for nothing.
  for (const char* kind : {"", "类型", "备注", "歌名", "y"}) {
    EXPECT_EQ(ParseUniformEntry(kind, "y").error, UniformEntryError::kUnknownKind) << kind;
  }
  EXPECT_EQ(ParseUniformEntry("新歌曲类别", "儿歌").error, UniformEntryError::kNone);
  EXPECT_EQ(ParseUniformEntry("歌曲语种", "  ").error, UniformEntryError::kEmptyValue);
  EXPECT_EQ(ParseUniformEntry("歌曲语种", "").error, UniformEntryError::kEmptyValue);
  // A line break or another control character would split the KSC file's
  // line: refused wherever it stands, for the window, its saved settings
  // and kscgen alike.
  for (const char* value : {"a\nb", "ab\n", "\tab", "a\rb", "a\x1F"}) {
    EXPECT_EQ(ParseUniformEntry("歌 手 名", value).error, UniformEntryError::kControlCharacter)
        << value;
  }
}

TEST(UniformEntryTest, KindLabelsAreFoundOnlyAtCharacterBoundaries) {
  EXPECT_EQ(UniformKindOf("新歌曲语种"), kUniformLanguage);
  EXPECT_EQ(UniformKindOf("歌 手 名"), kUniformSinger);
  // Other names: the label without 歌曲, the preview's column title.
  EXPECT_EQ(UniformKindOf("歌手"), kUniformSinger);
  EXPECT_EQ(UniformKindOf(" 风格"), kUniformStyle);
  EXPECT_EQ(UniformKindOf("类别"), kUniformStyle);
  EXPECT_EQ(UniformKindOf("语种"), kUniformLanguage);
  EXPECT_EQ(UniformKindOf("声道"), kUniformChannel);
  // A label decides before another name: 歌曲语种 holds no 类别, but a typed
  // 类别歌曲语种 holds both.
  EXPECT_EQ(UniformKindOf("类别歌曲语种"), kUniformLanguage);
  // The bytes of 歌曲类别 (B8E8 C7FA C0E0 B1F0), one byte off: they straddle
  // the characters 81B8 E8C7 FAC0 E0B1, so no label is there.
  EXPECT_EQ(UniformKindOf("\x81\xB8\xE8\xC7\xFA\xC0\xE0\xB1\xF0"), std::nullopt);
}

TEST(ChannelTest, AChannelValueMustNameAChannel) {
  EXPECT_EQ(ParseUniformEntry("歌曲声道", "伴唱").error, UniformEntryError::kBadChannel);
  EXPECT_EQ(ParseUniformEntry("歌曲声道", "31").error, UniformEntryError::kBadChannel);
  EXPECT_EQ(ParseUniformEntry("歌曲声道", "2 左声道").error, UniformEntryError::kNone);
  // Only channel values are checked as channels.
  EXPECT_EQ(ParseUniformEntry("歌曲类别", "伴唱").error, UniformEntryError::kBadStyle);
}

// A language that names none would be written as 国语 over every song's own.
TEST(LanguageTest, ALanguageValueMustNameALanguage) {
  for (const char* language : {"火星语", "english", "伴唱", "x"}) {
    EXPECT_EQ(ParseUniformEntry("歌曲语种", language).error, UniformEntryError::kBadLanguage)
        << language;
  }
  for (const char* language : {"国语", "粤语", "英文歌", "其它", "闽南语", "普通话"}) {
    EXPECT_EQ(ParseUniformEntry("语种", language).error, UniformEntryError::kNone) << language;
  }
}

// A style that names none would be written as 流行 over every song's own.
TEST(StyleTest, AStyleValueMustNameAStyle) {
  for (const char* style : {"摇滚", "经典", "x", "国语"}) {
    EXPECT_EQ(ParseUniformEntry("歌曲类别", style).error, UniformEntryError::kBadStyle) << style;
    EXPECT_EQ(ParseUniformEntry("风格", style).error, UniformEntryError::kBadStyle) << style;
  }
  for (const char* style : {"流行", "情侣对唱", "对唱", "怀旧", "disco", "新儿歌"}) {
    EXPECT_EQ(ParseUniformEntry("歌曲类别", style).error, UniformEntryError::kNone) << style;
  }
  for (const std::string& offered : UniformValuesOffered(kUniformStyle)) {
    EXPECT_EQ(ParseUniformEntry("类别", offered).error, UniformEntryError::kNone) << offered;
  }
  // Only style values are checked as styles.
  EXPECT_EQ(ParseUniformEntry("歌 手 名", "摇滚").error, UniformEntryError::kNone);
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

TEST(UniformValuesTest, OverrideNameAndFolderWithTheFirstEntryOfEachKind) {
  SongInfo song;
  song.singer = "张三";
  song.language = "国语";
  ApplyUniformValues(CollectUniformValues(Entries({{"歌曲语种", "粤语"},
                                                   {"歌曲语种", "英语"},
                                                   {"歌曲类别", "情侣对唱"},
                                                   {"歌 手 名", "合唱团"},
                                                   {"歌曲声道", "2 左声道"}})),
                     song);
  EXPECT_EQ(song.language, "粤语");
  EXPECT_EQ(song.style, "对唱");
  EXPECT_EQ(song.singer, "合唱团");
  EXPECT_EQ(song.channel, "2");
}

TEST(UniformValuesTest, ClassifyTypedValuesTakenWholeAtAnyLength) {
  UniformValues v = CollectUniformValues(Entries({{"歌曲语种", "闽南语"}, {"歌曲类别", "经典"}}));
  EXPECT_EQ(v.language, "台语");
  EXPECT_EQ(v.style, "流行");
  EXPECT_EQ(v.singer, std::nullopt);
  EXPECT_EQ(v.channel, std::nullopt);

  // Past the 26 bytes of a language or style and the 46 of a singer that
  // some song managers' fields once held, the value is still read whole.
  const std::string yue27 = "粤语" + std::string(23, 'x');
  EXPECT_EQ(CollectUniformValues(Entries({{"歌曲语种", yue27.c_str()}})).language, "粤语");
  const std::string style40 = std::string(36, 'x') + "怀旧";
  EXPECT_EQ(CollectUniformValues(Entries({{"歌曲类别", style40.c_str()}})).style, "怀旧歌");
  const std::string singer47 = "合唱团" + std::string(41, 's');
  EXPECT_EQ(CollectUniformValues(Entries({{"歌 手 名", singer47.c_str()}})).singer, singer47);
  const std::string singer300(300, 's');
  EXPECT_EQ(CollectUniformValues(Entries({{"歌 手 名", singer300.c_str()}})).singer, singer300);
  // A semicolon is part of the name.
  EXPECT_EQ(CollectUniformValues(Entries({{"歌 手 名", "A;B"}})).singer, "A;B");
}

TEST(UniformValuesTest, ForeignKindsAndNoEntriesChangeNothing) {
  SongInfo song;
  song.singer = "张三";
  ApplyUniformValues(CollectUniformValues({}), song);
  ApplyUniformValues(CollectUniformValues(Entries({{"", "合唱团"}, {"歌名", "李四"}})), song);
  EXPECT_EQ(song.singer, "张三");
  EXPECT_EQ(song.language, "国语");
  EXPECT_EQ(song.style, "流行");
  EXPECT_EQ(song.channel, "0");
}

}  // namespace
}  // namespace kscgen
