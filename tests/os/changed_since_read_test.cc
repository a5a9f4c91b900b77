// A file another program changes between the run's reading it and the run's
// replacing it, on the real disk: an editor's save made meanwhile stays, and
// the replacement fails as the file's own. The same cases on Linux and, under
// Wine, on Windows.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>

#include "os/file_system.h"
#include "test_support.h"

namespace kscgen {
namespace {

namespace fs = std::filesystem;
using testing::ListNames;
using testing::ReadFile;
using testing::TempFolder;
using testing::Touch;
using testing::U8Path;

TEST(ChangedSinceReadTest, ReplaceFindsTheFileAsItWasReadOrLeavesItToTheOtherProgram) {
  struct Case {
    const char* what;
    const char* before;  // the file when read; null: none
    // What another program does between the reading and the replacement.
    std::function<void(const std::string& path)> meanwhile;
    const char* after;  // the file afterwards; null: none
    bool replaced;
  };
  const Case cases[] = {
      {"left as read", "old", [](const std::string&) {}, "new", true},
      {"nothing there, still nothing", nullptr, [](const std::string&) {}, "new", true},
      {"saved in place, longer", "old", [](const std::string& path) { Touch(path, "old, edited"); },
       "old, edited", false},
      {"another file put in its place (an editor's own save)", "old",
       [](const std::string& path) {
         Touch(path + ".save", "edited");
         fs::rename(U8Path(path + ".save"), U8Path(path));
       },
       "edited", false},
      {"removed", "old", [](const std::string& path) { fs::remove(U8Path(path)); }, nullptr, false},
      {"made where there was none", nullptr, [](const std::string& path) { Touch(path, "edited"); },
       "edited", false},
  };
  for (const Case& c : cases) {
    TempFolder dir;
    const std::string path = dir / "song.KSC";
    if (c.before) Touch(path, c.before);
    std::unique_ptr<os::Folder> folder;
    ASSERT_FALSE(os::SystemFileSystem().OpenFolder(dir.path(), &folder).failed());
    os::Existing read;
    ASSERT_FALSE(folder->ReadExisting("song.KSC", 1024, &read).failed()) << c.what;
    EXPECT_EQ(read.stamp.present, c.before != nullptr) << c.what;
    c.meanwhile(path);
    std::vector<std::string> lost;
    const os::Error error = folder->Replace("song.KSC", "new", &read.stamp, &lost);
    if (c.replaced) {
      EXPECT_FALSE(error.failed()) << c.what << ": " << error.reason;
    } else {
      EXPECT_EQ(error.kind, os::ErrorKind::kChangedSinceRead) << c.what << ": " << error.reason;
      EXPECT_EQ(error.path, os::JoinPath(dir.path(), "song.KSC")) << c.what;
    }
    // The other program's file, or none, and no temporary file left.
    EXPECT_EQ(ListNames(dir.path()), c.after ? "song.KSC" : "") << c.what;
    if (c.after) {
      EXPECT_EQ(ReadFile(path), c.after) << c.what;
    }
  }
}

}  // namespace
}  // namespace kscgen
