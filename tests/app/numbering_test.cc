// Song numbers a run gives: counted on from the start number, to the
// largest the song manager holds, only to the videos whose files hold them.
#include <gtest/gtest.h>

#include <filesystem>

#include "app/engine/batch.h"
#include "batch_fixture.h"
#include "test_support.h"

namespace kscgen {
namespace {

using testing::BatchTest;
using testing::ListNames;
using testing::Touch;
using testing::U8Path;
namespace fs = std::filesystem;

TEST_F(BatchTest, NumbersFromTheStartNumberPlusOne) {
  struct Case {
    std::int64_t start;
    const char* first;
    const char* second;
  };
  const Case cases[] = {
      {0, "00001", "00002"},
      {1, "00002", "00003"},
      {100, "00101", "00102"},
      {9998, "09999", "10000"},
      {99998, "99999", "100000"},
      {99999, "100000", "100001"},
      {2147483645, "2147483646", "2147483647"},
  };
  Add("a.mpg");
  Add("b.mpg");
  for (const Case& c : cases) {
    request_.start_number = c.start;
    ASSERT_EQ(Run().status, BatchStatus::kDone) << c.start;
    EXPECT_EQ(recorder_.reports[0].song.number, c.first) << c.start;
    EXPECT_EQ(recorder_.reports[1].song.number, c.second) << c.start;
  }
  // Without numbering, a KSC file keeps the number it holds, and a new one
  // gets none.
  request_.start_number.reset();
  Add("c.mpg");
  ASSERT_EQ(Run().status, BatchStatus::kDone);
  EXPECT_EQ(recorder_.reports[0].song.number, "2147483646");
  EXPECT_EQ(recorder_.reports[0].outcome, VideoOutcome::kUnchanged);
  EXPECT_TRUE(testing::Holds(Ksc("b.KSC"), "karaoke.internalnumber :=2147483647 ;\r\n"));
  EXPECT_TRUE(testing::Holds(Ksc("c.KSC"), "karaoke.internalnumber := ;\r\n"));
}

TEST_F(BatchTest, StartNumbersThatCannotBeUsedStopBeforeAnyFile) {
  Add("a.mpg");
  Add("b.mpg");
  // Numbering would pass the 32-bit range at the second video.
  request_.start_number = 2147483646;
  BatchResult r = Run();
  EXPECT_EQ(r.status, BatchStatus::kBadOptions);
  EXPECT_EQ(Summary(r), u8"编号起始值 2147483646 太大：2 首歌曲中有 1 首的编号将超过 2147483647");
  request_.start_number = 2147483647;
  EXPECT_EQ(Summary(Run()),
            u8"编号起始值 2147483647 太大：2 首歌曲中有 2 首的编号将超过 2147483647");
  request_.start_number = -1;
  EXPECT_EQ(Run().status, BatchStatus::kBadOptions);
  EXPECT_EQ(ListNames(folder_.path), "a.mpg|b.mpg");
}

TEST_F(BatchTest, OnlyTheVideoThatWritesTakesANumber) {
  Add("a.mpg");
  Add("a.avi");  // writes a.KSC: a.mpg is superseded
  Add("b.mpg");
  Add("c.mpg");  // its KSC file is read-only
  Add("d.mpg");
  Touch(folder_.path + "/c.KSC", "hand-corrected");
  fs::permissions(U8Path(folder_.path + "/c.KSC"),
                  fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
  request_.start_number = 0;
  ASSERT_EQ(Run().status, BatchStatus::kDone);
  ASSERT_EQ(recorder_.reports.size(), 5u);
  std::vector<std::string> numbers;
  for (const VideoReport& report : recorder_.reports) numbers.push_back(report.song.number);
  EXPECT_EQ(numbers, (std::vector<std::string>{"", "00001", "00002", "", "00003"}));
  EXPECT_NE(Ksc("a.KSC").find("karaoke.internalnumber :=00001 ;"), std::string::npos);
  EXPECT_NE(Ksc("d.KSC").find("karaoke.internalnumber :=00003 ;"), std::string::npos);
}

// A number a person set keeps its place as a file left alone does, and the
// message says it was theirs, not that the file was left as it was.
TEST_F(BatchTest, ANumberSetByHandIsKeptAndSaidToBeTheirs) {
  Add("a.mpg");
  Add("b.mpg");
  request_.start_number = 0;
  ASSERT_EQ(Run().created, 2u);
  const std::string a = Ksc("a.KSC");
  const std::size_t at = a.find(":=00001 ;");
  ASSERT_NE(at, std::string::npos);
  Touch(folder_.path + "/a.KSC", std::string(a).replace(at, 9, ":=00009 ;"));
  const BatchResult r = Run();
  EXPECT_EQ(r.warnings,
            std::vector<std::string>{u8"“a.mpg”的编号为手工修改，已保留，仍占用编号 00009，"
                                     u8"其他歌曲的编号跳过了它"});
  EXPECT_EQ(recorder_.reports[1].song.number, "00001");
}

}  // namespace
}  // namespace kscgen
