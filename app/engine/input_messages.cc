// The messages about what the user gives kscgen or the window: values,
// options, a folder that cannot be used or holds no videos. Declared in
// messages.h with the rest.
#include <map>
#include <string>

#include "app/engine/messages.h"
#include "tagging/uniform_values.h"
#include "text/encoding.h"

namespace kscgen::messages {
namespace {

std::string Shown(std::string_view native) { return u8"“" + text::DisplayName(native) + u8"”"; }

std::string Count(std::size_t n) { return std::to_string(n); }

}  // namespace

std::string BadLanguage(std::string_view typed_utf8) {
  std::string languages;
  for (const std::string& language : UniformValuesOffered(kUniformLanguage)) {
    languages +=
        (languages.empty() ? "" : u8"、") + text::GbkToUtf8(language).value_or(std::string());
  }
  return u8"歌曲语种的值“" + std::string(typed_utf8) + u8"”不是歌曲管理器的语种：应为" + languages +
         u8"之一，或含有其中的关键字";
}

std::string PatternControlCharacter(std::string_view typed_utf8) {
  return u8"命名格式含有控制字符：" + std::string(typed_utf8);
}

const char* const kEmptyDate =
    u8"日期为空：不给出 --date 时，新的KSC文件用今天的日期，已有的保留原日期";

std::string NoVideoExtensionGiven(std::string_view typed_utf8) {
  return u8"--ext 没有给出后缀名：“" + std::string(typed_utf8) + u8"”，应如 mkv,mp4";
}

const char* const kNoTemplateOption =
    u8"请用 -t 选择歌曲命名模板（0 到 4，或 auto 自动识别），或用 -p 给出自定义命名格式";

std::string NoVideosFound(std::string_view folder, std::string_view masks,
                          const std::map<std::string, std::size_t>& unlisted) {
  std::string text =
      u8"没有找到视频文件：" + Shown(folder) + u8"（查找的是 " + std::string(masks) + u8"）";
  if (unlisted.empty()) return text;
  std::string kinds;
  std::string option;
  for (const auto& [ext, count] : unlisted) {
    kinds += (kinds.empty() ? "" : u8"、") + Count(count) + u8" 个 " + ext;
    option += (option.empty() ? "" : ",") + ext.substr(1);
  }
  return text + u8"\n另有 " + kinds + u8" 文件未列出，可用 --ext " + option + u8" 加入";
}

std::string ListedBeforeStop(std::size_t not_reached) {
  return u8"\n本次只列出，未写入任何文件；另有 " + Count(not_reached) + u8" 个视频未处理。";
}

namespace {

// A Windows path typed in quotes and ending in a backslash ("D:\KTV\")
// reaches the program as D:\KTV" : the backslash escaped the quote.
std::string QuoteHint(std::string_view path) {
  if (path.empty() || path.back() != '"') return std::string();
  return u8"\n路径末尾的 \\\" 使引号成了路径的一部分：去掉末尾的反斜杠（如 \"D:\\KTV\"），"
         u8"或写成两个（\"D:\\KTV\\\\\"）";
}

std::string CannotUseFolderAt(std::string_view path, const os::Error& error) {
  const std::string where = Shown(path);
  switch (error.kind) {
    case os::ErrorKind::kNotFound:
      return u8"文件夹不存在：" + where;
    case os::ErrorKind::kNotFolder:
      return u8"不是文件夹：" + where;
    case os::ErrorKind::kPermission:
      return u8"没有权限读取文件夹：" + where;
    case os::ErrorKind::kNameTooLong:
      return u8"路径太长：" + where;
    default:
      return CannotReadFolder(path, error);
  }
}

}  // namespace

std::string CannotUseFolder(std::string_view path, const os::Error& error) {
  if (path.empty()) return u8"请给出一个文件夹";
  return CannotUseFolderAt(path, error) + QuoteHint(path);
}

std::string UniformEntryRefusal(UniformEntryError error, std::string_view entry_utf8,
                                std::string_view value_utf8, bool option) {
  switch (error) {
    case UniformEntryError::kNone:
      break;
    case UniformEntryError::kControlCharacter:
      return UniformControlCharacter(text::DisplayName(entry_utf8));
    case UniformEntryError::kUnknownKind:
      return option ? UnknownUniformKindOption(text::DisplayName(entry_utf8))
                    : UnknownUniformKind(entry_utf8);
    case UniformEntryError::kEmptyValue:
      return EmptyUniformValue(entry_utf8);
    case UniformEntryError::kBadChannel:
      return BadChannel(value_utf8);
    case UniformEntryError::kBadStyle:
      return BadStyle(value_utf8);
    case UniformEntryError::kBadLanguage:
      return BadLanguage(value_utf8);
  }
  return std::string();
}

}  // namespace kscgen::messages
