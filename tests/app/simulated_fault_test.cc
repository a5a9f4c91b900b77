// The batch engine when the disk misbehaves or another run is at work, on the
// test file system (test_file_system.h), which fails, holds or disguises
// chosen steps: each case at a known point, none by racing real files. The
// faults of a real disk and of killed runs: real_disk_fault_test.cc.
#include <gtest/gtest.h>

#include <filesystem>
#include <thread>

#include "app/engine/batch.h"
#include "app/engine/video_folder.h"
#include "test_file_system.h"
#include "test_support.h"

namespace kscgen {
namespace {

using testing::ListNames;
using testing::Step;
using testing::TempFolder;
using testing::TestFileSystem;
using testing::Touch;
using testing::U8Path;

class SimulatedFaultTest : public ::testing::Test {
 protected:
  SimulatedFaultTest() {
    request_.naming_template = kTemplateSingerTitle;
    request_.date_text = "2026/12/7";
    request_.file_system = &fs_;
  }

  // The folder as the user would pick it, listed through the test file system.
  std::vector<VideoFolder> List(bool recursive = false) {
    FolderListing listing = ListVideos(dir_.path(), recursive, fs_);
    EXPECT_TRUE(listing.ok()) << listing.message;
    return listing.folders;
  }

  BatchResult Run(const std::vector<VideoFolder>& folders) {
    return RunBatch(request_, folders, nullptr);
  }

  static os::Error Failure(os::ErrorKind kind, const char* reason) { return {kind, reason}; }

  TempFolder dir_;
  TestFileSystem fs_;
  BatchRequest request_;
};

TEST_F(SimulatedFaultTest, EverythingWrittenIsFlushedOnceBeforeTheRunReports) {
  Touch(dir_ / "a-x.mpg");
  Touch(dir_ / "b-y.mpg");
  BatchResult result = Run(List());
  EXPECT_EQ(result.status, BatchStatus::kDone);
  EXPECT_EQ(result.created, 2u);
  EXPECT_EQ(fs_.Calls(Step::kSync), 1);            // the folder's entries
  EXPECT_EQ(fs_.Calls(Step::kSyncFileSystem), 1);  // its file system, once

  // A re-run that writes nothing has nothing to flush.
  result = Run(List());
  EXPECT_EQ(result.unchanged, 2u);
  EXPECT_EQ(fs_.Calls(Step::kSync), 1);
  EXPECT_EQ(fs_.Calls(Step::kSyncFileSystem), 1);
}

// EIO, as syncfs gives it when the disk failed to write back.
TEST_F(SimulatedFaultTest, AFlushThatFailsIsAFailureNotDone) {
  Touch(dir_ / "a-x.mpg");
  fs_.FailAt(Step::kSyncFileSystem, {os::ErrorKind::kIoError, "Input/output error", 5});
  BatchResult result = Run(List());
  EXPECT_EQ(result.status, BatchStatus::kWriteFailed);
  EXPECT_EQ(result.failure,
            u8"无法将文件写入磁盘：“" + dir_.path() +
                u8"”（磁盘读写错误）\n本次已写入 1 个KSC文件，另有 0 个视频未处理。");
}

// The entries of a folder the run leaves are put on disk before the next:
// when that flush fails, the run stops there, before the next folder.
TEST_F(SimulatedFaultTest, AFolderWhoseOwnFlushFailsStopsTheRunBeforeTheNext) {
  for (const char* name : {"a/x.mpg", "b/y.mpg"}) {
    std::filesystem::create_directories(U8Path(dir_ / name).parent_path());
    Touch(dir_ / name);
  }
  fs_.FailAt(Step::kSync, {os::ErrorKind::kIoError, "Input/output error", 5}, 1);
  BatchResult result = Run(List(true));
  EXPECT_EQ(result.status, BatchStatus::kWriteFailed);
  EXPECT_EQ(result.failure,
            u8"无法将文件写入磁盘：“" + os::JoinPath(dir_.path(), "a") +
                u8"”（磁盘读写错误）\n本次已写入 1 个KSC文件，另有 1 个视频未处理。");
  EXPECT_EQ(result.folders_not_reached, std::vector<std::string>{"b"});
  EXPECT_EQ(ListNames(dir_ / "b"), "y.mpg");
  // What a was written is flushed all the same, with its file system.
  EXPECT_EQ(fs_.Calls(Step::kSyncFileSystem), 1);
}

// A cause without a phrase of its own is named by the system's code.
TEST_F(SimulatedFaultTest, ACauseWithoutAPhraseIsNamedByItsCode) {
  Touch(dir_ / "a-x.mpg");
  fs_.FailAt(Step::kSyncFileSystem, {os::ErrorKind::kOther, "Exchange full", 52});
  BatchResult result = Run(List());
  EXPECT_EQ(result.failure,
            u8"无法将文件写入磁盘：“" + dir_.path() +
                u8"”（系统错误代码 52）\n本次已写入 1 个KSC文件，另有 0 个视频未处理。");
}

// The run reads the folder again for KSC files under other names; should
// that read fail (EIO from getdents), a second KSC file could be made
// beside one it did not see: the run stops there instead.
TEST_F(SimulatedFaultTest, AFolderThatCannotBeReadAgainStopsTheRun) {
  Touch(dir_ / "a-x.mpg");
  const std::vector<VideoFolder> folders = List();
  fs_.FailAt(Step::kList, {os::ErrorKind::kIoError, "Input/output error", 5});
  BatchResult result = Run(folders);
  EXPECT_EQ(result.status, BatchStatus::kWriteFailed);
  EXPECT_EQ(result.failure,
            u8"无法读取文件夹：“" + dir_.path() +
                u8"”（磁盘读写错误）\n本次已写入 0 个KSC文件，另有 1 个视频未处理。");
  EXPECT_EQ(ListNames(dir_.path()), "a-x.mpg");
}

TEST_F(SimulatedFaultTest, ADryRunNeitherLocksNorCleansUpAndWorksWhileAnotherRunHoldsTheFolder) {
  Touch(dir_ / "a-x.mpg");
  Touch(dir_ / ".kscgen-0123456789abcdef.tmp", "another run's file");
  fs_.FailAt(Step::kLock, Failure(os::ErrorKind::kLocked, "locked"));
  request_.dry_run = true;
  BatchResult result = Run(List());
  EXPECT_EQ(result.status, BatchStatus::kDone) << result.failure;
  EXPECT_EQ(result.created, 1u);  // predicted
  EXPECT_EQ(fs_.Calls(Step::kLock), 0);
  EXPECT_EQ(fs_.Calls(Step::kRemoveLeftovers), 0);
  EXPECT_EQ(ListNames(dir_.path()), ".kscgen-0123456789abcdef.tmp|a-x.mpg");
}

TEST_F(SimulatedFaultTest, AFolderAnotherRunHoldsIsNeitherWrittenNorCleanedUp) {
  Touch(dir_ / "a-x.mpg");
  Touch(dir_ / ".kscgen-0123456789abcdef.tmp", "another run's file");
  fs_.FailAt(Step::kLock, Failure(os::ErrorKind::kLocked, "locked"));
  BatchResult result = Run(List());
  EXPECT_EQ(result.status, BatchStatus::kLocked);
  EXPECT_EQ(result.written(), 0u);
  EXPECT_EQ(result.not_reached, 1u);
  EXPECT_EQ(fs_.Calls(Step::kRemoveLeftovers), 0);
  EXPECT_EQ(ListNames(dir_.path()), ".kscgen-0123456789abcdef.tmp|a-x.mpg");
}

TEST_F(SimulatedFaultTest, AFullDiskStopsNamingTheFolderWithTheCounts) {
  for (const char* name : {"a-x.mpg", "b-y.mpg", "c-z.mpg"}) Touch(dir_ / name);
  fs_.FailAt(Step::kReplace, Failure(os::ErrorKind::kNoSpace, "No space left on device"), 2);
  BatchResult result = Run(List());
  EXPECT_EQ(result.status, BatchStatus::kWriteFailed);
  EXPECT_EQ(result.created, 1u);
  EXPECT_EQ(result.not_reached, 2u);
  // The folder is named, as on a real full disk (RealDiskFaultTest).
  EXPECT_EQ(result.failure,
            u8"无法在文件夹中写入文件：“" + dir_.path() +
                u8"”（磁盘空间不足）\n本次已写入 1 个KSC文件，另有 2 个视频未处理。");
  // What was written before the failure is flushed all the same.
  EXPECT_EQ(fs_.Calls(Step::kSyncFileSystem), 1);
  EXPECT_EQ(ListNames(dir_.path()), "a-x.KSC|a-x.mpg|b-y.mpg|c-z.mpg");
}

TEST_F(SimulatedFaultTest, AFolderReachedTwiceIsWalkedOnce) {
  // "loop" shows the chosen folder's own identity, as a folder bind-mounted
  // inside itself does.
  std::filesystem::create_directory(U8Path(dir_ / "loop"));
  Touch(dir_ / "loop/x.mpg");
  Touch(dir_ / "top.mpg");
  std::unique_ptr<os::Folder> top;
  ASSERT_FALSE(os::SystemFileSystem().OpenFolder(dir_.path(), &top).failed());
  fs_.SetIdentity("loop", top->identity());
  std::vector<VideoFolder> folders = List(true);
  ASSERT_EQ(folders.size(), 1u);
  EXPECT_EQ(folders[0].relative, ".");
}

TEST_F(SimulatedFaultTest, ASecondRunStopsBeforeWritingWhileTheFirstWorksInTheFolder) {
  for (const char* name : {"a-x.mpg", "b-y.mpg"}) Touch(dir_ / name);
  std::vector<VideoFolder> folders = List();
  fs_.HoldAt(Step::kReplace, 1);  // the first run, locked in, about to write a-x.KSC
  BatchResult first;
  std::thread run([&] { first = Run(folders); });
  fs_.WaitUntilHeld();
  BatchResult second = Run(folders);
  fs_.Release();
  run.join();
  EXPECT_EQ(second.status, BatchStatus::kLocked);
  EXPECT_EQ(second.written(), 0u);
  EXPECT_EQ(first.status, BatchStatus::kDone);
  EXPECT_EQ(first.created, 2u);
  // The first run's two KSC files and its record of them; none of the second's.
  EXPECT_EQ(fs_.Calls(Step::kReplace), 3);
}

TEST_F(SimulatedFaultTest, AReRunOfATreeCountsTheUnchangedFilesOfEachFolder) {
  for (const char* name : {"a/x.mpg", "a/y.mpg", "b/z.mpg"}) {
    std::filesystem::create_directories(U8Path(dir_ / name).parent_path());
    Touch(dir_ / name);
  }
  ASSERT_EQ(Run(List(true)).created, 3u);
  BatchResult result = Run(List(true));
  EXPECT_EQ(result.unchanged, 3u);
  std::string counts;
  for (const FolderCount& f : result.folders)
    counts += f.relative + "=" + std::to_string(f.ksc_files) + " ";
  EXPECT_EQ(counts, "a=2 b=1 ");
}

}  // namespace
}  // namespace kscgen
