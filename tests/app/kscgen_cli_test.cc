// Drives the kscgen binary as a user or another tool would: arguments and
// output in UTF-8 (u8 literals), KSC files in GBK (plain literals).
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>

#include "test_support.h"

namespace kscgen {
namespace {

using testing::ListNames;
using testing::ReadFile;
using testing::TempFolder;
using testing::Touch;

struct Outcome {
  int exit_code;
  std::string out;
  std::string err;
};

class KscgenTest : public ::testing::Test {
 protected:
  KscgenTest() : folder_(root_ / u8"粤语金曲") { std::filesystem::create_directory(folder_); }

  // Runs kscgen with `args` (shell words) from `cwd`.
  Outcome Run(const std::string& args, const std::string& cwd = "") {
    std::string out = root_ / "out.txt";
    std::string err = root_ / "err.txt";
    std::string cmd = "cd '" + (cwd.empty() ? root_.path() : cwd) + "' && LC_ALL=C.UTF-8 '" +
                      KSCGEN_BIN + "' " + args + " >'" + out + "' 2>'" + err + "'";
    int status = std::system(cmd.c_str());
    Outcome o{WIFEXITED(status) ? WEXITSTATUS(status) : -1, ReadFile(out), ReadFile(err)};
    std::filesystem::remove(out);
    std::filesystem::remove(err);
    return o;
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
  Outcome o = Run(u8"-t 1 -r 2 --date 12/7/26 .", folder_);
  EXPECT_EQ(o.exit_code, 0) << o.err;
  EXPECT_EQ(o.out,
            u8"\n2　首歌曲生成KSC文件完毕！\n\n如果需要加入歌库，请手动到歌曲管理器中进行扫描！\n");
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
  Outcome o = Run(u8"-t 0 -r 1 ../粤语金曲", root_ / "other");
  ASSERT_EQ(o.exit_code, 0) << o.err;
  EXPECT_NE(ReadFile(folder_ + "/a.KSC").find("karaoke.tag('歌手', '粤语金曲');\r\n"),
            std::string::npos);
}

TEST_F(KscgenTest, WithoutTemplateSaysSoAndWritesNothing) {
  Video("a.mpg");
  Outcome o = Run(u8"-r 2 粤语金曲");
  EXPECT_EQ(o.exit_code, 2);
  EXPECT_EQ(o.err, u8"请选择歌曲命名模板！\n");
  EXPECT_EQ(ListNames(folder_), "a.mpg");
}

TEST_F(KscgenTest, BadOptionsExitWithTwo) {
  Video("a.mpg");
  Outcome o = Run(u8"-t 1 -s 12a 粤语金曲");
  EXPECT_EQ(o.exit_code, 2);
  EXPECT_EQ(o.err, "'12a' is not a valid integer value\n");
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
  Outcome o =
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
  Outcome o = Run(u8"-n -t 1 -r 2 --date 12/7/26 粤语金曲");
  EXPECT_EQ(o.exit_code, 1);
  EXPECT_EQ(
      o.out,
      u8"视频文件\tKSC文件\t编号\t歌名\t缩写\t歌手\t字数\t语种\t风格\t声道\t时间\t歌星拼音\t备注\n"
      u8"\\x01.mpg\t\t\t\t\t\t\t\t\t\t\t\t跳过：文件名含有控制字符\n"
      u8"合唱团－小河水.mpg\t合唱团－小河水.KSC\t\t小河水\tXHS\t合唱团\t6\t粤语\t流行\t0\t12/7/"
      u8"26\tHCT\t\n");
  EXPECT_EQ(ListNames(folder_), std::string("\x01.mpg|") + u8"合唱团－小河水.mpg");
}

TEST_F(KscgenTest, SkippedVideosAndWriteFailuresExitWithOne) {
  Video("\x01.mpg");
  Video("b.mpg");
  Outcome o = Run(u8"-t 0 粤语金曲");
  EXPECT_EQ(o.exit_code, 1);
  EXPECT_NE(o.out.find(u8"以下 1 个视频未生成：\n\\x01.mpg（文件名含有控制字符）"),
            std::string::npos)
      << o.out;
  EXPECT_TRUE(std::filesystem::exists(folder_ + "/b.KSC"));

  std::filesystem::remove(folder_ + "/\x01.mpg");
  std::filesystem::remove(folder_ + "/b.KSC");
  std::filesystem::create_directory(folder_ + "/b.KSC");
  o = Run(u8"-t 0 粤语金曲");
  EXPECT_EQ(o.exit_code, 1);
  EXPECT_EQ(o.err.rfind("Cannot create file \"" + folder_ + "/b.KSC\". ", 0), 0u) << o.err;
  EXPECT_EQ(o.out, "");
}

TEST_F(KscgenTest, HelpAndVersion) {
  Outcome o = Run("--help");
  EXPECT_EQ(o.exit_code, 0);
  EXPECT_NE(o.out.find("--template"), std::string::npos);
  o = Run("--version");
  EXPECT_EQ(o.exit_code, 0);
  EXPECT_EQ(o.out.rfind("kscgen ", 0), 0u);
}

}  // namespace
}  // namespace kscgen
