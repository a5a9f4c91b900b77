// A library is run again and again as songs are added: what its KSC files
// already hold (their dates, their names) is what the next run keeps.
#include <gtest/gtest.h>

#include <ctime>
#include <filesystem>

#include "app/engine/batch.h"
#include "app/engine/video_folder.h"
#include "test_support.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace kscgen {
namespace {

using testing::Holds;
using testing::ListNames;
using testing::ReadFile;
using testing::TempFolder;
using testing::Touch;
using testing::U8Path;
namespace fs = std::filesystem;

// Noon of a day of December 2026, local time.
std::time_t December2026(int day) {
  std::tm t{};
  t.tm_year = 2026 - 1900;
  t.tm_mon = 11;
  t.tm_mday = day;
  t.tm_hour = 12;
  t.tm_isdst = -1;
  return std::mktime(&t);
}

// Names on disk are UTF-8 (u8 literals); song values are GBK (plain literals).
class RerunTest : public ::testing::Test {
 protected:
  RerunTest() {
    folder_.path = root_ / "songs";
    folder_.relative = ".";
    folder_.folder_name = "songs";
    fs::create_directory(U8Path(folder_.path));
    request_.naming_template = kTemplateTitle;
    On(7);
  }

  void On(int day) {
    request_.clock = [day] { return December2026(day); };
  }

  void Add(const std::string& native_name) {
    Touch(folder_.path + "/" + native_name);
    folder_.files.push_back(MakeVideoFile(native_name));
  }

  BatchResult Run() {
    recorder_.reports.clear();
    return RunBatch(request_, {folder_}, &recorder_);
  }

  std::string Ksc(const std::string& native_name) {
    return ReadFile(folder_.path + "/" + native_name);
  }

  struct Recorder : BatchObserver {
    void OnVideo(const VideoReport& report, std::size_t, std::size_t) override {
      reports.push_back(report);
    }
    std::vector<VideoReport> reports;
  };

  TempFolder root_;
  VideoFolder folder_;
  BatchRequest request_;
  Recorder recorder_;
};

TEST_F(RerunTest, AnExistingKscFileKeepsItsDateOnALaterDay) {
  Add("a.mpg");
  ASSERT_EQ(Run().created, 1u);
  EXPECT_TRUE(Holds(Ksc("a.KSC"), "karaoke.tag('时间', '2026/12/7');\r\n"));

  Add("b.mpg");
  On(8);
  request_.dry_run = true;  // the preview shows the date each file will carry
  BatchResult r = Run();
  EXPECT_EQ(r.unchanged, 1u);
  EXPECT_EQ(r.created, 1u);
  EXPECT_EQ(recorder_.reports[0].song.date_text, "2026/12/7");
  EXPECT_EQ(recorder_.reports[1].song.date_text, "2026/12/8");

  request_.dry_run = false;
  r = Run();
  EXPECT_EQ(r.unchanged, 1u);
  EXPECT_EQ(r.created, 1u);
  EXPECT_EQ(r.updated, 0u);
  EXPECT_TRUE(Holds(Ksc("a.KSC"), "karaoke.tag('时间', '2026/12/7');\r\n"));
  EXPECT_TRUE(Holds(Ksc("b.KSC"), "karaoke.tag('时间', '2026/12/8');\r\n"));

  // A changed option rewrites the file, still with the date it held.
  request_.uniform.singer = "合唱团";
  On(9);
  r = Run();
  EXPECT_EQ(r.updated, 2u);
  EXPECT_TRUE(Holds(Ksc("a.KSC"), "karaoke.tag('时间', '2026/12/7');\r\n"));
  EXPECT_TRUE(Holds(Ksc("a.KSC"), "karaoke.tag('歌手', '合唱团');\r\n"));
  // So does a forced one.
  request_.force = true;
  r = Run();
  EXPECT_EQ(r.updated, 2u);
  EXPECT_TRUE(Holds(Ksc("b.KSC"), "karaoke.tag('时间', '2026/12/8');\r\n"));
}

TEST_F(RerunTest, AGivenDateOrTheFolderRoleSetsEveryDate) {
  Add("a.mpg");
  Touch(folder_.path + "/a.KSC", "karaoke.tag('时间', '2020/1/1');\r\n");
  request_.date_text = "2027/1/1";
  BatchResult r = Run();
  EXPECT_EQ(r.updated, 1u);
  EXPECT_TRUE(Holds(Ksc("a.KSC"), "karaoke.tag('时间', '2027/1/1');\r\n"));

  request_.date_text.reset();
  request_.folder_role = kRoleDateAdded;
  folder_.folder_name = "2026/3/1";
  r = Run();
  EXPECT_EQ(r.updated, 1u);
  EXPECT_TRUE(Holds(Ksc("a.KSC"), "karaoke.tag('时间', '2026/3/1');\r\n"));
}

TEST_F(RerunTest, AKscFileWithoutADateGetsTodays) {
  Add("a.mpg");
  Touch(folder_.path + "/a.KSC", "made by hand\r\n");
  On(8);
  BatchResult r = Run();
  EXPECT_EQ(r.updated, 1u);
  EXPECT_TRUE(Holds(Ksc("a.KSC"), "karaoke.tag('时间', '2026/12/8');\r\n"));
}

TEST_F(RerunTest, NamesThatDifferOnlyInLetterCaseAreOneName) {
  Add("Yesterday.mpg");
  Add("Zoo.mpg");  // between the two in byte order
  Add("yesterday.AVI");
  for (bool dry_run : {true, false}) {
    request_.dry_run = dry_run;
    BatchResult r = Run();
    ASSERT_EQ(r.status, BatchStatus::kDone);
    EXPECT_EQ(r.created, 2u);
    EXPECT_EQ(r.ksc_files(), 2u);
    EXPECT_EQ(recorder_.reports[0].outcome, VideoOutcome::kSuperseded);
    EXPECT_EQ(recorder_.reports[0].same_ksc_as, 2u);
    EXPECT_EQ(recorder_.reports[2].same_ksc_as, 0u);
    ASSERT_EQ(r.same_ksc.size(), 1u);
    EXPECT_EQ(r.same_ksc[0].earlier, "Yesterday.mpg");
    EXPECT_EQ(r.same_ksc[0].later, "yesterday.AVI");
  }
  // Whatever the file system makes of the case, one KSC file, the later video's.
  EXPECT_EQ(ListNames(folder_.path), "Yesterday.mpg|Zoo.KSC|Zoo.mpg|yesterday.AVI|yesterday.KSC");
  EXPECT_TRUE(Holds(Ksc("yesterday.KSC"), "karaoke.CommonVideo := 'yesterday.AVI';\r\n"));
  // Written once, so found unchanged once.
  BatchResult r = Run();
  EXPECT_EQ(r.unchanged, 2u);
  EXPECT_EQ(r.written(), 0u);
}

TEST_F(RerunTest, AKscFileUnderAnotherCaseIsReplacedWhereItIs) {
  Add("Song.mpg");
  Touch(folder_.path + "/song.ksc", "karaoke.tag('时间', '2020/1/1');\r\n");
  request_.dry_run = true;
  Run();
  ASSERT_EQ(recorder_.reports.size(), 1u);
  EXPECT_EQ(recorder_.reports[0].ksc_name, "song.ksc");
  EXPECT_EQ(recorder_.reports[0].outcome, VideoOutcome::kUpdated);
  EXPECT_EQ(recorder_.reports[0].song.date_text, "2020/1/1");

  request_.dry_run = false;
  BatchResult r = Run();
  EXPECT_EQ(r.updated, 1u);
  EXPECT_EQ(r.created, 0u);
  EXPECT_EQ(ListNames(folder_.path), "Song.mpg|song.ksc");
  EXPECT_TRUE(Holds(Ksc("song.ksc"), "karaoke.CommonVideo := 'Song.mpg';\r\n"));
  EXPECT_TRUE(Holds(Ksc("song.ksc"), "karaoke.tag('时间', '2020/1/1');\r\n"));
  EXPECT_EQ(Run().unchanged, 1u);
}

#ifndef _WIN32
// Where names are bytes, both spellings of one name, and both cases of a
// KSC file's name, can stand side by side.
TEST_F(RerunTest, TheUtf8AndTheGbkSpellingOfANameAreOneName) {
  Add("小河水.mpg");    // GBK bytes, as copied from Chinese Windows
  Add(u8"小河水.avi");  // UTF-8
  BatchResult r = Run();
  EXPECT_EQ(r.created, 1u);
  ASSERT_EQ(r.same_ksc.size(), 1u);
  EXPECT_EQ(r.same_ksc[0].later, u8"小河水.avi");
  EXPECT_EQ(ListNames(folder_.path), std::string("小河水.mpg|") + u8"小河水.KSC|小河水.avi");
}

TEST_F(RerunTest, TheKscFileOfTheVideosOwnNameWinsOverAnotherCase) {
  Add("a.mpg");
  Touch(folder_.path + "/A.ksc", "another");
  Touch(folder_.path + "/a.KSC", "own");
  BatchResult r = Run();
  EXPECT_EQ(r.updated, 1u);
  EXPECT_EQ(Ksc("A.ksc"), "another");
  EXPECT_TRUE(Holds(Ksc("a.KSC"), "karaoke.CommonVideo := 'a.mpg';\r\n"));
  // The other one stays stale, and is named.
  EXPECT_EQ(r.warnings, std::vector<std::string>{u8"另有同名的旧KSC文件 “A.ksc” 未更新"});
}

// Without the video's own name, the first of the others in byte order is
// its KSC file; each other one is named.
TEST_F(RerunTest, EveryStaleKscFileOfOneNameIsNamed) {
  Add("Song.mpg");
  Touch(folder_.path + "/SONG.KSC", "upper");
  Touch(folder_.path + "/song.ksc", "lower");
  Touch(folder_.path + "/\xCB\xC6.ksc", "no video");  // another name: not looked at
  BatchResult r = Run();
  EXPECT_EQ(r.updated, 1u);
  EXPECT_TRUE(Holds(Ksc("SONG.KSC"), "karaoke.CommonVideo := 'Song.mpg';\r\n"));
  EXPECT_EQ(Ksc("song.ksc"), "lower");
  EXPECT_EQ(r.warnings, std::vector<std::string>{u8"另有同名的旧KSC文件 “song.ksc” 未更新"});
}

// Letters of every script GBK holds in two cases: one name in either case,
// as on Windows, exFAT and FAT.
TEST(SameNameTest, LettersOfEveryScriptAreOneNameInEitherCase) {
  const std::pair<const char*, const char*> pairs[] = {
      {u8"Ａ", u8"ａ"}, {u8"Σ", u8"σ"}, {u8"Ё", u8"ё"}, {u8"Ⅹ", u8"ⅹ"}};
  for (const auto& [upper, lower] : pairs) {
    TempFolder dir;
    Touch(dir / (std::string(upper) + ".mpg"));
    Touch(dir / (std::string(lower) + ".avi"));
    Touch(dir / (std::string(lower) + "x.avi"));  // another name
    FolderListing listing = ListVideos(dir.path(), false);
    BatchRequest request;
    request.naming_template = kTemplateTitle;
    request.start_number = 0;
    BatchResult r = RunBatch(request, listing.folders, nullptr);
    EXPECT_EQ(r.created, 2u) << upper;
    ASSERT_EQ(r.same_ksc.size(), 1u) << upper;
    // Case set aside, the list goes by extension: the .mpg is later, and writes.
    EXPECT_EQ(r.same_ksc[0].earlier, std::string(lower) + ".avi");
    EXPECT_EQ(r.same_ksc[0].later, std::string(upper) + ".mpg");
    EXPECT_EQ(ListNames(dir.path()), std::string(upper) + ".KSC|" + upper + ".mpg|" + lower +
                                         ".avi|" + lower + "x.KSC|" + lower + "x.avi");
  }
}
#endif

#ifdef _WIN32
// A KSC file a player or an editor holds open without sharing it costs only
// its video: Windows refuses every other program even a look at it.
TEST_F(RerunTest, AKscFileAnotherProgramHoldsSkipsItsVideoOnly) {
  for (const char* name : {"a.mpg", "b.mpg", "c.mpg"}) Add(name);
  ASSERT_EQ(Run().created, 3u);
  const std::string held_bytes = Ksc("b.KSC");
  HANDLE held = CreateFileW(U8Path(folder_.path + "/b.KSC").c_str(), GENERIC_READ, 0, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  request_.force = true;
  BatchResult r = Run();
  CloseHandle(held);
  EXPECT_EQ(r.status, BatchStatus::kDone) << r.failure;
  EXPECT_EQ(r.updated, 2u);
  ASSERT_EQ(r.skipped.size(), 1u);
  EXPECT_EQ(r.skipped[0].name, "b.mpg");
  EXPECT_EQ(r.skipped[0].reason, u8"无法读取已有的KSC文件（被其他程序占用）");
  EXPECT_EQ(Ksc("b.KSC"), held_bytes);
}
#endif

}  // namespace
}  // namespace kscgen
