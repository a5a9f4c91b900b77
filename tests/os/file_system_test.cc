// The system's file system, as each implementation must behave: the same
// cases on Linux and, under Wine, on Windows.
#include "os/file_system.h"

#include <gtest/gtest.h>

#include <filesystem>

#ifndef _WIN32
#include <fcntl.h>
#include <grp.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <functional>
#endif

#include "app/engine/batch.h"
#include "app/engine/video_folder.h"
#include "test_support.h"

namespace kscgen {
namespace {

namespace fs = std::filesystem;
using testing::ListNames;
using testing::ReadFile;
using testing::TempFolder;
using testing::Touch;
using testing::U8Path;

std::string NameOf(const std::string& path) {
  return path.substr(path.find_last_of(std::string("/") + os::PathSeparator()) + 1);
}

std::unique_ptr<os::Folder> Open(const std::string& path,
                                 os::FileSystem& system = os::SystemFileSystem()) {
  std::unique_ptr<os::Folder> folder;
  os::Error error = system.OpenFolder(path, &folder);
  EXPECT_FALSE(error.failed()) << path << ": " << error.reason;
  return folder;
}

TEST(FileSystemTest, ReplaceWritesTheWholeFileUnderItsNameAndLeavesNothingElse) {
  TempFolder dir;
  std::unique_ptr<os::Folder> folder = Open(dir.path());
  ASSERT_NE(folder, nullptr);
  ASSERT_FALSE(folder->Replace(u8"小河水.KSC", "first").failed());
  Touch(dir / "old.KSC", "old");
  ASSERT_FALSE(folder->Replace("old.KSC", "new").failed());
  EXPECT_EQ(ReadFile(dir / u8"小河水.KSC"), "first");
  EXPECT_EQ(ReadFile(dir / "old.KSC"), "new");
  EXPECT_EQ(ListNames(dir.path()), std::string("old.KSC|") + u8"小河水.KSC");
  // A folder where the file should go: the file failed, and nothing is left.
  fs::create_directory(U8Path(dir / "b.KSC"));
  os::Error error = folder->Replace("b.KSC", "new");
  EXPECT_EQ(error.kind, os::ErrorKind::kIsFolder);
  EXPECT_EQ(error.path, os::JoinPath(folder->path(), "b.KSC"));
  EXPECT_EQ(ListNames(dir.path()), std::string("b.KSC|old.KSC|") + u8"小河水.KSC");
  EXPECT_FALSE(folder->Sync(true).failed());
}

// Only a regular file is removed; what else stands at the name stays, a
// link and what it points to both.
TEST(FileSystemTest, RemoveTakesOnlyARegularFile) {
  TempFolder dir;
  Touch(dir / "file", "x");
  Touch(dir / "target", "kept");
  fs::create_directory(U8Path(dir / "folder"));
  std::unique_ptr<os::Folder> folder = Open(dir.path());
  ASSERT_NE(folder, nullptr);
  EXPECT_FALSE(folder->Remove("file").failed());
  EXPECT_EQ(folder->Remove("file").kind, os::ErrorKind::kNotFound);
  const os::Error error = folder->Remove("folder");
  EXPECT_EQ(error.kind, os::ErrorKind::kIsFolder);
  EXPECT_EQ(error.path, os::JoinPath(dir.path(), "folder"));
  std::string expected = "folder|target";
#ifndef _WIN32
  fs::create_symlink("target", U8Path(dir / "link"));
  EXPECT_EQ(folder->Remove("link").kind, os::ErrorKind::kExists);
  expected = "folder|link|target";
#endif
  EXPECT_EQ(ListNames(dir.path()), expected);
  EXPECT_EQ(ReadFile(dir / "target"), "kept");
}

#ifndef _WIN32
// Root updating a user's KSC file leaves it the user's: were it root's, the
// user's next run would find it read-only and skip its video.
TEST(FileSystemTest, AReplacedFileKeepsItsOwnerAndPermissions) {
  if (geteuid() != 0) GTEST_SKIP() << "only root can give a file to another user";
  TempFolder dir;
  Touch(dir / "a.KSC", "old");
  const uid_t kNobody = 65534;
  ASSERT_EQ(chown((dir / "a.KSC").c_str(), kNobody, kNobody), 0);
  ASSERT_EQ(chmod((dir / "a.KSC").c_str(), 0640), 0);
  std::unique_ptr<os::Folder> folder = Open(dir.path());
  ASSERT_NE(folder, nullptr);
  ASSERT_FALSE(folder->Replace("a.KSC", "new").failed());
  struct stat st {};
  ASSERT_EQ(stat((dir / "a.KSC").c_str(), &st), 0);
  EXPECT_EQ(st.st_uid, kNobody);
  EXPECT_EQ(st.st_gid, kNobody);
  EXPECT_EQ(st.st_mode & 07777, 0640u);
  EXPECT_EQ(ReadFile(dir / "a.KSC"), "new");
}
#endif

TEST(FileSystemTest, OneLockPerFolderUntilItsHandleCloses) {
  TempFolder dir;
  std::unique_ptr<os::Folder> first = Open(dir.path());
  ASSERT_NE(first, nullptr);
  ASSERT_FALSE(first->Lock().failed());
  // Another file system object stands for another run: it must wait.
  std::unique_ptr<os::FileSystem> other = os::SeededFileSystem(1);
  std::unique_ptr<os::Folder> second = Open(dir.path(), *other);
  ASSERT_NE(second, nullptr);
  EXPECT_EQ(second->Lock().kind, os::ErrorKind::kLocked);
  first.reset();
  EXPECT_FALSE(second->Lock().failed());
  second.reset();
  // Released, the lock leaves nothing behind.
  EXPECT_EQ(ListNames(dir.path()), "");
}

TEST(FileSystemTest, TheLockIsTheLockFileWhileHeld) {
  TempFolder dir;
  Touch(dir / ".kscgen.lock", "");  // left by a killed run: not locked, no obstacle
  std::unique_ptr<os::Folder> folder = Open(dir.path());
  ASSERT_NE(folder, nullptr);
  ASSERT_FALSE(folder->Lock().failed());
  EXPECT_EQ(ListNames(dir.path()), ".kscgen.lock");
  folder.reset();
  EXPECT_EQ(ListNames(dir.path()), "");

  // A file of that name that holds bytes is someone's own: locked, kept.
  Touch(dir / ".kscgen.lock", "my notes");
  folder = Open(dir.path());
  ASSERT_FALSE(folder->Lock().failed());
  std::unique_ptr<os::Folder> second = Open(dir.path());
  EXPECT_EQ(second->Lock().kind, os::ErrorKind::kLocked);
  folder.reset();
  EXPECT_EQ(ReadFile(dir / ".kscgen.lock"), "my notes");
}

#ifndef _WIN32
// What a Windows run does on the same folder (under Wine, or through a
// share): a lock on the first byte of ".kscgen.lock", taken as a process-wide
// record lock, which is what Wine turns LockFileEx into.
TEST(FileSystemTest, ARecordLockOnTheLockFileAsAWindowsRunHoldsItStopsARun) {
  TempFolder dir;
  const std::string lock_file = dir / ".kscgen.lock";
  int fd = ::open(lock_file.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
  ASSERT_GE(fd, 0);
  struct flock first_byte = {};
  first_byte.l_type = F_WRLCK;
  first_byte.l_whence = SEEK_SET;
  first_byte.l_len = 1;
  ASSERT_EQ(::fcntl(fd, F_SETLK, &first_byte), 0);
  std::unique_ptr<os::Folder> folder = Open(dir.path());
  ASSERT_NE(folder, nullptr);
  EXPECT_EQ(folder->Lock().kind, os::ErrorKind::kLocked);
  folder.reset();
  // The refused run leaves the other side's file alone.
  EXPECT_EQ(ListNames(dir.path()), ".kscgen.lock");

  // And while a run holds the folder, the other side cannot lock it.
  ::close(fd);  // releases the record lock
  folder = Open(dir.path());
  ASSERT_NE(folder, nullptr);
  ASSERT_FALSE(folder->Lock().failed());
  fd = ::open(lock_file.c_str(), O_RDWR | O_CLOEXEC);
  ASSERT_GE(fd, 0);
  EXPECT_NE(::fcntl(fd, F_SETLK, &first_byte), 0);
  ::close(fd);
}

// Nothing standing at the lock file's name blocks a run or is followed: the
// folder is locked all the same (by its own descriptor), and what stands
// there stays as it was.
TEST(FileSystemTest, NothingAtTheLockFilesNameBlocksTheLockOrIsFollowed) {
  struct Case {
    const char* what;
    std::function<void(const std::string& at, const std::string& target)> plant;
  };
  const Case cases[] = {
      {"a link to a file",
       [](const std::string& at, const std::string& target) {
         ASSERT_EQ(::symlink(target.c_str(), at.c_str()), 0);
       }},
      {"a link to nothing",
       [](const std::string& at, const std::string&) {
         ASSERT_EQ(::symlink("missing", at.c_str()), 0);
       }},
      {"a folder", [](const std::string& at, const std::string&) { fs::create_directory(at); }},
      {"a pipe",
       [](const std::string& at, const std::string&) { ASSERT_EQ(::mkfifo(at.c_str(), 0666), 0); }},
  };
  for (const Case& c : cases) {
    TempFolder dir, elsewhere;
    Touch(elsewhere / "target", "not the run's");
    c.plant(dir / ".kscgen.lock", elsewhere / "target");
    struct stat before;
    ASSERT_EQ(::lstat((dir / ".kscgen.lock").c_str(), &before), 0);
    std::unique_ptr<os::Folder> folder = Open(dir.path());
    ASSERT_NE(folder, nullptr);
    os::Error error = folder->Lock();
    EXPECT_FALSE(error.failed()) << c.what << ": " << error.reason;
    std::unique_ptr<os::Folder> second = Open(dir.path());
    EXPECT_EQ(second->Lock().kind, os::ErrorKind::kLocked) << c.what;
    folder.reset();
    struct stat after;
    ASSERT_EQ(::lstat((dir / ".kscgen.lock").c_str(), &after), 0) << c.what;
    EXPECT_EQ(after.st_ino, before.st_ino) << c.what;
    EXPECT_EQ(after.st_mode, before.st_mode) << c.what;
    EXPECT_EQ(ReadFile(elsewhere / "target"), "not the run's") << c.what;
    EXPECT_EQ(ListNames(elsewhere.path()), "target") << c.what;
  }
}

// Runs `step` in a child process as the user nobody (when root; as the user
// running the test otherwise) and gives back what it returned.
int AsAnotherUser(const std::function<int()>& step) {
  const pid_t child = ::fork();
  if (child == 0) {
    if (::geteuid() == 0 &&
        (::setgroups(0, nullptr) != 0 || ::setresgid(65534, 65534, 65534) != 0 ||
         ::setresuid(65534, 65534, 65534) != 0)) {
      std::_Exit(99);
    }
    std::_Exit(step());
  }
  int status = 0;
  ::waitpid(child, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// A regular file its user may write but not read is a file that could not
// be read, never an empty one: what it holds would be lost.
TEST(FileSystemTest, AFileTheUserMayNotReadFailsToBeRead) {
  TempFolder dir;
  ::chmod(dir.path().c_str(), 0777);
  Touch(dir / "a.KSC", "karaoke.tag('时间', '1999/1/1');");
  if (::geteuid() == 0) ASSERT_EQ(::chown((dir / "a.KSC").c_str(), 65534, 65534), 0);
  ::chmod((dir / "a.KSC").c_str(), 0220);
  const int kind = AsAnotherUser([&] {
    std::unique_ptr<os::Folder> folder;
    if (os::SystemFileSystem().OpenFolder(dir.path(), &folder).failed()) return 98;
    os::Existing what;
    os::Error error = folder->ReadExisting("a.KSC", 1000, &what);
    return static_cast<int>(error.kind);
  });
  EXPECT_EQ(kind, static_cast<int>(os::ErrorKind::kPermission));
}

// The ways a folder refuses every new file, told before anything is written.
TEST(FileSystemTest, AFolderThatTakesNoNewFileIsToldBeforehand) {
  if (::geteuid() != 0) GTEST_SKIP() << "needs root: chattr, mount and another user";
  TempFolder dir;
  std::unique_ptr<os::Folder> folder = Open(dir.path());
  EXPECT_FALSE(folder->CheckWritable().failed());
  for (auto [flag, kind] :
       {std::pair{"+a", os::ErrorKind::kAppendOnly}, std::pair{"+i", os::ErrorKind::kImmutable}}) {
    if (std::system(
            ("chattr " + std::string(flag) + " '" + dir.path() + "' 2>/dev/null").c_str()) != 0) {
      GTEST_SKIP() << "the temporary folder's file system keeps no chattr marks";
    }
    EXPECT_EQ(folder->CheckWritable().kind, kind) << flag;
    std::system(("chattr -ai '" + dir.path() + "'").c_str());
  }
  ::chmod(dir.path().c_str(), 0755);
  EXPECT_EQ(AsAnotherUser([&] {
              std::unique_ptr<os::Folder> f;
              if (os::SystemFileSystem().OpenFolder(dir.path(), &f).failed()) return 98;
              return static_cast<int>(f->CheckWritable().kind);
            }),
            static_cast<int>(os::ErrorKind::kPermission));
  fs::create_directory(dir / "ro");
  if (::mount("kscgen-test", (dir / "ro").c_str(), "tmpfs", MS_RDONLY, "size=64k") != 0) {
    GTEST_SKIP() << "cannot mount a read-only file system here";
  }
  std::unique_ptr<os::Folder> read_only = Open(dir / "ro");
  EXPECT_EQ(read_only->CheckWritable().kind, os::ErrorKind::kReadOnlyFileSystem);
  read_only.reset();
  ::umount((dir / "ro").c_str());
}

TEST(FileSystemTest, AFolderNoFileCanBeCreatedInIsStillLockedAgainstLinuxRuns) {
  if (::geteuid() == 0) GTEST_SKIP() << "root may create files anywhere";
  TempFolder dir;
  ::chmod(dir.path().c_str(), 0555);
  std::unique_ptr<os::Folder> first = Open(dir.path());
  ASSERT_NE(first, nullptr);
  EXPECT_FALSE(first->Lock().failed());
  std::unique_ptr<os::FileSystem> other = os::SeededFileSystem(1);
  std::unique_ptr<os::Folder> second = Open(dir.path(), *other);
  ASSERT_NE(second, nullptr);
  EXPECT_EQ(second->Lock().kind, os::ErrorKind::kLocked);
  ::chmod(dir.path().c_str(), 0755);
}
#endif

TEST(FileSystemTest, LeftoversAreOnlyRegularFilesOfTheExactPattern) {
  TempFolder dir;
  Touch(dir / ".kscgen-0123456789abcdef.tmp");  // removed
  Touch(dir / ".kscgen-my-notes.tmp");          // kept: not the pattern
  // Kept: upper case. (The names differ in more than case: on Windows,
  // case alone does not make two names.)
  Touch(dir / ".kscgen-AAAAAAAAAAAAAAAA.tmp");
  fs::create_directory(U8Path(dir / ".kscgen-fedcba9876543210.tmp"));  // kept: a folder
  std::unique_ptr<os::Folder> folder = Open(dir.path());
  ASSERT_NE(folder, nullptr);
  ASSERT_FALSE(folder->Lock().failed());
  folder->RemoveTemporaryLeftovers();
  folder.reset();
  EXPECT_EQ(ListNames(dir.path()),
            ".kscgen-AAAAAAAAAAAAAAAA.tmp|.kscgen-fedcba9876543210.tmp|.kscgen-my-notes.tmp");
}

TEST(FileSystemTest, ReadExistingTellsWhatStandsAtAName) {
  TempFolder dir;
  Touch(dir / u8"小河水.KSC", "0123456789");
  Touch(dir / "kept.KSC", "kept");
  // No write permission at all; on Windows, the read-only attribute.
  fs::permissions(U8Path(dir / "kept.KSC"),
                  fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
  fs::create_directory(U8Path(dir / "folder.KSC"));
  std::unique_ptr<os::Folder> folder = Open(dir.path());
  ASSERT_NE(folder, nullptr);
  os::Existing what;
  what.bytes = "stale";
  ASSERT_FALSE(folder->ReadExisting("none.KSC", 100, &what).failed());
  EXPECT_EQ(what.kind, os::Existing::kMissing);
  EXPECT_EQ(what.bytes, "");
  ASSERT_FALSE(folder->ReadExisting(u8"小河水.KSC", 10, &what).failed());
  EXPECT_EQ(what.kind, os::Existing::kRegular);
  EXPECT_EQ(what.bytes, "0123456789");
  EXPECT_FALSE(what.write_protected);
  // Longer than asked for: known to differ, so not read.
  ASSERT_FALSE(folder->ReadExisting(u8"小河水.KSC", 9, &what).failed());
  EXPECT_EQ(what.kind, os::Existing::kRegular);
  EXPECT_EQ(what.bytes, "");
  ASSERT_FALSE(folder->ReadExisting("kept.KSC", 100, &what).failed());
  EXPECT_EQ(what.kind, os::Existing::kRegular);
  EXPECT_TRUE(what.write_protected);
  ASSERT_FALSE(folder->ReadExisting("folder.KSC", 100, &what).failed());
  EXPECT_EQ(what.kind, os::Existing::kFolder);
}

TEST(FileSystemTest, SubfoldersAreOpenedThroughTheirParentAndKnownAgain) {
  TempFolder dir;
  fs::create_directory(U8Path(dir / u8"粤语"));
  Touch(dir / "file");
  std::unique_ptr<os::Folder> top = Open(dir.path());
  ASSERT_NE(top, nullptr);
  std::unique_ptr<os::Folder> sub;
  ASSERT_FALSE(top->OpenSubfolder(u8"粤语", &sub).failed());
  std::unique_ptr<os::Folder> again = Open(dir / u8"粤语");
  ASSERT_NE(again, nullptr);
  EXPECT_TRUE(sub->identity() == again->identity());
  EXPECT_FALSE(sub->identity() == top->identity());
  std::unique_ptr<os::Folder> none;
  EXPECT_EQ(top->OpenSubfolder("file", &none).kind, os::ErrorKind::kNotFolder);
  EXPECT_EQ(top->OpenSubfolder("missing", &none).kind, os::ErrorKind::kNotFound);
  std::vector<os::FolderEntry> entries;
  ASSERT_FALSE(top->List(&entries).failed());
  std::string listed;
  for (const os::FolderEntry& e : entries) {
    listed += e.name + (e.type == os::EntryType::kFolder ? "/" : "") + " ";
  }
  EXPECT_TRUE(listed == std::string("file ") + u8"粤语/ " ||
              listed == std::string(u8"粤语/ ") + "file ")
      << listed;
#ifndef _WIN32
  // A link put where a subfolder was listed leads nowhere, not to its target.
  fs::create_directory_symlink(U8Path(dir / u8"粤语"), U8Path(dir / "link"));
  EXPECT_TRUE(top->OpenSubfolder("link", &none).failed());
  EXPECT_EQ(none, nullptr);
#endif
}

TEST(FileSystemTest, EachUnusableFolderHasItsOwnKind) {
  TempFolder dir;
  std::string resolved;
  os::FileSystem& system = os::SystemFileSystem();
  EXPECT_EQ(system.ResolveFolder(dir / "missing", &resolved).kind, os::ErrorKind::kNotFound);
  EXPECT_EQ(system.ResolveFolder("", &resolved).kind, os::ErrorKind::kNotFound);
  Touch(dir / "file");
  EXPECT_EQ(system.ResolveFolder(dir / "file", &resolved).kind, os::ErrorKind::kNotFolder);
  EXPECT_EQ(system.ResolveFolder(dir / std::string(300, 'x'), &resolved).kind,
            os::ErrorKind::kNameTooLong);
  ASSERT_FALSE(system.ResolveFolder(dir.path(), &resolved).failed());
  EXPECT_EQ(NameOf(resolved), NameOf(dir.path()));
}

// The engine names what failed from the error alone: the folder for its
// own steps, the entry for a step about one entry.
TEST(FileSystemTest, EachFailureNamesWhatFailed) {
  TempFolder dir;
  std::unique_ptr<os::Folder> missing;
  EXPECT_EQ(os::SystemFileSystem().OpenFolder(dir / "missing", &missing).path, dir / "missing");
  std::unique_ptr<os::Folder> top = Open(dir.path());
  ASSERT_NE(top, nullptr);
  EXPECT_EQ(top->path(), dir.path());
  EXPECT_EQ(top->OpenSubfolder("missing", &missing).path, os::JoinPath(dir.path(), "missing"));
  const std::string too_long(300, 'x');
  os::Existing what;
  os::Error error = top->ReadExisting(too_long, 100, &what);
  EXPECT_EQ(error.kind, os::ErrorKind::kNameTooLong);
  EXPECT_EQ(error.path, os::JoinPath(dir.path(), too_long));
  ASSERT_FALSE(top->Lock().failed());
  std::unique_ptr<os::Folder> again = Open(dir.path());
  ASSERT_NE(again, nullptr);
  error = again->Lock();
  EXPECT_EQ(error.kind, os::ErrorKind::kLocked);
  EXPECT_EQ(error.path, dir.path());
}

TEST(FileSystemTest, APathLongerThanTwoHundredSixtyCharactersWorks) {
  // Windows' old limit is 260 characters for a whole path; each folder
  // here is well within a name's limit.
  TempFolder dir;
  std::string deep = dir.path();
  for (int i = 0; i < 4; ++i) {
    deep += "/" + std::string(80, static_cast<char>('a' + i));
    ASSERT_TRUE(fs::create_directory(U8Path(deep))) << deep.size();
  }
  Touch(deep + u8"/合唱团－小河水.mpg");
  FolderListing listing = ListVideos(deep, false);
  ASSERT_TRUE(listing.ok()) << listing.message;
  ASSERT_GT(listing.folders[0].path.size(), 330u);
  BatchRequest request;
  request.naming_template = kTemplateSingerTitle;
  request.date_text = "2026/12/7";
  BatchResult r = RunBatch(request, listing.folders, nullptr);
  ASSERT_EQ(r.status, BatchStatus::kDone) << r.failure;
  EXPECT_EQ(r.created, 1u);
  const std::string ksc = ReadFile(deep + u8"/合唱团－小河水.KSC");
  EXPECT_NE(ksc.find("karaoke.CommonVideo := "
                     "'\xBA\xCF\xB3\xAA\xCD\xC5\xA3\xAD\xD0\xA1\xBA\xD3\xCB\xAE.mpg';\r\n"),
            std::string::npos)
      << ksc;
  // And again: the file that is there is read and found unchanged.
  EXPECT_EQ(RunBatch(request, listing.folders, nullptr).unchanged, 1u);
}

}  // namespace
}  // namespace kscgen
