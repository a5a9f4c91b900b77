// The record of what kscgen wrote in a folder, on a real disk: read with an
// editor's line ends, never taken for none when it cannot be read or is no
// record, saved or removed as the run leaves, forgetting files gone. Names
// on disk are UTF-8 (u8 literals); KSC text is GBK (plain literals).
#include "app/engine/written_record.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "app/engine/messages.h"
#include "merge_fixture.h"
#include "test_file_system.h"

#ifndef _WIN32
#include <sys/stat.h>
#endif

namespace kscgen {
namespace {

using testing::Holds;
using testing::kKsc;
using testing::kRoad;
using testing::MergeTest;
using testing::ReadFile;
using testing::Touch;
using testing::U8Path;
using testing::With;
namespace fs = std::filesystem;

// A record an editor saved again with other line ends (Notepad: CR LF and
// a byte-order mark) is read as it was: the hand edit stays one.
TEST_F(MergeTest, ARecordSavedWithOtherLineEndsStillTellsHandEdits) {
  const std::string record = Path(WrittenRecord::kFileName);
  const std::string edited = With(kRoad, "'风格', '流行'", "'风格', '怀旧歌'");
  struct Case {
    const char* line_end;
    const char* front;
  };
  const Case cases[] = {{"\r\n", ""}, {"\r", ""}, {"\r\n", "\xEF\xBB\xBF"}};
  for (const Case& c : cases) {
    fs::remove(U8Path(record));
    WriteKsc("");
    fs::remove(U8Path(Path(kKsc)));
    ASSERT_EQ(Run().created, 1u);
    std::string saved = c.front;
    for (char ch : ReadFile(record))
      saved += ch == '\n' ? std::string(c.line_end) : std::string(1, ch);
    Touch(record, saved);
    WriteKsc(edited);
    const BatchResult result = Run();
    EXPECT_EQ(result.kept_edits, 1u) << c.line_end;
    EXPECT_EQ(Ksc(), edited);
    EXPECT_EQ(Notes(), u8"风格“怀旧歌”为手工修改，已保留");
  }
}

// What stands at the record's name: "file " and its bytes, or what else.
std::string AtName(const std::string& path) {
  const fs::file_status status = fs::symlink_status(U8Path(path));
  if (fs::is_symlink(status)) return "link to " + fs::read_symlink(U8Path(path)).string();
  if (fs::is_regular_file(status)) return "file " + ReadFile(path);
  return fs::is_directory(status) ? "folder" : fs::exists(status) ? "other" : "none";
}

// A record that cannot be read, or is no record this version reads, is no
// record of none: a KSC file that differs may hold a person's edits and is
// left as it is (unless forced), a new one is made, and the record stays as
// it was.
struct UnreadableRecord {
  const char* what;
  std::string (*bytes)(std::string written);  // of the record put in place of kscgen's
  enum { kBytes, kNoPermission, kFolder, kLink, kPipe } at = kBytes;
  const char* reason = u8"（格式无法识别）";  // as the warning gives it
};
const UnreadableRecord kUnreadableRecords[] = {
    {"no permission", nullptr, UnreadableRecord::kNoPermission, u8"（没有权限）"},
    {"a blank line after the header",
     [](std::string w) { return w.insert(w.find('\n') + 1, "\n"); }},
    {"cut short", [](std::string w) { return w.substr(0, w.size() - 1); }},
    {"a newer version's", [](std::string w) { return w.replace(w.find(" 1\n"), 3, " 2\n"); }},
    {"an extra field", [](std::string w) { return w.insert(w.size() - 1, "\t1"); }},
    {"a field short", [](std::string w) { return w.substr(0, w.rfind('\t')) + "\n"; }},
    {"a NUL", [](std::string w) { return w.insert(w.size() - 1, std::string(1, '\0')); }},
    {"random bytes",
     [](std::string) { return std::string("\x13\x9C\xFE\x00\x41\n\x7F\t\xEE\n", 10); }},
    {"empty", [](std::string) { return std::string(); }},
    {"a folder", nullptr, UnreadableRecord::kFolder, u8"（是一个文件夹）"},
#ifndef _WIN32
    {"a link to a record", nullptr, UnreadableRecord::kLink, u8"（是链接或特殊文件）"},
    {"a pipe", nullptr, UnreadableRecord::kPipe, u8"（是链接或特殊文件）"},
#endif
};

class UnreadableRecordTest : public MergeTest {
 protected:
  // Two files written, the record put as `c` says, a hand edit in the
  // first and a third video added; every file's number changes.
  void Prepare(const UnreadableRecord& c) {
    fs::remove_all(U8Path(record_));
    for (const char* name : {kKsc, u8"b－乙.KSC", u8"c－丙.KSC"}) fs::remove(U8Path(Path(name)));
    folder_.files.resize(1);
    Add(u8"b－乙.mpg");
    request_.file_system = nullptr;
    request_.start_number.reset();
    request_.force = false;
    request_.dry_run = false;
    ASSERT_EQ(Run().created, 2u);
    const std::string written = ReadFile(record_);
    if (c.bytes) Touch(record_, c.bytes(written));
    if (c.at != UnreadableRecord::kBytes && c.at != UnreadableRecord::kNoPermission) {
      fs::remove(U8Path(record_));
    }
    if (c.at == UnreadableRecord::kFolder) fs::create_directory(U8Path(record_));
#ifndef _WIN32
    if (c.at == UnreadableRecord::kLink) {
      Touch(Path("kept"), written);
      fs::create_symlink("kept", U8Path(record_));
    }
    if (c.at == UnreadableRecord::kPipe) ASSERT_EQ(mkfifo(record_.c_str(), 0666), 0);
#endif
    if (c.at == UnreadableRecord::kNoPermission) {
      faults_.FailAt(testing::Step::kReadExisting,
                     {os::ErrorKind::kPermission, "Permission denied"}, 0,
                     WrittenRecord::kFileName);
      request_.file_system = &faults_;
    }
    WriteKsc(edited_);
    b_ = ReadFile(Path(u8"b－乙.KSC"));
    Add(u8"c－丙.mpg");
    request_.start_number = 100;
  }

  std::vector<std::string> Warning(const UnreadableRecord& c,
                                   const std::string& what_became) const {
    return {u8"无法读取已写入内容的记录：“" + record_ + u8"”" + c.reason + what_became};
  }

  const std::string record_ = Path(WrittenRecord::kFileName);
  const std::string edited_ = With(kRoad, "'风格', '流行'", "'风格', '怀旧歌'");
  std::string b_;
  testing::TestFileSystem faults_;
};

TEST_F(UnreadableRecordTest, KeepsTheFilesThatDifferAndGoesUnderForceAsTold) {
  const std::string skipped = u8"无法读取已写入内容的记录，未更新，以免覆盖手工修改";
  const std::string left = u8"；文件夹中有变化的已有KSC文件未更新，以免覆盖手工修改，记录也未改动";
  const std::string replaced =
      u8"；已选择替换手工修改，文件夹中有变化的已有KSC文件已被替换，但记录未改动";
  const std::string to_be_replaced =
      u8"；已选择替换手工修改，文件夹中有变化的已有KSC文件将被替换，但记录不会改动";
  const std::string next = u8"，下次运行可能把本次写入的值当作手工修改而保留";
  for (const UnreadableRecord& c : kUnreadableRecords) {
    Prepare(c);
    const std::string before = AtName(record_);
    for (bool dry_run : {true, false}) {
      request_.dry_run = dry_run;
      const BatchResult result = Run();
      EXPECT_EQ(result.warnings, Warning(c, left)) << c.what;
      ASSERT_EQ(result.skipped.size(), 2u) << c.what;
      EXPECT_EQ(result.skipped[0].reason, skipped);
      EXPECT_EQ(result.skipped[1].reason, skipped);
      EXPECT_EQ(result.created, 1u);
    }
    EXPECT_EQ(Ksc(), edited_) << c.what;
    EXPECT_EQ(ReadFile(Path(u8"b－乙.KSC")), b_);
    EXPECT_TRUE(Holds(ReadFile(Path(u8"c－丙.KSC")), "karaoke.internalnumber :=00101 ;"));
    EXPECT_EQ(AtName(record_), before) << c.what;
    request_.force = true;
    const BatchResult forced = Run();
    EXPECT_EQ(forced.updated, 3u) << c.what;
    EXPECT_EQ(forced.warnings, Warning(c, replaced + next)) << c.what;
    EXPECT_EQ(Ksc(),
              With(kRoad, "karaoke.internalnumber := ;", "karaoke.internalnumber :=00101 ;"));
    EXPECT_EQ(AtName(record_), before) << c.what;
    request_.dry_run = true;
    EXPECT_EQ(Run().warnings, Warning(c, to_be_replaced + next)) << c.what;
  }
}

// The record forgets a KSC file that is gone: a file another program puts
// at its name later is not taken for kscgen's with a person's edits.
TEST_F(MergeTest, TheRecordForgetsAKscFileThatIsGone) {
  Add(u8"a－甲.mpg");
  ASSERT_EQ(Run().created, 2u);
  ASSERT_TRUE(Holds(ReadFile(Path(WrittenRecord::kFileName)), u8"a－甲.KSC"));
  fs::remove(U8Path(Path(u8"a－甲.KSC")));
  fs::remove(U8Path(Path(u8"a－甲.mpg")));
  folder_.files.pop_back();
  EXPECT_EQ(Run().unchanged, 1u);
  EXPECT_FALSE(Holds(ReadFile(Path(WrittenRecord::kFileName)), u8"a－甲.KSC"));
  // Back, with another program's file: its values are updated.
  Add(u8"a－甲.mpg");
  Touch(Path(u8"a－甲.KSC"), "karaoke.tag('歌名', 'Other');\r\n");
  Run();
  EXPECT_TRUE(recorder_.reports[1].kept.edits.empty());
  EXPECT_TRUE(Holds(ReadFile(Path(u8"a－甲.KSC")), "karaoke.tag('歌名', '甲');"));
}

// A record that cannot be saved is told by its own name, and what the
// next run will make of the files: the old record is removed (kept, it
// would make the next run take this run's values for a person's), or its
// removal failed too. The KSC files are whole all the same.
TEST_F(MergeTest, ARecordThatCannotBeSavedIsNamedAndTheOldOneRemoved) {
  const std::string record = Path(WrittenRecord::kFileName);
  const std::string none = u8"下次运行时这些KSC文件按没有记录的文件处理，手工修改的值不会被识别";
  struct Case {
    bool folder_at_name;  // no record, and a folder put at its name while the run works
    bool remove_fails;
    std::string warning;
  };
  const Case cases[] = {
      {true, false, u8"无法保存已写入内容的记录：“" + record + u8"”（是一个文件夹）；" + none},
      {false, false,
       u8"无法保存已写入内容的记录：“" + record + u8"”（磁盘空间不足）；已删除旧记录，" + none},
      {false, true,
       u8"无法保存已写入内容的记录：“" + record +
           u8"”（磁盘空间不足）；旧记录也无法删除（没有权限），下次运行可能把本次写入的值当作手工"
           u8"修改而保留"},
  };
  for (const Case& c : cases) {
    fs::remove_all(U8Path(record));
    fs::remove(U8Path(Path(kKsc)));
    request_.file_system = nullptr;
    request_.start_number.reset();
    if (!c.folder_at_name) {
      ASSERT_EQ(Run().created, 1u);  // an old record, of the file without a number
    }
    const std::string old = c.folder_at_name ? "" : ReadFile(record);
    testing::TestFileSystem faults;
    if (c.folder_at_name) {
      // Read as none; the folder comes just before the record is saved.
      faults.DoAt(testing::Step::kReplace, 1, WrittenRecord::kFileName,
                  [&record] { fs::create_directory(U8Path(record)); });
    } else {
      faults.FailAt(testing::Step::kReplace, {os::ErrorKind::kNoSpace, "No space left on device"},
                    0, WrittenRecord::kFileName);
    }
    if (c.remove_fails) {
      faults.FailAt(testing::Step::kRemove, {os::ErrorKind::kPermission, "Permission denied"});
    }
    request_.file_system = &faults;
    request_.start_number = 100;
    const BatchResult result = Run();
    EXPECT_EQ(result.created + result.updated, 1u);
    EXPECT_EQ(result.warnings, std::vector<std::string>{c.warning});
    EXPECT_EQ(Ksc(),
              With(kRoad, "karaoke.internalnumber := ;", "karaoke.internalnumber :=00101 ;"));
    if (c.folder_at_name) {
      EXPECT_TRUE(fs::is_directory(U8Path(record)));
    } else if (c.remove_fails) {
      EXPECT_EQ(ReadFile(record), old);
    } else {
      EXPECT_FALSE(fs::exists(U8Path(record)));
    }
  }
}

}  // namespace
}  // namespace kscgen
