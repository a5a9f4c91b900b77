// 自动识别: every field of a name read for what it is, wherever it stands,
// and the singers a library's other names give deciding the order.
#include <gtest/gtest.h>

#include "tagging/file_name.h"
#include "tagging/known_singers.h"
#include "tests/tagging/naming_shorthand.h"

namespace kscgen {
namespace {

using K = NameFindingKind;
using namespace shorthand;

struct AutoCase {
  const char* base_name;
  const char* singer;
  const char* title;
  const char* language;
  const char* style;
  const char* channel;
  NameFindings findings;
};

// A library of three names that give their singers without doubt, and one
// that gives none (no fields after its title).
KnownSingers Library() {
  KnownSingers known;
  for (const char* name :
       {"刘若英-很爱很爱你-国语", "张信哲-爱如潮水(国语)", "莫文蔚《阴天》", "梁咏琪-胆小鬼"}) {
    known.Learn(name, kRoleNone, "");
  }
  known.Learn("x", kRoleSinger, "周华健");
  return known;
}

void Check(const AutoCase& c, const KnownSingers* known) {
  SCOPED_TRACE(std::string("name [") + c.base_name + "]");
  SongInfo info;
  NameFindings findings;
  ParseSongName(kTemplateAuto, kRoleNone, c.base_name, "", info, &findings, known);
  EXPECT_EQ(info.singer, c.singer);
  EXPECT_EQ(info.title, c.title);
  EXPECT_EQ(info.language, c.language);
  EXPECT_EQ(info.style, c.style);
  EXPECT_EQ(info.channel, c.channel);
  EXPECT_EQ(findings, c.findings);
}

TEST(AutoNameTest, ReadsEveryFieldWhereverItStands) {
  const AutoCase cases[] = {
      {"刘若英-后来-国语", "刘若英", "后来", "国语", "流行", "0", {}},
      // Fields in any order, before the singer or after the title.
      {"张学友-吻别-流行-粤语", "张学友", "吻别", "粤语", "流行", "0", {}},
      {"张学友-吻别(粤语)-怀旧-1", "张学友", "吻别", "粤语", "怀旧歌", "1", {}},
      {"粤语-怀旧-张学友-吻别", "张学友", "吻别", "粤语", "怀旧歌", "0", {}},
      {"KTV 张学友-吻别", "张学友", "吻别", "国语", "流行", "0", {{K::kLeadingTag, "KTV"}}},
      // Numbers: the library's, a band's, a year.
      {"0153-孙燕姿-遇见", "孙燕姿", "遇见", "国语", "流行", "0", {{K::kNumberTaken, "0153"}}},
      {"7755-心碎(MTV)-国语-流行", "7755", "心碎", "国语", "流行", "0", {}},
      {"Prince - Party Like 1999",
       "Prince",
       "Party Like 1999",
       "国语",
       "流行",
       "0",
       {{K::kYearInTitle, "1999"}}},
      {"Oasis - Live Forever", "Oasis", "Live Forever", "国语", "流行", "0", {}},
      {"Live Forever", "佚名", "Live Forever", "国语", "流行", "0", {{K::kNoSeparator, ""}}},
      // Codes with letters, a site's tag.
      {"李宗盛-山丘_粤语_流行_KB20417_XYZP2P",
       "李宗盛",
       "山丘",
       "粤语",
       "流行",
       "0",
       {{K::kTrailingTag, "XYZP2P"}, {K::kCatalogueCode, "KB20417"}}},
      // Video sites' titles.
      {"【KTV】莫文蔚 Karen Mok《阴天》原版伴奏 ｜ 高清歌词 (Karaoke Version)",
       "莫文蔚",
       "阴天",
       "国语",
       "流行",
       "0",
       {{K::kTrailingTag, "高清歌词"},
        {K::kTrailingTag, "原版伴奏"},
        {K::kLatinName, "Karen Mok"}}},
      {"李克勤 Hacken Lee - 红日 ( KTV 原版伴奏 )",
       "李克勤",
       "红日",
       "国语",
       "流行",
       "0",
       {{K::kLatinName, "Hacken Lee"}}},
      {"陈升 把悲伤留给自己 KTV",
       "陈升",
       "把悲伤留给自己",
       "国语",
       "流行",
       "0",
       {{K::kTrailingTag, "KTV"}, {K::kSingerByOrder, "陈升"}}},
      // Without a library's singers, the order is singer first.
      {"后来 - 刘若英", "后来", "刘若英", "国语", "流行", "0", {}},
  };
  for (const AutoCase& c : cases) Check(c, nullptr);
}

TEST(AutoNameTest, TheLibrarysSingersDecideTheOrderANameDoesNotGive) {
  const KnownSingers known = Library();
  EXPECT_EQ(known.size(), 4u);
  EXPECT_TRUE(known.Holds("莫文蔚"));
  EXPECT_TRUE(known.Holds("周华健"));
  EXPECT_FALSE(known.Holds("梁咏琪"));  // 胆小鬼 might be the singer
  const AutoCase cases[] = {
      {"后来 - 刘若英", "刘若英", "后来", "国语", "流行", "0", {{K::kKnownSinger, "刘若英"}}},
      {"[KARAOKE] 后来 - 刘若英（伴奏版）",
       "刘若英",
       "后来",
       "国语",
       "流行",
       "0",
       {{K::kKnownSinger, "刘若英"}}},
      {"刘若英 - 后来", "刘若英", "后来", "国语", "流行", "0", {}},
      {"爱如潮水 张信哲 KTV 高清修復版",
       "张信哲",
       "爱如潮水",
       "国语",
       "流行",
       "0",
       {{K::kTrailingTag, "高清修復版"}, {K::kTrailingTag, "KTV"}, {K::kKnownSinger, "张信哲"}}},
      {"张信哲 爱如潮水", "张信哲", "爱如潮水", "国语", "流行", "0", {{K::kKnownSinger, "张信哲"}}},
      // Both sides known, or neither: the order stays.
      {"莫文蔚 - 张信哲", "莫文蔚", "张信哲", "国语", "流行", "0", {}},
      {"朋友 - 周华健", "周华健", "朋友", "国语", "流行", "0", {{K::kKnownSinger, "周华健"}}},
  };
  for (const AutoCase& c : cases) Check(c, &known);
}

struct TemplateCase {
  NamingTemplate naming_template;
  const char* base_name;
  const char* singer;
  const char* title;
  const char* language;
  NameFindings findings;
};

// The templates of singer and title turn the sides the same way, and only
// where the library knows the second side and not the first.
TEST(AutoNameTest, TheTemplatesTurnASingerTheLibraryKnowsAfterTheTitle) {
  const KnownSingers known = Library();
  const TemplateCase cases[] = {
      {T1, "爱如潮水 - 张信哲", "张信哲", "爱如潮水", "国语", {{K::kKnownSinger, "张信哲"}}},
      {T2, "过火-张信哲(粤语)", "张信哲", "过火", "粤语", {{K::kKnownSinger, "张信哲"}}},
      {T3, "朋友－周华健_台语_怀旧", "周华健", "朋友", "台语", {{K::kKnownSinger, "周华健"}}},
      {T4,
       "他不爱我 - 莫文蔚 (粤语－怀旧－右声道)",
       "莫文蔚",
       "他不爱我",
       "粤语",
       {{K::kKnownSinger, "莫文蔚"}}},
      {T1, "一九九九-刘若英 伴唱", "刘若英", "一九九九", "国语",
       {{K::kTrailingTag, "伴唱"}, {K::kKnownSinger, "刘若英"}}},
      // The usual order, either side known or neither: the name stays as it is.
      {T1, "张信哲-爱如潮水", "张信哲", "爱如潮水", "国语", {}},
      {T2, "莫文蔚 - 张信哲(粤语)", "莫文蔚", "张信哲", "粤语", {}},
      {T3, "伍佰-挪威的森林-台语", "伍佰", "挪威的森林", "台语", {}},
      {T4, "五月天-2012-国语", "五月天", "2012", "国语", {}},
      {T1, "Taylor Swift-1989 (Deluxe)", "Taylor Swift", "1989 (Deluxe)", "国语",
       {{K::kTitleBracket, "(Deluxe)"}, {K::kTitleNumber, "1989"}}},
      {T2, "911-Party Like 2000-粤语", "911", "Party Like 2000", "粤语", {}},
      {T1, "张信哲－爱如潮水-Live-2005", "张信哲", "爱如潮水", "国语",
       {{K::kYearAsNumber, "2005"}, {K::kTrailingTag, "Live"}}},
      // The order given otherwise: a quoted title, a name without separator.
      {T1, "《爱如潮水》张信哲", "张信哲", "爱如潮水", "国语", {}},
      {T1, "爱如潮水 张信哲", "佚名", "爱如潮水 张信哲", "国语", {{K::kNoSeparator, ""}}},
      // Template 0 reads no singer.
      {T0, "爱如潮水 - 张信哲", "佚名", "爱如潮水 - 张信哲", "国语", {}},
  };
  for (const TemplateCase& c : cases) {
    SCOPED_TRACE(std::string("template ") + std::to_string(c.naming_template) + " name [" +
                 c.base_name + "]");
    SongInfo info;
    NameFindings findings;
    ParseSongName(c.naming_template, R0, c.base_name, "", info, &findings, &known);
    EXPECT_EQ(info.singer, c.singer);
    EXPECT_EQ(info.title, c.title);
    EXPECT_EQ(info.language, c.language);
    EXPECT_EQ(findings, c.findings);
    // Without the library's singers every template keeps the order.
    SongInfo alone;
    ParseSongName(c.naming_template, R0, c.base_name, "", alone);
    if (c.naming_template != T0 && !c.findings.empty() &&
        c.findings.back().kind == K::kKnownSinger) {
      EXPECT_EQ(alone.singer, c.title);
    }
  }
}

TEST(AutoNameTest, TheFolderFillsWhatTheNameLeavesOpen) {
  SongInfo info;
  NameFindings findings;
  ParseSongName(kTemplateAuto, kRoleLanguage, "张学友-吻别", "粤语金曲", info, &findings);
  EXPECT_EQ(info.language, "粤语");
  EXPECT_TRUE(findings.empty());
  SongInfo sung;
  ParseSongName(kTemplateAuto, kRoleSinger, "吻别", "张学友", sung, &findings);
  EXPECT_EQ(sung.singer, "张学友");
  EXPECT_EQ(sung.title, "吻别");
}

}  // namespace
}  // namespace kscgen
