#include "ksc/ksc_file.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "expected_ksc.h"
#include "test_support.h"

namespace kscgen {
namespace {

using testing::kRoadKsc;
using testing::ReadFile;
using testing::TempFolder;

// The song of kRoadKsc.
TSongInfo RoadSong() {
  TSongInfo s;
  s.Title = "小河水";
  s.Abbrev = "XHS";
  s.Singer = "合唱团";
  s.Language = "粤语";
  s.DateText = "12/7/26";
  s.SingerPinyin = "HCT";
  s.VideoName = "合唱团－小河水.mpg";
  return s;
}

TEST(FormatKscTextTest, WritesTheTwentyEightLinesByteForByte) {
  EXPECT_EQ(FormatKscText(RoadSong()), kRoadKsc);
}

TEST(FormatKscTextTest, NumberedEnglishSongWithQuotes) {
  TSongInfo s;
  s.Number = "00101";
  s.Title = "Don't Cry";
  s.Abbrev = "DON ";
  s.Singer = "Guns N' Roses";
  s.Language = "英语";
  s.Style = "怀旧歌";
  s.Channel = "2";
  s.DateText = "2026年12月7日";
  s.SingerPinyin = "GUNS";
  s.VideoName = "Guns N' Roses-Don't Cry.avi";
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
  TSongInfo s;
  s.Singer = "a\r\nb";
  std::string text = FormatKscText(s);
  EXPECT_NE(text.find("karaoke.tag('歌名', '');\r\n"), std::string::npos);
  EXPECT_NE(text.find("karaoke.tag('歌手', 'a  b');\r\n"), std::string::npos);
  EXPECT_NE(text.find("karaoke.tag('字数', '0');\r\n"), std::string::npos);
}

TEST(KscQuoteTest, DoublesQuotesOnly) {
  EXPECT_EQ(KscQuote("''"), "''''");
  EXPECT_EQ(KscQuote("小河水"), "小河水");
  EXPECT_EQ(KscQuote("a\tb"), "a b");
}

TEST(WriteKscFileTest, ReplacesAnExistingFileWholeAndLeavesNoTemporaryFile) {
  TempFolder dir;
  TSongInfo s = RoadSong();
  s.KscPath = dir / "song.KSC";
  testing::Touch(s.KscPath, std::string(5000, 'x'));  // longer than the new text
  WriteStatus status = WriteKscFile(s);
  ASSERT_TRUE(status.ok) << status.message;
  EXPECT_EQ(ReadFile(s.KscPath), kRoadKsc);
  EXPECT_EQ(testing::ListNames(dir.path()), "song.KSC");
}

TEST(WriteKscFileTest, ReportsTheFileAndTheReason) {
  TempFolder dir;
  TSongInfo s = RoadSong();
  s.KscPath = dir / "missing/song.KSC";
  WriteStatus status = WriteKscFile(s);
  EXPECT_FALSE(status.ok);
  EXPECT_EQ(status.message, "Cannot create file \"" + s.KscPath + "\". No such file or directory");

  // A folder in the way of the KSC file: nothing half-written stays behind.
  std::filesystem::create_directory(dir / "taken.KSC");
  s.KscPath = dir / "taken.KSC";
  status = WriteKscFile(s);
  EXPECT_FALSE(status.ok);
  EXPECT_NE(status.message.find("Cannot create file \"" + s.KscPath + "\". "), std::string::npos);
  EXPECT_EQ(testing::ListNames(dir.path()), "taken.KSC");
}

}  // namespace
}  // namespace kscgen
