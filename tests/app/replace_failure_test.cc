// An existing KSC file the run cannot read or replace: what it costs (its
// video, or the rest of the run) and what is kept (its bytes, its number).
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "app/engine/batch.h"
#include "app/engine/video_folder.h"
#include "test_file_system.h"
#include "test_support.h"

namespace kscgen {
namespace {

using testing::Holds;
using testing::ListNames;
using testing::ReadFile;
using testing::TempFolder;
using testing::Touch;
using testing::U8Path;
namespace fs = std::filesystem;

// A KSC file that cannot be replaced for a reason of its own costs only its
// video; a folder or a file system that fails stops the run, with counts.
TEST(ReplaceFailureTest, OnlyAFailureOfTheFolderOrTheFileSystemStopsTheRun) {
  struct Case {
    os::ErrorKind kind;
    const char* reason;
    bool in_folder;    // the temporary file failed, not the KSC file
    const char* skip;  // the skip reason; null when the run stops
  };
  const Case cases[] = {
      {os::ErrorKind::kPermission, "Operation not permitted", false,
       u8"无法替换KSC文件（没有权限）"},
      {os::ErrorKind::kIsFolder, "Is a directory", false, u8"无法替换KSC文件（是一个文件夹）"},
      {os::ErrorKind::kNameTooLong, "File name too long", false, u8"无法替换KSC文件（名称太长）"},
      // A mount at the KSC file's name (EBUSY at the rename).
      {os::ErrorKind::kBusy, "Device or resource busy", false, u8"无法替换KSC文件（正在使用中）"},
      // Windows: a player has the KSC file open and shares it with no one
      // (ERROR_SHARING_VIOLATION).
      {os::ErrorKind::kHeldByAnotherProgram, "The process cannot access the file", false,
       u8"无法替换KSC文件（被其他程序占用）"},
      // Another program saved it since it was read: its save stays.
      {os::ErrorKind::kChangedSinceRead, "changed since it was read", false,
       u8"无法替换KSC文件（读取后被其他程序修改）"},
      {os::ErrorKind::kNoSpace, "No space left on device", false, nullptr},
      {os::ErrorKind::kQuota, "Disk quota exceeded", true, nullptr},
      {os::ErrorKind::kReadOnlyFileSystem, "Read-only file system", false, nullptr},
      {os::ErrorKind::kIoError, "Input/output error", false, nullptr},
      {os::ErrorKind::kPermission, "Permission denied", true, nullptr},
  };
  for (const Case& c : cases) {
    TempFolder dir;
    for (const char* name : {"a.mpg", "b.mpg", "c.mpg"}) Touch(dir / name);
    testing::TestFileSystem fs;
    FolderListing listing = ListVideos(dir.path(), false, fs);
    fs.FailAt(testing::Step::kReplace, {c.kind, c.reason}, 1, "b.KSC", c.in_folder);
    BatchRequest request;
    request.naming_template = kTemplateTitle;
    request.file_system = &fs;
    request.start_number = 0;
    BatchResult r = RunBatch(request, listing.folders, nullptr);
    if (c.skip) {
      // The skipped video gives its number back: the next one takes it.
      EXPECT_TRUE(Holds(ReadFile(dir / "c.KSC"), "karaoke.internalnumber :=00002 ;\r\n"));
      EXPECT_EQ(r.status, BatchStatus::kDone) << c.reason;
      EXPECT_EQ(r.created, 2u) << c.reason;
      ASSERT_EQ(r.skipped.size(), 1u) << c.reason;
      EXPECT_EQ(r.skipped[0].name, "b.mpg");
      EXPECT_EQ(r.skipped[0].reason, c.skip);
      EXPECT_EQ(ListNames(dir.path()), "a.KSC|a.mpg|b.mpg|c.KSC|c.mpg") << c.reason;
    } else {
      EXPECT_EQ(r.status, BatchStatus::kWriteFailed) << c.reason;
      EXPECT_EQ(r.created, 1u) << c.reason;
      EXPECT_EQ(r.not_reached, 2u) << c.reason;
      EXPECT_NE(r.failure.find(u8"\n本次已写入 1 个KSC文件，另有 2 个视频未处理。"),
                std::string::npos)
          << r.failure;
      EXPECT_EQ(ListNames(dir.path()), "a.KSC|a.mpg|b.mpg|c.mpg") << c.reason;
    }
  }
}

// An editor that saves a KSC file while the run writes its new one (after
// the run read the file, before its new file takes the old one's place)
// keeps its save, on the real disk: the video is skipped, its number given
// back, and the run goes on. So does a file made where there was none.
TEST(ReplaceFailureTest, AKscFileSavedByAnotherProgramMeanwhileKeepsItsSave) {
  for (bool existed : {true, false}) {
    TempFolder dir;
    for (const char* name : {"a.mpg", "b.mpg", "c.mpg"}) Touch(dir / name);
    if (existed) Touch(dir / "b.KSC", "karaoke.tag('风格', '怀旧');\r\n");
    testing::TestFileSystem fs;
    FolderListing listing = ListVideos(dir.path(), false, fs);
    fs.DoAt(testing::Step::kReplace, 1, "b.KSC",
            [&dir] { Touch(dir / "b.KSC", "karaoke.tag('风格', '怀旧歌');\r\n"); });
    BatchRequest request;
    request.naming_template = kTemplateTitle;
    request.file_system = &fs;
    request.start_number = 0;
    BatchResult r = RunBatch(request, listing.folders, nullptr);
    EXPECT_EQ(r.status, BatchStatus::kDone) << existed;
    EXPECT_EQ(r.created, 2u) << existed;
    ASSERT_EQ(r.skipped.size(), 1u) << existed;
    EXPECT_EQ(r.skipped[0].name, "b.mpg");
    EXPECT_EQ(r.skipped[0].reason, u8"无法替换KSC文件（读取后被其他程序修改）");
    EXPECT_EQ(ReadFile(dir / "b.KSC"), "karaoke.tag('风格', '怀旧歌');\r\n") << existed;
    EXPECT_TRUE(Holds(ReadFile(dir / "c.KSC"), "karaoke.internalnumber :=00002 ;\r\n"));
    EXPECT_EQ(ListNames(dir.path()), "a.KSC|a.mpg|b.KSC|b.mpg|c.KSC|c.mpg") << existed;
  }
}

// An existing KSC file the run cannot read is left as it is, in a dry run
// too: what it holds, its date among it, would be lost. A read that fails
// for the disk's sake stops the run there: it would fail every later file.
TEST(ReplaceFailureTest, AKscFileThatCannotBeReadIsLeftAsItIs) {
  for (bool dry_run : {true, false}) {
    TempFolder dir;
    for (const char* name : {"a.mpg", "b.mpg", "c.mpg"}) Touch(dir / name);
    Touch(dir / "b.KSC", "1999/1/1");
    testing::TestFileSystem fs;
    FolderListing listing = ListVideos(dir.path(), false, fs);
    fs.FailAt(testing::Step::kReadExisting, {os::ErrorKind::kPermission, "Permission denied"}, 0,
              "b.KSC");
    fs.FailAt(testing::Step::kReadExisting, {os::ErrorKind::kIoError, "Input/output error", 5}, 0,
              "c.KSC");
    BatchRequest request;
    request.naming_template = kTemplateTitle;
    request.file_system = &fs;
    request.dry_run = dry_run;
    BatchResult r = RunBatch(request, listing.folders, nullptr);
    EXPECT_EQ(r.status, BatchStatus::kWriteFailed);
    ASSERT_EQ(r.skipped.size(), 1u);
    EXPECT_EQ(r.skipped[0].name, "b.mpg");
    EXPECT_EQ(r.skipped[0].reason, u8"无法读取已有的KSC文件（没有权限）");
    EXPECT_EQ(r.created + r.updated, 1u);
    // A dry run wrote nothing, though it counts what it would have written.
    EXPECT_EQ(r.failure, u8"无法读取已有的KSC文件：“" + os::JoinPath(dir.path(), "c.KSC") +
                             u8"”（磁盘读写错误）\n" +
                             (dry_run ? u8"本次只列出，未写入任何文件；另有 1 个视频未处理。"
                                      : u8"本次已写入 1 个KSC文件，另有 1 个视频未处理。"));
    EXPECT_EQ(ReadFile(dir / "b.KSC"), "1999/1/1");
    EXPECT_EQ(ListNames(dir.path()),
              dry_run ? "a.mpg|b.KSC|b.mpg|c.mpg" : "a.KSC|a.mpg|b.KSC|b.mpg|c.mpg");
  }
}

// A KSC file left alone keeps its number: the numbering steps over a number
// still to come, and names one already given; either way the note says so.
TEST(ReplaceFailureTest, ANumberHeldByAKscFileLeftAloneIsNotGivenAgain) {
  struct Case {
    const char* held;  // b.KSC's number
    const char* c;     // the number c.KSC gets
    std::string note;
  };
  const Case cases[] = {
      {"00002", "00003", u8"“b.mpg”的KSC文件未更新，仍占用编号 00002，其他歌曲的编号跳过了它"},
      {"00001", "00002", u8"“b.mpg”的KSC文件未更新，仍占用编号 00001，与本次另一首歌曲的编号相同"},
      // Zeros in front are the same number, however many.
      {"0000000000000000002", "00003",
       u8"“b.mpg”的KSC文件未更新，仍占用编号 00002，其他歌曲的编号跳过了它"},
      // No number at all: named, and nothing stepped over.
      {"abc", "00002", u8"“b.mpg”的KSC文件未更新，其编号“abc”不是数字，编号时未考虑它"},
      {"12345678901234567890", "00002",
       u8"“b.mpg”的KSC文件未更新，其编号 12345678901234567890 超过歌曲管理器能存的最大编号 "
       u8"2147483647"},
  };
  for (const Case& c : cases) {
    for (bool dated : {false, true}) {  // read whole to keep the date, or only as far as needed
      TempFolder dir;
      for (const char* name : {"a.mpg", "b.mpg", "c.mpg"}) Touch(dir / name);
      // Longer than the text a run writes, so that deciding reads none of it.
      Touch(dir / "b.KSC", std::string("karaoke.internalnumber :=") + c.held + " ;\r\n// " +
                               std::string(2000, 'x') + "\r\n");
      fs::permissions(U8Path(dir / "b.KSC"), fs::perms::owner_read);
      FolderListing listing = ListVideos(dir.path(), false);
      BatchRequest request;
      request.naming_template = kTemplateTitle;
      request.start_number = 0;
      if (dated) request.date_text = "2026/12/7";
      BatchResult r = RunBatch(request, listing.folders, nullptr);
      EXPECT_EQ(r.status, BatchStatus::kDone);
      EXPECT_TRUE(Holds(ReadFile(dir / "a.KSC"), "karaoke.internalnumber :=00001 ;\r\n"));
      EXPECT_TRUE(
          Holds(ReadFile(dir / "c.KSC"), std::string("karaoke.internalnumber :=") + c.c + " ;\r\n"))
          << c.held << " " << dated;
      EXPECT_EQ(r.warnings, std::vector<std::string>{c.note}) << c.held << " " << dated;
    }
  }
}

}  // namespace
}  // namespace kscgen
