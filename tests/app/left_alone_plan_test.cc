// What stands at a KSC file's name that kscgen leaves as it is (a file it
// cannot read, no file at all, a text it cannot merge without breaking
// it), and the reason the video is skipped with.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/engine/video_plan.h"
#include "plan_fixture.h"

namespace kscgen {
namespace {

using testing::RoadSong;
using testing::plan::File;
using testing::plan::kLyric;
using testing::plan::kRoad;
using testing::plan::kStyleLine;
using testing::plan::kVideoLine;
using testing::plan::With;

// `text` in UTF-16, little- or big-endian, without a byte-order mark.
std::string Utf16(const std::u16string& text, bool big) {
  std::string bytes;
  for (char16_t c : text) {
    const char low = static_cast<char>(c & 0xFF);
    const char high = static_cast<char>(c >> 8);
    bytes += big ? high : low;
    bytes += big ? low : high;
  }
  return bytes;
}

struct LeftAloneCase {
  const char* what;
  ExistingKsc existing;
  VideoPlan::Action action;
  const char* reason;
};

// What stands at a KSC file's name that kscgen leaves as it is, and why.
std::vector<LeftAloneCase> LeftAloneFiles() {
  os::Existing folder;
  folder.kind = os::Existing::kFolder;
  os::Existing link;
  link.kind = os::Existing::kOther;
  os::Existing huge = File("");
  huge.size = 16 * 1024 * 1024 + 1;  // the bytes of a file over the limit are not read
  os::Existing grown = File(kRoad);
  grown.size = kRoad.size() - 1;  // it grew between the size and the read
  return {
      {"no permission",
       {{os::ErrorKind::kPermission, "Permission denied", 13}, File("")},
       VideoPlan::kSkip,
       u8"无法读取已有的KSC文件（没有权限）"},
      {"a disk failure",
       {{os::ErrorKind::kIoError, "Input/output error", 5}, File("")},
       VideoPlan::kStopRun,
       ""},
      {"a folder", {{}, folder}, VideoPlan::kSkip, u8"KSC文件的位置上是一个文件夹"},
      {"a link", {{}, link}, VideoPlan::kSkip, u8"KSC文件的位置上是链接或特殊文件"},
      {"over the limit", {{}, huge}, VideoPlan::kSkip, u8"KSC文件大于 16 MiB，未改动"},
      {"changed while read",
       {{}, grown},
       VideoPlan::kSkip,
       u8"KSC文件在读取时被其他程序改动，未改动"},
      {"UTF-16 of an odd length",
       {{}, File("\xFF\xFE\x41\x00\x42")},
       VideoPlan::kSkip,
       u8"KSC文件为UTF-16编码，含有无效或GBK无法表示的字符，未改动"},
      {"UTF-8 GBK cannot hold",
       {{}, File(u8"karaoke.tag('歌名', '\U0001F3A4');")},
       VideoPlan::kSkip,
       u8"KSC文件为UTF-8编码，含有无效或GBK无法表示的字符，未改动"},
  };
}

// Texts kscgen cannot merge without breaking them, and why.
std::vector<LeftAloneCase> UnmergeableTexts() {
  return {
      // A value whose statement goes on in the next line: merging it would
      // leave the rest of it behind as a broken line.
      {"a statement over two lines",
       {{}, File("karaoke.tag('风格',\r\n  '怀旧');\r\n")},
       VideoPlan::kSkip,
       u8"KSC文件第 1 行的语句不完整（跨行书写或缺少分号），未改动"},
      // A comment inside a statement: kscgen's line would take its place.
      {"a number with a comment before its semicolon",
       {{},
        File(With(kRoad, "karaoke.internalnumber := ;",
                  "karaoke.internalnumber := 12 { 旧：11 };"))},
       VideoPlan::kSkip,
       u8"KSC文件第 2 行的语句不完整（跨行书写或缺少分号），未改动"},
      {"a value cut short",
       {{}, File("karaoke.tag('歌名', '小河\r\n")},
       VideoPlan::kSkip,
       u8"KSC文件第 1 行的语句不完整（跨行书写或缺少分号），未改动"},
      // A value's statement inside another: the song manager's reader
      // takes it there, and a line kscgen added for its field would come
      // before it and lose.
      {"a title after begin",
       {{},
        File("karaoke := CreateKaraokeObject;\r\nbegin karaoke.tag('歌名','旧'); end;\r\n" +
             kLyric)},
       VideoPlan::kSkip,
       u8"KSC文件第 2 行的语句无法识别，未改动"},
      {"a number after if … then",
       {{},
        File(With(kRoad, "karaoke.internalnumber := ;", "if a then karaoke.internalnumber := 5;"))},
       VideoPlan::kSkip,
       u8"KSC文件第 2 行的语句无法识别，未改动"},
      {"a style in an expression",
       {{}, File(With(kRoad, kStyleLine, "x := karaoke.tag('风格', '怀旧');\r\n"))},
       VideoPlan::kSkip,
       u8"KSC文件第 15 行的语句无法识别，未改动"},
      {"the video in a block, in capitals",
       {{}, File(With(kRoad, kVideoLine, "BEGIN Karaoke.CommonVideo := 'a.mpg'; END;\r\n"))},
       VideoPlan::kSkip,
       u8"KSC文件第 28 行的语句无法识别，未改动"},
      {"a title in a value without quotes",
       {{},
        File(With(kRoad, "karaoke.tag('歌名', '小河水');",
                  "karaoke.songname := karaoke.tag('歌名', '小河水');"))},
       VideoPlan::kSkip,
       u8"KSC文件第 8 行的语句无法识别，未改动"},
      // 乲 is 81 6B: its second byte may be a letter of a name, or not.
      {"a title after a character whose second byte is k",
       {{},
        File(With(kRoad, "karaoke.tag('歌名', '小河水');", "乲karaoke.tag('歌名', '小河水');"))},
       VideoPlan::kSkip,
       u8"KSC文件第 8 行的语句无法识别，未改动"},
      // After a comment inside a statement, the statement goes on.
      {"a date after then and a comment",
       {{}, File(kRoad + "if a then { 旧 } karaoke.tag('时间', '1/1/1');\r\n")},
       VideoPlan::kSkip,
       u8"KSC文件第 29 行的语句无法识别，未改动"},
  };
}

// Files kscgen cannot merge for their size or their encoding, and why.
std::vector<LeftAloneCase> UnmergeableFiles() {
  return {
      // At the limit, and kscgen's lines would take it past: the next run
      // could not read it.
      {"at the limit",
       {{}, File(std::string(16 * 1024 * 1024, '/'))},
       VideoPlan::kSkip,
       u8"KSC文件大于 16 MiB，未改动"},
      // Without a byte-order mark, UTF-16 is no GBK: every ASCII character
      // brings a NUL, and kscgen's lines would go in front of the wide text.
      {"UTF-16LE without a byte-order mark",
       {{}, File(Utf16(u"karaoke.tag('时间', '3/4/25');\r\n", false))},
       VideoPlan::kSkip,
       u8"KSC文件编码无法识别（不是GBK、UTF-8或带BOM的UTF-16），未改动"},
      {"UTF-16BE without a byte-order mark",
       {{}, File(Utf16(u"karaoke.tag('时间', '3/4/25');\r\n", true))},
       VideoPlan::kSkip,
       u8"KSC文件编码无法识别（不是GBK、UTF-8或带BOM的UTF-16），未改动"},
      // UTF-32's mark begins as UTF-16LE's does.
      {"UTF-32LE",
       {{}, File(std::string("\xFF\xFE\0\0k\0\0\0a\0\0\0", 12))},
       VideoPlan::kSkip,
       u8"KSC文件编码无法识别（不是GBK、UTF-8或带BOM的UTF-16），未改动"},
      // A comment that never ends: a line put after it would be commented out.
      {"a comment without its end",
       {{},
        File("karaoke := CreateKaraokeObject;\r\n\r\n{ 旧：\r\nkaraoke.tag('时间', '1/1/1');\r\n")},
       VideoPlan::kSkip,
       u8"KSC文件第 3 行开始的注释没有结束，未改动"},
  };
}

TEST(PlanVideoTest, AFileThatCannotBeReadOrIsNoFileIsLeftAlone) {
  std::vector<LeftAloneCase> cases = LeftAloneFiles();
  for (LeftAloneCase& c : UnmergeableTexts()) cases.push_back(std::move(c));
  for (LeftAloneCase& c : UnmergeableFiles()) cases.push_back(std::move(c));
  for (const LeftAloneCase& c : cases) {
    const VideoPlan plan = PlanVideo(VideoInput{RoadSong(), true, false, nullptr}, c.existing);
    EXPECT_EQ(plan.action, c.action) << c.what;
    EXPECT_EQ(plan.skip_reason, c.reason) << c.what;
    EXPECT_FALSE(plan.takes_number) << c.what;
  }
}

}  // namespace
}  // namespace kscgen
