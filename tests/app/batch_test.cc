#include "app/engine/batch.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "expected_ksc.h"
#include "tagging/uniform_values.h"
#include "test_support.h"

namespace kscgen {
namespace {

using testing::ListNames;
using testing::ReadFile;
using testing::TempFolder;
using testing::Touch;

// Names on disk are UTF-8 (u8 literals); song values are GBK (plain literals).
class BatchTest : public ::testing::Test {
 protected:
  BatchTest() : folder_(root_ / u8"粤语金曲") {
    std::filesystem::create_directory(folder_);
    options_.naming_template = 1;
    options_.folder_role = 2;
    options_.folder_path = folder_;
    options_.date_text = "12/7/26";
  }

  void Add(const std::string& native_name) {
    Touch(folder_ + "/" + native_name);
    files_.push_back(MakeVideoFile(native_name));
  }

  BatchResult Run() { return RunBatch(options_, files_, &recorder_); }

  std::string Ksc(const std::string& native_name) { return ReadFile(folder_ + "/" + native_name); }

  struct Recorder : BatchObserver {
    void OnVideo(const VideoReport& report, std::size_t done, std::size_t total) override {
      reports.push_back(report);
      progress.push_back(std::to_string(done) + "/" + std::to_string(total));
    }
    std::vector<VideoReport> reports;
    std::vector<std::string> progress;
  };

  TempFolder root_;
  std::string folder_;
  BatchOptions options_;
  std::vector<VideoFile> files_;
  Recorder recorder_;
};

TEST_F(BatchTest, WritesOneKscFileBesideEachVideo) {
  Add(u8"合唱团－小河水.mpg");
  Add(u8"Beyond-海阔天空.AVI");
  BatchResult r = Run();
  ASSERT_EQ(r.status, BatchStatus::kDone) << r.message;
  EXPECT_EQ(r.written, 2u);
  EXPECT_EQ(ListNames(folder_),
            u8"Beyond-海阔天空.AVI|Beyond-海阔天空.KSC|合唱团－小河水.KSC|合唱团－小河水.mpg");
  EXPECT_EQ(Ksc(u8"合唱团－小河水.KSC"), testing::kRoadKsc);
  EXPECT_NE(Ksc(u8"Beyond-海阔天空.KSC").find("karaoke.CommonVideo := 'Beyond-海阔天空.AVI';\r\n"),
            std::string::npos);
  EXPECT_EQ(recorder_.progress, (std::vector<std::string>{"1/2", "2/2"}));
  EXPECT_EQ(r.message,
            u8"\r2　首歌曲生成KSC文件完毕！\r\r如果需要加入歌库，请手动到歌曲管理器中进行扫描！");
}

TEST_F(BatchTest, GbkNamedVideoGetsAGbkNamedKscFile) {
  Add("小河水.mpg");  // GBK bytes on disk, as copied from Chinese Windows
  options_.naming_template = 0;
  options_.folder_role = 0;
  ASSERT_EQ(Run().status, BatchStatus::kDone);
  std::string ksc = Ksc("小河水.KSC");
  EXPECT_NE(ksc.find("karaoke.tag('歌名', '小河水');\r\n"), std::string::npos);
  EXPECT_NE(ksc.find("karaoke.tag('歌手', '佚名');\r\n"), std::string::npos);
  EXPECT_NE(ksc.find("karaoke.tag('歌星拼音', 'YM');\r\n"), std::string::npos);
}

TEST_F(BatchTest, BaseNameDropsTheWholeExtension) {
  Add("a.rmvb");
  ASSERT_EQ(Run().status, BatchStatus::kDone);
  EXPECT_EQ(ListNames(folder_), "a.KSC|a.rmvb");
  EXPECT_NE(Ksc("a.KSC").find("karaoke.tag('歌名', 'a');\r\n"), std::string::npos);
}

TEST_F(BatchTest, SameBaseNameKeepsTheLaterVideoAndNamesThePair) {
  Add("a.mpg");
  Add("a.avi");
  BatchResult r = Run();
  ASSERT_EQ(r.status, BatchStatus::kDone);
  EXPECT_NE(Ksc("a.KSC").find("karaoke.CommonVideo := 'a.avi';\r\n"), std::string::npos);
  ASSERT_EQ(r.same_ksc.size(), 1u);
  EXPECT_EQ(r.same_ksc[0].earlier, "a.mpg");
  EXPECT_EQ(r.same_ksc[0].later, "a.avi");
  EXPECT_NE(r.message.find(u8"\ra.mpg 与 a.avi"), std::string::npos);
  EXPECT_EQ(recorder_.reports[1].same_ksc_as, 0u);
}

TEST_F(BatchTest, UnusableNamesAreSkippedWithTheirReasonAndTheRunGoesOn) {
  Add("bad\x01name.mpg");
  Add(u8"smile\U0001F600.mpg");
  Add(".mpg");
  Add("good.mpg");
  BatchResult r = Run();
  ASSERT_EQ(r.status, BatchStatus::kDone);
  EXPECT_EQ(r.written, 1u);
  ASSERT_EQ(r.skipped.size(), 3u);
  EXPECT_EQ(r.skipped[0].name, "bad\\x01name.mpg");
  EXPECT_EQ(r.skipped[0].reason, u8"文件名含有控制字符");
  EXPECT_EQ(r.skipped[1].reason, u8"文件名含有GBK无法表示的字符");
  EXPECT_EQ(r.skipped[2].reason, u8"文件名去掉扩展名后为空");
  EXPECT_NE(r.message.find(u8"共生成 1 个KSC文件，以下 3 个视频未生成："), std::string::npos);
  EXPECT_NE(r.message.find(u8"\r.mpg（文件名去掉扩展名后为空）"), std::string::npos);
  EXPECT_TRUE(std::filesystem::exists(folder_ + "/good.KSC"));
  EXPECT_FALSE(std::filesystem::exists(folder_ + "/.KSC"));
}

TEST_F(BatchTest, NoTemplateWritesNothing) {
  Add("a.mpg");
  options_.naming_template = -1;
  BatchResult r = Run();
  EXPECT_EQ(r.status, BatchStatus::kNoTemplate);
  EXPECT_EQ(r.message, u8"\r　请选择歌曲命名模板！ ");
  EXPECT_EQ(ListNames(folder_), "a.mpg");
}

TEST_F(BatchTest, NumbersFromTheStartNumberPlusOne) {
  struct Case {
    const char* start;
    const char* first;
    const char* second;
  };
  const Case cases[] = {
      {"100", "00101", "00102"},
      {" 2 ", "00003", "00004"},
      {"99999", "100000", "100001"},
      {"$10", "00017", "00018"},
      {"0x10", "00017", "00018"},
      {"1", "", ""},
      {"0", "", ""},
      {"", "", ""},
      {"-5", "", ""},
  };
  Add("a.mpg");
  Add("b.mpg");
  options_.number_start_on = true;
  for (const Case& c : cases) {
    options_.start_number_text = c.start;
    recorder_.reports.clear();
    ASSERT_EQ(Run().status, BatchStatus::kDone) << c.start;
    EXPECT_EQ(recorder_.reports[0].song.Number, c.first) << c.start;
    EXPECT_EQ(recorder_.reports[1].song.Number, c.second) << c.start;
  }
  options_.number_start_on = false;  // the text is ignored while numbering is off
  options_.start_number_text = "100";
  recorder_.reports.clear();
  Run();
  EXPECT_EQ(recorder_.reports[0].song.Number, "");
}

TEST_F(BatchTest, BadStartNumberStopsBeforeAnyFile) {
  Add("a.mpg");
  options_.number_start_on = true;
  options_.start_number_text = "12a";
  BatchResult r = Run();
  EXPECT_EQ(r.status, BatchStatus::kBadOptions);
  EXPECT_EQ(r.message, "'12a' is not a valid integer value");
  // Numbering would pass the 32-bit range at the second video.
  Add("b.mpg");
  options_.start_number_text = "2147483646";
  r = Run();
  EXPECT_EQ(r.status, BatchStatus::kBadOptions);
  EXPECT_NE(r.message.find("2147483646"), std::string::npos);
  EXPECT_EQ(ListNames(folder_), "a.mpg|b.mpg");
}

TEST_F(BatchTest, StopsAtAFileThatCannotBeWrittenAndKeepsTheOnesBefore) {
  Add("a.mpg");
  Add("b.mpg");
  Add("c.mpg");
  std::filesystem::create_directory(folder_ + "/b.KSC");
  BatchResult r = Run();
  EXPECT_EQ(r.status, BatchStatus::kWriteFailed);
  EXPECT_EQ(r.message.rfind("Cannot create file \"" + folder_ + "/b.KSC\". ", 0), 0u) << r.message;
  EXPECT_EQ(ListNames(folder_), "a.KSC|a.mpg|b.KSC|b.mpg|c.mpg");
  std::string a = Ksc("a.KSC");
  EXPECT_EQ(a.substr(a.size() - 33), "karaoke.CommonVideo := 'a.mpg';\r\n");
}

TEST_F(BatchTest, DryRunWritesNothingButReportsEveryValue) {
  Add(u8"合唱团－小河水.mpg");
  options_.dry_run = true;
  BatchResult r = Run();
  ASSERT_EQ(r.status, BatchStatus::kDone);
  EXPECT_EQ(r.written, 0u);
  EXPECT_EQ(ListNames(folder_), u8"合唱团－小河水.mpg");
  ASSERT_EQ(recorder_.reports.size(), 1u);
  const TSongInfo& s = recorder_.reports[0].song;
  EXPECT_EQ(s.Singer, "合唱团");
  EXPECT_EQ(s.Language, "粤语");
  EXPECT_EQ(recorder_.reports[0].ksc_name, "合唱团－小河水.KSC");
  EXPECT_EQ(s.KscPath, folder_ + u8"/合唱团－小河水.KSC");
}

TEST_F(BatchTest, UniformValuesApplyOnlyWhenOnAndTheSingerInitialsFollowThem) {
  Add(u8"张三－小河水(国语).mpg");
  options_.naming_template = 2;
  options_.uniform_list_text =
      JoinUniformList({"歌 手 名 --> 合唱团; ", "歌曲语种 --> 粤语; ", "歌曲声道 --> 2 左声道; "});
  options_.dry_run = true;
  Run();
  EXPECT_EQ(recorder_.reports[0].song.Singer, "张三");
  EXPECT_EQ(recorder_.reports[0].song.SingerPinyin, "ZS");
  options_.uniform_on = true;
  Run();
  const TSongInfo& s = recorder_.reports[1].song;
  EXPECT_EQ(s.Singer, "合唱团");
  EXPECT_EQ(s.SingerPinyin, "HCT");
  EXPECT_EQ(s.Language, "粤语");
  EXPECT_EQ(s.Channel, "2");
  EXPECT_EQ(s.Abbrev, "XHS");  // from the title, which uniform values never change
}

TEST(FolderNameTest, IsTheLastComponentWithTrailingSeparatorsIgnored) {
  EXPECT_EQ(FolderNameOf(u8"/ktv/国语"), "国语");
  EXPECT_EQ(FolderNameOf(u8"/ktv/国语//"), "国语");
  EXPECT_EQ(FolderNameOf(u8"/ktv/ 粤语金曲 "), "粤语金曲");
  EXPECT_EQ(FolderNameOf("/ktv/国语"), "国语");  // a GBK name
  EXPECT_EQ(FolderNameOf("/"), "");
  EXPECT_EQ(FolderNameOf(""), "");
  EXPECT_EQ(FolderNameOf("songs"), "songs");
}

TEST(BaseNameTest, DropsTheWholeExtensionAndTrims) {
  EXPECT_EQ(BaseNameOf("a.rmvb"), "a");
  EXPECT_EQ(BaseNameOf(" 合唱团－小河水 .mpg "), "合唱团－小河水");
  EXPECT_EQ(BaseNameOf("a.b.mpg"), "a.b");
  EXPECT_EQ(BaseNameOf(".mpg"), "");
  EXPECT_EQ(BaseNameOf("noext"), "noext");
}

}  // namespace
}  // namespace kscgen
