#include "ksc/ksc_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <optional>

#include "expected_ksc.h"
#include "test_support.h"

namespace kscgen {
namespace {

using testing::kRoadKsc;
using testing::RoadSong;
using testing::ReadFile;
using testing::TempFolder;

TEST(FormatKscTextTest, WritesTheTwentyEightLinesByteForByte) {
  EXPECT_EQ(FormatKscText(RoadSong()), kRoadKsc);
}

TEST(FormatKscTextTest, NumberedEnglishSongWithQuotes) {
  SongInfo s;
  s.number = "00101";
  s.title = "Don't Cry";
  s.abbrev = "DON ";
  s.singer = "Guns N' Roses";
  s.language = "英语";
  s.style = "怀旧歌";
  s.channel = "2";
  s.date_text = "2026年12月7日";
  s.singer_pinyin = "GUNS";
  s.video_name = "Guns N' Roses-Don't Cry.avi";
  const char expected[] =
      "karaoke := CreateKaraokeObject;\r\n"
      "karaoke.internalnumber :=00101 ;\r\n"
      "karaoke.rows := 2;\r\n"
      "karaoke := CreateKaraokeObject;\r\n"
      "karaoke.clear;\r\n"
      "\r\n"
      "// 歌曲附加信息(便于检索)\r\n"
      "karaoke.tag('歌名', 'Don''t Cry');\r\n"
      "karaoke.tag('缩写', 'DON ');\r\n"
      "karaoke.tag('歌手', 'Guns N'' Roses');\r\n"
      "karaoke.tag('字数', '9');\r\n"
      "karaoke.tag('语种', '英语');\r\n"
      "karaoke.tag('歌类', '男人');\r\n"
      "karaoke.tag('电影', 'false');\r\n"
      "karaoke.tag('风格', '怀旧歌');\r\n"
      "karaoke.tag('流行', 'true');\r\n"
      "karaoke.tag('音量', '80');\r\n"
      "karaoke.tag('声道', '2');\r\n"
      "karaoke.tag('语音', '0');\r\n"
      "karaoke.tag('流行', 'true');\r\n"
      "karaoke.tag('介质', 'true');\r\n"
      "karaoke.tag('时间', '2026年12月7日');\r\n"
      "karaoke.tag('歌星拼音', 'GUNS');\r\n"
      "karaoke.mtvmode :=true;\r\n"
      "karaoke.videofilename := '';\r\n"
      "karaoke.audiofilename := '*.wav';\r\n"
      "karaoke.XSDVideoMode := 4;\r\n"
      "karaoke.CommonVideo := 'Guns N'' Roses-Don''t Cry.avi';\r\n";
  EXPECT_EQ(FormatKscText(s), expected);
}

TEST(FormatKscTextTest, EmptyFieldsAreEmptyQuotesAndControlBytesCannotBreakALine) {
  SongInfo s;
  s.singer = "a\r\nb";
  std::string text = FormatKscText(s);
  EXPECT_NE(text.find("karaoke.tag('歌名', '');\r\n"), std::string::npos);
  EXPECT_NE(text.find("karaoke.tag('歌手', 'a  b');\r\n"), std::string::npos);
  EXPECT_NE(text.find("karaoke.tag('字数', '0');\r\n"), std::string::npos);
}

TEST(KscDateTextTest, ReadsTheDateTagBackAsItWasGiven) {
  struct Case {
    const char* text;
    std::optional<std::string> date;
  };
  const Case cases[] = {
      {"karaoke.tag('歌名', 'a');\r\nkaraoke.tag('时间', '2026/12/7');\r\n", "2026/12/7"},
      {"karaoke.tag('时间', '');\r\n", ""},
      // A doubled quote is one quote of the value.
      {"karaoke.tag('时间', 'it''s');\r\n", "it's"},
      {"karaoke.tag('时间', '2026年12月7日');\n", "2026年12月7日"},  // line feeds only
      // Only a whole tag at the start of a line counts.
      {"x karaoke.tag('时间', '1/1/1');\r\n", std::nullopt},
      {"if a then karaoke.tag('时间', '1/1/1');\r\n", std::nullopt},
      {"karaoke.tag('时间', '1/1/1\r\n');\r\n", std::nullopt},  // no closing quote on its line
      {"karaoke.tag('歌名', 'a');\r\n", std::nullopt},
      {"", std::nullopt},
      // Spelled by hand or by other tools: the date is read all the same.
      {"\tkaraoke.tag('时间', '2020/1/2');\r\n", "2020/1/2"},
      {"karaoke.tag('时间',  '2020/1/3');\r\n", "2020/1/3"},
      {"karaoke.tag ( '时间' ,\t'2020/1/4' ) ;\r\n", "2020/1/4"},
      {"KARAOKE.Tag('时间', '2020/1/5');", "2020/1/5"},
      {"karaoke.tag(\"时间\", \"2020/1/6\");\r\n", "2020/1/6"},
      {"karaoke.tag(\"时间\", \"say \"\"hi\"\"\");\r\n", "say \"hi\""},
      {"karaoke.tag('时间\", '2020/1/7');\r\n", std::nullopt},  // quotes that do not pair
      {"karaoke.tags('时间', '2020/1/8');\r\n", std::nullopt},
      {"karaoke.tag('时间x', '2020/1/9');\r\n", std::nullopt},
      // A statement in a block comment, over lines or on one, sets nothing.
      {"{ 旧版本：\r\nkaraoke.tag('时间', '1/1/1');\r\n}\r\n", std::nullopt},
      {"(*\r\nkaraoke.tag('时间', '1/1/1');\r\n*)\r\n", std::nullopt},
      {"{ karaoke.tag('时间', '1/1/1'); }\r\n", std::nullopt},
      {"karaoke.tag('歌名', 'a'); { 旧：\r\nkaraoke.tag('时间', '1/1/1');\r\n}\r\n", std::nullopt},
      {"{ *)\r\nkaraoke.tag('时间', '1/1/1');\r\n}\r\n", std::nullopt},  // not its end
      {"(* }\r\nkaraoke.tag('时间', '1/1/1');\r\n*)\r\n", std::nullopt},
      {"(*)\r\nkaraoke.tag('时间', '1/1/1');\r\n*)\r\n", std::nullopt},
      // 倉 is 82 7D: its second byte is no `}`.
      {"{ 倉库\r\nkaraoke.tag('时间', '1/1/1');\r\n}\r\n", std::nullopt},
      // After a comment's end, on its line or the next, the script goes on.
      {"{ 旧 } karaoke.tag('时间', '2020/1/10');\r\n", "2020/1/10"},
      {"(*\r\nkaraoke.tag('时间', '1/1/1'); *)karaoke.tag('时间', '2020/1/11');", "2020/1/11"},
      {"{ // }\r\nkaraoke.tag('时间', '2020/1/12');\r\n", "2020/1/12"},
      {"// {\r\nkaraoke.tag('时间', '2020/1/13');\r\n", "2020/1/13"},
      {"// (*\r\nkaraoke.tag('时间', '2020/1/14');\r\n", "2020/1/14"},
      // Quoted, `{` and `(*` open no comment, `;` ends no statement.
      {"karaoke.tag('歌名', '{'); karaoke.tag('时间', '2020/1/15');\r\n", "2020/1/15"},
      {"karaoke.tag('歌名', '(*');\r\nkaraoke.tag('时间', '2020/1/16');\r\n", "2020/1/16"},
      {"karaoke.songname := \"a;(*b\"; KARAOKE.tag('时间','2020/1/17');\r\n", "2020/1/17"},
      {"karaoke.add('0', '1', '{(*', '1000'); karaoke.tag('时间', '2020/1/20');\r\n", "2020/1/20"},
      // Every statement of a line is read.
      {"karaoke.tag('歌名', 'a'); karaoke.tag('时间', '2020/1/18');\r\n", "2020/1/18"},
      {"karaoke.clear;karaoke.tag('时间', '2020/1/19'); // x\r\n", "2020/1/19"},
  };
  for (const Case& c : cases) EXPECT_EQ(KscDateText(c.text), c.date) << c.text;
  EXPECT_EQ(KscDateText(kRoadKsc), "12/7/26");
  SongInfo quoted = RoadSong();
  quoted.date_text = "''a'";
  EXPECT_EQ(KscDateText(FormatKscText(quoted)), "''a'");
}

TEST(KscSongNumberTest, ReadsTheNumberHoweverItsLineIsSpelled) {
  EXPECT_EQ(KscSongNumber(kRoadKsc), std::nullopt);  // written without a number
  SongInfo numbered = RoadSong();
  numbered.number = "00103";
  EXPECT_EQ(KscSongNumber(FormatKscText(numbered)), 103);
  EXPECT_EQ(KscSongNumber("x\r\n  Karaoke.InternalNumber\t:= '42' ;\r\n"), 42);
  EXPECT_EQ(KscSongNumber("karaoke.internalnumber := \"7\";\n"), 7);
  EXPECT_EQ(KscSongNumber("karaoke.internalnumber :='' ;\r\n"), std::nullopt);
  EXPECT_EQ(KscSongNumber("karaoke.rows := 2;\r\n"), std::nullopt);
  EXPECT_EQ(KscSongNumber("{\r\nkaraoke.internalnumber := 5;\r\n}\r\n"), std::nullopt);
  EXPECT_EQ(KscSongNumber("karaoke.rows := 2; karaoke.internalnumber :=00012 ;\r\n"), 12);
}

// Every value a name of quotes: each doubles, so the text outgrows any
// estimate made from the values' sizes alone (the sanitizer build checks
// that nothing is written past the buffer).
TEST(FormatKscTextTest, ValuesOfQuotesOnlyAreWrittenWhole) {
  const std::string quotes(400, '\'');
  const std::string doubled(800, '\'');
  SongInfo s;
  s.number = quotes;
  s.title = quotes;
  s.abbrev = quotes;
  s.singer = quotes;
  s.language = quotes;
  s.style = quotes;
  s.channel = quotes;
  s.date_text = quotes;
  s.singer_pinyin = quotes;
  s.video_name = quotes + ".mpg";
  const std::string text = FormatKscText(s);
  EXPECT_NE(text.find("karaoke.tag('歌名', '" + doubled + "');\r\n"), std::string::npos);
  EXPECT_NE(text.find("karaoke.tag('字数', '400');\r\n"), std::string::npos);
  EXPECT_NE(text.find("karaoke.internalnumber :=" + doubled + " ;\r\n"), std::string::npos);
  const std::string last = "karaoke.CommonVideo := '" + doubled + ".mpg';\r\n";
  ASSERT_GE(text.size(), last.size());
  EXPECT_EQ(text.substr(text.size() - last.size()), last);
}

}  // namespace
}  // namespace kscgen
