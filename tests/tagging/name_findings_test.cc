// Where a name departs from its template, or a reading may be wrong: the
// notes the preview and kscgen -n show beside each video.
#include <gtest/gtest.h>

#include "tagging/file_name.h"
#include "tests/tagging/naming_shorthand.h"

namespace kscgen {
namespace {

using namespace shorthand;
using K = NameFindingKind;

struct FindingCase {
  NamingTemplate naming_template;
  const char* base_name;
  NameFindings findings;
};

// Names and the notes each gets, in the order the name is read.
const FindingCase kDepartures[] = {
    // Names that fit.
    {T0, "小河水", {}},
    {T1, "合唱团－小河水", {}},
    {T1, "信乐团－离歌-Live版", {}},
    {T2, "合唱团－小河水(国语)", {}},
    {T2, "合唱团－小河水", {}},
    {T3, "合唱团－小河水(粤语－怀旧)", {}},
    {T4, "合唱团－小河水(粤语－怀旧－左声道)", {}},
    {T4, "合唱团－小河水(粤语－－)", {}},
    {T4, "周杰伦-七里香-国语-流行", {}},
    {T4, "谢金燕-练舞功(MTV)-闽南语-流行", {}},
    {T4, "Beyond-海阔天空(Live)", {}},
    // Singer and title.
    {T1, "小河水", {{K::kNoSeparator, ""}}},
    {T2, "小河水", {{K::kNoSeparator, ""}}},
    {T4, "小河水(粤语)", {{K::kNoSeparator, ""}}},
    {T1, "－小河水", {{K::kEmptySinger, ""}}},
    {T3, " - 小河水", {{K::kEmptySinger, ""}}},
    {T1, "歌手－", {{K::kEmptyTitle, ""}}},
    {T2, "x－(国语)", {{K::kEmptyTitle, ""}}},
    {T4, "x－(国语)", {{K::kEmptyTitle, ""}}},
    {T1, "－", {{K::kEmptySinger, ""}, {K::kEmptyTitle, ""}}},
    // Brackets.
    {T2, "合唱团－小河水(粤语", {{K::kUnclosedBracket, ""}}},
    {T2, "合唱团－小河水(", {{K::kUnclosedBracket, ""}}},
    {T4, "合唱团－小河水（粤语－怀旧", {{K::kUnclosedBracket, ""}}},
    {T4, "合唱团－小河水(MTV", {{K::kUnclosedBracket, ""}}},
    {T2, "合唱团－小河水(DJ版)", {}},
    {T3, "合唱团－小河水(国语－经典)", {{K::kUnknownStyle, "经典"}}},
    {T4, "合唱团－小河水(国语－流行－9)", {{K::kUnknownChannel, "9"}}},
    {T4, "合唱团－小河水(国语－流行－中)", {{K::kUnknownChannel, "中"}}},
    {T2, "合唱团－小河水(粤语－怀旧)", {{K::kExtraFields, "怀旧"}}},
    {T3, "合唱团－小河水(台语－对唱－左声道)", {{K::kExtraFields, "左声道"}}},
    {T4, "合唱团－小河水(粤语-怀旧-2-DJ-x)", {{K::kExtraFields, "DJ－x"}}},
    {T4, "合唱团－小河水(MTV)-节选-国语", {{K::kUnreadText, "节选"}}},
    {T2, "小河水(DJ版", {{K::kNoSeparator, ""}, {K::kUnclosedBracket, ""}}},
    // Readings that may be wrong.
    {T4, "歌手－歌名(火星语－流行－1)", {{K::kUnknownLanguage, "火星语"}}},
    {T3, "歌手－歌名[火星语-怀旧]", {{K::kUnknownLanguage, "火星语"}}},
    {T4, "歌手－歌名(Live-2008)", {}},
    {T1, "梁静茹-勇气[国语]", {{K::kTitleBracket, "[国语]"}, {K::kTitleLanguage, "国语"}}},
    {T1, "梁静茹-勇气【MTV】", {{K::kTrailingTag, "【MTV】"}}},
    {T0, "勇气(MTV)", {{K::kTitleBracket, "(MTV)"}}},
    {T1, "王菲-传奇-国语", {{K::kTitleLanguage, "国语"}}},
    {T4, "周杰伦-国语", {{K::kTitleLanguage, "国语"}}},
    {T3, "刘德华-忘情水-粤语-怀旧-左声道", {}},
    {T2, "林忆莲-至少还有你_粤语_怀旧_HK10293", {{K::kCatalogueCode, "HK10293"}}},
    {T2, "林忆莲-至少还有你-伴唱-流行", {{K::kTrailingTag, "伴唱"}}},
    {T2, "郑智化-水手-伴唱-怀旧", {{K::kTrailingTag, "伴唱"}}},
    {T0, "传奇 204518", {{K::kTitleNumber, "204518"}}},
    {T4, "王菲-2046-传奇", {{K::kTitleNumber, "2046"}}},
    // Past nine digits no library number, but no title either.
    {T0, "传奇 2045186789", {{K::kTitleNumber, "2045186789"}}},
    {T1, "王菲-传奇 12345678901234567890", {{K::kTitleNumber, "12345678901234567890"}}},
    {T4, "陈奕迅-1874", {}},
    {T4, "王菲-传奇-国语-204518", {}},
    {T1, "[伴奏]梁静茹-勇气", {}},
    {T1, "[梁静茹]勇气-x", {{K::kLeadingTag, "[梁静茹]"}}},
    {T4, "梁静茹-勇气 原唱", {{K::kTrailingTag, "原唱"}}},
    {T4, "梁静茹-勇气-KTV-伴奏", {{K::kTrailingTag, "伴奏"}, {K::kTrailingTag, "KTV"}}},
    {T4, "梁静茹-勇气(MTV)-x-国语", {{K::kUnreadText, "x"}}},
    {T4, "某歌手-Party Like 1999", {{K::kYearInTitle, "1999"}}},
    {T4, "某歌手-传奇-1999", {{K::kYearAsNumber, "1999"}}},
    {T4, "某歌手-传奇-2046", {{K::kYearAsNumber, "2046"}}},
    {T4, "某歌手-传奇 2046", {{K::kYearInTitle, "2046"}}},
    {T4, "某歌手-传奇-204518-粤语", {{K::kTitleNumber, "204518"}}},
    {T4, "歌手-(我是)一只小小鸟", {{K::kTitleBracket, "(我是)"}}},
    {T4, "李宗盛-山丘_国语_流行_KA301234", {{K::kCatalogueCode, "KA301234"}}},
    {T4,
     "李宗盛-山丘_国语_KB20417_XYZP2P",
     {{K::kTrailingTag, "XYZP2P"}, {K::kCatalogueCode, "KB20417"}}},
    // Without a code before it, such a word is the title's.
    {T4, "李宗盛-山丘_XYZP2P", {}},
    {T4, "崔健-一无所有 1986", {{K::kYearInTitle, "1986"}}},
    {T1, "李克勤 Hacken Lee - 红日", {{K::kLatinName, "Hacken Lee"}}},
    {T1, "刘德华 + 陈慧琳 - 因为爱 [KTV]", {{K::kTrailingTag, "[KTV]"}}},
    {T4, "莫文蔚《阴天》原版伴奏", {{K::kTrailingTag, "原版伴奏"}}},
    {T4, "莫文蔚《阴天》某某", {{K::kUnreadText, "某某"}}},
    {T4, "7755-心碎-国语-流行", {}},
    {T4, "歌手-摇篮曲(－儿歌－1)", {}},
};

TEST(NameFindingsTest, SayWhereANameDepartsFromItsTemplate) {
  for (const FindingCase& c : kDepartures) {
    SCOPED_TRACE(std::string("template ") + std::to_string(c.naming_template) + " name [" +
                 c.base_name + "]");
    SongInfo info;
    NameFindings findings;
    ParseSongName(c.naming_template, R0, c.base_name, "", info, &findings);
    ASSERT_EQ(findings.size(), c.findings.size());
    for (std::size_t i = 0; i < findings.size(); ++i) {
      EXPECT_EQ(static_cast<int>(findings[i].kind), static_cast<int>(c.findings[i].kind)) << i;
      EXPECT_EQ(findings[i].text, c.findings[i].text) << i;
    }
  }
}

struct FolderFindingCase {
  NamingTemplate naming_template;
  FolderRole folder_role;
  const char* folder_name;
  NameFindings findings;
};

TEST(NameFindingsTest, AFolderThatNamesNothingUnderItsRoleIsNoted) {
  const FolderFindingCase cases[] = {
      {T4, R3, "摇滚金曲", {{K::kFolderNoStyle, "摇滚金曲"}}},
      {T0, R3, "摇滚金曲", {{K::kFolderNoStyle, "摇滚金曲"}}},
      {T1, R2, "经典老歌", {{K::kFolderNoLanguage, "经典老歌"}}},
      {T0, R2, "经典老歌", {{K::kFolderNoLanguage, "经典老歌"}}},
      {T4, R3, "怀旧金曲", {}},
      {T0, R2, "国语", {}},
      {T2, R2, "", {}},
      {T1, R1, "摇滚金曲", {}},
      {T0, R4, "摇滚金曲", {}},
  };
  for (const FolderFindingCase& c : cases) {
    SCOPED_TRACE(std::string("template ") + std::to_string(c.naming_template) + " role " +
                 std::to_string(c.folder_role) + " folder [" + c.folder_name + "]");
    SongInfo info;
    NameFindings findings;
    ParseSongName(c.naming_template, c.folder_role, "合唱团－小河水", c.folder_name, info,
                  &findings);
    EXPECT_EQ(findings, c.findings);
  }
  // A name that gives the value leaves the folder unread, and unnoted.
  SongInfo info;
  NameFindings findings;
  ParseSongName(T3, R3, "合唱团－小河水(国语－怀旧)", "摇滚金曲", info, &findings);
  EXPECT_TRUE(findings.empty());
}

TEST(NameFindingsTest, ValuesAreTheSameWithOrWithoutFindings) {
  SongInfo with;
  SongInfo without;
  NameFindings findings;
  ParseSongName(T4, R0, "合唱团－小河水(国语－经典－9－x)", "", with, &findings);
  ParseSongName(T4, R0, "合唱团－小河水(国语－经典－9－x)", "", without);
  EXPECT_EQ(findings.size(), 3u);
  EXPECT_EQ(with.title, without.title);
  EXPECT_EQ(with.style, "流行");
  EXPECT_EQ(with.channel, "0");
}

}  // namespace
}  // namespace kscgen
