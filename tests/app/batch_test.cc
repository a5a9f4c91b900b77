#include "app/engine/batch.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "app/engine/messages.h"
#include "batch_fixture.h"
#include "expected_ksc.h"
#include "tagging/uniform_values.h"
#include "test_support.h"

namespace kscgen {
namespace {

using testing::BatchTest;
using testing::ListNames;
using testing::ReadFile;
using testing::TempFolder;
using testing::Touch;
using testing::U8Path;
namespace fs = std::filesystem;

TEST_F(BatchTest, WritesOneKscFileBesideEachVideo) {
  Add(u8"合唱团－小河水.mpg");
  Add(u8"Beyond-海阔天空.AVI");
  BatchResult r = Run();
  ASSERT_EQ(r.status, BatchStatus::kDone) << r.failure;
  EXPECT_EQ(r.created, 2u);
  EXPECT_EQ(ListNames(folder_.path),
            u8"Beyond-海阔天空.AVI|Beyond-海阔天空.KSC|合唱团－小河水.KSC|合唱团－小河水.mpg");
  EXPECT_EQ(Ksc(u8"合唱团－小河水.KSC"), testing::kRoadKsc);
  EXPECT_NE(Ksc(u8"Beyond-海阔天空.KSC").find("karaoke.CommonVideo := 'Beyond-海阔天空.AVI';\r\n"),
            std::string::npos);
  EXPECT_EQ(recorder_.progress, (std::vector<std::string>{"1/2", "2/2"}));
  EXPECT_EQ(Summary(r),
            u8"\n2　首歌曲生成KSC文件完毕！\n\n如果需要加入歌库，请手动到歌曲管理器中进行扫描！"
            u8"\n\n新建 2 个，更新 0 个，未变 0 个");
}

TEST_F(BatchTest, GbkNamedVideoGetsAGbkNamedKscFile) {
#ifdef _WIN32
  GTEST_SKIP() << "Windows names are UTF-16: no name on disk is GBK bytes there";
#endif
  Add("小河水.mpg");  // GBK bytes on disk, as copied from Chinese Windows
  request_.naming_template = kTemplateTitle;
  request_.folder_role = kRoleNone;
  ASSERT_EQ(Run().status, BatchStatus::kDone);
  std::string ksc = Ksc("小河水.KSC");
  EXPECT_NE(ksc.find("karaoke.tag('歌名', '小河水');\r\n"), std::string::npos);
  EXPECT_NE(ksc.find("karaoke.tag('歌手', '佚名');\r\n"), std::string::npos);
  EXPECT_NE(ksc.find("karaoke.tag('歌星拼音', 'YM');\r\n"), std::string::npos);
}

TEST_F(BatchTest, BaseNameDropsTheWholeExtension) {
  Add("a.rmvb");
  ASSERT_EQ(Run().status, BatchStatus::kDone);
  EXPECT_EQ(ListNames(folder_.path), "a.KSC|a.rmvb");
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
  EXPECT_NE(Summary(r).find(u8"\na.mpg 与 a.avi"), std::string::npos);
  // The earlier video writes nothing: its file would be replaced at once.
  EXPECT_EQ(recorder_.reports[0].outcome, VideoOutcome::kSuperseded);
  EXPECT_EQ(recorder_.reports[0].same_ksc_as, 1u);
  EXPECT_EQ(recorder_.reports[1].same_ksc_as, 0u);
  // The counts add up: one KSC file, one superseded video.
  EXPECT_EQ(r.ksc_files(), 1u);
  EXPECT_EQ(Summary(r).rfind(u8"\n1　首歌曲生成KSC文件完毕！", 0), 0u);
}

TEST_F(BatchTest, UnusableNamesAreSkippedWithTheirReasonAndTheRunGoesOn) {
  Add("bad\x01name.mpg");
  Add(u8"smile\U0001F600.mpg");
  Add(".mpg");
  Add("good.mpg");
  BatchResult r = Run();
  ASSERT_EQ(r.status, BatchStatus::kDone);
  EXPECT_EQ(r.written(), 1u);
  ASSERT_EQ(r.skipped.size(), 3u);
  EXPECT_EQ(r.skipped[0].name, "bad\\x01name.mpg");
  EXPECT_EQ(r.skipped[0].reason, u8"文件名含有控制字符");
  EXPECT_EQ(r.skipped[1].reason, u8"文件名含有GBK无法表示的字符");
  EXPECT_EQ(r.skipped[2].reason, u8"文件名去掉扩展名后为空");
  EXPECT_EQ(Summary(r),
            u8"\n1　首歌曲生成KSC文件完毕！\n\n如果需要加入歌库，请手动到歌曲管理器中进行扫描！"
            u8"\n\n新建 1 个，更新 0 个，未变 0 个"
            // good.mpg has no separator: the one video with a note.
            u8"\n\n1 个视频有备注（文件名与模板不符之处等），可在预览中查看（命令行用 kscgen -n）"
            u8"\n\n以下 3 个视频未生成KSC文件："
            u8"\nbad\\x01name.mpg（文件名含有控制字符）"
            u8"\nsmile\U0001F600.mpg（文件名含有GBK无法表示的字符）"
            u8"\n.mpg（文件名去掉扩展名后为空）");
  EXPECT_TRUE(fs::exists(U8Path(folder_.path + "/good.KSC")));
  EXPECT_FALSE(fs::exists(U8Path(folder_.path + "/.KSC")));
}

TEST_F(BatchTest, NoTemplateWritesNothing) {
  Add("a.mpg");
  request_.naming_template.reset();
  BatchResult r = Run();
  EXPECT_EQ(r.status, BatchStatus::kNoTemplate);
  EXPECT_EQ(Summary(r), u8"\n　请选择歌曲命名模板！ ");
  EXPECT_EQ(ListNames(folder_.path), "a.mpg");
}

TEST_F(BatchTest, AFolderOrALinkAtTheKscNameIsLeftAndItsVideoSkipped) {
  Add("a.mpg");
  Add("b.mpg");
  Add("c.mpg");
  Add("d.mpg");
  fs::create_directory(U8Path(folder_.path + "/b.KSC"));
#ifndef _WIN32
  fs::create_symlink("a.KSC", U8Path(folder_.path + "/c.KSC"));
#endif
  request_.start_number = 0;
  for (bool dry_run : {true, false}) {
    request_.dry_run = dry_run;
    BatchResult r = Run();
    EXPECT_EQ(r.status, BatchStatus::kDone) << r.failure;
    ASSERT_EQ(recorder_.reports.size(), 4u);
    EXPECT_EQ(recorder_.reports[1].song.number, "");  // numbers only for files written
#ifndef _WIN32
    EXPECT_EQ(recorder_.reports[3].song.number, "00002");
#endif
    EXPECT_EQ(recorder_.reports[1].skip_reason, u8"KSC文件的位置上是一个文件夹") << dry_run;
#ifndef _WIN32
    EXPECT_EQ(recorder_.reports[2].skip_reason, u8"KSC文件的位置上是链接或特殊文件") << dry_run;
    EXPECT_EQ(r.created, 2u);
#endif
    EXPECT_EQ(recorder_.reports[3].outcome, VideoOutcome::kCreated) << dry_run;
  }
  EXPECT_TRUE(fs::is_directory(U8Path(folder_.path + "/b.KSC")));
#ifndef _WIN32
  EXPECT_TRUE(fs::is_symlink(U8Path(folder_.path + "/c.KSC")));
#endif
  EXPECT_TRUE(fs::exists(U8Path(folder_.path + "/d.KSC")));
}

TEST_F(BatchTest, TheCompletionBoxListsTenNamesInAllAndCountsTheRest) {
  for (int i = 0; i < 8; ++i) Add("bad\x01" + std::to_string(i + 10) + ".mpg");
  for (const char* name : {"p.avi", "p.mpg", "q.avi", "q.mpg", "r.avi", "r.mpg"}) Add(name);
  BatchResult r = Run();
  messages::Report report = messages::BatchReport(r, 10);
  // Eight skipped videos, then two of the three pairs: ten names.
  EXPECT_NE(report.summary.find(u8"\nbad\\x0117.mpg（"), std::string::npos);
  EXPECT_NE(report.summary.find(u8"\np.avi 与 p.mpg\nq.avi 与 q.mpg\n……另有 1 个"),
            std::string::npos)
      << report.summary;
  EXPECT_EQ(report.summary.find(u8"r.avi"), std::string::npos);
  // A list cut short is in the details whole; one shown whole is not.
  EXPECT_EQ(report.details,
            u8"以下视频的KSC文件同名，保留的是后一个视频的：\np.avi 与 p.mpg\nq.avi 与 q.mpg"
            u8"\nr.avi 与 r.mpg");
  EXPECT_EQ(messages::BatchReport(r, 100).details, "");
  // With the names used up by the skipped videos, the pairs still name one.
  report = messages::BatchReport(r, 5);
  EXPECT_NE(report.summary.find(u8"\nbad\\x0114.mpg（文件名含有控制字符）\n……另有 3 个"),
            std::string::npos)
      << report.summary;
  EXPECT_NE(report.summary.find(u8"保留的是后一个视频的：\np.avi 与 p.mpg\n……另有 2 个"),
            std::string::npos)
      << report.summary;
}

TEST_F(BatchTest, DryRunWritesNothingButReportsEveryValue) {
  Add(u8"合唱团－小河水.mpg");
  request_.dry_run = true;
  BatchResult r = Run();
  ASSERT_EQ(r.status, BatchStatus::kDone);
  EXPECT_EQ(r.created, 1u);  // would be created
  EXPECT_EQ(ListNames(folder_.path), u8"合唱团－小河水.mpg");
  ASSERT_EQ(recorder_.reports.size(), 1u);
  const SongInfo& s = recorder_.reports[0].song;
  EXPECT_EQ(s.singer, "合唱团");
  EXPECT_EQ(s.language, "粤语");
  EXPECT_EQ(recorder_.reports[0].ksc_name, "合唱团－小河水.KSC");
  EXPECT_EQ(s.ksc_path, os::JoinPath(folder_.path, u8"合唱团－小河水.KSC"));
  EXPECT_EQ(recorder_.reports[0].outcome, VideoOutcome::kCreated);  // what a real run would do
}

TEST_F(BatchTest, AutoLearnsTheSingersOfTheWholeLibraryBeforeReadingAnyName) {
  // The first name does not say which side is the singer; the second, read
  // after it, does.
  Add(u8"后来 - 刘若英.mpg");
  Add(u8"刘若英-很爱很爱你-国语.mpg");
  request_.naming_template = kTemplateAuto;
  request_.dry_run = true;
  ASSERT_EQ(Run().status, BatchStatus::kDone);
  ASSERT_EQ(recorder_.reports.size(), 2u);
  const SongInfo& s = recorder_.reports[0].song;
  EXPECT_EQ(s.singer, "刘若英");
  EXPECT_EQ(s.title, "后来");
  EXPECT_EQ(s.language, "粤语");  // the folder gives what the name does not
  EXPECT_EQ(recorder_.reports[0].name_findings,
            (NameFindings{{NameFindingKind::kKnownSinger, "刘若英"}}));
  EXPECT_EQ(recorder_.reports[1].song.language, "国语");
  EXPECT_TRUE(recorder_.reports[1].name_findings.empty());
  EXPECT_EQ(messages::NameNote(recorder_.reports[0].name_findings[0]),
            u8"按歌库中已有的歌手“刘若英”判断");
}

TEST_F(BatchTest, AFolderThatNamesNothingUnderItsRoleIsToldOnceAndNotedOnItsRows) {
  Add(u8"张三－小河水.mpg");
  Add(u8"张三－大河水(怀旧).mpg");
  Add(u8"李四－小河水.mpg");
  request_.naming_template = kTemplateSingerTitleLanguageStyle;
  request_.folder_role = kRoleStyle;  // 粤语金曲 names a language, no style
  request_.dry_run = true;
  const BatchResult r = Run();
  ASSERT_EQ(r.warnings.size(), 1u);
  EXPECT_EQ(r.warnings[0],
            u8"文件夹名“" + folder_.path + u8"”中没有类别，名称中没有类别的歌曲用默认的类别");
  ASSERT_EQ(recorder_.reports.size(), 3u);
  const NameFindings noted{{NameFindingKind::kFolderNoStyle, "粤语金曲"}};
  EXPECT_EQ(recorder_.reports[0].name_findings, noted);
  EXPECT_TRUE(recorder_.reports[1].name_findings.empty());  // its name gives the style
  EXPECT_EQ(recorder_.reports[2].name_findings, noted);
  request_.folder_role = kRoleLanguage;
  EXPECT_TRUE(Run().warnings.empty());
}

TEST_F(BatchTest, UniformValuesApplyAndTheSingerInitialsFollowThem) {
  Add(u8"张三－小河水(国语).mpg");
  request_.naming_template = kTemplateSingerTitleLanguage;
  request_.dry_run = true;
  Run();
  EXPECT_EQ(recorder_.reports[0].song.singer, "张三");
  EXPECT_EQ(recorder_.reports[0].song.singer_pinyin, "ZS");
  std::vector<UniformEntry> entries;
  for (auto [kind, value] : {std::pair{"歌 手 名", "合唱团"}, std::pair{"歌曲语种", "粤语"},
                             std::pair{"歌曲声道", "2 左声道"}}) {
    entries.push_back(ParseUniformEntry(kind, value).entry);
  }
  request_.uniform = CollectUniformValues(entries);
  Run();
  const SongInfo& s = recorder_.reports[0].song;
  EXPECT_EQ(s.singer, "合唱团");
  EXPECT_EQ(s.singer_pinyin, "HCT");
  EXPECT_EQ(s.language, "粤语");
  EXPECT_EQ(s.channel, "2");
  EXPECT_EQ(s.abbrev, "XHS");  // from the title, which uniform values never change
}

TEST_F(BatchTest, SearchesNeverMatchAcrossTwoCharacters) {
  // 埃瑻 is B0A3 AD40: its middle bytes spell "－" (A3AD). GBK on disk
  // where names are bytes; UTF-16 (read as UTF-8) on Windows.
#ifdef _WIN32
  Add(u8"埃瑻.mpg");
#else
  Add("\xB0\xA3\xAD\x40.mpg");
#endif
  // 自立 is D7D4 C1A2: its middle bytes spell 粤 (D4C1).
  Add(u8"歌手－歌(自立).mpg");
  request_.folder_role = kRoleNone;
  request_.naming_template = kTemplateSingerTitleLanguage;
  ASSERT_EQ(Run().status, BatchStatus::kDone);
  EXPECT_EQ(recorder_.reports[0].song.title, "\xB0\xA3\xAD\x40");
  EXPECT_EQ(recorder_.reports[0].song.singer, "");
  EXPECT_EQ(recorder_.reports[1].song.language, "国语");
  request_.naming_template = kTemplateSingerTitle;
  Run();
  EXPECT_EQ(recorder_.reports[0].song.title, "\xB0\xA3\xAD\x40");
  EXPECT_EQ(recorder_.reports[0].song.singer, "佚名");
}

TEST_F(BatchTest, KscFilesAreNamedAfterTheRealVideoName) {
  Add(" lead.mpg");
  Add("tail .mpg");
  Add("a.b.mpg");  // only the last extension goes
  request_.naming_template = kTemplateTitle;
  ASSERT_EQ(Run().status, BatchStatus::kDone);
  EXPECT_EQ(ListNames(folder_.path), " lead.KSC| lead.mpg|a.b.KSC|a.b.mpg|tail .KSC|tail .mpg");
  EXPECT_NE(Ksc("a.b.KSC").find("karaoke.tag('歌名', 'a.b');\r\n"), std::string::npos);
  std::string lead = Ksc(" lead.KSC");
  EXPECT_NE(lead.find("karaoke.tag('歌名', 'lead');\r\n"), std::string::npos);
  EXPECT_NE(lead.find("karaoke.CommonVideo := ' lead.mpg';\r\n"), std::string::npos);
  EXPECT_NE(Ksc("tail .KSC").find("karaoke.CommonVideo := 'tail .mpg';\r\n"), std::string::npos);
}

TEST_F(BatchTest, AnUnchangedReRunLeavesEveryFileAsItWas) {
  Add(u8"合唱团－小河水.mpg");
  Add("b.mpg");
  ASSERT_EQ(Run().created, 2u);
  const fs::path path = U8Path(folder_.path + u8"/合唱团－小河水.KSC");
  // A second link to the file: it stays the same file as long as the KSC
  // file is left in place, and keeps the old one once it is replaced.
  const fs::path kept = U8Path(folder_.path + "/kept");
  fs::create_hard_link(path, kept);
  const fs::file_time_type written = fs::last_write_time(path);
  BatchResult r = Run();
  EXPECT_EQ(r.unchanged, 2u);
  EXPECT_EQ(r.written(), 0u);
  // b.mpg has no separator: a note the preview shows.
  EXPECT_EQ(Summary(r),
            u8"\n2 个KSC文件都已是最新，没有改动"
            u8"\n\n1 个视频有备注（文件名与模板不符之处等），可在预览中查看（命令行用 kscgen -n）");
  EXPECT_TRUE(fs::equivalent(path, kept));
  EXPECT_EQ(fs::last_write_time(path), written);

  // One changed option updates exactly the files it changes: b.mpg's
  // singer is 佚名 already, 合唱团－小河水.mpg's is not.
  request_.uniform.singer = "佚名";
  r = Run();
  EXPECT_EQ(r.updated, 1u);
  EXPECT_EQ(r.unchanged, 1u);
  // The file left unchanged was not generated: the heading counts one. The
  // update's note says what it changes (歌手：合唱团→佚名).
  EXPECT_EQ(Summary(r),
            u8"\n1　首歌曲生成KSC文件完毕！\n\n如果需要加入歌库，请手动到歌曲管理器中进行扫描！"
            u8"\n\n新建 0 个，更新 1 个，未变 1 个"
            u8"\n\n2 个视频有备注（文件名与模板不符之处等），可在预览中查看（命令行用 kscgen -n）");
  EXPECT_EQ(recorder_.reports[0].outcome, VideoOutcome::kUpdated);
  EXPECT_FALSE(fs::equivalent(path, kept));
  fs::remove(kept);
  fs::create_hard_link(path, kept);
  r = Run();
  EXPECT_EQ(r.unchanged, 2u);
  EXPECT_TRUE(fs::equivalent(path, kept));
  // --force writes a new file in place of the old, which the second link keeps.
  request_.force = true;
  r = Run();
  EXPECT_EQ(r.updated, 2u);
  EXPECT_FALSE(fs::equivalent(path, kept));
}

TEST_F(BatchTest, AWriteProtectedKscFileIsLeftAloneAndItsVideoSkipped) {
  Add("a.mpg");
  Add("b.mpg");
  Touch(folder_.path + "/a.KSC", "hand-corrected");
  // No write permission at all; on Windows, the read-only attribute.
  fs::permissions(U8Path(folder_.path + "/a.KSC"),
                  fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
  BatchResult r = Run();
  EXPECT_EQ(r.status, BatchStatus::kDone);
  EXPECT_EQ(Ksc("a.KSC"), "hand-corrected");
  ASSERT_EQ(r.skipped.size(), 1u);
  EXPECT_EQ(r.skipped[0].reason, u8"KSC文件只读");
  EXPECT_EQ(r.created, 1u);
}

TEST_F(BatchTest, ASecondRunOnALockedFolderWritesNothing) {
  Add("a.mpg");
  std::unique_ptr<os::Folder> lock;  // as another run holds it
  ASSERT_FALSE(os::SystemFileSystem().OpenFolder(folder_.path, &lock).failed());
  ASSERT_FALSE(lock->Lock().failed());
  BatchResult r = Run();
  EXPECT_EQ(r.status, BatchStatus::kLocked);
  EXPECT_EQ(Summary(r), u8"另一个批量任务正在处理此文件夹：" + folder_.path +
                            u8"\n本次已写入 0 个KSC文件，另有 1 个视频未处理。");
  // The lock is a file in the folder on both systems, removed when the lock
  // is released.
  EXPECT_EQ(ListNames(folder_.path), ".kscgen.lock|a.mpg");
  lock.reset();
  EXPECT_EQ(ListNames(folder_.path), "a.mpg");
  EXPECT_EQ(Run().status, BatchStatus::kDone);
}

TEST_F(BatchTest, AStopEndsTheRunAfterAWholeFile) {
  for (int i = 0; i < 5; ++i) Add(std::to_string(i) + ".mpg");
  std::atomic<bool> stop{false};
  struct StopAfterTwo : BatchObserver {
    std::atomic<bool>* stop;
    void OnVideo(const VideoReport&, std::size_t done, std::size_t) override {
      if (done == 2) *stop = true;
    }
  } observer;
  observer.stop = &stop;
  request_.stop = &stop;
  request_.naming_template = kTemplateTitle;
  BatchResult r = RunBatch(request_, {folder_}, &observer);
  EXPECT_EQ(r.status, BatchStatus::kStopped);
  EXPECT_EQ(r.created, 2u);
  EXPECT_EQ(Summary(r), u8"批量任务已停止。\n本次已写入 2 个KSC文件，另有 3 个视频未处理。");
  // The videos run through before the stop have their notes counted too.
  r.noted = 1;
  EXPECT_EQ(Summary(r),
            u8"批量任务已停止。\n本次已写入 2 个KSC文件，另有 3 个视频未处理。"
            u8"\n\n1 个视频有备注（文件名与模板不符之处等），可在预览中查看"
            u8"（命令行用 kscgen -n）");
  EXPECT_EQ(ListNames(folder_.path), "0.KSC|0.mpg|1.KSC|1.mpg|2.mpg|3.mpg|4.mpg");
}

}  // namespace
}  // namespace kscgen
