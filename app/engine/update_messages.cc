// The words about what a run does to a KSC file that exists already: what
// an update changes and keeps, and why a file is left alone.
#include <string>

#include "app/engine/messages.h"
#include "text/encoding.h"

namespace kscgen::messages {

const char* const kKscForeignOwner = u8"KSC文件属于其他用户，替换后所有者和读取权限会改变，未改动";
const char* const kKscForeignGroup =
    u8"KSC文件属于当前用户不在其中的组，替换后组和读取权限会改变，未改动";
const char* const kReplaceEditsQuestion =
    u8"已选择“替换手工修改”：KSC文件中手工改过的值将改为本次生成的值（歌词等其他内容仍保留）。\n要"
    u8"继续吗？";
const char* const kKscChangedWhileRead = u8"KSC文件在读取时被其他程序改动，未改动";

namespace {

const char* EncodingName(KscEncoding encoding) {
  switch (encoding) {
    case KscEncoding::kGbk:
      return "GBK";
    case KscEncoding::kUtf8:
    case KscEncoding::kUtf8WithBom:
      return "UTF-8";
    case KscEncoding::kUtf16Le:
    case KscEncoding::kUtf16Be:
      return "UTF-16";
    case KscEncoding::kUnrecognised:
      break;
  }
  return "";
}

// A value as a change shows it: 空 where it is empty.
std::string Shown(const std::optional<std::string>& value) {
  return value->empty() ? u8"（空）" : text::GbkForDisplay(*value);
}

std::string Joined(const std::vector<std::string>& parts) {
  std::string out;
  for (const std::string& p : parts) out += (out.empty() ? "" : u8"；") + p;
  return out;
}

}  // namespace

std::string SettingsNotSaved(std::string_view path) {
  return u8"无法保存设置：“" + text::DisplayName(path) + u8"”\n本次的选择在下次启动时不会恢复。";
}

std::string KscFileTooLarge(std::size_t limit) {
  return u8"KSC文件大于 " + std::to_string(limit / (1024 * 1024)) + u8" MiB，未改动";
}

std::string KscTextNotInGbk(KscEncoding encoding) {
  if (encoding == KscEncoding::kUnrecognised) {
    return u8"KSC文件编码无法识别（不是GBK、UTF-8或带BOM的UTF-16），未改动";
  }
  return std::string(u8"KSC文件为") + EncodingName(encoding) +
         u8"编码，含有无效或GBK无法表示的字符，未改动";
}

std::string KscStatementIncomplete(std::size_t line) {
  return u8"KSC文件第 " + std::to_string(line) + u8" 行的语句不完整（跨行书写或缺少分号），未改动";
}

std::string KscStatementUnreadable(std::size_t line) {
  return u8"KSC文件第 " + std::to_string(line) + u8" 行的语句无法识别，未改动";
}

std::string KscCommentUnclosed(std::size_t line) {
  return u8"KSC文件第 " + std::to_string(line) + u8" 行开始的注释没有结束，未改动";
}

std::string HeldNumberNotANumber(std::string_view holder, std::string_view gbk_number) {
  return std::string(holder) + u8"，其编号“" + text::GbkForDisplay(gbk_number) +
         u8"”不是数字，编号时未考虑它";
}

std::string HeldNumberTooLarge(std::string_view holder, std::string_view digits, std::int64_t max) {
  return std::string(holder) + u8"，其编号 " + std::string(digits) +
         u8" 超过歌曲管理器能存的最大编号 " + std::to_string(max);
}

std::string ChangesNote(const std::vector<ValueChange>& changes) {
  std::vector<std::string> parts;
  std::string added;  // values no line gave, named once
  for (const ValueChange& c : changes) {
    if (!c.before) {
      added += (added.empty() ? u8"加入" : u8"、") + std::string(KscFieldLabel(c.field));
      continue;
    }
    parts.push_back(std::string(KscFieldLabel(c.field)) + u8"：" + Shown(c.before) + u8"→" +
                    Shown(c.after));
  }
  if (!added.empty()) parts.push_back(added);
  return Joined(parts);
}

std::string KeptInRun(std::size_t kept_lyrics, std::size_t kept_edits) {
  std::string summary;
  if (kept_lyrics > 0) {
    summary += u8"\n其中 " + std::to_string(kept_lyrics) + u8" 个KSC文件保留了原有的歌词等内容";
  }
  if (kept_edits > 0) {
    summary +=
        u8"\n" + std::to_string(kept_edits) + u8" 个KSC文件中的手工修改已保留（见预览的备注）";
  }
  return summary;
}

std::string KeptNote(const KeptContent& kept) {
  std::vector<std::string> parts;
  for (const auto& [field, value] : kept.edits) {
    parts.push_back(std::string(KscFieldLabel(field)) + u8"“" + text::GbkForDisplay(value) +
                    u8"”为手工修改，已保留");
  }
  if (kept.lyric_lines > 0)
    parts.push_back(u8"保留 " + std::to_string(kept.lyric_lines) + u8" 行歌词");
  if (kept.other_lines > 0) {
    parts.push_back(u8"保留 " + std::to_string(kept.other_lines) + u8" 行其他内容");
  }
  if (kept.converted_from) {
    parts.push_back(std::string(u8"原为") + EncodingName(*kept.converted_from) +
                    u8"编码，已改存为GBK");
  }
  return Joined(parts);
}

}  // namespace kscgen::messages
