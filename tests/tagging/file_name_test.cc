#include "tagging/file_name.h"
#include "tests/tagging/naming_shorthand.h"

#include <gtest/gtest.h>

namespace kscgen {
namespace {

using namespace shorthand;

struct NameCase {
  NamingTemplate naming_template;
  FolderRole folder_role;
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

// Names as each template and folder role reads them; the values are the
// naming rules' own, written out by hand.
const NameCase kNamesByTemplate[] = {
    // Template 1: separators.
    {T1, R0, "合唱团－小河水", "", "合唱团", "小河水", "国语", "流行"},
    {T1, R0, "合唱团-小河水", "", "合唱团", "小河水", "国语", "流行"},
    {T1, R0, "合唱团 － 小河水", "", "合唱团", "小河水", "国语", "流行"},
    {T1, R0, "合唱团 - 小河水", "", "合唱团", "小河水", "国语", "流行"},
    {T1, R0, "Hi-Fi－Good Day", "", "Hi-Fi", "Good Day", "国语", "流行"},
    // Outside brackets the first "－" splits, else the first "-".
    {T1, R0, "大学生－A-Z", "", "大学生", "A-Z", "国语", "流行"},
    {T1, R0, "信乐团－离歌-Live版", "", "信乐团", "离歌-Live版", "国语", "流行"},
    {T1, R0, "A-Lin－给我一个理由忘记", "", "A-Lin", "给我一个理由忘记", "国语", "流行"},
    {T1, R0, "F.I.R.-我们的爱", "", "F.I.R.", "我们的爱", "国语", "流行"},
    // Dashes inside a bracket, closed or not, never split.
    {T1, R0, "Beyond-富士山下(国语－流行)", "", "Beyond", "富士山下(国语－流行)", "国语", "流行"},
    {T1, R0, "(Live)周杰伦-双截棍", "", "周杰伦", "双截棍", "国语", "流行"},
    {T1, R0, "小河水(粤语－怀旧", "", "佚名", "小河水(粤语－怀旧", "国语", "流行"},
    // 埃瑻 holds the bytes of "－" across its two characters: no separator.
    {T1, R0, "埃瑻-小河水", "", "埃瑻", "小河水", "国语", "流行"},
    {T1, R0, " 合唱团－小河水 ", "", "合唱团", "小河水", "国语", "流行"},
    {T1, R0, "小河水", "", "佚名", "小河水", "国语", "流行"},
    {T1, R0, "－小河水", "", "佚名", "小河水", "国语", "流行"},
    {T1, R0, "", "", "佚名", "", "国语", "流行"},
    // Template 2: the bracket part names the language.
    {T2, R0, "合唱团 － 小河水", "", "合唱团", "小河水", "国语", "流行"},
    {T2, R0, "合唱团－小河水(粤语)", "", "合唱团", "小河水", "粤语", "流行"},
    {T2, R0, "合唱团－小河水（国语）", "", "合唱团", "小河水", "国语", "流行"},
    {T2, R0, "合唱团－小河水 (粤语)", "", "合唱团", "小河水", "粤语", "流行"},
    {T2, R0, "王菲－红豆 (粤语)", "", "王菲", "红豆", "粤语", "流行"},
    {T2, R0, "Beyond-富士山下(国语－流行)", "", "Beyond", "富士山下", "国语", "流行"},
    {T2, R0, "信乐团－死了都要爱(国语-摇滚-3)", "", "信乐团", "死了都要爱", "国语", "流行"},
    {T2, R0, "蔡依林-千千阙歌（粤语－怀旧－左声道）", "", "蔡依林", "千千阙歌", "粤语", "流行"},
    {T2, R0, "合唱团－小河水(粤语)(DJ版)", "", "合唱团", "小河水", "粤语", "流行"},
    {T2, R0, "小河水", "", "", "小河水", "国语", "流行"},
    {T2, R2, "合唱团－小河水(英语)", "粤语金曲", "合唱团", "小河水", "英语", "流行"},
    {T2, R3, "合唱团－小河水(台语)", "怀旧金曲", "合唱团", "小河水", "台语", "怀旧歌"},
    {T2, R1, "合唱团－小河水", "张三", "合唱团", "小河水", "国语", "流行"},
    // Template 0: the folder name stands for the rest.
    {T0, R0, "小河水", "粤语金曲", "佚名", "小河水", "国语", "流行"},
    {T0, R1, "小河水", "合唱团", "合唱团", "小河水", "国语", "流行"},
    // A folder name GBK cannot hold reads as empty: it names no singer.
    {T0, R1, "小河水", "", "佚名", "小河水", "国语", "流行"},
    {T0, R1, "小河水", "  ", "佚名", "小河水", "国语", "流行"},
    {T0, R2, "小河水", "粤语金曲", "", "小河水", "粤语", "流行"},
    {T0, R2, "小河水", "国语", "", "小河水", "其它", "流行"},
    {T0, R3, "小河水", "生日快乐", "", "小河水", "国语", "生日歌"},
    {T0, R3, "小河水", "流行金曲", "", "小河水", "国语", "流行"},
    {T0, R3, "小河水", "怀旧金曲", "", "小河水", "国语", "民歌"},
    // Template 1 and the folder roles.
    {T1, R1, "合唱团－小河水", "张三", "合唱团", "小河水", "国语", "流行"},
    {T1, R2, "合唱团－小河水", "粤语金曲", "合唱团", "小河水", "粤语", "流行"},
    {T1, R2, "合唱团－小河水", "国语", "合唱团", "小河水", "国语", "流行"},
    {T1, R3, "合唱团－小河水", "经典怀旧", "合唱团", "小河水", "国语", "怀旧歌"},
    // The folder fills what the name leaves open under every template.
    {T3, R2, "张学友－吻别", "粤语金曲", "张学友", "吻别", "粤语", "流行"},
    {T4, R2, "张学友－吻别", "粤语金曲", "张学友", "吻别", "粤语", "流行"},
    {T4, R2, "张学友－吻别(国语)", "粤语金曲", "张学友", "吻别", "国语", "流行"},
    {T4, R3, "张学友－吻别", "怀旧金曲", "张学友", "吻别", "国语", "怀旧歌"},
    {T4, R3, "张学友－吻别(国语－流行)", "怀旧金曲", "张学友", "吻别", "国语", "流行"},
    {T2, R1, "吻别", "张学友", "张学友", "吻别", "国语", "流行"},
    {T1, R1, "吻别", "张学友", "张学友", "吻别", "国语", "流行"},
    {T1, R1, "吻别", "", "佚名", "吻别", "国语", "流行"},
    {T4, R3, "张学友－吻别", "摇滚金曲", "张学友", "吻别", "国语", "流行"},
};

TEST(ParseSongNameTest, ReadsSingerTitleAndLanguageByTemplate) {
  for (const NameCase& c : kNamesByTemplate) {
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
  ParseSongName(T2, R0, "合唱团－生日快乐", "", info);
  EXPECT_EQ(info.title, "生日快乐");
  EXPECT_EQ(info.language, "国语");
}

TEST(ParseSongNameTest, FolderRoleDateAddedSetsTheDateUnderEveryParsedTemplate) {
  for (const NamingTemplate t : {T0, T1, T2}) {
    SongInfo info;
    info.date_text = "12/7/26";
    ParseSongName(t, R4, "合唱团－小河水", "2026-12-01", info);
    EXPECT_EQ(info.date_text, "2026-12-01") << "template " << t;
  }
}

}  // namespace
}  // namespace kscgen

namespace kscgen {
namespace {

using namespace shorthand;

SongInfo ParseFull(NamingTemplate naming_template, FolderRole folder_role, const char* base_name) {
  SongInfo info;
  info.date_text = "12/7/26";
  ParseSongName(naming_template, folder_role, base_name, "粤语金曲", info);
  return info;
}

TEST(FullNameTest, TemplateFourReadsLanguageStyleAndChannel) {
  SongInfo info = ParseFull(T4, R0, "合唱团－小河水(粤语－怀旧－左声道)");
  EXPECT_EQ(info.singer, "合唱团");
  EXPECT_EQ(info.title, "小河水");
  EXPECT_EQ(info.language, "粤语");
  EXPECT_EQ(info.style, "怀旧歌");
  EXPECT_EQ(info.channel, "2");
}

TEST(FullNameTest, FieldsEndAtTheFirstClosingBracketAndAreTrimmed) {
  SongInfo info = ParseFull(T4, R0, "Eagles - Hotel California（ 英语 - 迪斯科 - 3 ）（Live）");
  EXPECT_EQ(info.singer, "Eagles");
  EXPECT_EQ(info.title, "Hotel California");
  EXPECT_EQ(info.language, "英语");
  EXPECT_EQ(info.style, "迪斯科");
  EXPECT_EQ(info.channel, "3");
  // A full-width bracket ends at its own closing bracket too: what follows
  // is no field of it, but a field after the brackets.
  info = ParseFull(T3, R0, "张三－歌（国语－流行）－DJ舞曲版");
  EXPECT_EQ(info.title, "歌");
  EXPECT_EQ(info.language, "国语");
  EXPECT_EQ(info.style, "流行");
}

TEST(FullNameTest, TemplateThreeIgnoresAChannelField) {
  SongInfo info = ParseFull(T3, R0, "合唱团－小河水(台语－对唱－左声道)");
  EXPECT_EQ(info.language, "台语");
  EXPECT_EQ(info.style, "对唱");
  EXPECT_EQ(info.channel, "0");
}

TEST(FullNameTest, MissingPartsKeepTheDefaults) {
  SongInfo info = ParseFull(T4, R0, "合唱团－小河水");
  EXPECT_EQ(info.title, "小河水");
  EXPECT_EQ(info.language, "国语");
  EXPECT_EQ(info.style, "流行");
  EXPECT_EQ(info.channel, "0");
  info = ParseFull(T4, R0, "合唱团－小河水(粤语)");
  EXPECT_EQ(info.language, "粤语");
  EXPECT_EQ(info.style, "流行");
}

TEST(FullNameTest, TheFolderGivesOnlyWhatTheNameLeavesOpen) {
  EXPECT_EQ(ParseFull(T4, R4, "合唱团－小河水(英语)").date_text, "粤语金曲");
  SongInfo info = ParseFull(T4, R2, "合唱团－小河水(英语)");
  EXPECT_EQ(info.language, "英语");
  EXPECT_EQ(info.date_text, "12/7/26");
  EXPECT_EQ(ParseFull(T4, R2, "合唱团－小河水").language, "粤语");
  EXPECT_EQ(ParseFull(T3, R1, "小河水").singer, "粤语金曲");
  EXPECT_EQ(ParseFull(T3, R1, "合唱团－小河水").singer, "合唱团");
}

TEST(FullNameTest, SeparatorsAreFoundOnlyAtCharacterBoundaries) {
  // A3 AD only counts as "－" when it starts a character:
  // here 0xB0 0xA3 is one character followed by 0xAD 0xA1, no separator.
  BracketFields b = SplitBracketFields("\xB0\xA3\xAD\xA1)");
  ASSERT_EQ(b.fields.size(), 1u);
  EXPECT_EQ(b.fields[0], "\xB0\xA3\xAD\xA1");
  EXPECT_TRUE(b.closed);
  b = SplitBracketFields("a-b－c)d-e");
  EXPECT_EQ(b.fields, (std::vector<std::string>{"a", "b", "c"}));
  EXPECT_TRUE(b.closed);
  b = SplitBracketFields("a - b");
  EXPECT_EQ(b.fields, (std::vector<std::string>{"a", "b"}));
  EXPECT_FALSE(b.closed);
  EXPECT_TRUE(SplitBracketFields("").fields.empty());
}

}  // namespace
}  // namespace kscgen

namespace kscgen {
namespace {

using namespace shorthand;

struct FullCase {
  NamingTemplate naming_template;
  const char* base_name;
  const char* singer;
  const char* title;
  const char* language;
  const char* style;
  const char* channel;
};

// Names as libraries write them, with brackets and fields after the title,
// read by templates 1 to 4 in a folder of no role.
const FullCase kBracketsAndFieldsAfterTheTitle[] = {
    // Dashes inside the bracket are its fields' separators, not the singer's.
    {T4, "信乐团－死了都要爱(国语-摇滚-3)", "信乐团", "死了都要爱", "国语", "流行", "3"},
    {T4, "蔡依林-千千阙歌（国语－怀旧－左声道）", "蔡依林", "千千阙歌", "国语", "怀旧歌", "2"},
    {T3, "Beyond-富士山下(国语－流行)", "Beyond", "富士山下", "国语", "流行", "0"},
    // Fields before the title: the title follows their bracket.
    {T2, "林子祥-(粤语)男儿当自强", "林子祥", "男儿当自强", "粤语", "流行", "0"},
    // A title all in its bracket is the bracket's text.
    {T4, "黄家驹-(真的爱你)", "黄家驹", "真的爱你", "国语", "流行", "0"},
    {T4, "林子祥-[粤语－怀旧]-男儿当自强(右)", "林子祥", "男儿当自强", "粤语", "怀旧歌", "1"},
    {T4, "Beyond-富士山下(粤语－流行－立体声)", "Beyond", "富士山下", "粤语", "流行", "3"},
    // The channel field: leading digits from 0 to 3, else a side, else 0.
    {T4, "合唱团－小河水(国语－流行－9)", "合唱团", "小河水", "国语", "流行", "0"},
    {T4, "合唱团－小河水(国语－流行－31)", "合唱团", "小河水", "国语", "流行", "0"},
    {T4, "合唱团－小河水(国语－流行－中)", "合唱团", "小河水", "国语", "流行", "0"},
    {T4, "合唱团－小河水(国语－流行－1右声道)", "合唱团", "小河水", "国语", "流行", "1"},
    {T4, "合唱团－小河水(国语－流行－右)", "合唱团", "小河水", "国语", "流行", "1"},
    // Fields after the title, read from the end.
    {T4, "周杰伦-七里香-国语-流行", "周杰伦", "七里香", "国语", "流行", "0"},
    {T4, "祁隆-雨中的思念_国语_流行", "祁隆", "雨中的思念", "国语", "流行", "0"},
    {T3, "祁隆-雨中的思念_国语_流行", "祁隆", "雨中的思念", "国语", "流行", "0"},
    {T4, "刘德华-忘情水-粤语-怀旧-左声道", "刘德华", "忘情水", "粤语", "怀旧歌", "2"},
    {T4, "张学友-吻别-国语-2", "张学友", "吻别", "国语", "流行", "2"},
    {T4, "陈奕迅－十年－国语歌曲－流行", "陈奕迅", "十年", "国语", "流行", "0"},
    {T4, "周华健-朋友-普通话", "周华健", "朋友", "国语", "流行", "0"},
    {T4, "罗大佑-童年-怀旧", "罗大佑", "童年", "国语", "怀旧歌", "0"},
    // Template 3 reads no channel: a channel field after the fields it
    // reads is passed over, left out of the title, and those are read.
    {T3, "刘德华-忘情水-粤语-怀旧-左声道", "刘德华", "忘情水", "粤语", "怀旧歌", "0"},
    {T3, "林忆莲-至少还有你_粤语_对唱_3_HK10293", "林忆莲", "至少还有你", "粤语", "对唱", "0"},
    {T3, "林忆莲-至少还有你_粤语_怀旧_右_HK10293", "林忆莲", "至少还有你", "粤语", "怀旧歌", "0"},
    // Template 2 reads the language only: a style or a channel after it is
    // passed over the same way, and a code or tag word after them still read.
    {T2, "林忆莲-至少还有你_粤语_怀旧_HK10293", "林忆莲", "至少还有你", "粤语", "流行", "0"},
    {T2, "林忆莲-至少还有你-粤语-怀旧-立体声", "林忆莲", "至少还有你", "粤语", "流行", "0"},
    {T2, "林忆莲-至少还有你-台语-1 伴唱", "林忆莲", "至少还有你", "台语", "流行", "0"},
    {T2, "林忆莲-至少还有你-伴唱-流行", "林忆莲", "至少还有你", "国语", "流行", "0"},
    // Passed over only after a field the template reads: else the title
    // keeps its numbers, dashes and brackets, as before.
    // A field that names what the template reads is read for it, though
    // it names a channel too.
    {T3, "郑智化-水手_台语_立体声怀旧", "郑智化", "水手", "台语", "怀旧歌", "0"},
    {T2, "郑智化-水手-3", "郑智化", "水手-3", "国语", "流行", "0"},
    {T2, "郑智化-星星点灯-怀旧", "郑智化", "星星点灯-怀旧", "国语", "流行", "0"},
    {T2, "郑智化-水手(1992)-2", "郑智化", "水手", "国语", "流行", "0"},
    {T3, "郑智化-水手-1-左", "郑智化", "水手-1-左", "国语", "流行", "0"},
    {T3, "郑智化-水手-A-B-3", "郑智化", "水手-A-B-3", "国语", "流行", "0"},
    {T2, "4 Non Blondes-What's Up 1993", "4 Non Blondes", "What's Up 1993", "国语", "流行", "0"},
    {T3, "1983-Reason To Believe", "1983", "Reason To Believe", "国语", "流行", "0"},
    // A field that names nothing ends the reading; the title keeps its dashes.
    {T4, "信乐团－离歌-Live版", "信乐团", "离歌-Live版", "国语", "流行", "0"},
    {T4, "邓丽君-甜蜜蜜-1979版", "邓丽君", "甜蜜蜜-1979版", "国语", "流行", "0"},
    {T4, "小虎队-青苹果乐园-国语-流行-DJ版", "小虎队", "青苹果乐园-国语-流行-DJ版", "国语", "流行",
     "0"},
    // Each at most once, in the order channel, style, language from the end.
    {T4, "羽泉-奔跑-流行-国语", "羽泉", "奔跑-流行", "国语", "流行", "0"},
    // At least one field stays the title.
    {T4, "周杰伦-国语", "周杰伦", "国语", "国语", "流行", "0"},
    {T4, "周杰伦-国语-流行", "周杰伦", "国语", "国语", "流行", "0"},
    // Brackets that are only tags: the title ends before them, the fields
    // after them give the values.
    {T4, "谢金燕-练舞功(MTV)-闽南语-流行", "谢金燕", "练舞功", "台语", "流行", "0"},
    {T4, "五月天-彩虹(演)-国语-流行歌曲", "五月天", "彩虹", "国语", "流行", "0"},
    {T4, "沈美娟-孟丽君-见书房寂寂无声好清净(MTV)-国语-戏曲", "沈美娟",
     "孟丽君-见书房寂寂无声好清净", "国语", "戏曲", "0"},
    {T4, "Beyond-海阔天空(Live)", "Beyond", "海阔天空", "国语", "流行", "0"},
    {T4, "王菲-容易受伤的女人(原版)(粤语)-怀旧", "王菲", "容易受伤的女人", "粤语", "怀旧歌", "0"},
    {T4, "王菲-红豆(Live)-粤语-怀旧-3", "王菲", "红豆", "粤语", "怀旧歌", "3"},
    {T3, "王菲-红豆(Live)-粤语-怀旧-3", "王菲", "红豆", "粤语", "怀旧歌", "0"},
    // A bracket that names a language wins over fields after it.
    {T4, "王菲-红豆(粤语)-国语", "王菲", "红豆", "粤语", "流行", "0"},
    {T4, "王菲-红豆（普通话）", "王菲", "红豆", "国语", "流行", "0"},
    {T4, "蔡琴-恰似你的温柔(华语－怀旧)", "蔡琴", "恰似你的温柔", "国语", "怀旧歌", "0"},
    {T4, "孙燕姿-天黑黑(MTV)(国语-流行-1)", "孙燕姿", "天黑黑", "国语", "流行", "1"},
    // Square brackets of every kind count as brackets; several in a row
    // give language, then a channel or a style where each names one.
    {T4, "梁静茹-勇气[国语]", "梁静茹", "勇气", "国语", "流行", "0"},
    {T4, "张学友-吻别(MTV)[粤语]", "张学友", "吻别", "粤语", "流行", "0"},
    {T3, "江蕙-家后(演唱会)[台语]", "江蕙", "家后", "台语", "流行", "0"},
    {T4, "蔡琴-被遗忘的时光[国语](DVD)", "蔡琴", "被遗忘的时光", "国语", "流行", "0"},
    {T4, "邓丽君-小城故事[国语][L][怀旧歌]", "邓丽君", "小城故事", "国语", "怀旧歌", "2"},
    {T3, "邓丽君-小城故事[国语][R][怀旧歌]", "邓丽君", "小城故事", "国语", "怀旧歌", "0"},
    // A bracket may hold a style's own name rather than its keyword.
    {T3, "刘德华-今天[国语][影视插曲]", "刘德华", "今天", "国语", "影视插曲", "0"},
    {T4, "叶倩文-潇洒走一回[国语][迪斯科]", "叶倩文", "潇洒走一回", "国语", "迪斯科", "0"},
    {T4, "韩红-天路【国语】【右】", "韩红", "天路", "国语", "流行", "1"},
    {T4, "周华健-朋友［粤语－对唱］", "周华健", "朋友", "粤语", "对唱", "0"},
    // A digit in a bracket of its own counts copies; a channel is named by its side.
    {T4, "黄品源-你怎么舍得我难过[国语](2)", "黄品源", "你怎么舍得我难过", "国语", "流行", "0"},
    {T4, "黄品源-你怎么舍得我难过[国语][3D]", "黄品源", "你怎么舍得我难过", "国语", "流行", "0"},
    // A bracket that quotes a work names no language, style or channel.
    {T4, "梁静茹-好久不见(电影《左耳》主题曲)", "梁静茹", "好久不见", "国语", "流行", "0"},
    {T4, "王菲-乘客(电影《英雄》插曲)", "王菲", "乘客", "国语", "流行", "0"},
    {T3, "刘德华-歌名(迪克牛仔版)", "刘德华", "歌名", "国语", "流行", "0"},
    // Traditional spellings, tags before the fields, a language tag first.
    {T4, "羅大佑-東方之珠[粵語]", "羅大佑", "東方之珠", "粤语", "流行", "0"},
    {T4, "張學友-吻別-粵語", "張學友", "吻別", "粤语", "流行", "0"},
    {T4, "梁静茹-勇气(MTV-粤语)", "梁静茹", "勇气", "粤语", "流行", "0"},
    {T4, "[粤语]陈奕迅-好久不见", "陈奕迅", "好久不见", "粤语", "流行", "0"},
    // Only a language bracket after the separator: no title under templates
    // 2 to 4; templates 0 and 1 keep the bracket as the title.
    {T2, "某人－(粤语)", "某人", "", "粤语", "流行", "0"},
    {T1, "某人－(粤语)", "某人", "(粤语)", "国语", "流行", "0"},
    // " - " splits before a dash of the singer's own.
    {T1, "A-Lin - 给我一个理由忘记", "A-Lin", "给我一个理由忘记", "国语", "流行", "0"},
    // A title that begins with a bracket of its own keeps it.
    {T4, "歌手-(我是)一只小小鸟", "歌手", "(我是)一只小小鸟", "国语", "流行", "0"},
    {T4, "黄品源-你怎么舍得我难过(2)", "黄品源", "你怎么舍得我难过", "国语", "流行", "0"},
    {T4, "Oasis-Wonderwall[英语][Live]", "Oasis", "Wonderwall", "英语", "流行", "0"},
    // Templates 2, 3 and 4 read brackets alike: the first bracket of any
    // kind ends the title, the first naming a language gives it.
    {T2, "张学友-吻别(MTV)[粤语]", "张学友", "吻别", "粤语", "流行", "0"},
    {T3, "张学友-吻别(MTV)[粤语]", "张学友", "吻别", "粤语", "流行", "0"},
    {T2, "张学友－吻别(国语)（粤语）", "张学友", "吻别", "国语", "流行", "0"},
    {T3, "张学友－吻别(国语)（粤语）", "张学友", "吻别", "国语", "流行", "0"},
    // Tags before the singer are left out of it.
    {T1, "【KTV】梁静茹-勇气", "梁静茹", "勇气", "国语", "流行", "0"},
    {T4, "[高清]张学友-吻别[粤语]", "张学友", "吻别", "粤语", "流行", "0"},
    {T1, "(伴奏) 林志炫-单身情歌", "林志炫", "单身情歌", "国语", "流行", "0"},
    {T4, "【KTV】[HD]梁静茹-勇气", "梁静茹", "勇气", "国语", "流行", "0"},
    {T1, "(KTV)", "佚名", "(KTV)", "国语", "流行", "0"},
    // Tag words after the title, after a blank or a dash; only whole words
    // of the list, only at the end.
    {T1, "梁静茹 - 勇气 原唱", "梁静茹", "勇气", "国语", "流行", "0"},
    {T4, "梁静茹-勇气 伴奏ktv", "梁静茹", "勇气", "国语", "流行", "0"},
    {T4, "梁静茹-勇气-伴唱-国语", "梁静茹", "勇气", "国语", "流行", "0"},
    {T4, "Oasis-Live Forever", "Oasis", "Live Forever", "国语", "流行", "0"},
    {T4, "Oasis-Forever Lively", "Oasis", "Forever Lively", "国语", "流行", "0"},
    {T1, "梁静茹-原唱", "梁静茹", "原唱", "国语", "流行", "0"},
    {T1, "梁静茹-高清晰", "梁静茹", "高清晰", "国语", "流行", "0"},
    // A double dash separates as one.
    {T1, "梁静茹--勇气", "梁静茹", "勇气", "国语", "流行", "0"},
    {T4, "梁静茹－－勇气－－粤语", "梁静茹", "勇气", "粤语", "流行", "0"},
    {T2, "梁静茹 -- 勇气(台语)", "梁静茹", "勇气", "台语", "流行", "0"},
    // A catalogue code with letters as the last field, a site's tag after it.
    {T4, "李宗盛-山丘_粤语_怀旧_KA301234", "李宗盛", "山丘", "粤语", "怀旧歌", "0"},
    {T4, "李宗盛-山丘_粤语_流行_KB20417_XYZP2P", "李宗盛", "山丘", "粤语", "流行", "0"},
    {T1, "李宗盛-山丘-KA301234", "李宗盛", "山丘", "国语", "流行", "0"},
    // Fields after a tag bracket, joined by "_".
    {T4, "黎明-情深说话未曾讲(MTV)_粤语_流行歌曲_ZX100234", "黎明", "情深说话未曾讲", "粤语",
     "流行", "0"},
    // 〖 〗, 「 」 and 『 』 are brackets.
    {T4, "张国荣-风继续吹〖演唱会〗[怀旧歌]", "张国荣", "风继续吹", "国语", "怀旧歌", "0"},
    {T2, "张国荣-风继续吹「粤语」", "张国荣", "风继续吹", "粤语", "流行", "0"},
    {T3, "张国荣-风继续吹『粤语－怀旧』", "张国荣", "风继续吹", "粤语", "怀旧歌", "0"},
    // A language keyword inside a longer word, or in a quoted work, names none.
    {T2, "林俊杰-曹操(英雄联盟)", "林俊杰", "曹操", "国语", "流行", "0"},
    {T2, "林俊杰-曹操(《英雄》)", "林俊杰", "曹操", "国语", "流行", "0"},
    {T2, "林俊杰-曹操(日记)", "林俊杰", "曹操", "国语", "流行", "0"},
    {T2, "林俊杰-曹操(粤)", "林俊杰", "曹操", "粤语", "流行", "0"},
    {T2, "林俊杰-曹操(《英雄》粤语版)", "林俊杰", "曹操", "粤语", "流行", "0"},
    // Four characters: a language word and more, a keyword and an ending.
    {T2, "谭咏麟-朋友(粤语老歌)", "谭咏麟", "朋友", "粤语", "流行", "0"},
    {T2, "江蕙-家后(闽南歌曲)", "江蕙", "家后", "台语", "流行", "0"},
    // A language word in a bracket of any length.
    {T2, "江蕙-惜别的海岸(台湾闽南语)", "江蕙", "惜别的海岸", "台语", "流行", "0"},
    {T2, "谭咏麟-朋友(粤语MTV)", "谭咏麟", "朋友", "粤语", "流行", "0"},
    {T4, "谭咏麟-朋友(粤语经典老歌)", "谭咏麟", "朋友", "粤语", "流行", "0"},
    // An empty language field; fields after an earlier language.
    {T4, "歌手-摇篮曲(－儿歌－1)", "歌手", "摇篮曲", "国语", "儿歌", "1"},
    {T4, "[国语]歌手-摇篮曲(粤语-民歌-左声道)", "歌手", "摇篮曲", "国语", "民歌", "2"},
    // 合唱 is a style word.
    {T4, "群星-让世界充满爱-国语-合唱歌曲", "群星", "让世界充满爱", "国语", "对唱", "0"},
    {T4, "群星-让世界充满爱(国语-合唱)", "群星", "让世界充满爱", "国语", "对唱", "0"},
    // A band named by a number stays the singer.
    {T4, "7755-心碎(MTV)-国语-流行", "7755", "心碎", "国语", "流行", "0"},
    {T4, "7755-心碎-国语-流行", "7755", "心碎", "国语", "流行", "0"},
    {T4, "7755-心碎(MTV)-爱你", "7755", "心碎", "国语", "流行", "0"},
    {T1, "911-爱的故事", "911", "爱的故事", "国语", "流行", "0"},
    {T4, "F4-流星雨", "F4", "流星雨", "国语", "流行", "0"},
    // A year after a blank stays in the title.
    {T4, "崔健-一无所有 1986", "崔健", "一无所有 1986", "国语", "流行", "0"},
    {T1, "Prince - 1999", "Prince", "1999", "国语", "流行", "0"},
    {T4, "某歌手-Party Like 1999", "某歌手", "Party Like 1999", "国语", "流行", "0"},
    // " - " before fields only separates the fields.
    {T4, "蔡琴-被遗忘的时光 - 国语 - 怀旧", "蔡琴", "被遗忘的时光", "国语", "怀旧歌", "0"},
    {T4, "A-Lin - 给我一个理由忘记 - 国语", "A-Lin", "给我一个理由忘记", "国语", "流行", "0"},
    // Template 1 leaves tag brackets at the end out of the title.
    {T1, "刘德华 + 陈慧琳 - 因为爱 [KTV]", "刘德华 + 陈慧琳", "因为爱", "国语", "流行", "0"},
    {T1, "刘德华-因为爱(伴奏 KTV)【MTV】", "刘德华", "因为爱", "国语", "流行", "0"},
    {T1, "刘德华-因为爱(我)", "刘德华", "因为爱(我)", "国语", "流行", "0"},
    // 《 》 marks the title, the singer before it or after it.
    {T1, "莫文蔚《阴天》", "莫文蔚", "阴天", "国语", "流行", "0"},
    {T1, "《阴天》莫文蔚", "莫文蔚", "阴天", "国语", "流行", "0"},
    {T4, "Adele - 《Hello》", "Adele", "Hello", "国语", "流行", "0"},
    {T4, "莫文蔚《阴天》(粤语)", "莫文蔚", "阴天", "粤语", "流行", "0"},
    {T4, "《阴天》-莫文蔚-粤语-怀旧", "莫文蔚", "阴天", "粤语", "怀旧歌", "0"},
    {T4, "《A-B》莫文蔚", "莫文蔚", "A-B", "国语", "流行", "0"},
    // A separator before the marks: they quote a work inside the title.
    {T4, "莫文蔚-电影《阴天》主题曲", "莫文蔚", "电影《阴天》主题曲", "国语", "流行", "0"},
    // Video sites' titles.
    {T4, "【KTV】莫文蔚 Karen Mok《阴天》原版伴奏 ｜ 高清歌词 (Karaoke Version)", "莫文蔚", "阴天",
     "国语", "流行", "0"},
    {T4, "李克勤 Hacken Lee - 红日 ( KTV 原版伴奏 )", "李克勤", "红日", "国语", "流行", "0"},
    {T4, "邓紫棋 G.E.M. - 泡沫", "邓紫棋", "泡沫", "国语", "流行", "0"},
    {T4, "张三 & Tom - 歌", "张三 & Tom", "歌", "国语", "流行", "0"},
};

TEST(FullNameTest, ReadsBracketsAndTheFieldsLibrariesWriteAfterTheTitle) {
  for (const FullCase& c : kBracketsAndFieldsAfterTheTitle) {
    SCOPED_TRACE(std::string("template ") + std::to_string(c.naming_template) + " name [" +
                 c.base_name + "]");
    SongInfo info = ParseFull(c.naming_template, R0, c.base_name);
    EXPECT_EQ(info.singer, c.singer);
    EXPECT_EQ(info.title, c.title);
    EXPECT_EQ(info.language, c.language);
    EXPECT_EQ(info.style, c.style);
    EXPECT_EQ(info.channel, c.channel);
  }
}

}  // namespace
}  // namespace kscgen
