// Faults a library keeper meets on a real disk, mostly through the kscgen
// program: folders that cannot be written or vanish, runs killed halfway,
// and names of every odd kind. Nothing may be lost and no KSC file may be
// left broken. The same faults at chosen steps: simulated_fault_test.cc.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <functional>

#include "app/engine/batch.h"
#include "app/engine/messages.h"
#include "kscgen_process.h"
#include "os/file_system.h"
#include "test_support.h"

namespace kscgen {
namespace {

namespace fs = std::filesystem;
using testing::Holds;
using testing::KscgenRun;
using testing::ReadFile;
using testing::RunKscgenBehind;
using testing::TempFolder;
using testing::Touch;

// A KSC file is whole when it has its 28 lines and ends with its video.
bool IsCompleteKsc(const std::string& text, const std::string& video) {
  std::size_t lines = 0;
  for (std::size_t at = text.find("\r\n"); at != std::string::npos;
       at = text.find("\r\n", at + 2)) {
    ++lines;
  }
  std::string last = "karaoke.CommonVideo := '" + video + "';\r\n";
  return lines == 28 && text.size() >= last.size() &&
         text.compare(text.size() - last.size(), last.size(), last) == 0;
}

int CountTemporaryFiles(const std::string& folder) {
  int n = 0;
  for (const auto& e : fs::directory_iterator(folder)) {
    if (e.path().filename().string().rfind(".kscgen-", 0) == 0) ++n;
  }
  return n;
}

// A folder "songs" in `root` holding one video, a.mpg.
std::string SongsWithOneVideo(const TempFolder& root) {
  const std::string folder = root / "songs";
  fs::create_directory(folder);
  Touch(folder + "/a.mpg");
  return folder;
}

// A folder that takes no new file stops the run once, before anything is
// written (no temporary file, no lock file left behind), and a dry run
// says so beforehand, with the same exit status.
TEST(RealDiskFaultTest, AFolderThatTakesNoNewFileStopsOnceAndADryRunSaysSo) {
  struct Case {
    const char* cause;
    std::string setup;  // a shell command that makes the folder so; FOLDER stands for it
    std::string undo;
    bool as_nobody;  // root writes anywhere: the run goes as a library keeper's account
  };
  const Case cases[] = {
      {u8"没有权限", "chmod 0555 FOLDER", "chmod 0755 FOLDER", true},
      {u8"被设为只能追加", "chattr +a FOLDER", "chattr -a FOLDER", false},
      {u8"被设为不可更改", "chattr +i FOLDER", "chattr -i FOLDER", false},
      {u8"只读文件系统",
       "mount -t tmpfs -o size=64k none FOLDER && touch FOLDER/a.mpg FOLDER/b.mpg"
       " && mount -o remount,ro FOLDER",
       "umount FOLDER", false},
  };
  std::string skipped;
  for (const Case& c : cases) {
    TempFolder root;
    const std::string folder = SongsWithOneVideo(root);
    Touch(folder + "/b.mpg");
    chmod(root.path().c_str(), 0755);
    auto in_folder = [&](std::string command) {
      for (std::size_t at; (at = command.find("FOLDER")) != std::string::npos;) {
        command.replace(at, 6, "'" + folder + "'");
      }
      return std::system((command + " 2>/dev/null").c_str()) == 0;
    };
    if (!in_folder(c.setup)) {  // chattr and mount need root and a file system that keeps marks
      skipped += " `" + c.setup + "`";
      continue;
    }
    const std::string as_user =
        c.as_nobody && geteuid() == 0 ? "setpriv --reuid=65534 --regid=65534 --clear-groups " : "";
    const std::string failure =
        u8"无法在文件夹中写入文件：“" + folder + u8"”（" + c.cause + u8"）\n";
    const std::string expected = failure + u8"本次已写入 0 个KSC文件，另有 2 个视频未处理。\n";
    // A dry run wrote nothing, and says so in its own words.
    const std::string dry_expected =
        failure + u8"本次只列出，未写入任何文件；另有 2 个视频未处理。\n";
    KscgenRun dry = RunKscgenBehind(as_user, "-n -t 0 '" + folder + "'");
    KscgenRun run = RunKscgenBehind(as_user, "-t 0 '" + folder + "'");
    const std::string names = testing::ListNames(folder);
    in_folder(c.undo);
    EXPECT_EQ(run.exit_code, 1) << c.cause << run.out;
    EXPECT_EQ(run.out, expected);
    EXPECT_EQ(dry.exit_code, run.exit_code) << c.cause << dry.out;
    EXPECT_EQ(dry.out.substr(dry.out.find('\n') + 1), dry_expected);  // after the table's header
    EXPECT_EQ(names, "a.mpg|b.mpg") << c.cause;
  }
  if (!skipped.empty()) GTEST_SKIP() << "these fail here:" << skipped;
}

// A disk that fills up during a run: the folder is named, what was
// written stays whole, nothing is left half-written.
TEST(RealDiskFaultTest, AFullDiskStopsTheRunNamingTheFolder) {
  TempFolder root;
  const std::string folder = root / "songs";
  fs::create_directory(folder);
  if (std::system(("mount -t tmpfs -o size=64k none '" + folder + "' 2>/dev/null").c_str()) != 0) {
    GTEST_SKIP() << "mounting a tmpfs needs root";
  }
  for (const char* name : {"a.mpg", "b.mpg", "c.mpg"}) Touch(folder + "/" + name);
  // Fills the disk: dd stops at the end of the space.
  std::system(("dd if=/dev/zero of='" + folder + "/fill' bs=4k 2>/dev/null").c_str());
  KscgenRun run = RunKscgenBehind("", "-t 0 '" + folder + "'");
  const std::string names = testing::ListNames(folder);
  std::system(("umount '" + folder + "'").c_str());
  EXPECT_EQ(run.exit_code, 1) << run.out;
  EXPECT_TRUE(Holds(run.out, u8"无法在文件夹中写入文件：“" + folder + u8"”（磁盘空间不足）"))
      << run.out;
  EXPECT_EQ(names, "a.mpg|b.mpg|c.mpg|fill");
}

TEST(RealDiskFaultTest, FolderThatVanishesAfterListingStopsTheRun) {
  TempFolder root;
  const std::string folder = SongsWithOneVideo(root);
  FolderListing listing = ListVideos(folder, false);
  fs::rename(folder, root / "moved");
  BatchRequest request;
  request.naming_template = kTemplateTitle;
  BatchResult r = RunBatch(request, listing.folders, nullptr);
  EXPECT_EQ(r.status, BatchStatus::kWriteFailed);
  EXPECT_EQ(messages::BatchReport(r, 10).summary,
            u8"无法在文件夹中写入文件：“" + folder +
                u8"”（不存在）"
                u8"\n本次已写入 0 个KSC文件，另有 1 个视频未处理。");
  EXPECT_FALSE(fs::exists(folder));
  EXPECT_EQ(testing::ListNames(root / "moved"), "a.mpg");
}

// Watches `folder` for a run's temporary files being made and moved over
// their KSC names, so that a test can act at a point it has seen.
class FolderWatch {
 public:
  explicit FolderWatch(const std::string& folder)
      : fd_(inotify_init1(IN_CLOEXEC)),
        watch_(inotify_add_watch(fd_, folder.c_str(), IN_CREATE | IN_MOVED_TO)) {}
  ~FolderWatch() { close(fd_); }
  bool ok() const { return fd_ >= 0 && watch_ >= 0; }

  // Waits until `count` events of `mask` have come, or `child` has ended;
  // false in the second case.
  bool WaitFor(uint32_t mask, int count, pid_t child) {
    alignas(inotify_event) char buf[64 * 1024];
    int seen = 0;
    while (seen < count) {
      pollfd p{fd_, POLLIN, 0};
      if (poll(&p, 1, 50) == 0) {
        if (waitpid(child, nullptr, WNOHANG) == child) return false;
        continue;
      }
      ssize_t n = read(fd_, buf, sizeof buf);
      for (char* at = buf; n > 0 && at < buf + n;) {
        auto* e = reinterpret_cast<inotify_event*>(at);
        if ((e->mask & mask) != 0 && ++seen == count) return true;
        at += sizeof(inotify_event) + e->len;
      }
    }
    return true;
  }

 private:
  int fd_;
  int watch_;
};

TEST(RealDiskFaultTest, KilledRunsLeaveOnlyCompleteFilesAndTheNextRunCleansUp) {
  TempFolder root;
  const std::string folder = root / "songs";
  fs::create_directory(folder);
  constexpr int kVideos = 5000;
  for (int i = 0; i < kVideos; ++i) Touch(folder + "/song" + std::to_string(i) + ".mpg");

  // Each round kills a run at a point it has seen: just after a temporary
  // file was made (its KSC file being written), or after so many KSC files
  // were moved into place. A round starts where the last one was killed.
  struct Round {
    uint32_t event;
    int count;
  };
  const Round rounds[] = {
      {IN_CREATE, 1}, {IN_MOVED_TO, 1}, {IN_CREATE, 40}, {IN_MOVED_TO, 300}, {IN_CREATE, 700}};
  int moved = 0;  // KSC files seen moved into place, over all rounds
  for (const Round& round : rounds) {
    SCOPED_TRACE("killed after " + std::to_string(round.count) +
                 (round.event == IN_CREATE ? " temporary files" : " KSC files"));
    FolderWatch watch(folder);
    ASSERT_TRUE(watch.ok()) << "inotify: " << strerror(errno);
    pid_t child = fork();
    if (child == 0) {
      int null = open("/dev/null", O_WRONLY);
      dup2(null, 1);
      execl(KSCGEN_BIN, KSCGEN_BIN, "-t", "0", folder.c_str(), static_cast<char*>(nullptr));
      _exit(127);
    }
    ASSERT_TRUE(watch.WaitFor(round.event, round.count, child)) << "the run ended first";
    kill(child, SIGKILL);
    waitpid(child, nullptr, 0);
    if (round.event == IN_MOVED_TO) moved += round.count;

    int kscs = 0;
    for (const auto& e : fs::directory_iterator(folder)) {
      std::string name = e.path().filename().string();
      if (name.size() < 4 || name.compare(name.size() - 4, 4, ".KSC") != 0) continue;
      ++kscs;
      std::string video = name.substr(0, name.size() - 4) + ".mpg";
      ASSERT_TRUE(IsCompleteKsc(ReadFile(e.path().string()), video)) << name;
    }
    EXPECT_GE(kscs, moved);
    // At most the one file being written when the run was killed.
    EXPECT_LE(CountTemporaryFiles(folder), 1);
  }
  KscgenRun run = RunKscgenBehind("", "-t 0 '" + folder + "'");
  EXPECT_EQ(run.exit_code, 0) << run.out;
  EXPECT_EQ(CountTemporaryFiles(folder), 0);
  int kscs = 0;
  for (const auto& e : fs::directory_iterator(folder)) {
    kscs += e.path().extension() == ".KSC";
  }
  EXPECT_EQ(kscs, kVideos);
}

TEST(RealDiskFaultTest, OddNamesGetAWholeFileOrAClearSkip) {
  TempFolder root;
  const std::string folder = root / "songs";
  fs::create_directory(folder);
  const std::string long_base(251, 'x');  // with ".mpg", the longest name allowed
  struct Video {
    std::string name;
    std::string ksc;     // empty when skipped
    std::string reason;  // for a skip
  };
  const Video videos[] = {
      {"Don't Cry.mpg", "Don't Cry.KSC", ""},
      {"it''s.avi", "it''s.KSC", ""},
      {"tab\there.mpg", "", u8"文件名含有控制字符"},
      {u8"smile\U0001F600.mpg", "", u8"文件名含有GBK无法表示的字符"},
      {long_base + ".mpg", long_base + ".KSC", ""},
      {"\xD0\xA1\xBA\xD3\xCB\xAE.wmv", "\xD0\xA1\xBA\xD3\xCB\xAE.KSC", ""},  // GBK on disk
      {"\xFF\xFE.mpg", "", u8"文件名既不是UTF-8也不是GBK编码"},
      {"five.rmvb", "five.KSC", ""},
      {"UPPER.AVI", "UPPER.KSC", ""},
  };
  for (const Video& v : videos) Touch(folder + "/" + v.name);
  KscgenRun run = RunKscgenBehind("", "-t 0 '" + folder + "'");
  EXPECT_EQ(run.exit_code, 1) << run.out;
  for (const Video& v : videos) {
    if (v.ksc.empty()) {
      EXPECT_NE(run.out.find(u8"（" + v.reason + u8"）"), std::string::npos) << v.name << "\n"
                                                                             << run.out;
    } else {
      std::string video = v.name;
      std::string quoted;
      for (char c : video) quoted += c == '\'' ? std::string("''") : std::string(1, c);
      EXPECT_TRUE(IsCompleteKsc(ReadFile(folder + "/" + v.ksc), quoted)) << v.name;
    }
  }
  EXPECT_EQ(CountTemporaryFiles(folder), 0);
}

// The names of the files created in `folder` while `action` runs, as the
// system reports them.
std::vector<std::string> NamesCreated(const std::string& folder,
                                      const std::function<void()>& action) {
  int watch = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
  inotify_add_watch(watch, folder.c_str(), IN_CREATE);
  action();
  std::vector<std::string> names;
  alignas(inotify_event) char buf[64 * 1024];
  for (ssize_t n; (n = read(watch, buf, sizeof buf)) > 0;) {
    for (char* p = buf; p < buf + n;) {
      auto* event = reinterpret_cast<inotify_event*>(p);
      if (event->len > 0) names.emplace_back(event->name);
      p += sizeof(inotify_event) + event->len;
    }
  }
  close(watch);
  return names;
}

// The first `n` temporary names a file system seeded with `seed` tries: each
// seen as it creates it, the next found by planting the ones before.
std::vector<std::string> FirstTemporaryNames(const std::string& folder, std::uint64_t seed, int n) {
  const std::string scratch = folder + "/scratch";
  fs::create_directory(scratch);
  std::vector<std::string> names;
  for (int i = 0; i < n; ++i) {
    for (const std::string& taken : names) Touch(scratch + "/" + taken);
    std::unique_ptr<os::FileSystem> file_system = os::SeededFileSystem(seed);
    std::unique_ptr<os::Folder> handle;
    EXPECT_FALSE(file_system->OpenFolder(scratch, &handle).failed());
    std::vector<std::string> created =
        NamesCreated(scratch, [&] { EXPECT_FALSE(handle->Replace("probe", "x").failed()); });
    EXPECT_EQ(created.size(), 1u);
    if (!created.empty()) names.push_back(created[0]);
    for (const auto& e : fs::directory_iterator(scratch)) fs::remove(e.path());
  }
  fs::remove_all(scratch);
  return names;
}

TEST(RealDiskFaultTest, NothingPlantedAtATemporaryNameRedirectsOrBlocksARun) {
  TempFolder root;
  const std::string folder = SongsWithOneVideo(root);
  const std::string secret = root / "secret";
  Touch(secret, "private");
  chmod(secret.c_str(), 0600);

  constexpr std::uint64_t kSeed = 20261207;
  std::vector<std::string> names = FirstTemporaryNames(folder, kSeed, 2);
  ASSERT_EQ(names.size(), 2u);
  ASSERT_NE(names[0], names[1]);
  EXPECT_TRUE(os::IsTemporaryName(names[0])) << names[0];
  for (std::string& name : names) name = folder + "/" + name;
  fs::create_symlink(secret, names[0]);                  // a link out of the folder
  ASSERT_EQ(mkfifo(names[1].c_str(), 0666), 0);          // a pipe that would block a writer
  fs::create_symlink(secret, folder + "/.kscgen.lock");  // and one at the lock file's name

  std::unique_ptr<os::FileSystem> file_system = os::SeededFileSystem(kSeed);
  BatchRequest request;
  request.naming_template = kTemplateTitle;
  request.file_system = file_system.get();
  FolderListing listing = ListVideos(folder, false);
  BatchResult r = RunBatch(request, listing.folders, nullptr);
  ASSERT_EQ(r.status, BatchStatus::kDone);
  EXPECT_EQ(r.created, 1u);
  EXPECT_EQ(ReadFile(secret), "private");
  EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(folder + "/a.KSC")));
  EXPECT_TRUE(IsCompleteKsc(ReadFile(folder + "/a.KSC"), "a.mpg"));
  // What others planted is theirs: left where it is.
  EXPECT_TRUE(fs::is_symlink(names[0]));
  EXPECT_TRUE(fs::is_fifo(names[1]));
  EXPECT_TRUE(fs::is_symlink(folder + "/.kscgen.lock"));
}

TEST(RealDiskFaultTest, TheCleanUpRemovesOnlyThisToolsOwnLeftovers) {
  TempFolder root;
  const std::string folder = SongsWithOneVideo(root);
  Touch(folder + "/.kscgen-my-notes.tmp", "notes");
  Touch(folder + "/.kscgen-0123456789ABCDEF.tmp", "upper case: not ours");
  Touch(folder + "/.kscgen-0123456789abcdef.tmp", "a leftover of a killed run");
  KscgenRun run = RunKscgenBehind("", "-t 0 '" + folder + "'");
  EXPECT_EQ(run.exit_code, 0);
  EXPECT_EQ(testing::ListNames(folder),
            ".kscgen-0123456789ABCDEF.tmp|.kscgen-my-notes.tmp|a.KSC|a.mpg");
}

TEST(RealDiskFaultTest, ASecondRunOnTheSameFolderStopsBeforeWriting) {
  TempFolder root;
  const std::string folder = SongsWithOneVideo(root);
  std::unique_ptr<os::Folder> lock;  // as another run holds it
  ASSERT_FALSE(os::SystemFileSystem().OpenFolder(folder, &lock).failed());
  ASSERT_FALSE(lock->Lock().failed());
  KscgenRun run = RunKscgenBehind("", "-t 0 '" + folder + "'");
  EXPECT_EQ(run.exit_code, 1);
  EXPECT_EQ(run.out, u8"另一个批量任务正在处理此文件夹：" + folder +
                         u8"\n本次已写入 0 个KSC文件，另有 1 个视频未处理。\n");
  EXPECT_EQ(testing::ListNames(folder), ".kscgen.lock|a.mpg");
  lock.reset();
  run = RunKscgenBehind("", "-t 0 '" + folder + "'");
  EXPECT_EQ(run.exit_code, 0);
  EXPECT_EQ(testing::ListNames(folder), "a.KSC|a.mpg");
}

TEST(RealDiskFaultTest, AWriteProtectedKscFileIsLeftAloneForRootAndForOthers) {
  TempFolder root;
  const std::string folder = root / "songs";
  fs::create_directory(folder);
  chmod(root.path().c_str(), 0755);
  chmod(folder.c_str(), 0777);  // anyone may add files here
  Touch(folder + "/a.mpg");
  Touch(folder + "/a.KSC", "hand-corrected");
  chmod((folder + "/a.KSC").c_str(), 0444);  // chmod a-w
  KscgenRun run = RunKscgenBehind("", "-t 0 '" + folder + "'");
  EXPECT_EQ(run.exit_code, 1) << run.out;
  EXPECT_NE(run.out.find(u8"a.mpg（KSC文件只读）"), std::string::npos) << run.out;
  EXPECT_EQ(ReadFile(folder + "/a.KSC"), "hand-corrected");

  if (geteuid() != 0) GTEST_SKIP() << "needs root, to run as another user";
  // Writable by its owner only: another user may not replace it, even
  // though the folder would let a rename do so.
  chmod((folder + "/a.KSC").c_str(), 0644);
  run = RunKscgenBehind("setpriv --reuid=65534 --regid=65534 --clear-groups ",
                        "-t 0 '" + folder + "'");
  EXPECT_EQ(run.exit_code, 1) << run.out;
  EXPECT_NE(run.out.find(u8"a.mpg（KSC文件只读）"), std::string::npos) << run.out;
  EXPECT_EQ(ReadFile(folder + "/a.KSC"), "hand-corrected");
}

TEST(RealDiskFaultTest, TheFolderWrittenIsTheOneTheSystemResolves) {
  TempFolder root;
  fs::create_directories(root / "a");
  fs::create_directories(root / "b/target");
  Touch(root / "a/in-a.mpg");
  Touch(root / "b/in-b.mpg");
  fs::create_directory_symlink(root / "b/target", root / "a/sublink");
  KscgenRun run = RunKscgenBehind("", "-t 0 -r 1 '" + root / "a/sublink/.." + "'");
  EXPECT_EQ(run.exit_code, 0) << run.out;
  EXPECT_EQ(testing::ListNames(root / "a"), "in-a.mpg|sublink");
  EXPECT_NE(ReadFile(root / "b/in-b.KSC").find("karaoke.tag('歌手', 'b');"), std::string::npos);
}

TEST(RealDiskFaultTest, AFolderNameGbkCannotHoldIsWarnedAbout) {
  TempFolder root;
  std::string folder = root / u8"\U0001F3A4周杰伦";
  fs::create_directory(folder);
  Touch(folder + "/a.mpg");
  KscgenRun run = RunKscgenBehind("", "-t 0 -r 1 '" + folder + "'");
  EXPECT_EQ(run.exit_code, 0) << run.out;
  EXPECT_NE(run.out.find(u8"警告：文件夹名“" + folder +
                         u8"”含有GBK无法表示的字符，目录名的作用对其中的歌曲不起作用"),
            std::string::npos)
      << run.out;
  run = RunKscgenBehind("", "-t 0 -r 0 '" + folder + "'");
  EXPECT_EQ(run.out.find(u8"警告"), std::string::npos) << run.out;
}

}  // namespace
}  // namespace kscgen
