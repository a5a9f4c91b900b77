#include "app/engine/preview.h"

#include "app/engine/batch.h"
#include "text/encoding.h"

namespace kscgen {

std::vector<std::string> PreviewHeader(bool recursive) {
  std::vector<std::string> header;
  if (recursive) header.push_back(u8"文件夹");
  for (const char* title :
       {u8"视频文件", u8"KSC文件", u8"编号", u8"歌名", u8"缩写", u8"歌手", u8"字数", u8"语种",
        u8"风格", u8"声道", u8"时间", u8"歌星拼音", u8"备注", u8"状态"}) {
    header.push_back(title);
  }
  return header;
}

std::vector<std::string> PreviewRow(const VideoReport& report, bool recursive) {
  using text::GbkForDisplay;
  std::vector<std::string> row;
  if (recursive) row.push_back(text::DisplayName(report.folder->relative));
  row.push_back(text::DisplayName(report.file->native_name));
  if (!report.skip_reason.empty()) {
    row.resize(PreviewHeader(recursive).size());
    row[row.size() - 2] = u8"跳过：" + report.skip_reason;
    return row;
  }
  const SongInfo& s = report.song;
  row.push_back(GbkForDisplay(report.ksc_name));
  for (const std::string* v : {&s.number, &s.title, &s.abbrev, &s.singer}) {
    row.push_back(GbkForDisplay(*v));
  }
  row.push_back(std::to_string(s.title.size()));
  for (const std::string* v : {&s.language, &s.style, &s.channel, &s.date_text, &s.singer_pinyin}) {
    row.push_back(GbkForDisplay(*v));
  }
  const std::string other = report.same_ksc_as ? std::to_string(*report.same_ksc_as + 1) : "";
  switch (report.outcome) {
    case VideoOutcome::kSuperseded:
      row.push_back(u8"与第 " + other + u8" 行同名，KSC文件由其生成");
      row.push_back(std::string());
      break;
    case VideoOutcome::kCreated:
    case VideoOutcome::kUpdated:
    case VideoOutcome::kUnchanged:
      row.push_back(report.same_ksc_as ? u8"与第 " + other + u8" 行同名，覆盖其KSC文件"
                                       : std::string());
      row.push_back(report.outcome == VideoOutcome::kCreated   ? u8"新建"
                    : report.outcome == VideoOutcome::kUpdated ? u8"更新"
                                                               : u8"未变");
      break;
    case VideoOutcome::kSkipped:
      row.push_back(std::string());
      row.push_back(std::string());
      break;
  }
  return row;
}

}  // namespace kscgen
