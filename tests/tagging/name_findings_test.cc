// Where a name departs from its template, or a reading may be wrong: the
// notes the preview and kscgen -n show beside each video.
#include <gtest/gtest.h>

#include "tagging/file_name.h"

namespace kscgen {
namespace {

struct FindingCase {
  int naming_template;
  const char* base_name;
  NameFindings findings;
};

TEST(NameFindingsTest, SayWhereANameDepartsFromItsTemplate) {
  using K = NameFindingKind;
  const FindingCase cases[] = {
      // Names that fit.
      {0, "小河水", {}},
      {1, "合唱团－小河水", {}},
      {1, "信乐团－离歌-Live版", {}},
      {2, "合唱团－小河水(国语)", {}},
      {2, "合唱团－小河水", {}},
      {3, "合唱团－小河水(粤语－怀旧)", {}},
      {4, "合唱团－小河水(粤语－怀旧－左声道)", {}},
      {4, "合唱团－小河水(粤语－－)", {}},
      {4, "周杰伦-七里香-国语-流行", {}},
      {4, "谢金燕-练舞功(MTV)-闽南语-流行", {}},
      {4, "Beyond-海阔天空(Live)", {}},
      // Singer and title.
      {1, "小河水", {{K::kNoSeparator, ""}}},
      {2, "小河水", {{K::kNoSeparator, ""}}},
      {4, "小河水(粤语)", {{K::kNoSeparator, ""}}},
      {1, "－小河水", {{K::kEmptySinger, ""}}},
      {3, " - 小河水", {{K::kEmptySinger, ""}}},
      {1, "歌手－", {{K::kEmptyTitle, ""}}},
      {2, "x－(国语)", {{K::kEmptyTitle, ""}}},
      {4, "x－(国语)", {{K::kEmptyTitle, ""}}},
      {1, "－", {{K::kEmptySinger, ""}, {K::kEmptyTitle, ""}}},
      // Brackets.
      {2, "合唱团－小河水(粤语", {{K::kUnclosedBracket, ""}}},
      {2, "合唱团－小河水(", {{K::kUnclosedBracket, ""}}},
      {4, "合唱团－小河水（粤语－怀旧", {{K::kUnclosedBracket, ""}}},
      {4, "合唱团－小河水(MTV", {{K::kUnclosedBracket, ""}}},
      {2, "合唱团－小河水(DJ版)", {}},
      {3, "合唱团－小河水(国语－经典)", {{K::kUnknownStyle, "经典"}}},
      {4, "合唱团－小河水(国语－流行－9)", {{K::kUnknownChannel, "9"}}},
      {4, "合唱团－小河水(国语－流行－中)", {{K::kUnknownChannel, "中"}}},
      {2, "合唱团－小河水(粤语－怀旧)", {{K::kExtraFields, "怀旧"}}},
      {3, "合唱团－小河水(台语－对唱－左声道)", {{K::kExtraFields, "左声道"}}},
      {4, "合唱团－小河水(粤语-怀旧-2-DJ-x)", {{K::kExtraFields, "DJ－x"}}},
      {4, "合唱团－小河水(MTV)-节选-国语", {{K::kUnreadText, "节选"}}},
      {2, "小河水(DJ版", {{K::kNoSeparator, ""}, {K::kUnclosedBracket, ""}}},
      // Readings that may be wrong.
      {4, "歌手－歌名(火星语－流行－1)", {{K::kUnknownLanguage, "火星语"}}},
      {3, "歌手－歌名[火星语-怀旧]", {{K::kUnknownLanguage, "火星语"}}},
      {4, "歌手－歌名(Live-2008)", {}},
      {1, "梁静茹-勇气[国语]", {{K::kTitleBracket, "[国语]"}, {K::kTitleLanguage, "国语"}}},
      {1, "梁静茹-勇气【MTV】", {{K::kTrailingTag, "【MTV】"}}},
      {0, "勇气(MTV)", {{K::kTitleBracket, "(MTV)"}}},
      {1, "王菲-传奇-国语", {{K::kTitleLanguage, "国语"}}},
      {4, "周杰伦-国语", {{K::kTitleLanguage, "国语"}}},
      {3, "刘德华-忘情水-粤语-怀旧-左声道", {{K::kTitleLanguage, "粤语"}}},
      {0, "传奇 204518", {{K::kTitleNumber, "204518"}}},
      {4, "王菲-2046-传奇", {{K::kTitleNumber, "2046"}}},
      // Past nine digits no library number, but no title either.
      {0, "传奇 2045186789", {{K::kTitleNumber, "2045186789"}}},
      {1, "王菲-传奇 12345678901234567890", {{K::kTitleNumber, "12345678901234567890"}}},
      {4, "陈奕迅-1874", {}},
      {4, "王菲-传奇-国语-204518", {}},
      {1, "[伴奏]梁静茹-勇气", {}},
      {1, "[梁静茹]勇气-x", {{K::kLeadingTag, "[梁静茹]"}}},
      {4, "梁静茹-勇气 原唱", {{K::kTrailingTag, "原唱"}}},
      {4, "梁静茹-勇气-KTV-伴奏", {{K::kTrailingTag, "伴奏"}, {K::kTrailingTag, "KTV"}}},
      {4, "梁静茹-勇气(MTV)-x-国语", {{K::kUnreadText, "x"}}},
      {4, "某歌手-Party Like 1999", {{K::kYearInTitle, "1999"}}},
      {4, "某歌手-传奇-1999", {{K::kYearAsNumber, "1999"}}},
      {4, "歌手-(我是)一只小小鸟", {{K::kTitleBracket, "(我是)"}}},
      {4, "李宗盛-山丘_国语_流行_KA301234", {{K::kCatalogueCode, "KA301234"}}},
      {4,
       "李宗盛-山丘_国语_KB20417_XYZP2P",
       {{K::kTrailingTag, "XYZP2P"}, {K::kCatalogueCode, "KB20417"}}},
      // Without a code before it, such a word is the title's.
      {4, "李宗盛-山丘_XYZP2P", {}},
      {4, "崔健-一无所有 1986", {{K::kYearInTitle, "1986"}}},
      {1, "李克勤 Hacken Lee - 红日", {{K::kLatinName, "Hacken Lee"}}},
      {1, "刘德华 + 陈慧琳 - 因为爱 [KTV]", {{K::kTrailingTag, "[KTV]"}}},
      {4, "莫文蔚《阴天》原版伴奏", {{K::kTrailingTag, "原版伴奏"}}},
      {4, "莫文蔚《阴天》某某", {{K::kUnreadText, "某某"}}},
      {4, "7755-心碎-国语-流行", {}},
      {4, "歌手-摇篮曲(－儿歌－1)", {}},
  };
  for (const FindingCase& c : cases) {
    SCOPED_TRACE(std::string("template ") + std::to_string(c.naming_template) + " name [" +
                 c.base_name + "]");
    SongInfo info;
    NameFindings findings;
    ParseSongName(c.naming_template, 0, c.base_name, "", info, &findings);
    ASSERT_EQ(findings.size(), c.findings.size());
    for (std::size_t i = 0; i < findings.size(); ++i) {
      EXPECT_EQ(static_cast<int>(findings[i].kind), static_cast<int>(c.findings[i].kind)) << i;
      EXPECT_EQ(findings[i].text, c.findings[i].text) << i;
    }
  }
}

struct FolderFindingCase {
  int naming_template;
  int folder_role;
  const char* folder_name;
  NameFindings findings;
};

TEST(NameFindingsTest, AFolderThatNamesNothingUnderItsRoleIsNoted) {
  using K = NameFindingKind;
  const FolderFindingCase cases[] = {
      {4, 3, "摇滚金曲", {{K::kFolderNoStyle, "摇滚金曲"}}},
      {0, 3, "摇滚金曲", {{K::kFolderNoStyle, "摇滚金曲"}}},
      {1, 2, "经典老歌", {{K::kFolderNoLanguage, "经典老歌"}}},
      {0, 2, "经典老歌", {{K::kFolderNoLanguage, "经典老歌"}}},
      {4, 3, "怀旧金曲", {}},
      {0, 2, "国语", {}},
      {2, 2, "", {}},
      {1, 1, "摇滚金曲", {}},
      {0, 4, "摇滚金曲", {}},
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
  ParseSongName(3, 3, "合唱团－小河水(国语－怀旧)", "摇滚金曲", info, &findings);
  EXPECT_TRUE(findings.empty());
}

TEST(NameFindingsTest, ValuesAreTheSameWithOrWithoutFindings) {
  SongInfo with;
  SongInfo without;
  NameFindings findings;
  ParseSongName(4, 0, "合唱团－小河水(国语－经典－9－x)", "", with, &findings);
  ParseSongName(4, 0, "合唱团－小河水(国语－经典－9－x)", "", without);
  EXPECT_EQ(findings.size(), 3u);
  EXPECT_EQ(with.title, without.title);
  EXPECT_EQ(with.style, "流行");
  EXPECT_EQ(with.channel, "0");
}

}  // namespace
}  // namespace kscgen
