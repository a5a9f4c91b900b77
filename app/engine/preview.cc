#include "app/engine/preview.h"

#include "app/engine/batch.h"
#include "app/engine/messages.h"
#include "ksc/ksc_file.h"
#include "text/encoding.h"
#include "text/gbk_text.h"

namespace kscgen {

std::vector<std::string> PreviewHeader(bool recursive) {
  std::vector<std::string> header;
  if (recursive) header.push_back(u8"文件夹");
  for (const char* title :
       {u8"视频文件", u8"KSC文件", u8"编号", u8"歌名", u8"缩写", u8"歌手", u8"字数", u8"语种",
        u8"风格", u8"声道", u8"时间", u8"歌星拼音", u8"备注", u8"状态", u8"文件名编号"}) {
    header.push_back(title);
  }
  return header;
}

std::size_t NotesColumn(bool recursive) { return recursive ? 13 : 12; }

std::string PreviewSummary(const std::vector<VideoReport>& reports) {
  std::size_t skipped = 0;
  std::size_t superseded = 0;
  for (const VideoReport& report : reports) {
    skipped += !report.skip_reason.empty();
    superseded += report.outcome == VideoOutcome::kSuperseded;
  }
  return messages::PreviewSummary(reports.size(), reports.size() - skipped - superseded, skipped,
                                  superseded);
}

std::string PreviewNotes(const VideoReport& report) {
  if (!report.skip_reason.empty()) return u8"跳过：" + report.skip_reason;
  std::string notes;
  auto add = [&notes](const std::string& note) { notes += (notes.empty() ? "" : u8"；") + note; };
  if (report.same_ksc_as) {
    const std::string other = std::to_string(*report.same_ksc_as + 1);
    add(report.outcome == VideoOutcome::kSuperseded
            ? u8"与第 " + other + u8" 行同名，KSC文件由其生成"
            : u8"与第 " + other + u8" 行同名，覆盖其KSC文件");
  }
  for (const NameFinding& finding : report.name_findings) add(messages::NameNote(finding));
  if (std::string kept = messages::KeptNote(report.kept); !kept.empty()) add(kept);
  if (std::string changes = messages::ChangesNote(report.changes); !changes.empty()) add(changes);
  for (const std::string& stale : report.stale_ksc_files) add(messages::StaleKscFile(stale));
  if (!report.lost_attributes.empty()) add(messages::AttributesLostNote(report.lost_attributes));
  return notes;
}

std::string PreviewKscText(const VideoReport& report) {
  if (!report.skip_reason.empty() || report.outcome == VideoOutcome::kSuperseded) {
    return std::string();
  }
  return report.merged_text.empty() ? FormatKscText(report.song) : report.merged_text;
}

bool WouldWrite(const VideoReport& report) {
  return report.outcome == VideoOutcome::kCreated || report.outcome == VideoOutcome::kUpdated;
}

namespace {

// A song value as the KSC file holds it: the file writes a blank for a
// control character (a folder's name, an old file's date may hold one).
std::string AsWritten(std::string value) {
  return text::GbkForDisplay(ValueAsWritten(std::move(value)));
}

}  // namespace

std::vector<std::string> PreviewRow(const VideoReport& report, bool recursive) {
  using text::GbkForDisplay;
  std::vector<std::string> row;
  if (recursive) row.push_back(text::DisplayName(report.folder->relative));
  row.push_back(text::DisplayName(report.file->native_name));
  if (!report.skip_reason.empty()) {
    row.resize(PreviewHeader(recursive).size());
    row[NotesColumn(recursive)] = PreviewNotes(report);
    return row;
  }
  const SongInfo& s = report.song;
  row.push_back(GbkForDisplay(report.ksc_name));
  for (const std::string* v : {&s.number, &s.title, &s.abbrev, &s.singer}) {
    row.push_back(AsWritten(*v));
  }
  row.push_back(std::to_string(s.title.size()));
  for (const std::string* v : {&s.language, &s.style, &s.channel, &s.date_text, &s.singer_pinyin}) {
    row.push_back(AsWritten(*v));
  }
  row.push_back(PreviewNotes(report));
  switch (report.outcome) {
    case VideoOutcome::kCreated:
      row.push_back(u8"新建");
      break;
    case VideoOutcome::kUpdated:
      row.push_back(u8"更新");
      break;
    case VideoOutcome::kUnchanged:
      row.push_back(u8"未变");
      break;
    case VideoOutcome::kSuperseded:
    case VideoOutcome::kSkipped:
      row.push_back(std::string());
      break;
  }
  row.push_back(s.name_number);
  return row;
}

}  // namespace kscgen
