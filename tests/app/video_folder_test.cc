#include "app/engine/video_folder.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "app/engine/batch.h"
#include "app/engine/messages.h"
#include "test_support.h"

namespace kscgen {
namespace {

std::string Names(const std::vector<VideoFile>& files) {
  std::string out;
  for (const VideoFile& f : files) out += (out.empty() ? "" : "|") + f.native_name;
  return out;
}

#ifndef _WIN32
// A link to a file is the video it points to; a link to nothing or to a
// folder is no video.
TEST(VideoFolderTest, ALinkToAFileIsAVideo) {
  testing::TempFolder dir;
  namespace fs = std::filesystem;
  testing::Touch(dir / "real.mpg");
  fs::create_directory(dir / "folder.mpg");
  fs::create_symlink(dir / "real.mpg", dir / "link.mpg");
  fs::create_symlink(dir / "missing.mpg", dir / "dangling.mpg");
  fs::create_symlink(dir / "folder.mpg", dir / "to-folder.mpg");
  FolderListing listing = ListVideos(dir.path(), false);
  ASSERT_TRUE(listing.ok()) << listing.message;
  EXPECT_EQ(Names(listing.folders[0].files), "link.mpg|real.mpg");
}
#endif

TEST(VideoFolderTest, MatchesTheMasksWithoutRegardToCase) {
  for (const char* yes : {"a.mpg", "a.MPG", "a.Dat", "a.wmv", "a.rmvb", "a.AVI", ".mpg"}) {
    EXPECT_TRUE(IsVideoFileName(yes)) << yes;
  }
  for (const char* no : {"a.KSC", "a.mp4", "a.mpg.txt", "mpg", "a.rm", "a.mpeg"}) {
    EXPECT_FALSE(IsVideoFileName(no)) << no;
  }
}

TEST(VideoFolderTest, AddedExtensionsAreVideosTooAndTheFiveStay) {
  const VideoExtensions added{{".mkv", ".mp4"}};
  for (const char* yes : {"a.mkv", "a.MP4", "a.mpg", "a.AVI", "a.b.Mkv"}) {
    EXPECT_TRUE(IsVideoFileName(yes, added)) << yes;
  }
  for (const char* no : {"a.KSC", "a.ts", "amkv", "a.mkv.part"}) {
    EXPECT_FALSE(IsVideoFileName(no, added)) << no;
  }
  // A run's own temporary files stay out, even with their kind added.
  EXPECT_FALSE(IsVideoFileName(".kscgen-0123456789abcdef.tmp", VideoExtensions{{".tmp"}}));
  EXPECT_TRUE(IsVideoFileName("a.tmp", VideoExtensions{{".tmp"}}));
  EXPECT_EQ(VideoMasks(added), "*.mpg;*.dat;*.wmv;*.rmvb;*.avi;*.mkv;*.mp4");
  EXPECT_EQ(VideoMasks({}), "*.mpg;*.dat;*.wmv;*.rmvb;*.avi");
}

TEST(VideoFolderTest, ExtensionsAreReadAsTyped) {
  struct Row {
    const char* typed;
    std::vector<std::string> added;
  };
  const Row rows[] = {
      {"mkv,mp4", {".mkv", ".mp4"}},
      {" *.MKV; .ts  vob ", {".mkv", ".ts", ".vob"}},
      {"mkv,,MKV,mpg,AVI", {".mkv"}},  // each once; the five are there already
      {"m2ts", {".m2ts"}},
      {"", {}},
      {" , ", {}},
  };
  for (const Row& r : rows) {
    VideoExtensionsParse parse = ParseVideoExtensions(r.typed);
    EXPECT_EQ(parse.error, "") << r.typed;
    EXPECT_EQ(parse.extensions.added, r.added) << r.typed;
  }
  EXPECT_EQ(VideoExtensionsText({{".mkv", ".mp4"}}), "mkv,mp4");
  EXPECT_EQ(ParseVideoExtensions("mkv,m-p4").error,
            u8"视频后缀名“m-p4”无法使用：应由 1 到 10 个英文字母或数字组成，如 mkv、mp4");
  EXPECT_EQ(ParseVideoExtensions("mkv,m-p4").extensions.added.size(), 0u);
  for (const char* bad : {".", "*.", "a/b", "*.*", "abcdefghijk", u8"视频", "a.b"}) {
    EXPECT_NE(ParseVideoExtensions(bad).error, "") << bad;
  }
  EXPECT_EQ(ParseVideoExtensions("mkv KSC").error, u8"视频后缀名“KSC”是KSC文件自己的后缀名");
}

TEST(VideoFolderTest, ListsTheAddedKindsOfVideo) {
  testing::TempFolder dir;
  for (const char* name : {"a.mkv", "b.MP4", "c.mpg", "d.ts", "c.KSC"}) testing::Touch(dir / name);
  EXPECT_EQ(Names(ListVideos(dir.path(), false).folders[0].files), "c.mpg");
  FolderListing listing = ListVideos(dir.path(), false, VideoExtensions{{".mkv", ".mp4"}});
  EXPECT_EQ(Names(listing.folders[0].files), "a.mkv|b.MP4|c.mpg");
}

TEST(VideoFolderTest, ListsPlainVideoFilesSortedByFoldedGbkName) {
  testing::TempFolder dir;
  for (const char* name : {"b.mpg", "A.avi", "c.KSC", "Z.dat", "a.MPG"}) testing::Touch(dir / name);
  testing::Touch(dir / u8"小河水.mpg");  // UTF-8 on disk, sorted by its GBK bytes
#ifdef _WIN32
  // Names on Windows are UTF-16, which the listing gives as UTF-8: a name
  // is never GBK bytes there.
  testing::Touch(dir / u8"啊.wmv");
  const std::string first_native = u8"啊.wmv";
  const text::NameEncoding first_encoding = text::NameEncoding::kUtf8;
#else
  testing::Touch(dir / "\xB0\xA1.wmv");  // GBK on disk: 啊, the first level-one character
  const std::string first_native = "\xB0\xA1.wmv";
  const text::NameEncoding first_encoding = text::NameEncoding::kGbk;
#endif
  std::filesystem::create_directory(testing::U8Path(dir / "folder.mpg"));
  FolderListing listing = ListVideos(dir.path(), false);
  ASSERT_TRUE(listing.ok());
  ASSERT_EQ(listing.folders.size(), 1u);
  const std::vector<VideoFile>& files = listing.folders[0].files;
  // 啊 (B0 A1) comes before 小 (D0 A1).
  EXPECT_EQ(Names(files), "A.avi|a.MPG|b.mpg|Z.dat|" + first_native + "|" + u8"小河水.mpg");
  EXPECT_EQ(files[4].name.encoding, first_encoding);
  EXPECT_EQ(files[4].name.gbk, "\xB0\xA1.wmv");
  EXPECT_EQ(files[5].name.gbk, "\xD0\xA1\xBA\xD3\xCB\xAE.mpg");
}

TEST(VideoFolderTest, EachKindOfUnusableFolderHasItsOwnMessage) {
  testing::TempFolder dir;
  FolderListing listing = ListVideos(dir / "missing", false);
  EXPECT_FALSE(listing.ok());
  EXPECT_EQ(listing.message, u8"文件夹不存在：“" + dir / "missing" + u8"”");
  EXPECT_TRUE(listing.folders.empty());
  testing::Touch(dir / "file.mpg");
  EXPECT_EQ(ListVideos(dir / "file.mpg", false).message,
            u8"不是文件夹：“" + dir / "file.mpg" + u8"”");
  const std::string too_long = dir / std::string(300, 'x');  // past any name's limit
  EXPECT_EQ(ListVideos(too_long, false).message, u8"路径太长：“" + too_long + u8"”");
}

TEST(VideoFolderTest, TheFolderIsTheOneTheSystemResolvesThePathTo) {
  testing::TempFolder dir;
  std::filesystem::create_directories(testing::U8Path(dir / "a"));
  std::filesystem::create_directories(testing::U8Path(dir / u8"b/粤语金曲"));
  testing::Touch(dir / "a/in-a.mpg");
  testing::Touch(dir / "b/in-b.mpg");
#ifdef _WIN32
  // Windows reads ".." from the path as written, whatever the name before
  // it is (a link makes no difference there): a/sub/.. is a.
  std::filesystem::create_directories(testing::U8Path(dir / "a/sub"));
  FolderListing listing = ListVideos(dir / "a/sub/..", false);
  ASSERT_TRUE(listing.ok()) << listing.message;
  EXPECT_EQ(Names(listing.folders[0].files), "in-a.mpg");
  EXPECT_EQ(listing.folders[0].folder_name, "a");
  EXPECT_EQ(listing.folders[0].path, os::JoinPath(dir.path(), "a"));
  listing = ListVideos(dir / u8"b/粤语金曲/.", false);
  ASSERT_TRUE(listing.ok()) << listing.message;
  EXPECT_EQ(listing.folders[0].folder_name, "\xD4\xC1\xD3\xEF\xBD\xF0\xC7\xFA");
#else
  // a/sublink/.. is the link target's parent, as ls shows it, not a/.
  std::filesystem::create_directory_symlink(dir / u8"b/粤语金曲", dir / "a/sublink");
  FolderListing listing = ListVideos(dir / "a/sublink/..", false);
  ASSERT_TRUE(listing.ok()) << listing.message;
  EXPECT_EQ(Names(listing.folders[0].files), "in-b.mpg");
  EXPECT_EQ(listing.folders[0].folder_name, "b");
  // Through the link itself, the folder keeps the name the user gave.
  listing = ListVideos(dir / "a/sublink", false);
  EXPECT_EQ(listing.folders[0].folder_name, "sublink");
#endif
}

// `relative` with the system's separator: "a/b" is "a\\b" on Windows.
std::string Native(std::string relative) {
  for (char& c : relative) {
    if (c == '/') c = os::PathSeparator();
  }
  return relative;
}

TEST(VideoFolderTest, ATreeIsListedDepthFirstInNameOrderPassingOverLinksAndDotFolders) {
  testing::TempFolder dir;
  namespace fs = std::filesystem;
  using testing::U8Path;
  for (const char* folder :
       {u8"歌手/周华健", u8"歌手/周华健精选", u8"歌手/Beyond", u8"歌手/aaa/深处", u8"空", ".hidden", u8"Z语种"}) {
    fs::create_directories(U8Path(dir / folder));
  }
  for (const char* video : {"top.mpg", u8"歌手/周华健/朋友.mpg", u8"歌手/周华健精选/风雨无阻.mpg",
                            u8"歌手/Beyond/海阔天空.avi",
                            u8"歌手/aaa/深处/x.mpg", ".hidden/secret.mpg", u8"Z语种/z.mpg"}) {
    testing::Touch(dir / video);
  }
  // Links to folders: a loop back up, and a second way to a folder. On
  // Windows these are symbolic links (reparse points), which a user may be
  // unable to make; the tree is then walked without them.
  std::error_code link_error;
  fs::create_directory_symlink(U8Path(dir / u8"歌手"), U8Path(dir / u8"歌手/周华健/loop"),
                               link_error);
  if (!link_error) {
    fs::create_directory_symlink(U8Path(dir / u8"Z语种"), U8Path(dir / "link-to-z"), link_error);
  }
#ifndef _WIN32
  ASSERT_FALSE(link_error) << link_error.message();
#endif
  FolderListing listing = ListVideos(dir.path(), true);
  ASSERT_TRUE(listing.ok());
  std::string order;
  for (const VideoFolder& f : listing.folders) {
    order += f.relative + "(" + Names(f.files) + ")" + f.folder_name + " ";
  }
  // Names compare as GBK with ASCII folded: Z语种 < 歌手 (B8E8) at the top,
  // aaa < Beyond < 周华健 (D6DC) < 周华健精选 inside 歌手, which holds no
  // video itself: a name that begins another goes first.
  EXPECT_EQ(
      order,
      std::string(".(top.mpg)") +
          dir.path().substr(dir.path().find_last_of(std::string("/") + os::PathSeparator()) + 1) +
          u8" Z语种(z.mpg)Z\xD3\xEF\xD6\xD6 " + Native(u8"歌手/aaa/深处") +
          u8"(x.mpg)\xC9\xEE\xB4\xA6 " + Native(u8"歌手/Beyond") + u8"(海阔天空.avi)Beyond " +
          Native(u8"歌手/周华健") + u8"(朋友.mpg)\xD6\xDC\xBB\xAA\xBD\xA1 " +
          Native(u8"歌手/周华健精选") + u8"(风雨无阻.mpg)\xD6\xDC\xBB\xAA\xBD\xA1\xBE\xAB\xD1\xA1 ");
  EXPECT_EQ(listing.video_count(), 6u);
}

TEST(VideoFolderTest, OnlyAsciiLettersStandingAloneAreFoldedWhenSorting) {
  // 丄 is 81 41 and 乤 is 81 61: their trail bytes spell "A" and "a", yet
  // they are different characters and must not sort as one.
  std::vector<VideoFile> files;
  for (const char* name : {"\x81\x61"
                           "a.mpg",
                           "\x81\x41"
                           "c.mpg",
                           "\x81\x41"
                           "b.mpg",
                           "B.mpg", "a.mpg"}) {
    files.push_back(MakeVideoFile(name));
  }
  SortVideoFiles(files);
  EXPECT_EQ(Names(files),
            "a.mpg|B.mpg|\x81\x41"
            "b.mpg|\x81\x41"
            "c.mpg|\x81\x61"
            "a.mpg");
}

TEST(VideoFolderTest, ARunNeverFollowsAFolderReplacedAfterListing) {
  namespace fs = std::filesystem;
  testing::TempFolder dir;
  fs::create_directories(dir / "lib/sub");
  fs::create_directories(dir / "elsewhere");
  testing::Touch(dir / "lib/sub/a.mpg");
  testing::Touch(dir / "elsewhere/a.KSC", "private");
  FolderListing listing = ListVideos(dir / "lib", true);
  ASSERT_EQ(listing.folders.size(), 2u);
  fs::rename(dir / "lib/sub", dir / "lib/sub.old");
  BatchRequest request;
  request.naming_template = kTemplateTitle;
  BatchResult r;
#ifndef _WIN32
  // Between listing and run, the subfolder becomes a link out of the tree.
  // (Windows lets only some users make links, and Wine none.)
  fs::create_directory_symlink(dir / "elsewhere", dir / "lib/sub");
  r = RunBatch(request, listing.folders, nullptr);
  EXPECT_EQ(r.status, BatchStatus::kWriteFailed);
  EXPECT_EQ(testing::ReadFile(dir / "elsewhere/a.KSC"), "private");
  fs::remove(dir / "lib/sub");
#endif
  // Or by another real folder: it is not the one listed either.
  fs::rename(dir / "elsewhere", dir / "lib/sub");
  r = RunBatch(request, listing.folders, nullptr);
  EXPECT_EQ(r.status, BatchStatus::kWriteFailed);
  EXPECT_NE(messages::BatchReport(r, 10).summary.find(u8"已被移动或替换"), std::string::npos);
  EXPECT_EQ(testing::ReadFile(dir / "lib/sub/a.KSC"), "private");
  // Put back, the run goes through.
  fs::rename(dir / "lib/sub", dir / "elsewhere");
  fs::rename(dir / "lib/sub.old", dir / "lib/sub");
  EXPECT_EQ(RunBatch(request, listing.folders, nullptr).status, BatchStatus::kDone);
}

TEST(FolderNameTest, IsTheLastComponentAsWrittenOrTheResolvedOneForDots) {
  EXPECT_EQ(FolderNameOf(u8"/ktv/国语", u8"/ktv/国语"), u8"国语");
  EXPECT_EQ(FolderNameOf(u8"/ktv/国语//", u8"/ktv/国语"), u8"国语");
  // A link keeps the name the user chose.
  EXPECT_EQ(FolderNameOf(u8"/ktv/粤语", u8"/data/x1"), u8"粤语");
  EXPECT_EQ(FolderNameOf(".", u8"/ktv/国语"), u8"国语");
  EXPECT_EQ(FolderNameOf("a/link/..", u8"/data"), "data");
  EXPECT_EQ(FolderNameOf("", u8"/ktv/国语"), u8"国语");
  EXPECT_EQ(FolderNameOf("/", "/"), "");
}

}  // namespace
}  // namespace kscgen
