#include "app/engine/preview.h"

#include <gtest/gtest.h>

#include "app/engine/messages.h"
#include "test_support.h"

namespace kscgen {
namespace {

using testing::TempFolder;
using testing::Touch;

TEST(NameNoteTest, EachFindingHasItsNote) {
  using K = NameFindingKind;
  struct Row {
    NameFinding finding;
    const char* note;  // UTF-8
  };
  const Row rows[] = {
      {{K::kNoSeparator, ""}, u8"歌手与歌名之间没有分隔符“－”或“-”"},
      {{K::kEmptySinger, ""}, u8"分隔符前没有歌手"},
      {{K::kEmptyTitle, ""}, u8"没有歌名"},
      {{K::kUnclosedBracket, ""}, u8"括号没有闭合"},
      {{K::kUnknownLanguage, "DJ版"}, u8"语种“DJ版”不是歌曲管理器的语种，按国语"},
      {{K::kUnknownStyle, "经典"}, u8"类别“经典”不是歌曲管理器的类别，按流行"},
      {{K::kUnknownChannel, "中"}, u8"声道“中”无法识别，按 0"},
      {{K::kExtraFields, "DJ－x"}, u8"括号中多出的“DJ－x”未读取"},
      {{K::kUnreadText, "演唱会"}, u8"括号后的“演唱会”未读取"},
      {{K::kPatternMismatchRead, ""}, u8"名称不符合自定义格式，按歌名及其后的括号、字段读取"},
      {{K::kNumberTooLarge, "2147483648"}, u8"编号“2147483648”大于 2147483647，未编号"},
      {{K::kSameNameNumber, "3"}, u8"编号与第 3 行相同"},
      {{K::kYearAsNumber, "1999"}, u8"“1999”当作文件名编号，如是年份请核对"},
  };
  for (const Row& r : rows) EXPECT_EQ(messages::NameNote(r.finding), r.note);
}

class PreviewTest : public ::testing::Test {
 protected:
  PreviewTest() {
    folder_.path = root_.path();
    folder_.relative = ".";
    request_.naming_template = kTemplateSingerTitleLanguageStyleChannel;
    request_.date_text = "12/7/26";
    request_.dry_run = true;
  }

  void Add(const std::string& native_name) {
    Touch(folder_.path + "/" + native_name);
    folder_.files.push_back(MakeVideoFile(native_name));
  }

  // The 备注 cell of every row, in order.
  std::vector<std::string> Notes() {
    struct Collect : BatchObserver {
      void OnVideo(const VideoReport& report, std::size_t, std::size_t) override {
        std::vector<std::string> row = PreviewRow(report, false);
        notes.push_back(row[NotesColumn(false)]);
        EXPECT_EQ(notes.back(), PreviewNotes(report));
      }
      std::vector<std::string> notes;
    } collect;
    EXPECT_EQ(RunBatch(request_, {folder_}, &collect).status, BatchStatus::kDone);
    return collect.notes;
  }

  TempFolder root_;
  VideoFolder folder_;
  BatchRequest request_;
};

TEST_F(PreviewTest, TheNotesColumnSaysWhereANameDepartsFromTheTemplate) {
  EXPECT_EQ(PreviewHeader(false)[NotesColumn(false)], u8"备注");
  EXPECT_EQ(PreviewHeader(true)[NotesColumn(true)], u8"备注");
  Add(u8"周杰伦-七里香-国语-流行.mpg");
  Add(u8"小河水.mpg");
  Add(u8"x－(国语).mpg");
  Add(u8"合唱团－小河水(国语－经典－9).mpg");
  Add(u8"歌手－(粤语.dat");
  Add("\x01.mpg");
  Add(u8"a－b(MTV)-节选-国语.mpg");
  Add(u8"a－b(MTV)-节选-国语.avi");
  const std::vector<std::string> expected = {
      "",
      u8"歌手与歌名之间没有分隔符“－”或“-”",
      u8"没有歌名",
      u8"类别“经典”不是歌曲管理器的类别，按流行；声道“9”无法识别，按 0",
      u8"括号没有闭合；没有歌名",
      u8"跳过：文件名含有控制字符",
      u8"与第 8 行同名，KSC文件由其生成；括号后的“节选”未读取",
      u8"与第 7 行同名，覆盖其KSC文件；括号后的“节选”未读取",
  };
  EXPECT_EQ(Notes(), expected);
  // And where an update could not keep an attribute of the old KSC file.
  VideoReport updated;
  updated.lost_attributes = {"security.a", "trusted.b"};
  EXPECT_EQ(PreviewNotes(updated), u8"未能保留扩展属性 security.a、trusted.b");
  // And where other KSC files of one name with its own stay stale.
#ifdef _WIN32
  GTEST_SKIP() << "Windows holds no two files whose names differ only in case";
#endif
  folder_.files.clear();
  request_.naming_template = kTemplateTitle;
  Add("Song.mpg");
  Touch(root_ / "SONG.KSC");
  Touch(root_ / "song.ksc");
  // SONG.KSC is empty: kscgen's values all come in.
  EXPECT_EQ(Notes(), (std::vector<std::string>{
                         u8"加入编号、歌名、缩写、歌手、字数、语种、风格、声道、时间、歌星拼音、视频；"
                         u8"另有同名的旧KSC文件 “song.ksc” 未更新"}));
}

// The preview shows what the KSC file will hold: a blank where a value holds
// a control character, as the file writes it.
TEST_F(PreviewTest, AValueShowsAsTheKscFileWritesIt) {
  request_.naming_template = kTemplateTitle;
  request_.folder_role = kRoleDateAdded;
  request_.date_text.reset();
  folder_.folder_name = "2026\n12\x7F" "7";
  Add(u8"小河水.mpg");
  struct Collect : BatchObserver {
    void OnVideo(const VideoReport& report, std::size_t, std::size_t) override {
      rows.push_back(PreviewRow(report, false));
    }
    std::vector<std::vector<std::string>> rows;
  } collect;
  ASSERT_EQ(RunBatch(request_, {folder_}, &collect).status, BatchStatus::kDone);
  ASSERT_EQ(collect.rows.size(), 1u);
  EXPECT_EQ(collect.rows[0][10], "2026 12 7");  // 时间
}

// Every template of singer and title learns the library's singers before
// it reads a name, as 自动识别 does.
TEST_F(PreviewTest, TheTemplatesOfSingerAndTitleTurnASingerTheLibraryKnows) {
  Add(u8"挪威的森林 - 伍佰.mpg");
  Add(u8"伍佰-浪人情歌(台语).mpg");
  const std::string turned = u8"按歌库中已有的歌手“伍佰”判断";
  for (const NamingTemplate t :
       {kTemplateSingerTitleLanguage, kTemplateSingerTitleLanguageStyleChannel}) {
    request_.naming_template = t;
    EXPECT_EQ(Notes(), (std::vector<std::string>{turned, ""})) << "template " << t;
  }
  // Template 1 keeps the bracket in the title, and still learns the singer.
  const std::string bracket = u8"歌名中含有括号“(台语)”；歌名中含有语种“台语”";
  request_.naming_template = kTemplateSingerTitle;
  EXPECT_EQ(Notes(), (std::vector<std::string>{turned, bracket}));
  request_.naming_template = kTemplateTitle;
  EXPECT_EQ(Notes(), (std::vector<std::string>{"", bracket}));
}

TEST_F(PreviewTest, ANameThatFitsItsTemplateHasNoNotes) {
  request_.naming_template = kTemplateSingerTitleLanguage;
  Add(u8"合唱团－小河水(粤语).mpg");
  Add(u8"王菲－红豆 (粤语).dat");
  EXPECT_EQ(Notes(), (std::vector<std::string>{"", ""}));
  request_.naming_template = kTemplateSingerTitle;
  folder_.files.clear();
  Add(u8"小河水.wmv");
  EXPECT_EQ(Notes(), (std::vector<std::string>{u8"歌手与歌名之间没有分隔符“－”或“-”"}));
  request_.naming_template = kTemplateTitle;
  EXPECT_EQ(Notes(), (std::vector<std::string>{""}));
}

}  // namespace
}  // namespace kscgen
