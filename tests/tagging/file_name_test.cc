#include "tagging/file_name.h"

#include <gtest/gtest.h>

namespace kscgen {
namespace {

struct NameCase {
  int naming_template;
  int folder_role;
  const char* base_name;
  const char* folder_name;
  const char* singer;
  const char* title;
  const char* language;
  const char* style;
};

SongInfo Parse(const NameCase& c) {
  SongInfo info;
  info.date_text = "12/7/26";
  ParseSongName(c.naming_template, c.folder_role, c.base_name, c.folder_name, info);
  return info;
}

TEST(ParseSongNameTest, ReadsSingerTitleAndLanguageByTemplate) {
  const NameCase cases[] = {
      // Template 1: separators.
      {1, 0, "合唱团－小河水", "", "合唱团", "小河水", "国语", "流行"},
      {1, 0, "合唱团-小河水", "", "合唱团", "小河水", "国语", "流行"},
      {1, 0, "合唱团 － 小河水", "", "合唱团 ", " 小河水", "国语", "流行"},
      {1, 0, "合唱团 - 小河水", "", "合唱团", "小河水", "国语", "流行"},
      {1, 0, "Hi-Fi－Good Day", "", "Hi-Fi", "Good Day", "国语", "流行"},
      {1, 0, "大学生－A-Z", "", "大学生－A", "Z", "国语", "流行"},
      {1, 0, "小河水", "", "佚名", "小河水", "国语", "流行"},
      {1, 0, "－小河水", "", "佚名", "小河水", "国语", "流行"},
      {1, 0, "", "", "佚名", "", "国语", "流行"},
      // Template 2: the bracket part names the language.
      {2, 0, "合唱团 － 小河水", "", "合唱团", "小河水", "国语", "流行"},
      {2, 0, "合唱团－小河水(粤语)", "", "合唱团", "小河水", "粤语", "流行"},
      {2, 0, "合唱团－小河水（国语）", "", "合唱团", "小河水", "国语", "流行"},
      {2, 0, "合唱团－小河水 (粤语)", "", "合唱团", "小河水 ", "粤语", "流行"},
      {2, 0, "合唱团－小河水(粤语)(DJ版)", "", "合唱团", "小河水", "粤语", "流行"},
      {2, 0, "小河水", "", "", "小河水", "国语", "流行"},
      {2, 2, "合唱团－小河水(英语)", "粤语金曲", "合唱团", "小河水", "英语", "流行"},
      {2, 3, "合唱团－小河水(台语)", "怀旧金曲", "合唱团", "小河水", "台语", "怀旧歌"},
      {2, 1, "合唱团－小河水", "张三", "合唱团", "小河水", "国语", "流行"},
      // Template 0: the folder name stands for the rest.
      {0, 0, "小河水", "粤语金曲", "佚名", "小河水", "国语", "流行"},
      {0, 1, "小河水", "合唱团", "合唱团", "小河水", "国语", "流行"},
      {0, 1, "小河水", "", "", "小河水", "国语", "流行"},
      {0, 2, "小河水", "粤语金曲", "", "小河水", "粤语", "流行"},
      {0, 2, "小河水", "国语", "", "小河水", "其它", "流行"},
      {0, 3, "小河水", "生日快乐", "", "小河水", "国语", "生日歌"},
      {0, 3, "小河水", "流行金曲", "", "小河水", "国语", "流行"},
      {0, 3, "小河水", "怀旧金曲", "", "小河水", "国语", "民歌"},
      // Template 1 and the folder roles.
      {1, 1, "合唱团－小河水", "张三", "合唱团", "小河水", "国语", "流行"},
      {1, 2, "合唱团－小河水", "粤语金曲", "合唱团", "小河水", "粤语", "流行"},
      {1, 2, "合唱团－小河水", "国语", "合唱团", "小河水", "国语", "流行"},
      {1, 3, "合唱团－小河水", "经典怀旧", "合唱团", "小河水", "国语", "怀旧歌"},
  };
  for (const NameCase& c : cases) {
    SCOPED_TRACE(std::string("template ") + std::to_string(c.naming_template) + " role " +
                 std::to_string(c.folder_role) + " name [" + c.base_name + "] folder [" +
                 c.folder_name + "]");
    SongInfo info = Parse(c);
    EXPECT_EQ(info.singer, c.singer);
    EXPECT_EQ(info.title, c.title);
    EXPECT_EQ(info.language, c.language);
    EXPECT_EQ(info.style, c.style);
    EXPECT_EQ(info.date_text, "12/7/26");
  }
}

TEST(ParseSongNameTest, TemplateTwoWithoutBracketIsNotReadAsALanguage) {
  // 生日快乐 holds 日; without a bracket there is no language to read.
  SongInfo info;
  ParseSongName(2, 0, "合唱团－生日快乐", "", info);
  EXPECT_EQ(info.title, "生日快乐");
  EXPECT_EQ(info.language, "国语");
}

TEST(ParseSongNameTest, FolderRoleDateAddedSetsTheDateUnderEveryParsedTemplate) {
  for (int t = 0; t <= 2; ++t) {
    SongInfo info;
    info.date_text = "12/7/26";
    ParseSongName(t, 4, "合唱团－小河水", "2026-12-01", info);
    EXPECT_EQ(info.date_text, "2026-12-01") << "template " << t;
  }
}

TEST(SplitTest, SplitBracketKeepsTheClosingBracket) {
  TitleAndBracket b = SplitBracket("小河水(国语)");
  EXPECT_EQ(b.title, "小河水");
  EXPECT_EQ(b.bracket_part, "国语)");
  b = SplitBracket("小河水（国语）(x)");  // "(" lies further right
  EXPECT_EQ(b.title, "小河水（国语）");
  EXPECT_EQ(b.bracket_part, "x)");
  b = SplitBracket("小河水");
  EXPECT_EQ(b.title, "小河水");
  EXPECT_EQ(b.bracket_part, "");
}

}  // namespace
}  // namespace kscgen

namespace kscgen {
namespace {

SongInfo ParseFull(int naming_template, int folder_role, const char* base_name) {
  SongInfo info;
  info.date_text = "12/7/26";
  ParseSongName(naming_template, folder_role, base_name, "粤语金曲", info);
  return info;
}

TEST(FullNameTest, TemplateFourReadsLanguageStyleAndChannel) {
  SongInfo info = ParseFull(4, 0, "合唱团－小河水(粤语－怀旧－左声道)");
  EXPECT_EQ(info.singer, "合唱团");
  EXPECT_EQ(info.title, "小河水");
  EXPECT_EQ(info.language, "粤语");
  EXPECT_EQ(info.style, "怀旧歌");
  EXPECT_EQ(info.channel, "2");
}

TEST(FullNameTest, FieldsEndAtTheFirstClosingBracketAndAreTrimmed) {
  SongInfo info = ParseFull(4, 0, "Eagles - Hotel California（ 英语 - 迪斯科 - 3 ）（Live）");
  EXPECT_EQ(info.singer, "Eagles");
  EXPECT_EQ(info.title, "Hotel California");
  EXPECT_EQ(info.language, "英语");
  EXPECT_EQ(info.style, "迪斯科");
  EXPECT_EQ(info.channel, "3");
  // A full-width bracket ends at its own closing bracket too: what follows
  // is no field of it.
  info = ParseFull(3, 0, "张三－歌（国语）－DJ舞曲版");
  EXPECT_EQ(info.title, "歌");
  EXPECT_EQ(info.language, "国语");
  EXPECT_EQ(info.style, "流行");
}

TEST(FullNameTest, TemplateThreeIgnoresAChannelField) {
  SongInfo info = ParseFull(3, 0, "合唱团－小河水(台语－对唱－左声道)");
  EXPECT_EQ(info.language, "台语");
  EXPECT_EQ(info.style, "对唱");
  EXPECT_EQ(info.channel, "0");
}

TEST(FullNameTest, MissingPartsKeepTheDefaults) {
  SongInfo info = ParseFull(4, 0, "合唱团－小河水");
  EXPECT_EQ(info.title, "小河水");
  EXPECT_EQ(info.language, "国语");
  EXPECT_EQ(info.style, "流行");
  EXPECT_EQ(info.channel, "0");
  info = ParseFull(4, 0, "合唱团－小河水(粤语)");
  EXPECT_EQ(info.language, "粤语");
  EXPECT_EQ(info.style, "流行");
}

TEST(FullNameTest, OnlyTheDateAddedRoleApplies) {
  EXPECT_EQ(ParseFull(4, 4, "合唱团－小河水(英语)").date_text, "粤语金曲");
  SongInfo info = ParseFull(4, 2, "合唱团－小河水(英语)");
  EXPECT_EQ(info.language, "英语");
  EXPECT_EQ(info.date_text, "12/7/26");
  EXPECT_EQ(ParseFull(3, 1, "小河水").singer, "");
}

TEST(FullNameTest, ChannelFieldNamesTheChannel) {
  EXPECT_EQ(ChannelOf("1 右声道"), "1");
  EXPECT_EQ(ChannelOf("左声道"), "2");
  EXPECT_EQ(ChannelOf("右"), "1");
  EXPECT_EQ(ChannelOf("立体声"), "3");
  EXPECT_EQ(ChannelOf("伴唱"), "0");
  EXPECT_EQ(ChannelOf(""), "0");
}

TEST(FullNameTest, SeparatorsAreFoundOnlyAtCharacterBoundaries) {
  // A3 AD only counts as "－" when it starts a character:
  // here 0xB0 0xA3 is one character followed by 0xAD 0xA1, no separator.
  std::vector<std::string> fields = SplitBracketFields("\xB0\xA3\xAD\xA1)");
  ASSERT_EQ(fields.size(), 1u);
  EXPECT_EQ(fields[0], "\xB0\xA3\xAD\xA1");
  EXPECT_EQ(SplitBracketFields("a-b－c)d-e"), (std::vector<std::string>{"a", "b", "c"}));
  EXPECT_TRUE(SplitBracketFields("").empty());
}

}  // namespace
}  // namespace kscgen
