// The system's file system, as each implementation must behave: the same
// cases on Linux and, under Wine, on Windows.
#include "os/file_system.h"

#include <gtest/gtest.h>

#include <filesystem>

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

TEST(FileSystemTest, TemporaryFilesAreNewRegularFilesOfTheToolsPattern) {
  TempFolder dir;
  std::string temp;
  ASSERT_FALSE(os::SystemFileSystem().WriteTemporary(dir.path(), "bytes", &temp).failed());
  EXPECT_TRUE(os::IsTemporaryName(NameOf(temp))) << temp;
  EXPECT_EQ(temp, os::JoinPath(dir.path(), NameOf(temp)));
  EXPECT_EQ(ReadFile(temp), "bytes");
  EXPECT_EQ(ListNames(dir.path()), NameOf(temp));
}

TEST(FileSystemTest, NothingPlantedAtATemporaryNameIsOpenedOrChanged) {
  // The names a run seeded with 7 will choose, learnt from a twin in
  // another folder.
  TempFolder scratch;
  std::unique_ptr<os::FileSystem> twin = os::SeededFileSystem(7);
  std::string names[3];
  for (std::string& name : names) {
    std::string path;
    ASSERT_FALSE(twin->WriteTemporary(scratch.path(), "", &path).failed());
    name = NameOf(path);
  }
  TempFolder dir;
  fs::create_directory(U8Path(dir / names[0]));  // a folder
  Touch(dir / names[1], "someone else's");       // a file
  std::string temp;
  ASSERT_FALSE(os::SeededFileSystem(7)->WriteTemporary(dir.path(), "ksc", &temp).failed());
  EXPECT_EQ(NameOf(temp), names[2]);
  EXPECT_EQ(ReadFile(temp), "ksc");
  EXPECT_TRUE(fs::is_directory(U8Path(dir / names[0])));
  EXPECT_EQ(ReadFile(dir / names[1]), "someone else's");
}

TEST(FileSystemTest, OneLockPerFolderUntilItIsReleased) {
  TempFolder dir;
  std::unique_ptr<os::FolderLock> first;
  ASSERT_FALSE(os::SystemFileSystem().LockFolder(dir.path(), &first).failed());
  std::unique_ptr<os::FolderLock> second;
  // Another file system object stands for another run: it must wait too.
  EXPECT_EQ(os::SeededFileSystem(1)->LockFolder(dir.path(), &second).kind, os::ErrorKind::kLocked);
  EXPECT_EQ(second, nullptr);
  first.reset();
  EXPECT_FALSE(os::SeededFileSystem(1)->LockFolder(dir.path(), &second).failed());
  second.reset();
  // Released, the lock leaves nothing behind.
  EXPECT_EQ(ListNames(dir.path()), "");
}

TEST(FileSystemTest, LeftoversAreOnlyRegularFilesOfTheExactPattern) {
  TempFolder dir;
  Touch(dir / ".kscgen-0123456789abcdef.tmp");                         // removed
  Touch(dir / ".kscgen-my-notes.tmp");                                 // kept: not the pattern
  Touch(dir / ".kscgen-AAAAAAAAAAAAAAAA.tmp");                         // kept: upper case
  fs::create_directory(U8Path(dir / ".kscgen-fedcba9876543210.tmp"));  // kept: a folder
  // (The names differ in more than case: on Windows, case alone does not
  // make two names.)
  os::SystemFileSystem().RemoveTemporaryLeftovers(dir.path());
  EXPECT_EQ(ListNames(dir.path()),
            ".kscgen-AAAAAAAAAAAAAAAA.tmp|.kscgen-fedcba9876543210.tmp|.kscgen-my-notes.tmp");
}

TEST(FileSystemTest, ReadExistingTellsWhatStandsAtAPath) {
  TempFolder dir;
  os::FileSystem& system = os::SystemFileSystem();
  os::Existing what = os::Existing::kRegular;
  std::string bytes = "stale";
  ASSERT_FALSE(system.ReadExisting(dir / "none.KSC", 100, &what, &bytes).failed());
  EXPECT_EQ(what, os::Existing::kMissing);
  EXPECT_EQ(bytes, "");
  Touch(dir / u8"小河水.KSC", "0123456789");
  ASSERT_FALSE(system.ReadExisting(dir / u8"小河水.KSC", 10, &what, &bytes).failed());
  EXPECT_EQ(what, os::Existing::kRegular);
  EXPECT_EQ(bytes, "0123456789");
  // Longer than asked for: known to differ, so not read.
  ASSERT_FALSE(system.ReadExisting(dir / u8"小河水.KSC", 9, &what, &bytes).failed());
  EXPECT_EQ(what, os::Existing::kRegular);
  EXPECT_EQ(bytes, "");
  fs::create_directory(U8Path(dir / "folder.KSC"));
  ASSERT_FALSE(system.ReadExisting(dir / "folder.KSC", 100, &what, &bytes).failed());
  EXPECT_EQ(what, os::Existing::kOther);
}

TEST(FileSystemTest, ReplaceSwapsInTheNewFileAndRefusesAFolder) {
  TempFolder dir;
  os::FileSystem& system = os::SystemFileSystem();
  Touch(dir / "a.KSC", "old");
  std::string temp;
  ASSERT_FALSE(system.WriteTemporary(dir.path(), "new", &temp).failed());
  ASSERT_FALSE(system.Replace(temp, os::JoinPath(dir.path(), "a.KSC")).failed());
  EXPECT_EQ(ReadFile(dir / "a.KSC"), "new");
  EXPECT_EQ(ListNames(dir.path()), "a.KSC");
  fs::create_directory(U8Path(dir / "b.KSC"));
  ASSERT_FALSE(system.WriteTemporary(dir.path(), "new", &temp).failed());
  EXPECT_EQ(system.Replace(temp, os::JoinPath(dir.path(), "b.KSC")).kind, os::ErrorKind::kIsFolder);
  EXPECT_FALSE(system.Remove(temp).failed());
  EXPECT_FALSE(system.Sync(dir.path()).failed());
}

TEST(FileSystemTest, WriteProtectionIsNoWritePermissionAtAll) {
  TempFolder dir;
  Touch(dir / "open.KSC");
  Touch(dir / "kept.KSC");
  // On Windows, the read-only attribute.
  fs::permissions(U8Path(dir / "kept.KSC"),
                  fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
  EXPECT_FALSE(os::SystemFileSystem().IsWriteProtected(dir / "open.KSC"));
  EXPECT_TRUE(os::SystemFileSystem().IsWriteProtected(dir / "kept.KSC"));
  EXPECT_FALSE(os::SystemFileSystem().IsWriteProtected(dir / "missing.KSC"));
}

TEST(FileSystemTest, EachUnusableFolderHasItsOwnKind) {
  TempFolder dir;
  std::string resolved;
  os::FileSystem& system = os::SystemFileSystem();
  EXPECT_EQ(system.ResolveFolder(dir / "missing", &resolved).kind, os::ErrorKind::kNotFound);
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
