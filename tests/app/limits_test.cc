// A run that meets the limits of the system it runs on: no file descriptor
// left, no memory left. It says what it did and what it did not.
#include <gtest/gtest.h>

#include <filesystem>
#include <new>
#include <string>
#include <vector>

#include "app/engine/batch.h"
#include "app/engine/messages.h"
#include "app/engine/video_folder.h"
#include "test_file_system.h"
#include "test_support.h"

namespace kscgen {
namespace {

using testing::ListNames;
using testing::TempFolder;
using testing::Touch;
using testing::U8Path;
namespace fs = std::filesystem;

// Out of descriptors: a folder that cannot be opened is named, while
// listing and while writing, and the folders not reached are counted. While
// listing, it ends the listing: a run over part of the tree would number
// its videos unlike a run over all of it; a folder the user may not read
// is named and passed over.
TEST(LimitsTest, FoldersThatCannotBeOpenedAreNamedAndCounted) {
  TempFolder root;
  for (const char* name : {"a", "b", "c"}) {
    fs::create_directory(U8Path(root / name));
    Touch(root / name + "/song.mpg");
  }
  const os::Error no_descriptor{os::ErrorKind::kTooManyOpenFiles, "Too many open files"};
  const std::string b_unreadable = u8"无法读取文件夹：“" + os::JoinPath(root.path(), "b") + u8"”";
  {
    testing::TestFileSystem fs;
    fs.FailAt(testing::Step::kOpenSubfolder, no_descriptor, 0, "b");
    FolderListing listing = ListVideos(root.path(), true, fs);
    EXPECT_FALSE(listing.ok());
    EXPECT_TRUE(listing.folders.empty());
    EXPECT_TRUE(listing.unreadable.empty());
    EXPECT_EQ(listing.message, b_unreadable + u8"（打开的文件太多）");
  }
  {
    testing::TestFileSystem fs;
    fs.FailAt(testing::Step::kOpenSubfolder, {os::ErrorKind::kPermission, "Permission denied"}, 0,
              "b");
    FolderListing listing = ListVideos(root.path(), true, fs);
    ASSERT_TRUE(listing.ok());
    EXPECT_EQ(listing.folders.size(), 3u);  // the chosen one, a and c
    EXPECT_EQ(listing.unreadable, std::vector<std::string>{b_unreadable + u8"（没有权限）"});
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
            u8"打开的文件太多，无法继续处理文件夹：“" + os::JoinPath(root.path(), "b") +
                u8"”\n本次已写入 1 个KSC文件，另有 2 个视频未处理。"
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
        : Folder(real->path()), real_(std::move(real)), fs_(fs) {}
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
    os::Error Replace(const std::string& name, std::string_view bytes,
                      const os::FileStamp* expected, std::vector<std::string>* lost) override {
      return real_->Replace(name, bytes, expected, lost);
    }
    os::Error Remove(const std::string& name) override { return real_->Remove(name); }
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
  memory.fail_read = 6;  // the second video of b (each folder reads its record first)
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
