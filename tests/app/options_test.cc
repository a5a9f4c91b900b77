// kscgen's arguments, read in process: what each bound, each count of
// operands and each result of a run gives.
#include "app/cli/options.h"

#include <gtest/gtest.h>

namespace kscgen::cli {
namespace {

const std::string kHint = u8"\n运行 kscgen --help 查看用法。\n";

struct Refused {
  std::vector<std::string> args;
  std::string message;  // what follows "kscgen: ", before the hint
};

// Each refusal and its message, as typed.
const Refused kRefusedRows[] = {
    {{"-t", "5", "x"}, u8"模板必须是 0 到 4 或 auto：5"},
    {{"-t", "-1", "x"}, u8"模板必须是 0 到 4 或 auto：-1"},
    {{"-t", "Auto", "x"}, u8"模板必须是 0 到 4 或 auto：Auto"},
    {{"-t", "1", "-r", "5", "x"}, u8"目录名作用必须是 0 到 4：5"},
    {{"-t", "1", "-r", "04", "x"}, u8"目录名作用必须是 0 到 4：04"},
    {{"-t", "1", "-r", "", "x"}, u8"目录名作用必须是 0 到 4："},
    {{"-t", "1", "-s", "-1", "x"}, u8"编号起始值必须是不小于 0 的整数：“-1”"},
    {{"-t", "1", "-s", "2147483648", "x"}, u8"编号起始值不能大于 2147483647：“2147483648”"},
    {{"-t", "1", "-s", "4294967294", "x"}, u8"编号起始值不能大于 2147483647：“4294967294”"},
    {{"-t", "1", "-s", "0x80000000", "x"}, u8"编号起始值不能大于 2147483647：“0x80000000”"},
    {{"-t", "1", "--date", "2026/1/1\n", "x"}, u8"日期含有控制字符：2026/1/1\\x0A"},
    {{"-t", "1", "--date", "2026\t1", "x"}, u8"日期含有控制字符：2026\\x091"},
    {{"-t", "1", "--date", "2026/1/1\r", "x"}, u8"日期含有控制字符：2026/1/1\\x0D"},
    {{"-t", "1", "-u", "singer=a\x01", "x"}, u8"统一设定值含有控制字符：singer=a\\x01"},
    {{"-t", "1", "-s", "1e3", "x"}, u8"编号起始值必须是不小于 0 的整数：“1e3”"},
    {{"-t", "1", "-u", u8"类型=y", "x"},
     u8"统一设定值的种类应为 singer（歌 手 名）、style（歌曲类别）、language（歌曲语种）"
     u8"或 channel（歌曲声道）：类型=y"},
    {{"-t", "1", "-u", u8"style=摇滚", "x"},
     u8"歌曲类别的值“摇滚”不是歌曲管理器的类别：应为流行、舞曲、戏曲、民歌、儿歌、生日歌、"
     u8"革命歌、怀旧歌、迪斯科、情侣对唱、影视插曲之一，或含有其中的关键字"},
    {{"-t", "1", "-u", u8"风格=摇滚", "x"},
     u8"歌曲类别的值“摇滚”不是歌曲管理器的类别：应为流行、舞曲、戏曲、民歌、儿歌、生日歌、"
     u8"革命歌、怀旧歌、迪斯科、情侣对唱、影视插曲之一，或含有其中的关键字"},
    {{"-t", "1", "-u", "singer", "x"},
     u8"统一设定值应写成 KIND=VALUE，KIND 为 singer、style、language 或 channel：singer"},
    {{"-t", "1", "-u", u8"channel=中", "x"},
     u8"歌曲声道的值“中”无法识别：应以数字 0 到 3 开头（0 默认，1 右声道，2 左声道，3 立体声），"
     u8"或含有“左”、“右”或“立体”"},
    {{"-t", "1", "x", "y"}, u8"请给出一个文件夹"},
    {{"-t", "1"}, u8"请给出一个文件夹"},
    {{"-t", "1", "--bogus", "x"}, u8"未知选项：--bogus"},
    {{"-t", "1", "-nx", "x"}, u8"未知选项：-x"},
    {{"-t", "1", "--date"}, u8"选项缺少参数：--date"},
    {{"-t", "1", "--force=yes", "x"}, u8"未知选项：--force"},
    {{"-t", "1", "--ext", "mkv,m/p4", "x"},
     u8"视频后缀名“m/p4”无法使用：应由 1 到 10 个英文字母或数字组成，如 mkv、mp4"},
    {{"-t", "1", "--ext", "ksc", "x"}, u8"视频后缀名“ksc”是KSC文件自己的后缀名"},
    // DEL shows as nothing: refused as every control character is.
    {{"-t", "1", "--date", "2026/1/1\x7F", "x"}, u8"日期含有控制字符：2026/1/1\\x7F"},
    {{"-t", "1", "-u", "singer=a\x7F", "x"}, u8"统一设定值含有控制字符：singer=a\\x7F"},
    {{"-t", "1", "--date", "", "x"},
     u8"日期为空：不给出 --date 时，新的KSC文件用今天的日期，已有的保留原日期"},
    {{"-t", "1", "--date", "  ", "x"},
     u8"日期为空：不给出 --date 时，新的KSC文件用今天的日期，已有的保留原日期"},
    {{"-t", "1", "--ext", "", "x"}, u8"--ext 没有给出后缀名：“”，应如 mkv,mp4"},
    {{"-t", "1", "--ext", " ,;", "x"}, u8"--ext 没有给出后缀名：“ ,;”，应如 mkv,mp4"},
    {{"-t", "1", "--ext", "\x01", "x"},
     u8"视频后缀名“\\x01”无法使用：应由 1 到 10 个英文字母或数字组成，如 mkv、mp4"},
    {{"-t", "1", "--ext", "mkv\tmp4", "x"},
     u8"视频后缀名“mkv\\x09mp4”无法使用：应由 1 到 10 个英文字母或数字组成，如 mkv、mp4"},
    // A language that names none would be written as 国语 over every name's own.
    {{"-t", "1", "-u", u8"language=火星语", "x"},
     u8"歌曲语种的值“火星语”不是歌曲管理器的语种：应为国语、粤语、台语、英语、日语、韩语、其它"
     u8"之一，或含有其中的关键字"},
    {{"-t", "1", "-u", "language=english", "x"},
     u8"歌曲语种的值“english”不是歌曲管理器的语种：应为国语、粤语、台语、英语、日语、韩语、其它"
     u8"之一，或含有其中的关键字"},
    {{"-p", u8"{歌名}\x01{歌手}", "x"}, u8"命名格式含有控制字符：{歌名}\\x01{歌手}"},
    {{"-p", u8"{歌名}\t-\t{歌手}", "x"}, u8"命名格式含有控制字符：{歌名}\\x09-\\x09{歌手}"},
    {{"-p", u8"{歌名}\n{歌手}", "x"}, u8"命名格式含有控制字符：{歌名}\\x0A{歌手}"},
    {{"-p", u8"{歌名}-{歌手}\x7F", "x"}, u8"命名格式含有控制字符：{歌名}-{歌手}\\x7F"},
    {{"x"}, u8"请用 -t 选择歌曲命名模板（0 到 4，或 auto 自动识别），或用 -p 给出自定义命名格式"},
    {{"-r", "1", "-n", "x"}, u8"请用 -t 选择歌曲命名模板（0 到 4，或 auto 自动识别），或用 -p 给出自定义命名格式"},
};

TEST(ParseArgumentsTest, ArgumentsThatCannotBeUsedAreRefusedWithTheirMessage) {
  for (const Refused& row : kRefusedRows) {
    std::string typed;
    for (const std::string& a : row.args) typed += a + " ";
    SCOPED_TRACE(typed);
    ParsedArguments parsed = ParseArguments(row.args);
    ASSERT_TRUE(parsed.error);
    EXPECT_EQ(*parsed.error, "kscgen: " + row.message + kHint);
  }
}

TEST(ParseArgumentsTest, NoTemplateNamesTheOptionsInTheShapeOfEveryUsageError) {
  ParsedArguments parsed = ParseArguments({"x"});
  ASSERT_TRUE(parsed.error);
  EXPECT_EQ(*parsed.error,
            u8"kscgen: 请用 -t 选择歌曲命名模板（0 到 4，或 auto 自动识别），或用 -p 给出自定义命名格式" + kHint);
}

TEST(ParseArgumentsTest, EveryBoundThatCanBeUsedIsTaken) {
  for (int t = 0; t <= 4; ++t) {
    for (int r = 0; r <= 4; ++r) {
      ParsedArguments parsed =
          ParseArguments({"-t", std::to_string(t), "-r", std::to_string(r), u8"/ktv/国语"});
      ASSERT_FALSE(parsed.error) << *parsed.error;
      EXPECT_EQ(*parsed.options.request.naming_template, t);
      EXPECT_EQ(parsed.options.request.folder_role, r);
      EXPECT_EQ(parsed.options.folder, u8"/ktv/国语");
    }
  }
  ParsedArguments automatic = ParseArguments({"-t", "auto", "."});
  ASSERT_FALSE(automatic.error) << *automatic.error;
  EXPECT_EQ(*automatic.options.request.naming_template, kTemplateAuto);
  ParsedArguments parsed = ParseArguments(
      {"-t1", "-s", "2147483646", "-R", "-n", "--force", "--date", u8"2025年1月1日", "--", "-x"});
  ASSERT_FALSE(parsed.error) << *parsed.error;
  const Options& o = parsed.options;
  EXPECT_EQ(o.action, Options::Action::kRun);
  EXPECT_EQ(o.request.start_number, 2147483646);
  EXPECT_TRUE(o.recursive);
  EXPECT_TRUE(o.request.dry_run);
  EXPECT_TRUE(o.request.force);
  EXPECT_EQ(o.date, "2025\xC4\xEA" "1\xD4\xC2" "1\xC8\xD5");  // GBK
  EXPECT_EQ(o.folder, "-x");
  // Without options of their own: no numbering, today's date, one folder.
  parsed = ParseArguments({"-t", "0", "."});
  ASSERT_FALSE(parsed.error);
  EXPECT_FALSE(parsed.options.request.start_number);
  EXPECT_FALSE(parsed.options.date);
  EXPECT_FALSE(parsed.options.recursive);
}

TEST(ParseArgumentsTest, UniformValuesKeepTheFirstOfEachKind) {
  ParsedArguments parsed = ParseArguments({"-t", "1", "-u", u8"singer=张三", "-u",
                                           u8"歌 手 名=李四", "-u", "channel=3", "x"});
  ASSERT_FALSE(parsed.error) << *parsed.error;
  EXPECT_EQ(parsed.options.request.uniform.singer, "\xD5\xC5\xC8\xFD");  // 张三
  EXPECT_EQ(parsed.options.request.uniform.channel, "3");
  // Each English kind name is its own kind.
  parsed = ParseArguments({"-t", "1", "-u", u8"style=戏曲", "-u", u8"language=粤语", "x"});
  ASSERT_FALSE(parsed.error) << *parsed.error;
  EXPECT_EQ(parsed.options.request.uniform.style, "\xCF\xB7\xC7\xFA");     // 戏曲
  EXPECT_EQ(parsed.options.request.uniform.language, "\xD4\xC1\xD3\xEF");  // 粤语
  EXPECT_EQ(parsed.options.request.uniform.singer, std::nullopt);
  EXPECT_EQ(parsed.options.request.uniform.channel, std::nullopt);
}

TEST(ParseArgumentsTest, ExtensionsAddUpAcrossOptions) {
  ParsedArguments parsed = ParseArguments({"-t", "1", "--ext", "mkv", "--ext=MP4;ts,mkv", "x"});
  ASSERT_FALSE(parsed.error) << *parsed.error;
  EXPECT_EQ(parsed.options.extensions.added, (std::vector<std::string>{".mkv", ".mp4", ".ts"}));
  EXPECT_TRUE(ParseArguments({"-t", "1", "x"}).options.extensions.added.empty());
}

TEST(ParseArgumentsTest, HelpAndVersionNeedNothingElse) {
  EXPECT_EQ(ParseArguments({"--help"}).options.action, Options::Action::kHelp);
  EXPECT_EQ(ParseArguments({"-t", "9", "-h"}).error.has_value(), true);  // in order given
  EXPECT_EQ(ParseArguments({"-h", "-t", "9"}).options.action, Options::Action::kHelp);
  EXPECT_EQ(ParseArguments({"--version"}).options.action, Options::Action::kVersion);
  // The help names templates and roles as the window does.
  EXPECT_NE(Usage().find(u8"4 歌手－歌名(语种－类别－声道)\n"), std::string::npos);
  EXPECT_NE(Usage().find(u8"0 无作用（默认），1 歌手名，2 语种名，"), std::string::npos);
  EXPECT_EQ(Usage().find(u8"5 自定义"), std::string::npos);  // that is -p
  EXPECT_NE(Usage().find(u8"auto 自动识别"), std::string::npos);
}

TEST(ExitStatusTest, OnlyARunWhereEveryVideoGotItsFileIsZero) {
  BatchResult done;
  EXPECT_EQ(ExitStatusOf(done, 0), kExitDone);
  EXPECT_EQ(ExitStatusOf(done, 1), kExitIncomplete);  // a subfolder was not read
  BatchResult skipped;
  skipped.skipped.push_back({"a.mpg", "x"});
  EXPECT_EQ(ExitStatusOf(skipped, 0), kExitIncomplete);
  for (BatchStatus status :
       {BatchStatus::kLocked, BatchStatus::kWriteFailed, BatchStatus::kStopped}) {
    BatchResult r;
    r.status = status;
    EXPECT_EQ(ExitStatusOf(r, 0), kExitIncomplete);
  }
  for (BatchStatus status : {BatchStatus::kNoTemplate, BatchStatus::kBadOptions}) {
    BatchResult r;
    r.status = status;
    EXPECT_EQ(ExitStatusOf(r, 0), kExitUsage);
  }
}

}  // namespace
}  // namespace kscgen::cli
