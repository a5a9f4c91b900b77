#include "app/engine/video_folder.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "test_support.h"

namespace kscgen {
namespace {

std::string Names(const std::vector<VideoFile>& files) {
  std::string out;
  for (const VideoFile& f : files) out += (out.empty() ? "" : "|") + f.native_name;
  return out;
}

TEST(VideoFolderTest, MatchesTheMasksWithoutRegardToCase) {
  for (const char* yes : {"a.mpg", "a.MPG", "a.Dat", "a.wmv", "a.rmvb", "a.AVI", ".mpg"}) {
    EXPECT_TRUE(IsVideoFileName(yes)) << yes;
  }
  for (const char* no : {"a.KSC", "a.mp4", "a.mpg.txt", "mpg", "a.rm", "a.mpeg"}) {
    EXPECT_FALSE(IsVideoFileName(no)) << no;
  }
}

TEST(VideoFolderTest, ListsPlainVideoFilesSortedByFoldedGbkName) {
  testing::TempFolder dir;
  for (const char* name : {"b.mpg", "A.avi", "c.KSC", "Z.dat", "a.MPG"}) testing::Touch(dir / name);
  testing::Touch(dir / u8"小河水.mpg");  // UTF-8 on disk, sorted by its GBK bytes
  testing::Touch(dir / "\xB0\xA1.wmv");  // GBK on disk: 啊, the first level-one character
  std::filesystem::create_directory(dir / "folder.mpg");
  FolderListing listing = ListVideoFiles(dir.path());
  ASSERT_TRUE(listing.ok);
  // 啊 (B0 A1) comes before 小 (D0 A1).
  EXPECT_EQ(Names(listing.files),
            std::string("A.avi|a.MPG|b.mpg|Z.dat|\xB0\xA1.wmv|") + u8"小河水.mpg");
  EXPECT_EQ(listing.files[4].name.encoding, text::NameEncoding::kGbk);
  EXPECT_EQ(listing.files[5].name.gbk, "\xD0\xA1\xBA\xD3\xCB\xAE.mpg");
}

TEST(VideoFolderTest, AMissingFolderIsReportedByName) {
  FolderListing listing = ListVideoFiles("/nonexistent/kscgen");
  EXPECT_FALSE(listing.ok);
  EXPECT_EQ(listing.message.rfind("Cannot read folder \"/nonexistent/kscgen\". ", 0), 0u);
  EXPECT_TRUE(listing.files.empty());
}

}  // namespace
}  // namespace kscgen
