// The system's file system, as each implementation must behave: the same
// cases on Linux and, under Wine, on Windows.
#include "os/file_system.h"

#include <gtest/gtest.h>

#include <filesystem>

#ifndef _WIN32
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
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
  bool in_folder = false;
  ASSERT_FALSE(folder->Replace(u8"小河水.KSC", "first", &in_folder).failed());
  Touch(dir / "old.KSC", "old");
  ASSERT_FALSE(folder->Replace("old.KSC", "new", &in_folder).failed());
  EXPECT_EQ(ReadFile(dir / u8"小河水.KSC"), "first");
  EXPECT_EQ(ReadFile(dir / "old.KSC"), "new");
  EXPECT_EQ(ListNames(dir.path()), std::string("old.KSC|") + u8"小河水.KSC");
  // A folder where the file should go: the file failed, and nothing is left.
  fs::create_directory(U8Path(dir / "b.KSC"));
  os::Error error = folder->Replace("b.KSC", "new", &in_folder);
  EXPECT_EQ(error.kind, os::ErrorKind::kIsFolder);
  EXPECT_FALSE(in_folder);
  EXPECT_EQ(ListNames(dir.path()), std::string("b.KSC|old.KSC|") + u8"小河水.KSC");
  EXPECT_FALSE(folder->Sync(true).failed());
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
  bool in_folder = false;
  ASSERT_FALSE(folder->Replace("a.KSC", "new", &in_folder).failed());
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
  Touch(dir / ".kscgen.lock", "left by a killed run");  // not locked: no obstacle
  std::unique_ptr<os::Folder> folder = Open(dir.path());
  ASSERT_NE(folder, nullptr);
  ASSERT_FALSE(folder->Lock().failed());
  EXPECT_EQ(ListNames(dir.path()), ".kscgen.lock");
  folder.reset();
  EXPECT_EQ(ListNames(dir.path()), "");
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
