// What becomes of one video's KSC file, decided from what stands at its
// name, without a disk: the expected files are kRoadKsc, written by hand,
// with the lines each case changes spelled out.
#include "app/engine/video_plan.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "plan_fixture.h"
#include "test_support.h"
#include "text/encoding.h"

namespace kscgen {
namespace {

using testing::kRoadKsc;
using testing::RoadSong;
using testing::plan::File;
using testing::plan::kFieldLines;
using testing::plan::kFieldLinesAfterTitle;
using testing::plan::kLyric;
using testing::plan::kNumberLine;
using testing::plan::kRoad;
using testing::plan::kStyleLine;
using testing::plan::kVideoLine;
using testing::plan::Plan;
using testing::plan::With;

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

const std::string kOldLanguage = "{ 旧版本：\r\nkaraoke.tag('语种', '国语');\r\n}\r\n";

struct MergeCase {
  const char* what;
  std::string file;
  std::string text;  // after the merge
};

// Lines inside a block comment are other lines: kept as they are, setting
// nothing, and no line goes in among them. Several statements on a line are
// each read, and each rewritten in place.
std::vector<MergeCase> CommentAndSharedLineCases() {
  const std::string& old_language = kOldLanguage;
  const std::string paren = "(*\r\nkaraoke.tag('语种','国语');\r\n*)\r\n";
  return {
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
      // Inside quotes or a comment a statement is none, wherever it stands;
      // a statement of no value kscgen writes may stand inside another.
      {"statements of values in a literal and a comment after other words",
       kRoad + "karaoke.songname := 'begin karaoke.tag(''歌名'',''旧''); end;';\r\n" +
           "x := 1; { if a then karaoke.tag('歌名', '旧'); } y := '(*';\r\n",
       kRoad + "karaoke.songname := 'begin karaoke.tag(''歌名'',''旧''); end;';\r\n" +
           "x := 1; { if a then karaoke.tag('歌名', '旧'); } y := '(*';\r\n"},
      {"a statement of a fixed value in a block",
       kRoad + "if a then begin karaoke.rows := 3; end;\r\n",
       kRoad + "if a then begin karaoke.rows := 3; end;\r\n"},
      {"another object's tag", kRoad + "x := mykaraoke.tag('歌名', '旧');\r\n",
       kRoad + "x := mykaraoke.tag('歌名', '旧');\r\n"},
  };
}

TEST(PlanVideoTest, CommentsAndStatementsSharingALine) {
  for (const MergeCase& c : CommentAndSharedLineCases()) {
    const VideoPlan plan = Plan(File(c.file));
    EXPECT_EQ(plan.text, c.text) << c.what;
  }
  // With kscgen's record, the commented-out line is no person's edit.
  const KscValues record = KscValuesOf(RoadSong());
  const VideoPlan plan = Plan(File(kRoad + kOldLanguage), false, &record);
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
