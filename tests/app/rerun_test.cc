// A library is run again and again as songs are added: what its KSC files
// already hold (their dates, their names) is what the next run keeps.
#include <gtest/gtest.h>

#include <ctime>
#include <filesystem>
#include <new>

#include "app/engine/batch.h"
#include "app/engine/messages.h"
#include "app/engine/video_folder.h"
#include "test_file_system.h"
#include "test_support.h"

namespace kscgen {
namespace {

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

bool Holds(const std::string& ksc, const std::string& line) {
  return ksc.find(line) != std::string::npos;
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

// The lock of each folder is held while the run works there, and only then.
TEST(LockScopeTest, AFolderIsLockedOnlyWhileTheRunWorksInIt) {
  TempFolder root;
  for (const char* name : {"a", "b"}) {
    fs::create_directory(U8Path(root / name));
    Touch(root / name + "/song.mpg");
  }
  FolderListing listing = ListVideos(root.path(), true);
  ASSERT_EQ(listing.folders.size(), 3u);  // the chosen folder first, without videos

  struct TryLocks : BatchObserver {
    std::string root;
    std::vector<std::string> seen;
    void OnVideo(const VideoReport& report, std::size_t, std::size_t) override {
      std::string line = report.folder->relative + ":";
      for (const char* name : {"a", "b"}) {
        std::unique_ptr<os::Folder> other;
        EXPECT_FALSE(os::SystemFileSystem().OpenFolder(root + "/" + name, &other).failed());
        line += other->Lock().kind == os::ErrorKind::kLocked ? " locked" : " free";
      }
      seen.push_back(line);
    }
  } observer;
  observer.root = root.path();
  BatchRequest request;
  request.naming_template = kTemplateTitle;
  BatchResult r = RunBatch(request, listing.folders, &observer);
  ASSERT_EQ(r.status, BatchStatus::kDone) << r.failure;
  EXPECT_EQ(observer.seen, (std::vector<std::string>{"a: locked free", "b: free locked"}));
}

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
    EXPECT_EQ(r.failure, u8"无法读取已有的KSC文件：“" + (dir / "c.KSC") +
                             u8"”（磁盘读写错误）\n本次已写入 1 个KSC文件，另有 1 个视频未处理。");
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

// Out of descriptors: a folder that cannot be opened is named, while
// listing and while writing, and the folders not reached are counted.
TEST(LimitsTest, FoldersThatCannotBeOpenedAreNamedAndCounted) {
  TempFolder root;
  for (const char* name : {"a", "b", "c"}) {
    fs::create_directory(U8Path(root / name));
    Touch(root / name + "/song.mpg");
  }
  const os::Error no_descriptor{os::ErrorKind::kTooManyOpenFiles, "Too many open files"};
  {
    testing::TestFileSystem fs;
    fs.FailAt(testing::Step::kOpenSubfolder, no_descriptor, 0, "b");
    FolderListing listing = ListVideos(root.path(), true, fs);
    ASSERT_TRUE(listing.ok());
    EXPECT_EQ(listing.folders.size(), 3u);  // the chosen one, a and c
    EXPECT_EQ(listing.unreadable,
              std::vector<std::string>{u8"无法读取文件夹：“" + os::JoinPath(root.path(), "b") +
                                       u8"”（打开的文件太多）"});
  }
  testing::TestFileSystem fs;
  FolderListing listing = ListVideos(root.path(), true, fs);
  ASSERT_EQ(listing.folders.size(), 4u);
  fs.FailAt(testing::Step::kOpenSubfolder, no_descriptor, 0, "b");
  BatchRequest request;
  request.naming_template = kTemplateTitle;
  request.file_system = &fs;
  BatchResult r = RunBatch(request, listing.folders, nullptr);
  EXPECT_EQ(r.status, BatchStatus::kWriteFailed);
  EXPECT_EQ(messages::BatchReport(r, 10).summary,
            u8"无法在文件夹中写入文件：“" + os::JoinPath(root.path(), "b") +
                u8"”（打开的文件太多）\n本次已写入 1 个KSC文件，另有 2 个视频未处理。"
                u8"\n\n以下 1 个文件夹未处理：\nc");
}

// A file system that runs out of memory at the `nth` read of a KSC file, or
// when a folder is listed: what an allocation does when memory is gone.
class OutOfMemoryFileSystem : public os::FileSystem {
 public:
  int fail_read = 0;  // the nth ReadExisting throws; 0: none
  bool fail_list = false;

  os::Error ResolveFolder(const std::string& path, std::string* resolved) override {
    return real_.ResolveFolder(path, resolved);
  }
  os::Error OpenFolder(const std::string& path, std::unique_ptr<os::Folder>* folder) override {
    os::Error error = real_.OpenFolder(path, folder);
    if (!error.failed()) *folder = std::make_unique<Wrapped>(std::move(*folder), this);
    return error;
  }

 private:
  class Wrapped : public os::Folder {
   public:
    Wrapped(std::unique_ptr<os::Folder> real, OutOfMemoryFileSystem* fs)
        : real_(std::move(real)), fs_(fs) {}
    os::FolderIdentity identity() const override { return real_->identity(); }
    os::Error List(std::vector<os::FolderEntry>* entries) override {
      if (fs_->fail_list) throw std::bad_alloc();
      return real_->List(entries);
    }
    os::Error OpenSubfolder(const std::string& name, std::unique_ptr<os::Folder>* f) override {
      os::Error error = real_->OpenSubfolder(name, f);
      if (!error.failed()) *f = std::make_unique<Wrapped>(std::move(*f), fs_);
      return error;
    }
    os::Error Lock() override { return real_->Lock(); }
    os::Error CheckWritable() override { return real_->CheckWritable(); }
    os::Error ReadExisting(const std::string& name, std::size_t max, os::Existing* what) override {
      if (++fs_->reads_ == fs_->fail_read) throw std::bad_alloc();
      return real_->ReadExisting(name, max, what);
    }
    os::Error Replace(const std::string& name, std::string_view bytes, bool* in_folder,
                      std::vector<std::string>* lost) override {
      return real_->Replace(name, bytes, in_folder, lost);
    }
    void RemoveTemporaryLeftovers() override { real_->RemoveTemporaryLeftovers(); }
    os::Error Sync(bool whole) override { return real_->Sync(whole); }

   private:
    std::unique_ptr<os::Folder> real_;
    OutOfMemoryFileSystem* fs_;
  };

  os::FileSystem& real_ = os::SystemFileSystem();
  int reads_ = 0;
};

TEST(LimitsTest, OutOfMemorySaysWhatWasDoneAndWhatWasNot) {
  TempFolder root;
  for (const char* name : {"a", "b", "c"}) {
    fs::create_directory(U8Path(root / name));
    for (const char* video : {"1.mpg", "2.mpg"}) Touch(root / name + "/" + video);
  }
  OutOfMemoryFileSystem memory;
  FolderListing listing = ListVideos(root.path(), true, memory);
  ASSERT_TRUE(listing.ok()) << listing.message;
  BatchRequest request;
  request.naming_template = kTemplateTitle;
  request.file_system = &memory;
  memory.fail_read = 4;  // the second video of b
  BatchResult r = RunBatch(request, listing.folders, nullptr);
  EXPECT_EQ(r.status, BatchStatus::kWriteFailed);
  EXPECT_EQ(messages::BatchReport(r, 10).summary,
            u8"内存不足，无法处理文件夹：“" + os::JoinPath(root.path(), "b") +
                u8"”\n本次已写入 3 个KSC文件，另有 3 个视频未处理。"
                u8"\n\n各文件夹的KSC文件：\na：2 个\nb：1 个"
                u8"\n\n以下 1 个文件夹未处理：\nc");
  EXPECT_EQ(ListNames(root / "b"), "1.KSC|1.mpg|2.mpg");

  memory.fail_list = true;
  listing = ListVideos(root.path(), true, memory);
  EXPECT_EQ(listing.error.kind, os::ErrorKind::kNoMemory);
  EXPECT_EQ(listing.message, u8"无法读取文件夹：“" + root.path() + u8"”（内存不足）");
}

}  // namespace
}  // namespace kscgen
