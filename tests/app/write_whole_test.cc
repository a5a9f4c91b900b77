// Writing a KSC file whole or not at all, on a real disk.
#include "app/engine/write_whole.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <memory>

#include "expected_ksc.h"
#include "test_support.h"

namespace kscgen {
namespace {

using testing::kRoadKsc;
using testing::ReadFile;
using testing::TempFolder;

std::unique_ptr<os::Folder> Open(const std::string& path) {
  std::unique_ptr<os::Folder> folder;
  EXPECT_FALSE(os::SystemFileSystem().OpenFolder(path, &folder).failed()) << path;
  return folder;
}

TEST(WriteFileReplacingTest, ReplacesAnExistingFileWholeKeepingItsPermissions) {
  TempFolder dir;
  const std::string path = dir / "song.KSC";
  testing::Touch(path, std::string(5000, 'x'));  // longer than the new text
  chmod(path.c_str(), 0664);
  const mode_t mask = umask(077);  // a new file would get 600
  WriteStatus status = WriteFileReplacing(*Open(dir.path()), "song.KSC", kRoadKsc);
  umask(mask);
  ASSERT_TRUE(status.ok()) << status.error.reason;
  EXPECT_EQ(ReadFile(path), kRoadKsc);
  EXPECT_EQ(testing::ListNames(dir.path()), "song.KSC");
#ifdef _WIN32
  GTEST_SKIP() << "Windows permissions are access control lists: the new file takes the "
                  "folder's, as the old one had, and keeps its hidden and system attributes";
#endif
  struct stat st;
  ASSERT_EQ(stat(path.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0664u);
  // A new file has what the user's file-creation mask leaves of 666, as any
  // file the user makes.
  for (const auto [mask_bits, mode] : {std::pair{022, 0644u}, std::pair{002, 0664u}}) {
    const mode_t before = umask(static_cast<mode_t>(mask_bits));
    status = WriteFileReplacing(*Open(dir.path()), "new.KSC", kRoadKsc);
    umask(before);
    ASSERT_TRUE(status.ok()) << status.error.reason;
    ASSERT_EQ(stat((dir / "new.KSC").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, mode);
    std::filesystem::remove(dir / "new.KSC");
  }
}

TEST(WriteFileReplacingTest, SaysWhetherTheFolderOrTheKscFileFailed) {
  TempFolder dir;
  std::filesystem::create_directory(dir / "sub");
  std::unique_ptr<os::Folder> sub = Open(dir / "sub");
  std::error_code removed;
  std::filesystem::remove(dir / "sub", removed);
  WriteStatus status = WriteFileReplacing(*sub, "song.KSC", kRoadKsc);
#ifdef _WIN32
  // Windows keeps a folder that a run holds open from being removed (or
  // renamed), so the run writes where it listed.
  EXPECT_TRUE(removed);
  EXPECT_TRUE(status.ok());
#else
  ASSERT_FALSE(removed) << removed.message();
  // The folder is gone: no temporary file.
  EXPECT_EQ(status.failure, WriteFailure::kFolder);
  EXPECT_EQ(status.error.kind, os::ErrorKind::kNotFound);
#endif
  sub.reset();
  std::filesystem::remove_all(dir / "sub");

  // A folder in the way of the KSC file: nothing half-written stays behind.
  std::filesystem::create_directory(dir / "taken.KSC");
  status = WriteFileReplacing(*Open(dir.path()), "taken.KSC", kRoadKsc);
  EXPECT_EQ(status.failure, WriteFailure::kKscFile);
  EXPECT_EQ(status.error.kind, os::ErrorKind::kIsFolder);
  EXPECT_EQ(testing::ListNames(dir.path()), "taken.KSC");
}

}  // namespace
}  // namespace kscgen
