// A run locks each folder it writes in against other runs: for as long as it
// works there, and no longer.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "app/engine/batch.h"
#include "app/engine/video_folder.h"
#include "os/file_system.h"
#include "test_support.h"

namespace kscgen {
namespace {

using testing::TempFolder;
using testing::Touch;
using testing::U8Path;
namespace fs = std::filesystem;

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

}  // namespace
}  // namespace kscgen
