// Drives the kscgen binary as a user or another tool would: arguments and
// output in UTF-8 (u8 literals), KSC files in GBK (plain literals).
#include <gtest/gtest.h>

#include <filesystem>

#include "kscgen_process.h"
#include "test_support.h"

namespace kscgen {
namespace {

using testing::KscgenRun;
using testing::KscgenStart;
using testing::ListNames;
using testing::ReadFile;
using testing::TempFolder;
using testing::Touch;

class KscgenTest : public ::testing::Test {
 protected:
  KscgenTest() : folder_(root_ / u8"粤语金曲") { std::filesystem::create_directory(folder_); }

  // Runs kscgen with `args` (shell words) from `cwd`.
  KscgenRun Run(const std::string& args, const std::string& cwd = "") {
    KscgenStart start;
    start.cwd = cwd.empty() ? root_.path() : cwd;
    return testing::RunKscgen(args, start);
  }

  std::string Video(const std::string& name) {
    Touch(folder_ + "/" + name);
    return name;
  }

  TempFolder root_;
  std::string folder_;
};

TEST_F(KscgenTest, WritesKscFilesAndPrintsTheCompletionMessage) {
  Video(u8"合唱团－小河水.mpg");
  Video(u8"Beyond-海阔天空.avi");
  KscgenRun o = Run(u8"-t 1 -r 2 --date 12/7/26 .", folder_);
  EXPECT_EQ(o.exit_code, 0) << o.err;
  EXPECT_EQ(o.out,
            u8"\n2　首歌曲生成KSC文件完毕！\n\n如果需要加入歌库，请手动到歌曲管理器中进行扫描！\n\n"
            u8"新建 2 个，更新 0 个，未变 0 个\n");
  EXPECT_EQ(o.err, "");
  std::string ksc = ReadFile(folder_ + u8"/合唱团－小河水.KSC");
  // "." names the real folder, 粤语金曲, whose name gives the language.
  EXPECT_NE(ksc.find("karaoke.tag('语种', '粤语');\r\n"), std::string::npos);
  EXPECT_NE(ksc.find("karaoke.tag('时间', '12/7/26');\r\n"), std::string::npos);
  EXPECT_TRUE(std::filesystem::exists(folder_ + u8"/Beyond-海阔天空.KSC"));
}

TEST_F(KscgenTest, RelativeFolderNamesItsRealName) {
  Video("a.mpg");
  std::filesystem::create_directory(root_ / "other");
  KscgenRun o = Run(u8"-t 0 -r 1 ../粤语金曲", root_ / "other");
  ASSERT_EQ(o.exit_code, 0) << o.err;
  EXPECT_NE(ReadFile(folder_ + "/a.KSC").find("karaoke.tag('歌手', '粤语金曲');\r\n"),
            std::string::npos);
}

TEST_F(KscgenTest, WithoutTemplateSaysSoAndWritesNothing) {
  Video("a.mpg");
  KscgenRun o = Run(u8"-r 2 粤语金曲");
  EXPECT_EQ(o.exit_code, 2);
  EXPECT_EQ(o.err,
            u8"kscgen: 请用 -t 选择歌曲命名模板（0 到 4，或 auto 自动识别），或用 -p 给出自定义命名格式\n"
            u8"运行 kscgen --help 查看用法。\n");
  EXPECT_EQ(ListNames(folder_), "a.mpg");
}

TEST_F(KscgenTest, BadOptionsExitWithTwo) {
  Video("a.mpg");
  KscgenRun o = Run(u8"-t 1 -s 12a 粤语金曲");
  EXPECT_EQ(o.exit_code, 2);
  EXPECT_EQ(o.err,
            u8"kscgen: 编号起始值必须是不小于 0 的整数：“12a”\n运行 kscgen --help 查看用法。\n");
  EXPECT_EQ(o.out, "");
  EXPECT_EQ(Run(u8"-t 1 -s -1 粤语金曲").exit_code, 2);
  EXPECT_EQ(Run(u8"-t 5 粤语金曲").exit_code, 2);
  EXPECT_EQ(Run(u8"-t 1 -r x 粤语金曲").exit_code, 2);
  EXPECT_EQ(Run(u8"-t 1 -u mood=happy 粤语金曲").exit_code, 2);
  EXPECT_EQ(Run(u8"-t 1 -u singer=' ' 粤语金曲").exit_code, 2);
  EXPECT_EQ(Run(u8"-t 1 -u \"singer=a$(printf '\\r\\nb')\" 粤语金曲").exit_code, 2);
  EXPECT_EQ(Run(u8"-t 1 --bogus 粤语金曲").exit_code, 2);
  o = Run(u8"-t 1 nowhere");
  EXPECT_EQ(o.exit_code, 2);
  EXPECT_NE(o.err.find("nowhere"), std::string::npos);
  EXPECT_EQ(ListNames(folder_), "a.mpg");
}

TEST_F(KscgenTest, UniformEntriesAndNumberingReachTheFile) {
  Video(u8"张三－小河水.mpg");
  KscgenRun o =
      Run(u8"-t 1 -s 100 -u singer=合唱团 -u '歌曲语种=英语' -u channel='2 左声道' 粤语金曲");
  ASSERT_EQ(o.exit_code, 0) << o.err;
  std::string ksc = ReadFile(folder_ + u8"/张三－小河水.KSC");
  EXPECT_NE(ksc.find("karaoke.internalnumber :=00101 ;\r\n"), std::string::npos);
  EXPECT_NE(ksc.find("karaoke.tag('歌手', '合唱团');\r\n"), std::string::npos);
  EXPECT_NE(ksc.find("karaoke.tag('歌星拼音', 'HCT');\r\n"), std::string::npos);
  EXPECT_NE(ksc.find("karaoke.tag('语种', '英语');\r\n"), std::string::npos);
  EXPECT_NE(ksc.find("karaoke.tag('声道', '2');\r\n"), std::string::npos);
}

TEST_F(KscgenTest, DryRunPrintsTheRowsAndWritesNothing) {
  Video(u8"合唱团－小河水.mpg");
  Video("\x01.mpg");
  KscgenRun o = Run(u8"-n -t 1 -r 2 --date 12/7/26 粤语金曲");
  EXPECT_EQ(o.exit_code, 1);
  EXPECT_EQ(
      o.out,
      u8"视频文件\tKSC文件\t编号\t歌名\t缩写\t歌手\t字数\t语种\t风格\t声道\t时间\t歌星拼音\t备注\t"
      u8"状态\t文件名编号\n"
      u8"\\x01.mpg\t\t\t\t\t\t\t\t\t\t\t\t跳过：文件名含有控制字符\t\t\n"
      u8"合唱团－小河水.mpg\t合唱团－小河水.KSC\t\t小河水\tXHS\t合唱团\t6\t粤语\t流行\t0\t12/7/"
      u8"26\tHCT\t\t新建\t\n");
  EXPECT_EQ(ListNames(folder_), std::string("\x01.mpg|") + u8"合唱团－小河水.mpg");
}

TEST_F(KscgenTest, DryRunNotesWhereNamesDepartFromTheTemplate) {
  Video(u8"周杰伦-七里香-国语-流行.mkv");
  Video(u8"谢金燕-练舞功(MTV)-闽南语-流行.mpg");
  Video(u8"x－(国语).mpg");
  Video(u8"信乐团－死了都要爱(国语-摇滚-31).mpg");
  KscgenRun o = Run(u8"-n -t 4 --date 12/7/26 --ext mkv 粤语金曲");
  EXPECT_EQ(o.exit_code, 0) << o.err;
  EXPECT_EQ(
      o.out,
      u8"视频文件\tKSC文件\t编号\t歌名\t缩写\t歌手\t字数\t语种\t风格\t声道\t时间\t歌星拼音\t备注\t"
      u8"状态\t文件名编号\n"
      u8"x－(国语).mpg\tx－(国语).KSC\t\t\t\tx\t0\t国语\t流行\t0\t12/7/26\tX\t没有歌名\t新建\t\n"
      u8"谢金燕-练舞功(MTV)-闽南语-流行.mpg\t谢金燕-练舞功(MTV)-闽南语-流行.KSC\t\t练舞功\tLWG\t"
      u8"谢金燕\t6\t台语\t流行\t0\t12/7/26\tXJY\t\t新建\t\n"
      u8"信乐团－死了都要爱(国语-摇滚-31).mpg\t信乐团－死了都要爱(国语-摇滚-31).KSC\t\t死了都要爱\t"
      u8"SLDY\t信乐团\t10\t国语\t流行\t0\t12/7/26\tXYT\t"
      u8"类别“摇滚”不是歌曲管理器的类别，按流行；声道“31”无法识别，按 0\t新建\t\n"
      u8"周杰伦-七里香-国语-流行.mkv\t周杰伦-七里香-国语-流行.KSC\t\t七里香\tQLX\t周杰伦\t6\t"
      u8"国语\t流行\t0\t12/7/26\tZJL\t\t新建\t\n");
  EXPECT_EQ(ListNames(folder_).find(".KSC"), std::string::npos);
}

TEST_F(KscgenTest, APatternOfTheUsersOwnAndNumbersFromTheNames) {
  Video(u8"0153_梁静茹_勇气[粤语].mpg");
  Video(u8"梁静茹 宁夏.mpg");
  KscgenRun o = Run(u8"-n -p '{编号}_{歌手}_{歌名}' --number-from-name --date 12/7/26 粤语金曲");
  EXPECT_EQ(o.exit_code, 0) << o.err;
  EXPECT_NE(
      o.out.find(u8"\t00153\t勇气\tYQ\t梁静茹\t4\t粤语\t流行\t0\t12/7/26\tLJR\t\t新建\t0153\n"),
      std::string::npos)
      << o.out;
  EXPECT_NE(o.out.find(u8"\t\t梁静茹 宁夏\tLJRN\t佚名\t"), std::string::npos) << o.out;
  EXPECT_NE(
      o.out.find(u8"名称不符合自定义格式，整个名称当作歌名；文件名中没有编号，未编号\t新建\t\n"),
      std::string::npos)
      << o.out;
  o = Run(u8"-p '{编号}_{歌手}_{歌名}' --number-from-name 粤语金曲");
  EXPECT_EQ(o.exit_code, 0) << o.err;
  const std::string ksc = ReadFile(folder_ + u8"/0153_梁静茹_勇气[粤语].KSC");
  EXPECT_NE(ksc.find("karaoke.internalnumber :=00153 ;\r\n"), std::string::npos) << ksc;
  EXPECT_NE(ksc.find("karaoke.tag('歌手', '梁静茹');\r\n"), std::string::npos) << ksc;
  EXPECT_NE(ksc.find("karaoke.tag('语种', '粤语');\r\n"), std::string::npos) << ksc;
}

TEST_F(KscgenTest, NumbersFromTheNamesThatRepeatAreNoted) {
  Video(u8"甲-歌一-0153.mpg");
  Video(u8"乙-歌二-00153.mpg");
  Video(u8"丙-歌三.mpg");
  Video(u8"　.mpg");  // a full-width blank: no title to read
  KscgenRun o = Run(u8"-n -t 4 --number-from-name --date 12/7/26 粤语金曲");
  EXPECT_EQ(o.exit_code, 1) << o.err;
  EXPECT_NE(o.out.find(u8"\t00153\t歌二\t"), std::string::npos) << o.out;
  EXPECT_NE(o.out.find(u8"\t编号与第 3 行相同\t新建\t00153\n"), std::string::npos) << o.out;
  EXPECT_NE(o.out.find(u8"\t文件名中没有编号，未编号\t新建\t\n"), std::string::npos) << o.out;
  EXPECT_NE(o.out.find(u8"　.mpg\t\t\t\t\t\t\t\t\t\t\t\t跳过："), std::string::npos) << o.out;
  // The run itself counts both in its summary, as the window's does, beside
  // the rows with notes (the skipped video is named with its reason instead).
  o = Run(u8"-t 4 --number-from-name 粤语金曲");
  EXPECT_EQ(o.exit_code, 1) << o.err;
  EXPECT_NE(o.out.find(u8"\n\n编号取自文件名：1 个视频没有编号，1 个视频的编号与前面的视频相同"
                       u8"\n\n2 个视频有备注（文件名与模板不符之处等），可在预览中查看"
                       u8"（命令行用 kscgen -n）\n"),
            std::string::npos)
      << o.out;
}

TEST_F(KscgenTest, NumbersFromThePatternAreOneHoweverWrittenAndWithinTheLargest) {
  Video(u8"0153_甲_歌一.mpg");
  Video(u8"00000000000000000153_乙_歌二.mpg");
  Video(u8"2147483647_丙_歌三.mpg");
  Video(u8"2147483648_丁_歌四.mpg");
  Video(u8"98765432109876543210_戊_歌五.mpg");
  KscgenRun o =
      Run(u8"-n -p '{编号}_{歌手}_{歌名}' --number-from-name --date 12/7/26 粤语金曲");
  EXPECT_EQ(o.exit_code, 0) << o.err;
  EXPECT_NE(o.out.find(u8"\t00153\t歌二\t"), std::string::npos) << o.out;
  EXPECT_NE(o.out.find(u8"\t00153\t歌一\t"), std::string::npos) << o.out;
  EXPECT_NE(o.out.find(u8"\t编号与第 1 行相同\t新建\t0153\n"), std::string::npos) << o.out;
  EXPECT_NE(o.out.find(u8"\t2147483647\t歌三\t"), std::string::npos) << o.out;
  EXPECT_NE(o.out.find(u8".KSC\t\t歌四\t"), std::string::npos) << o.out;
  EXPECT_NE(o.out.find(u8"\t编号“2147483648”大于 2147483647，未编号\t新建\t2147483648\n"),
            std::string::npos)
      << o.out;
  EXPECT_NE(o.out.find(u8"\t编号“98765432109876543210”大于 2147483647，未编号\t新建\t"),
            std::string::npos)
      << o.out;
}

TEST_F(KscgenTest, AFolderWithoutListedVideosSaysSoAndNamesOtherKinds) {
  Video(u8"合唱团－小河水.mkv");
  Video(u8"Beyond-海阔天空.MKV");
  Video(u8"张学友-吻别.mp4");
  for (const char* args : {u8"-t 1 粤语金曲", u8"-n -t 1 粤语金曲", u8"-R -t 1 粤语金曲"}) {
    KscgenRun o = Run(args);
    EXPECT_EQ(o.exit_code, 1) << args;
    EXPECT_EQ(o.out, "") << args;
    EXPECT_EQ(o.err,
              u8"kscgen: 没有找到视频文件：“粤语金曲”（查找的是 *.mpg;*.dat;*.wmv;*.rmvb;*.avi）\n"
              u8"另有 2 个 .mkv、1 个 .mp4 文件未列出，可用 --ext mkv,mp4 加入\n")
        << args;
  }
  std::filesystem::remove_all(folder_);
  std::filesystem::create_directory(folder_);
  KscgenRun o = Run(u8"-t 1 粤语金曲");
  EXPECT_EQ(o.exit_code, 1);
  EXPECT_EQ(o.err,
            u8"kscgen: 没有找到视频文件：“粤语金曲”（查找的是 *.mpg;*.dat;*.wmv;*.rmvb;*.avi）\n");
  // Every video skipped: no KSC file was generated, and the message says so.
  Video("\x01.mpg");
  Video("b\x7F.mpg");
  o = Run(u8"-t 1 粤语金曲");
  EXPECT_EQ(o.exit_code, 1);
  EXPECT_EQ(o.out,
            u8"\n没有生成KSC文件：2 个视频都被跳过\n\n以下 2 个视频未生成KSC文件：\n"
            u8"\\x01.mpg（文件名含有控制字符）\nb\\x7F.mpg（文件名含有控制字符）\n");
  EXPECT_EQ(ListNames(folder_), std::string("\x01.mpg|b\x7F.mpg"));
}

TEST_F(KscgenTest, APatternThatCannotBeReadIsRefusedBeforeAnythingIsWritten) {
  Video(u8"梁静茹-勇气.mpg");
  const struct {
    const char* args;
    const char* message;
  } cases[] = {
      {u8"-p '{歌手}{歌名}'", u8"命名格式中“{歌手}{歌名}”两项之间没有分隔的文字"},
      {u8"-p '{歌手}-{歌词}'", u8"命名格式中的“{歌词}”不是可用的项目"},
      {u8"-p '{歌手}-'", u8"命名格式中没有{歌名}"},
      {u8"-t 1 -p '{歌手}-{歌名}'", u8"命名模板（-t）与自定义命名格式（-p）只能选一个"},
      {u8"-p '{歌手}-{歌名}' -t 1", u8"命名模板（-t）与自定义命名格式（-p）只能选一个"},
      {u8"-t 1 -s 0 --number-from-name", u8"自动编号与编号取自文件名只能选一个"},
      {u8"-t 0 --number-from-name", u8"模板“歌名”不从文件名读取编号，不能用编号取自文件名"},
  };
  for (const auto& c : cases) {
    KscgenRun o = Run(std::string(c.args) + u8" 粤语金曲");
    EXPECT_EQ(o.exit_code, 2) << c.args;
    EXPECT_NE(o.err.find(std::string("kscgen: ") + c.message), std::string::npos) << o.err;
  }
  EXPECT_EQ(ListNames(folder_), u8"梁静茹-勇气.mpg");
}

TEST_F(KscgenTest, ExtAddsKindsOfVideoAndTheKscFileNamesTheVideoAsItIs) {
  Video(u8"合唱团－小河水.mkv");
  Video(u8"Beyond-海阔天空.MP4");
  Video(u8"张学友-吻别.ts");
  KscgenRun o = Run(u8"-t 1 --ext mkv --ext=.mp4 粤语金曲");
  EXPECT_EQ(o.exit_code, 0) << o.err;
  EXPECT_NE(o.out.find(u8"2　首歌曲生成KSC文件完毕！"), std::string::npos) << o.out;
  EXPECT_NE(ReadFile(folder_ + u8"/合唱团－小河水.KSC")
                .find("karaoke.CommonVideo := '合唱团－小河水.mkv';\r\n"),
            std::string::npos);
  EXPECT_NE(ReadFile(folder_ + u8"/Beyond-海阔天空.KSC")
                .find("karaoke.CommonVideo := 'Beyond-海阔天空.MP4';\r\n"),
            std::string::npos);
  EXPECT_FALSE(std::filesystem::exists(folder_ + u8"/张学友-吻别.KSC"));

  o = Run(u8"-t 1 --ext mkv,m/p4 粤语金曲");
  EXPECT_EQ(o.exit_code, 2);
  EXPECT_EQ(o.err,
            u8"kscgen: 视频后缀名“m/p4”无法使用：应由 1 到 10 个英文字母或数字组成，如 "
            u8"mkv、mp4\n运行 kscgen --help 查看用法。\n");
}

TEST_F(KscgenTest, InitialsReadSurnamesAndWordsAsPeopleSayThem) {
  Video(u8"单依纯－音乐.mpg");
  Video(u8"信乐团－快乐.mpg");
  KscgenRun o = Run(u8"-n -t 1 --date 2026/12/7 粤语金曲");
  EXPECT_EQ(o.exit_code, 0) << o.err;
  EXPECT_NE(o.out.find(u8"\t音乐\tYY\t单依纯\t4\t国语\t流行\t0\t2026/12/7\tSYC\t"),
            std::string::npos)
      << o.out;
  EXPECT_NE(o.out.find(u8"\t快乐\tKL\t信乐团\t4\t国语\t流行\t0\t2026/12/7\tXYT\t"),
            std::string::npos)
      << o.out;
}

TEST_F(KscgenTest, SkippedVideosAndWriteFailuresExitWithOne) {
  Video("\x01.mpg");
  Video("b.mpg");
  KscgenRun o = Run(u8"-t 0 粤语金曲");
  EXPECT_EQ(o.exit_code, 1);
  EXPECT_NE(o.out.find(u8"以下 1 个视频未生成KSC文件：\n\\x01.mpg（文件名含有控制字符）"),
            std::string::npos)
      << o.out;
  EXPECT_TRUE(std::filesystem::exists(folder_ + "/b.KSC"));

  std::filesystem::remove(folder_ + "/\x01.mpg");
  std::filesystem::remove(folder_ + "/b.KSC");
  std::filesystem::create_directory(folder_ + "/b.KSC");
  o = Run(u8"-t 0 粤语金曲");
  EXPECT_EQ(o.exit_code, 1);
  EXPECT_NE(o.out.find(u8"以下 1 个视频未生成KSC文件：\nb.mpg（KSC文件的位置上是一个文件夹）"),
            std::string::npos)
      << o.out;
  EXPECT_EQ(o.err, "");
}

TEST_F(KscgenTest, MessagesNameTheCauseAndTheValueAsTyped) {
  Video("a.mpg");
  struct Case {
    std::string args;
    std::string err;  // after "kscgen: "
  };
  const Case cases[] = {
      {u8"-t 1 -xn 粤语金曲", u8"未知选项：-x"},
      {u8"-t 1 --bogus=1 粤语金曲", u8"未知选项：--bogus"},
      {u8"-t 1 --date \"$(printf '\\304\\343')\" 粤语金曲",
       u8"日期不是有效的UTF-8文本（字节：C4 E3）"},
      {u8"-t 1 -u \"singer=$(printf '\\304\\343')\" 粤语金曲",
       u8"统一设定值不是有效的UTF-8文本（字节：C4 E3）"},
      {u8"-t 1 -u channel=9 粤语金曲",
       u8"歌曲声道的值“9”无法识别：应以数字 0 到 3 开头（0 默认，1 右声道，2 左声道，3 "
       u8"立体声），或含有“左”、“右”或“立体”"},
      {u8"-t 1 -u style=摇滚 粤语金曲",
       u8"歌曲类别的值“摇滚”不是歌曲管理器的类别：应为流行、舞曲、戏曲、民歌、儿歌、生日歌、"
       u8"革命歌、怀旧歌、迪斯科、情侣对唱、影视插曲之一，或含有其中的关键字"},
      {u8"-t 1 nowhere", u8"文件夹不存在：“nowhere”"},
      {u8"-t 1 ''", u8"请给出一个文件夹"},
      {u8"-t 1 粤语金曲/a.mpg", u8"不是文件夹：“粤语金曲/a.mpg”"},
      // Found once the videos are counted, in the shape of every usage error.
      {u8"-t 1 -s 2147483647 粤语金曲",
       u8"编号起始值 2147483647 太大：1 首歌曲中有 1 首的编号将超过 2147483647"},
      // "D:\KTV\" as Windows passes it on: the backslash escaped the quote.
      {u8"-t 1 'D:\\KTV\"'",
       u8"文件夹不存在：“D:\\KTV\"”\n路径末尾的 \\\" 使引号成了路径的一部分："
       u8"去掉末尾的反斜杠（如 \"D:\\KTV\"），或写成两个（\"D:\\KTV\\\\\"）"},
  };
  for (const Case& c : cases) {
    KscgenRun o = Run(c.args);
    EXPECT_EQ(o.exit_code, 2) << c.args;
    EXPECT_EQ(o.err, "kscgen: " + c.err + u8"\n运行 kscgen --help 查看用法。\n") << c.args;
    EXPECT_EQ(o.out, "") << c.args;  // nothing, not even a dry-run header, before an error
  }
  // A channel named by its side is understood.
  ASSERT_EQ(Run(u8"-t 1 -u channel=左声道 粤语金曲").exit_code, 0);
  EXPECT_NE(ReadFile(folder_ + "/a.KSC").find("karaoke.tag('声道', '2');\r\n"), std::string::npos);
}

TEST_F(KscgenTest, LostOutputIsAFailure) {
  Video("a.mpg");
  KscgenStart full_output;
  full_output.cwd = root_.path();
  full_output.out_file = "/dev/full";
  full_output.err_file = "/dev/null";
  for (const char* args : {u8"-n -t 0 粤语金曲", u8"-t 0 粤语金曲", "--help"}) {
    EXPECT_EQ(testing::RunKscgen(args, full_output).exit_code, 1) << args;
  }
  // A warning on standard error, lost.
  const std::string odd = root_ / u8"\U0001F3A4周杰伦";
  std::filesystem::create_directory(odd);
  Touch(odd + "/a.mpg");
  KscgenStart full_errors;
  full_errors.out_file = "/dev/null";
  full_errors.err_file = "/dev/full";
  EXPECT_EQ(testing::RunKscgen("-n -t 0 -r 1 '" + odd + "'", full_errors).exit_code, 1);
}

TEST_F(KscgenTest, ARecursiveRunTreatsEachFolderAsItsOwn) {
  namespace fs = std::filesystem;
  const std::string library = root_ / u8"歌库";
  fs::create_directories(library + u8"/刘德华");
  fs::create_directories(library + u8"/周华健");
  fs::create_directories(library + u8"/.trash");
  Touch(library + u8"/刘德华/忘情水.mpg");
  Touch(library + u8"/刘德华/冰雨.mpg");
  Touch(library + u8"/周华健/朋友.mpg");
  Touch(library + u8"/.trash/old.mpg");
  fs::create_directory_symlink(library + u8"/周华健", library + u8"/刘德华/link");
  KscgenRun o = Run(u8"-R -t 0 -r 1 -s 0 --date 12/7/26 歌库");
  ASSERT_EQ(o.exit_code, 0) << o.err;
  // Numbers run on across folders in folder order: 刘 (C1F5) before 周 (D6DC).
  std::string bing = ReadFile(library + u8"/刘德华/冰雨.KSC");
  EXPECT_NE(bing.find("karaoke.internalnumber :=00001 ;"), std::string::npos);
  EXPECT_NE(bing.find("karaoke.tag('歌手', '刘德华');"), std::string::npos);
  EXPECT_NE(ReadFile(library + u8"/刘德华/忘情水.KSC").find(":=00002 ;"), std::string::npos);
  std::string friends = ReadFile(library + u8"/周华健/朋友.KSC");
  EXPECT_NE(friends.find(":=00003 ;"), std::string::npos);
  EXPECT_NE(friends.find("karaoke.tag('歌手', '周华健');"), std::string::npos);
  EXPECT_FALSE(fs::exists(library + u8"/.trash/old.KSC"));
  EXPECT_NE(o.out.find(u8"各文件夹的KSC文件：\n刘德华：2 个\n周华健：1 个"), std::string::npos)
      << o.out;

  // The dry run shows the folder first and the state last.
  o = Run(u8"-n -R -t 0 -r 1 -s 0 --date 12/7/26 歌库");
  EXPECT_EQ(o.exit_code, 0);
  EXPECT_EQ(o.out.substr(0, o.out.find('\n')),
            u8"文件夹\t视频文件\tKSC文件\t编号\t歌名\t缩写\t歌手\t字数\t语种\t风格\t声道\t时间\t"
            u8"歌星拼音\t备注\t状态\t文件名编号");
  EXPECT_NE(o.out.find(u8"\n周华健\t朋友.mpg\t朋友.KSC\t00003\t"), std::string::npos) << o.out;
  EXPECT_NE(o.out.find(u8"\t未变\t\n"), std::string::npos);
  o = Run(u8"-R -t 0 -r 1 -s 0 --date 12/7/26 歌库");
  EXPECT_EQ(o.out, u8"\n3 个KSC文件都已是最新，没有改动\n\n各文件夹的KSC文件：\n刘德华：2 个\n周华健：1 个\n");
  o = Run(u8"--force -R -t 0 -r 1 -s 0 --date 12/7/26 歌库");
  EXPECT_NE(o.out.find(u8"新建 0 个，更新 3 个，未变 0 个"), std::string::npos) << o.out;
}

TEST_F(KscgenTest, HelpAndVersion) {
  KscgenRun o = Run("--help");
  EXPECT_EQ(o.exit_code, 0);
  EXPECT_NE(o.out.find("--template"), std::string::npos);
  o = Run("--version");
  EXPECT_EQ(o.exit_code, 0);
  EXPECT_EQ(o.out.rfind("kscgen ", 0), 0u);
}

}  // namespace
}  // namespace kscgen
