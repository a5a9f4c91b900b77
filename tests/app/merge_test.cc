// A library's KSC files are also lyric scripts and hold a keeper's
// corrections: a run on a real disk puts kscgen's values into them and
// keeps every other line and every value a person changed. Names on disk
// are UTF-8 (u8 literals); KSC text is GBK (plain literals).
#include <gtest/gtest.h>

#include <ctime>
#include <filesystem>

#include "app/engine/batch.h"
#include "app/engine/messages.h"
#include "app/engine/preview.h"
#include "app/engine/short_date.h"
#include "app/engine/video_folder.h"
#include "app/engine/written_record.h"
#include "expected_ksc.h"
#include "test_file_system.h"
#include "test_support.h"
#include "text/encoding.h"

namespace kscgen {
namespace {

using testing::Holds;
using testing::kRoadKsc;
using testing::ReadFile;
using testing::TempFolder;
using testing::Touch;
using testing::U8Path;
namespace fs = std::filesystem;

// Noon of 7 December 2026, local time: the day of the runs.
std::time_t December7() {
  std::tm t{};
  t.tm_year = 2026 - 1900;
  t.tm_mon = 11;
  t.tm_mday = 7;
  t.tm_hour = 12;
  t.tm_isdst = -1;
  return std::mktime(&t);
}

// kRoadKsc with the date as this system writes the run's day.
const std::string kRoad = [] {
  std::string road = kRoadKsc;
  return road.replace(road.find("12/7/26"), 7, ShortDateText(December7()));
}();
const char kVideo[] = u8"合唱团－小河水.mpg";
const char kKsc[] = u8"合唱团－小河水.KSC";

std::string With(std::string text, const std::string& from, const std::string& to) {
  const std::size_t at = text.find(from);
  EXPECT_NE(at, std::string::npos) << from;
  return text.replace(at, from.size(), to);
}

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

// The folder 粤语金曲 with the role 语种名 and the template 歌手－歌名 on
// 12/7/26: its video's KSC file is kRoadKsc.
class MergeTest : public ::testing::Test {
 protected:
  MergeTest() {
    folder_.path = root_ / u8"粤语金曲";
    folder_.relative = ".";
    folder_.folder_name = "粤语金曲";
    fs::create_directory(U8Path(folder_.path));
    request_.naming_template = kTemplateSingerTitle;
    request_.folder_role = kRoleLanguage;
    request_.clock = December7;
    Add(kVideo);
  }

  void Add(const std::string& native_name) {
    Touch(folder_.path + "/" + native_name);
    folder_.files.push_back(MakeVideoFile(native_name));
  }

  BatchResult Run() {
    recorder_.reports.clear();
    return RunBatch(request_, folders_, &recorder_);
  }

  std::string Path(const std::string& name) const { return os::JoinPath(folder_.path, name); }
  std::string Ksc() const { return ReadFile(Path(kKsc)); }
  void WriteKsc(const std::string& bytes) const { Touch(Path(kKsc), bytes); }
  std::string Notes(std::size_t row = 0) const { return PreviewNotes(recorder_.reports.at(row)); }

  struct Recorder : BatchObserver {
    void OnVideo(const VideoReport& report, std::size_t, std::size_t) override {
      reports.push_back(report);
    }
    std::vector<VideoReport> reports;
  };

  TempFolder root_;
  std::vector<VideoFolder> folders_{1};  // the reports point into it
  VideoFolder& folder_ = folders_[0];
  BatchRequest request_;
  Recorder recorder_;
};

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

// A record an editor saved again with other line ends (Notepad: CR LF and
// a byte-order mark) is read as it was: the hand edit stays one.
TEST_F(MergeTest, ARecordSavedWithOtherLineEndsStillTellsHandEdits) {
  const std::string record = Path(WrittenRecord::kFileName);
  const std::string edited = With(kRoad, "'风格', '流行'", "'风格', '怀旧歌'");
  struct Case {
    const char* line_end;
    const char* front;
  };
  const Case cases[] = {{"\r\n", ""}, {"\r", ""}, {"\r\n", "\xEF\xBB\xBF"}};
  for (const Case& c : cases) {
    fs::remove(U8Path(record));
    WriteKsc("");
    fs::remove(U8Path(Path(kKsc)));
    ASSERT_EQ(Run().created, 1u);
    std::string saved = c.front;
    for (char ch : ReadFile(record))
      saved += ch == '\n' ? std::string(c.line_end) : std::string(1, ch);
    Touch(record, saved);
    WriteKsc(edited);
    const BatchResult result = Run();
    EXPECT_EQ(result.kept_edits, 1u) << c.line_end;
    EXPECT_EQ(Ksc(), edited);
    EXPECT_EQ(Notes(), u8"风格“怀旧歌”为手工修改，已保留");
  }
}

// A record that exists but cannot be read is no record of none: a KSC file
// that differs may hold a person's edits and is left as it is (unless
// forced), a new one is made, and the record stays as it was.
TEST_F(MergeTest, ARecordThatCannotBeReadKeepsTheFilesThatDiffer) {
  Add(u8"b－乙.mpg");
  ASSERT_EQ(Run().created, 2u);
  const std::string record = ReadFile(Path(WrittenRecord::kFileName));
  const std::string edited = With(kRoad, "'风格', '流行'", "'风格', '怀旧歌'");
  WriteKsc(edited);
  const std::string b = ReadFile(Path(u8"b－乙.KSC"));
  Add(u8"c－丙.mpg");
  testing::TestFileSystem faults;
  faults.FailAt(testing::Step::kReadExisting, {os::ErrorKind::kPermission, "Permission denied"}, 0,
                WrittenRecord::kFileName);
  request_.file_system = &faults;
  request_.start_number = 100;  // every file's number changes
  const std::string skipped = u8"无法读取已写入内容的记录，未更新，以免覆盖手工修改";
  const std::vector<std::string> warning = {
      u8"无法读取已写入内容的记录：“" + Path(WrittenRecord::kFileName) +
      u8"”（没有权限）；文件夹中有变化的已有KSC文件未更新，以免覆盖手工修改，记录也未改动"};
  for (bool dry_run : {true, false}) {
    request_.dry_run = dry_run;
    const BatchResult result = Run();
    EXPECT_EQ(result.warnings, warning);
    ASSERT_EQ(result.skipped.size(), 2u);
    EXPECT_EQ(result.skipped[0].reason, skipped);
    EXPECT_EQ(result.skipped[1].reason, skipped);
    EXPECT_EQ(result.created, 1u);
  }
  EXPECT_EQ(Ksc(), edited);
  EXPECT_EQ(ReadFile(Path(u8"b－乙.KSC")), b);
  EXPECT_TRUE(Holds(ReadFile(Path(u8"c－丙.KSC")), "karaoke.internalnumber :=00101 ;"));
  EXPECT_EQ(ReadFile(Path(WrittenRecord::kFileName)), record);
  request_.force = true;
  EXPECT_EQ(Run().updated, 3u);
  EXPECT_EQ(Ksc(), With(kRoad, "karaoke.internalnumber := ;", "karaoke.internalnumber :=00101 ;"));
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

// The record forgets a KSC file that is gone: a file another program puts
// at its name later is not taken for kscgen's with a person's edits.
TEST_F(MergeTest, TheRecordForgetsAKscFileThatIsGone) {
  Add(u8"a－甲.mpg");
  ASSERT_EQ(Run().created, 2u);
  ASSERT_TRUE(Holds(ReadFile(Path(WrittenRecord::kFileName)), u8"a－甲.KSC"));
  fs::remove(U8Path(Path(u8"a－甲.KSC")));
  fs::remove(U8Path(Path(u8"a－甲.mpg")));
  folder_.files.pop_back();
  EXPECT_EQ(Run().unchanged, 1u);
  EXPECT_FALSE(Holds(ReadFile(Path(WrittenRecord::kFileName)), u8"a－甲.KSC"));
  // Back, with another program's file: its values are updated.
  Add(u8"a－甲.mpg");
  Touch(Path(u8"a－甲.KSC"), "karaoke.tag('歌名', 'Other');\r\n");
  Run();
  EXPECT_TRUE(recorder_.reports[1].kept.edits.empty());
  EXPECT_TRUE(Holds(ReadFile(Path(u8"a－甲.KSC")), "karaoke.tag('歌名', '甲');"));
}

// A record that cannot be saved is told by its own name, and what the
// next run will make of the files: the old record is removed (kept, it
// would make the next run take this run's values for a person's), or its
// removal failed too. The KSC files are whole all the same.
TEST_F(MergeTest, ARecordThatCannotBeSavedIsNamedAndTheOldOneRemoved) {
  const std::string record = Path(WrittenRecord::kFileName);
  const std::string none = u8"下次运行时这些KSC文件按没有记录的文件处理，手工修改的值不会被识别";
  struct Case {
    bool folder_at_name;  // no record, and none can be saved there
    bool remove_fails;
    std::string warning;
  };
  const Case cases[] = {
      {true, false, u8"无法保存已写入内容的记录：“" + record + u8"”（是一个文件夹）；" + none},
      {false, false,
       u8"无法保存已写入内容的记录：“" + record + u8"”（磁盘空间不足）；已删除旧记录，" + none},
      {false, true,
       u8"无法保存已写入内容的记录：“" + record +
           u8"”（磁盘空间不足）；旧记录也无法删除（没有权限），下次运行可能把本次写入的值当作手工"
           u8"修改而保留"},
  };
  for (const Case& c : cases) {
    fs::remove_all(U8Path(record));
    fs::remove(U8Path(Path(kKsc)));
    request_.file_system = nullptr;
    request_.start_number.reset();
    if (c.folder_at_name) {
      fs::create_directory(U8Path(record));
    } else {
      ASSERT_EQ(Run().created, 1u);  // an old record, of the file without a number
    }
    const std::string old = c.folder_at_name ? "" : ReadFile(record);
    testing::TestFileSystem faults;
    faults.FailAt(testing::Step::kReplace, {os::ErrorKind::kNoSpace, "No space left on device"}, 0,
                  WrittenRecord::kFileName);
    if (c.remove_fails) {
      faults.FailAt(testing::Step::kRemove, {os::ErrorKind::kPermission, "Permission denied"});
    }
    if (!c.folder_at_name) request_.file_system = &faults;
    request_.start_number = 100;
    const BatchResult result = Run();
    EXPECT_EQ(result.created + result.updated, 1u);
    EXPECT_EQ(result.warnings, std::vector<std::string>{c.warning});
    EXPECT_EQ(Ksc(),
              With(kRoad, "karaoke.internalnumber := ;", "karaoke.internalnumber :=00101 ;"));
    if (c.folder_at_name) {
      EXPECT_TRUE(fs::is_directory(U8Path(record)));
    } else if (c.remove_fails) {
      EXPECT_EQ(ReadFile(record), old);
    } else {
      EXPECT_FALSE(fs::exists(U8Path(record)));
    }
  }
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
