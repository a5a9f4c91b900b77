// What becomes of one video's KSC file, decided from what stands at its
// name, without a disk: the expected files are kRoadKsc, written by hand,
// with the lines each case changes spelled out.
#include "app/engine/video_plan.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "expected_ksc.h"
#include "test_support.h"
#include "text/encoding.h"

namespace kscgen {
namespace {

using testing::kRoadKsc;
using testing::RoadSong;

const std::string kRoad = kRoadKsc;
const std::string kStyleLine = "karaoke.tag('风格', '流行');\r\n";
const std::string kLyric =
    "karaoke.add('00:12.345', '00:15.678', '我是在等待一个女孩', '1000');\r\n";

// `text` with its first `from` replaced by `to`.
std::string With(std::string text, const std::string& from, const std::string& to) {
  const std::size_t at = text.find(from);
  EXPECT_NE(at, std::string::npos) << from;
  return text.replace(at, from.size(), to);
}

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

// kscgen's lines of the values of kRoadKsc, in its order.
const std::string kNumberLine = "karaoke.internalnumber := ;\r\n";
const std::string kFieldLinesAfterTitle =
    "karaoke.tag('缩写', 'XHS');\r\n"
    "karaoke.tag('歌手', '合唱团');\r\n"
    "karaoke.tag('字数', '6');\r\n"
    "karaoke.tag('语种', '粤语');\r\n"
    "karaoke.tag('风格', '流行');\r\n"
    "karaoke.tag('声道', '0');\r\n"
    "karaoke.tag('时间', '12/7/26');\r\n"
    "karaoke.tag('歌星拼音', 'HCT');\r\n";
const std::string kVideoLine = "karaoke.CommonVideo := '合唱团－小河水.mpg';\r\n";
const std::string kFieldLines =
    kNumberLine + "karaoke.tag('歌名', '小河水');\r\n" + kFieldLinesAfterTitle + kVideoLine;

os::Existing File(std::string bytes, bool write_protected = false) {
  os::Existing file;
  file.kind = os::Existing::kRegular;
  file.size = bytes.size();
  file.bytes = std::move(bytes);
  file.write_protected = write_protected;
  if (write_protected) file.protection = os::Existing::kReadOnly;
  return file;
}

VideoPlan Plan(const os::Existing& file, bool force = false, const KscValues* record = nullptr,
               SongInfo song = RoadSong()) {
  return PlanVideo(VideoInput{std::move(song), true, force, record}, ExistingKsc{{}, file});
}

TEST(PlanVideoTest, TellsNewChangedUnchangedAndProtectedApart) {
  struct Case {
    const char* what;
    os::Existing file;
    bool force;
    VideoPlan::Action action;
  };
  const std::string changed = With(kRoad, "'HCT'", "'HCX'");
  const Case cases[] = {
      {"nothing there", os::Existing(), false, VideoPlan::kCreate},
      {"the same bytes", File(kRoad), false, VideoPlan::kUnchanged},
      {"the same bytes, forced", File(kRoad), true, VideoPlan::kUpdate},
      {"the same bytes, forced, write-protected", File(kRoad, true), true, VideoPlan::kUnchanged},
      {"a value changed", File(changed), false, VideoPlan::kUpdate},
      {"a value changed, write-protected", File(changed, true), false, VideoPlan::kSkip},
      {"an empty file", File(""), false, VideoPlan::kUpdate},
  };
  for (const Case& c : cases) {
    const VideoPlan plan = Plan(c.file, c.force);
    EXPECT_EQ(plan.action, c.action) << c.what;
    if (plan.action != VideoPlan::kSkip) EXPECT_EQ(plan.text, kRoad) << c.what;
    EXPECT_EQ(plan.takes_number, plan.action != VideoPlan::kSkip) << c.what;
  }
  EXPECT_EQ(Plan(File(changed, true)).skip_reason, u8"KSC文件只读");
}

// A run that gives no numbers leaves each KSC file the number it holds, as
// it leaves the date; one that numbers writes its own.
TEST(PlanVideoTest, AFileKeepsItsNumberWhenTheRunGivesNone) {
  const std::string own = With(kRoad, "internalnumber := ;", "internalnumber :=00012 ;");
  for (const std::string& bytes : {own, own + kLyric}) {
    const bool lyric = bytes.size() > own.size();
    VideoInput input{RoadSong(), true, false, nullptr, true};
    VideoPlan plan = PlanVideo(input, ExistingKsc{{}, File(bytes)});
    EXPECT_EQ(plan.action, VideoPlan::kUnchanged) << lyric;
    EXPECT_EQ(plan.text, bytes) << lyric;
    EXPECT_EQ(plan.song.number, "00012") << lyric;
    // kscgen wrote 00001 there: a person's 00012 stays recorded as theirs,
    // for the next run that numbers.
    KscValues record = KscValuesOf(RoadSong());
    record[static_cast<std::size_t>(KscField::kNumber)] = "00001";
    input.record = &record;
    plan = PlanVideo(input, ExistingKsc{{}, File(bytes)});
    EXPECT_EQ(plan.text, bytes) << lyric;
    EXPECT_EQ(plan.record[static_cast<std::size_t>(KscField::kNumber)], "00001") << lyric;
    input.record = nullptr;
    input.keep_number = false;
    input.song.number = "00013";
    plan = PlanVideo(input, ExistingKsc{{}, File(bytes)});
    EXPECT_EQ(plan.action, VideoPlan::kUpdate) << lyric;
    EXPECT_EQ(plan.text, With(bytes, ":=00012 ;", ":=00013 ;")) << lyric;
  }
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
  for (const LeftAloneCase& c : cases) {
    const VideoPlan plan = PlanVideo(VideoInput{RoadSong(), true, false, nullptr}, c.existing);
    EXPECT_EQ(plan.action, c.action) << c.what;
    EXPECT_EQ(plan.skip_reason, c.reason) << c.what;
    EXPECT_FALSE(plan.takes_number) << c.what;
  }
}

TEST(PlanVideoTest, LinesKscgenDoesNotWriteStayWhereTheyAre) {
  // A lyric file: kscgen's lines with another style, lyrics and a player's
  // statements after them, a comment, and a fixed statement with its own value.
  const std::string lyric_file = With(With(kRoad, kStyleLine, "karaoke.tag('风格', '摇滚');\r\n"),
                                      "karaoke.rows := 2;", "karaoke.rows := 3;") +
                                 "karaoke.songname := '小河水';\r\n// 第一段\r\n" + kLyric + kLyric;
  const VideoPlan plan = Plan(File(lyric_file));
  EXPECT_EQ(plan.action, VideoPlan::kUpdate);
  EXPECT_EQ(plan.text, With(kRoad, "karaoke.rows := 2;", "karaoke.rows := 3;") +
                           "karaoke.songname := '小河水';\r\n// 第一段\r\n" + kLyric + kLyric);
  ASSERT_EQ(plan.changes.size(), 1u);
  EXPECT_EQ(plan.changes[0].field, KscField::kStyle);
  EXPECT_EQ(plan.changes[0].before, std::optional<std::string>("摇滚"));
  EXPECT_EQ(plan.changes[0].after, "流行");
  EXPECT_EQ(plan.kept.lyric_lines, 2u);
  EXPECT_EQ(plan.kept.other_lines, 2u);  // the song's name and the comment
  EXPECT_TRUE(plan.kept.edits.empty());

  // A line that sets a value and holds more: only the statement changes.
  const VideoPlan shared = Plan(File(With(
      kRoad, kStyleLine,
      "  karaoke.tag('风格', '摇滚'); " + kLyric.substr(0, kLyric.size() - 2) + " // 副歌\r\n")));
  EXPECT_EQ(shared.text, With(kRoad, kStyleLine,
                              "  karaoke.tag('风格', '流行'); " +
                                  kLyric.substr(0, kLyric.size() - 2) + " // 副歌\r\n"));

  // A line added to a file of LF line ends ends in LF.
  const VideoPlan lf =
      Plan(File("karaoke := CreateKaraokeObject;\nkaraoke.tag('时间', '3/4/25');\n"));
  EXPECT_EQ(lf.text.find('\r'), std::string::npos);

  // A line that gives the right value, spelled its own way, stays as it is.
  const std::string spelled =
      With(kRoad, "karaoke.tag('缩写', 'XHS');", "KARAOKE.tag( \"缩写\" ,\t\"XHS\" );");
  EXPECT_EQ(Plan(File(spelled)).action, VideoPlan::kUnchanged);

  // A tag the file lacks comes in kscgen's order, after the one before it.
  const VideoPlan added = Plan(File(With(kRoad, kStyleLine, "") + kLyric));
  EXPECT_EQ(added.text, kRoad + kLyric);
  ASSERT_EQ(added.changes.size(), 1u);
  EXPECT_EQ(added.changes[0].before, std::nullopt);
}

// Lines inside a block comment are other lines: kept as they are, setting
// nothing, and no line goes in among them. Several statements on a line are
// each read, and each rewritten in place.
TEST(PlanVideoTest, CommentsAndStatementsSharingALine) {
  const std::string old_language = "{ 旧版本：\r\nkaraoke.tag('语种', '国语');\r\n}\r\n";
  const std::string paren = "(*\r\nkaraoke.tag('语种','国语');\r\n*)\r\n";
  struct Case {
    const char* what;
    std::string file;
    std::string text;  // after the merge
  };
  const Case cases[] = {
      {"kscgen's file with an old line commented out after it", kRoad + old_language,
       kRoad + old_language},
      {"nothing but a commented-out line: kscgen's file, then it", paren, kRoad + paren},
      {"a comment opened after a statement: the lines go after its end",
       "karaoke := CreateKaraokeObject; { 旧：\r\nkaraoke.tag('语种', '国语');\r\n}\r\n" + kLyric,
       "karaoke := CreateKaraokeObject; { 旧：\r\nkaraoke.tag('语种', '国语');\r\n}\r\n" +
           kFieldLines + kLyric},
      {"a statement after a comment's end on its line: the lines go before its start",
       "(* 旧：\r\nkaraoke.tag('语种', '国语'); *) " + kVideoLine + kLyric,
       kNumberLine + "karaoke.tag('歌名', '小河水');\r\n" + kFieldLinesAfterTitle +
           "(* 旧：\r\nkaraoke.tag('语种', '国语'); *) " + kVideoLine + kLyric},
      {"a statement after a comment that ended: the lines go between them",
       old_language + "{ 旧 } " + kVideoLine + kLyric,
       old_language + kNumberLine + "karaoke.tag('歌名', '小河水');\r\n" + kFieldLinesAfterTitle +
           "{ 旧 } " + kVideoLine + kLyric},
      {"three tags on one line: each rewritten where it stands",
       "karaoke.tag('歌名','吻别'); karaoke.tag('歌手','刘德华'); karaoke.tag('语种','国语');\r\n" +
           kLyric,
       kNumberLine +
           "karaoke.tag('歌名', '小河水'); karaoke.tag('歌手', '合唱团'); "
           "karaoke.tag('语种', '粤语');\r\n"
           "karaoke.tag('缩写', 'XHS');\r\n"
           "karaoke.tag('字数', '6');\r\n"
           "karaoke.tag('风格', '流行');\r\n"
           "karaoke.tag('声道', '0');\r\n"
           "karaoke.tag('时间', '12/7/26');\r\n"
           "karaoke.tag('歌星拼音', 'HCT');\r\n" +
           kVideoLine + kLyric},
      {"a right value of a shared line stays as spelled, a comment after them too",
       With(With(kRoad, "karaoke.tag('字数', '6');\r\n", ""), "karaoke.tag('歌手', '合唱团');",
            "karaoke.tag('歌手','合唱团');KARAOKE.tag('字数', '7'); // 改"),
       With(With(kRoad, "karaoke.tag('字数', '6');\r\n", ""), "karaoke.tag('歌手', '合唱团');",
            "karaoke.tag('歌手','合唱团');karaoke.tag('字数', '6'); // 改")},
  };
  for (const Case& c : cases) {
    const VideoPlan plan = Plan(File(c.file));
    EXPECT_EQ(plan.text, c.text) << c.what;
  }
  // With kscgen's record, the commented-out line is no person's edit.
  const KscValues record = KscValuesOf(RoadSong());
  const VideoPlan plan = Plan(File(kRoad + old_language), false, &record);
  EXPECT_EQ(plan.action, VideoPlan::kUnchanged);
  EXPECT_TRUE(plan.kept.edits.empty());
  EXPECT_EQ(plan.song.language, "粤语");
}

TEST(PlanVideoTest, AValueAPersonChangedStaysUnlessForced) {
  const std::string edited = With(kRoad, kStyleLine, "karaoke.tag('风格', '怀旧歌');\r\n");
  const KscValues record = KscValuesOf(RoadSong());
  // kscgen wrote 流行 last; the file says 怀旧歌 now: a person's.
  VideoPlan plan = Plan(File(edited), false, &record);
  EXPECT_EQ(plan.action, VideoPlan::kUnchanged);
  ASSERT_EQ(plan.kept.edits.size(), 1u);
  EXPECT_EQ(plan.kept.edits[0].first, KscField::kStyle);
  EXPECT_EQ(plan.kept.edits[0].second, "怀旧歌");
  EXPECT_EQ(plan.song.style, "怀旧歌");
  // The record keeps what kscgen wrote, so the edit is seen as one next time.
  EXPECT_EQ(plan.record[static_cast<std::size_t>(KscField::kStyle)], "流行");

  plan = Plan(File(edited), true, &record);
  EXPECT_EQ(plan.action, VideoPlan::kUpdate);
  EXPECT_EQ(plan.text, kRoad);
  EXPECT_TRUE(plan.kept.edits.empty());

  // A second line of the value, added by a person, is theirs too: every
  // line of it then gives their value.
  const std::string twice = kRoad + "karaoke.tag('风格', '怀旧歌');\r\n";
  plan = Plan(File(twice), false, &record);
  ASSERT_EQ(plan.kept.edits.size(), 1u);
  EXPECT_EQ(plan.kept.edits[0].second, "怀旧歌");
  EXPECT_EQ(plan.text, With(twice, kStyleLine, "karaoke.tag('风格', '怀旧歌');\r\n"));
  // Two lines a person added with two values: each stays theirs; only the
  // line kscgen wrote takes the first.
  const std::string two =
      kRoad + "karaoke.tag('风格', '民歌');\r\nkaraoke.tag('风格', '舞曲');\r\n";
  plan = Plan(File(two), false, &record);
  EXPECT_EQ(plan.text, With(two, kStyleLine, "karaoke.tag('风格', '民歌');\r\n"));

  // Without a record the file's value is kscgen's to update.
  plan = Plan(File(edited));
  EXPECT_EQ(plan.action, VideoPlan::kUpdate);
  EXPECT_EQ(plan.text, kRoad);

  // An edit kept while the options give another value: the record still
  // holds what kscgen last wrote.
  SongInfo rock = RoadSong();
  rock.style = "摇滚";
  plan = Plan(File(edited), false, &record, rock);
  EXPECT_EQ(plan.text, edited);
  EXPECT_EQ(plan.record[static_cast<std::size_t>(KscField::kStyle)], "流行");

  // A value the options changed (the record agrees with the file) is updated.
  plan = Plan(File(kRoad), false, &record, rock);
  EXPECT_EQ(plan.text, With(kRoad, kStyleLine, "karaoke.tag('风格', '摇滚');\r\n"));
}

TEST(PlanVideoTest, AKeptTitleOrNumberCarriesWhatFollowsFromIt) {
  SongInfo numbered = RoadSong();
  numbered.number = "00012";
  const KscValues record = KscValuesOf(numbered);
  const std::string numbered_ksc =
      With(kRoad, "karaoke.internalnumber := ;", "karaoke.internalnumber :=00012 ;");
  // A title corrected by hand keeps its own initials and byte count.
  const std::string retitled = With(numbered_ksc, "'小河水'", "'大河'");
  VideoPlan plan = Plan(File(retitled), false, &record, numbered);
  EXPECT_EQ(plan.text, With(With(retitled, "'XHS'", "'DH'"), "'字数', '6'", "'字数', '4'"));
  // What followed from it is recorded as kscgen wrote it, so that it is
  // kscgen's to change again, not taken for a person's edit.
  EXPECT_EQ(plan.record[static_cast<std::size_t>(KscField::kAbbrev)], "DH");
  EXPECT_EQ(plan.record[static_cast<std::size_t>(KscField::kTitle)], "小河水");
  // A number written by hand is the file's: the run gives it no other.
  const std::string renumbered = With(numbered_ksc, ":=00012 ;", ":=00020 ;");
  SongInfo next = numbered;
  next.number = "00013";
  plan = Plan(File(renumbered), false, &record, next);
  EXPECT_EQ(plan.action, VideoPlan::kUnchanged);
  EXPECT_FALSE(plan.takes_number);
  EXPECT_EQ(plan.held_number, std::optional<std::string>("00020"));

  // Zeros in front make no other number: a line that gives 12 however
  // spelled is neither a person's edit nor a value to rewrite.
  for (const char* spelled : {":= 12;", ":=12;", ":= '012' ;"}) {
    const std::string file = With(numbered_ksc, ":=00012 ;", spelled);
    for (const KscValues* known : {&record, static_cast<const KscValues*>(nullptr)}) {
      plan = Plan(File(file), false, known, numbered);
      EXPECT_EQ(plan.action, VideoPlan::kUnchanged) << spelled;
      EXPECT_TRUE(plan.kept.edits.empty()) << spelled;
      EXPECT_TRUE(plan.takes_number) << spelled;
      EXPECT_EQ(plan.held_number, std::nullopt) << spelled;
    }
  }
  // An update for another value names only that one.
  plan = Plan(File(With(With(numbered_ksc, ":=00012 ;", ":= 12;"), kStyleLine,
                        "karaoke.tag('风格', '摇滚');\r\n")),
              false, nullptr, numbered);
  EXPECT_EQ(plan.text, With(numbered_ksc, ":=00012 ;", ":= 12;"));
  ASSERT_EQ(plan.changes.size(), 1u);
  EXPECT_EQ(plan.changes[0].field, KscField::kStyle);
  // Another number is written as kscgen writes it.
  plan = Plan(File(With(numbered_ksc, ":=00012 ;", ":= 12;")), false, &record, next);
  EXPECT_EQ(plan.text, With(numbered_ksc, ":=00012 ;", ":=00013 ;"));
  ASSERT_EQ(plan.changes.size(), 1u);
  EXPECT_EQ(plan.changes[0].before, std::optional<std::string>("12"));
}

TEST(PlanVideoTest, AFileInAnotherEncodingIsWrittenBackInGbk) {
  // kRoadKsc as an editor saves it in UTF-8 and UTF-16, with another date,
  // which stays.
  const std::string dated = With(kRoad, "12/7/26", "3/4/25");
  const std::string utf8 = *text::GbkToUtf8(dated);
  std::string utf16le = "\xFF\xFE";
  const std::u16string wide = u"karaoke.tag('时间', '3/4/25');\r\n";
  for (char16_t c : wide) {
    utf16le += static_cast<char>(c & 0xFF);
    utf16le += static_cast<char>(c >> 8);
  }
  // GBK whose bytes are also valid UTF-8 (小 is D0 A1) stays GBK.
  const std::string gbk_as_utf8 =
      "karaoke := CreateKaraokeObject;\r\nkaraoke.songname := '小';\r\n";
  ASSERT_TRUE(text::IsValidUtf8(gbk_as_utf8));
  const VideoPlan gbk = Plan(File(gbk_as_utf8));
  EXPECT_EQ(gbk.kept.converted_from, std::nullopt);
  // A NUL byte here and there in GBK text is kept as it is.
  const std::string with_nul = kRoad + "karaoke.add('00:01.000', '00:02.000', '我" +
                               std::string(1, '\0') + "', '1000');\r\n";
  const VideoPlan nul = Plan(File(with_nul));
  EXPECT_EQ(nul.action, VideoPlan::kUnchanged);
  EXPECT_EQ(nul.text, with_nul);
  EXPECT_NE(gbk.text.find("karaoke.songname := '小';"), std::string::npos);
  struct Case {
    const char* what;
    std::string bytes;
    KscEncoding encoding;
  };
  const Case cases[] = {
      {"UTF-8 with a byte-order mark", "\xEF\xBB\xBF" + utf8, KscEncoding::kUtf8WithBom},
      {"UTF-8", utf8, KscEncoding::kUtf8},
  };
  for (const Case& c : cases) {
    const VideoPlan plan = Plan(File(c.bytes));
    EXPECT_EQ(plan.action, VideoPlan::kUpdate) << c.what;
    EXPECT_EQ(plan.text, dated) << c.what;
    EXPECT_EQ(plan.kept.converted_from, std::optional<KscEncoding>(c.encoding)) << c.what;
  }
  // A UTF-16 file holding only the date: kscgen's lines come in around it.
  const VideoPlan plan = Plan(File(utf16le));
  EXPECT_EQ(plan.action, VideoPlan::kUpdate);
  EXPECT_EQ(plan.song.date_text, "3/4/25");
  EXPECT_EQ(plan.kept.converted_from, std::optional<KscEncoding>(KscEncoding::kUtf16Le));
}

}  // namespace
}  // namespace kscgen
