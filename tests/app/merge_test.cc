// A library's KSC files are also lyric scripts and hold a keeper's
// corrections: a run on a real disk puts kscgen's values into them and
// keeps every other line and every value a person changed. Names on disk
// are UTF-8 (u8 literals); KSC text is GBK (plain literals).
#include <gtest/gtest.h>

#include <filesystem>

#include "app/engine/messages.h"
#include "app/engine/written_record.h"
#include "merge_fixture.h"
#include "text/encoding.h"

namespace kscgen {
namespace {

using testing::Holds;
using testing::kKsc;
using testing::kRoad;
using testing::MergeTest;
using testing::ReadFile;
using testing::Touch;
using testing::U8Path;
using testing::With;
namespace fs = std::filesystem;

// `text` with the date `date`.
std::string WithDate(std::string text, const std::string& date) {
  const std::size_t at = text.find("'时间', '") + 10;
  return text.replace(at, text.find('\'', at) - at, date);
}

// A lyric editor's lines: the song's name and singer, an effect, a comment
// and `count` timed lines, GBK with CR LF.
std::string LyricLines(int count) {
  std::string lines =
      "karaoke.songname := '小河水';\r\nkaraoke.singer := '合唱团';\r\n"
      "karaoke.TimeAfterAnimate := 2000;\r\n// 歌词由编辑器生成\r\n";
  for (int i = 0; i < count; ++i) {
    lines += "karaoke.add('00:" + std::to_string(10 + i % 50) +
             ".345', '00:" + std::to_string(11 + i % 50) +
             ".678', '我是在等待一个女孩', '1000');\r\n";
  }
  return lines;
}

TEST_F(MergeTest, ALyricFileKeepsEveryLineWhereItIs) {
  ASSERT_EQ(Run().created, 1u);
  ASSERT_EQ(Ksc(), kRoad);
  WriteKsc(kRoad + LyricLines(30));
  request_.start_number = 100;  // a derived value changes: the number
  const BatchResult result = Run();
  EXPECT_EQ(result.updated, 1u);
  EXPECT_EQ(result.kept_lyrics, 1u);
  EXPECT_EQ(Ksc(), With(kRoad, "karaoke.internalnumber := ;", "karaoke.internalnumber :=00101 ;") +
                       LyricLines(30));
  EXPECT_EQ(Notes(), u8"保留 30 行歌词；保留 4 行其他内容；编号：（空）→00101");
  EXPECT_TRUE(
      Holds(messages::BatchReport(result, 10).summary, u8"其中 1 个KSC文件保留了原有的歌词等内容"));
}

TEST_F(MergeTest, AValueChangedByHandSurvivesARerunAndGoesUnderForce) {
  ASSERT_EQ(Run().created, 1u);
  const std::string edited = With(kRoad, "'风格', '流行'", "'风格', '怀旧歌'");
  WriteKsc(edited);
  for (int rerun = 0; rerun < 2; ++rerun) {
    const BatchResult result = Run();
    EXPECT_EQ(result.unchanged, 1u);
    EXPECT_EQ(result.kept_edits, 1u);
    EXPECT_EQ(Ksc(), edited);
    EXPECT_EQ(Notes(), u8"风格“怀旧歌”为手工修改，已保留");
  }
  request_.force = true;
  const BatchResult forced = Run();
  EXPECT_EQ(forced.updated, 1u);
  EXPECT_EQ(Ksc(), kRoad);
  EXPECT_EQ(Notes(), u8"风格：怀旧歌→流行");

  // The song manager takes a name in another case for the same file; so
  // does the record.
  fs::rename(U8Path(Path(kKsc)), U8Path(Path(u8"合唱团－小河水.ksc")));
  Touch(Path(u8"合唱团－小河水.ksc"), edited);
  request_.force = false;
  EXPECT_EQ(Run().kept_edits, 1u);
  EXPECT_EQ(ReadFile(Path(u8"合唱团－小河水.ksc")), edited);
  fs::rename(U8Path(Path(u8"合唱团－小河水.ksc")), U8Path(Path(kKsc)));
  request_.force = true;
  Run();

  // Without the record, the file is one kscgen knows nothing of: its
  // derived values are updated.
  request_.force = false;
  WriteKsc(edited);
  fs::remove(U8Path(Path(WrittenRecord::kFileName)));
  EXPECT_EQ(Run().updated, 1u);
  EXPECT_EQ(Ksc(), kRoad);
}

TEST_F(MergeTest, ACommentedOutLineOrANumberWithoutItsZerosIsNoHandEdit) {
  request_.start_number = 100;
  ASSERT_EQ(Run().created, 1u);
  const std::string numbered = Ksc();
  ASSERT_TRUE(Holds(numbered, "karaoke.internalnumber :=00101 ;\r\n"));
  // A keeper's old value, commented out after kscgen's lines.
  const std::string commented = numbered + "{ 旧版本：\r\nkaraoke.tag('语种', '国语');\r\n}\r\n";
  // The number written without the zeros kscgen puts in front.
  const std::string unpadded = With(numbered, ":=00101 ;", ":= 101;");
  for (const std::string& file : {commented, unpadded}) {
    WriteKsc(file);
    const BatchResult result = Run();
    EXPECT_EQ(result.unchanged, 1u);
    EXPECT_EQ(result.kept_edits, 0u);
    EXPECT_TRUE(result.warnings.empty());
    EXPECT_EQ(Ksc(), file);
    EXPECT_EQ(Notes(), "");
  }
}

TEST_F(MergeTest, AFileInUtf8OrUtf16KeepsItsDateAndComesOutInGbk) {
  // Only the object, the date and a lyric line: kscgen's lines go around them.
  const std::string expected =
      "karaoke := CreateKaraokeObject;\r\n"
      "karaoke.internalnumber := ;\r\n"
      "karaoke.tag('歌名', '小河水');\r\n"
      "karaoke.tag('缩写', 'XHS');\r\n"
      "karaoke.tag('歌手', '合唱团');\r\n"
      "karaoke.tag('字数', '6');\r\n"
      "karaoke.tag('语种', '粤语');\r\n"
      "karaoke.tag('风格', '流行');\r\n"
      "karaoke.tag('声道', '0');\r\n"
      "karaoke.tag('时间', '3/4/25');\r\n"
      "karaoke.tag('歌星拼音', 'HCT');\r\n"
      "karaoke.CommonVideo := '合唱团－小河水.mpg';\r\n"
      "karaoke.add('00:01.000', '00:02.000', '我', '1000');\r\n";
  const std::u16string wide =
      u"karaoke := CreateKaraokeObject;\r\nkaraoke.tag('时间', '3/4/25');\r\n"
      u"karaoke.add('00:01.000', '00:02.000', '我', '1000');\r\n";
  std::string utf16le = "\xFF\xFE";
  for (char16_t c : wide) {
    utf16le += static_cast<char>(c & 0xFF);
    utf16le += static_cast<char>(c >> 8);
  }
  const std::string utf8 =
      u8"karaoke := CreateKaraokeObject;\r\nkaraoke.tag('时间', '3/4/25');\r\n"
      u8"karaoke.add('00:01.000', '00:02.000', '我', '1000');\r\n";
  struct Case {
    const char* what;
    std::string bytes;
    const char* note;
  };
  const Case cases[] = {
      {"UTF-8 with a byte-order mark", "\xEF\xBB\xBF" + utf8, u8"原为UTF-8编码，已改存为GBK"},
      {"UTF-8", utf8, u8"原为UTF-8编码，已改存为GBK"},
      {"UTF-16LE", utf16le, u8"原为UTF-16编码，已改存为GBK"},
      {"GBK with CR line ends", "karaoke := CreateKaraokeObject;\rkaraoke.tag('时间', '3/4/25');\r",
       ""},
  };
  for (const Case& c : cases) {
    WriteKsc(c.bytes);
    EXPECT_EQ(Run().updated, 1u) << c.what;
    if (*c.note != '\0') {
      EXPECT_EQ(Ksc(), expected) << c.what;
      EXPECT_TRUE(Holds(Notes(), c.note)) << c.what << ": " << Notes();
    } else {
      EXPECT_TRUE(Holds(Ksc(), "karaoke.tag('时间', '3/4/25');\r")) << c.what;
    }
  }
}

TEST_F(MergeTest, ALargeLyricFileKeepsItsDateAndEveryLine) {
  const std::string large = WithDate(kRoad, "1/2/23") + LyricLines(3000);
  ASSERT_GT(large.size(), 200u * 1024);
  WriteKsc(large);
  request_.start_number = 100;
  EXPECT_EQ(Run().updated, 1u);
  EXPECT_EQ(Ksc(), With(large, "karaoke.internalnumber := ;", "karaoke.internalnumber :=00101 ;"));
}

TEST_F(MergeTest, AnUnchangedRerunLeavesTheFileItself) {
  ASSERT_EQ(Run().created, 1u);
  // A second link stays the same file only while the KSC file is left in place.
  const fs::path kept = U8Path(Path("kept"));
  fs::create_hard_link(U8Path(Path(kKsc)), kept);
  const BatchResult result = Run();
  EXPECT_EQ(result.unchanged, 1u);
  EXPECT_TRUE(fs::equivalent(U8Path(Path(kKsc)), kept));
  EXPECT_EQ(Ksc(), kRoad);
}

// A KSC file whose video is gone is no video's: it stays as it is, and
// kscgen records nothing of it.
TEST_F(MergeTest, AKscFileWhoseVideoIsGoneIsLeftAsItIs) {
  const std::string orphan = "karaoke.tag('歌名', '旧歌');\r\n";
  Touch(Path(u8"旧歌.KSC"), orphan);
  ASSERT_EQ(Run().created, 1u);
  EXPECT_EQ(ReadFile(Path(u8"旧歌.KSC")), orphan);
  EXPECT_FALSE(Holds(ReadFile(Path(WrittenRecord::kFileName)), "旧歌"));
}

TEST_F(MergeTest, TheDryRunAndTheRunAgreeOnEveryRow) {
  // A lyric file, a hand edit kscgen knows of, an editor's UTF-8 file, a
  // file already right, and a video without a KSC file.
  for (const char* name : {u8"a－甲.mpg", u8"b－乙.mpg", u8"c－丙.mpg", u8"d－丁.mpg"}) Add(name);
  ASSERT_EQ(Run().created, 5u);
  WriteKsc(Ksc() + LyricLines(3));
  const std::string b = ReadFile(Path(u8"b－乙.KSC"));
  Touch(Path(u8"b－乙.KSC"), With(b, "'风格', '流行'", "'风格', '怀旧歌'"));
  Touch(Path(u8"c－丙.KSC"), *text::GbkToUtf8(ReadFile(Path(u8"c－丙.KSC"))) + u8"// 编辑\r\n");
  Add(u8"e－戊.mpg");
  request_.start_number = 10;
  request_.dry_run = true;
  Run();
  std::vector<std::vector<std::string>> dry;
  for (const VideoReport& r : recorder_.reports) dry.push_back(PreviewRow(r, false));
  request_.dry_run = false;
  Run();
  ASSERT_EQ(recorder_.reports.size(), dry.size());
  for (std::size_t i = 0; i < dry.size(); ++i) {
    EXPECT_EQ(PreviewRow(recorder_.reports[i], false), dry[i]) << i;
  }
  EXPECT_EQ(Notes(0), u8"保留 3 行歌词；保留 4 行其他内容；编号：（空）→00011");
  EXPECT_EQ(Notes(2), u8"风格“怀旧歌”为手工修改，已保留；编号：（空）→00013");
  EXPECT_EQ(Notes(3), u8"保留 1 行其他内容；原为UTF-8编码，已改存为GBK；编号：（空）→00014");
  EXPECT_EQ(Notes(5), "");  // new: nothing of its own to keep or change
}

}  // namespace
}  // namespace kscgen
