// The batch run: one KSC file beside every listed video.
//
// The window and kscgen both gather their options into a BatchOptions and
// call RunBatch; it derives each video's song values, writes its KSC file and
// reports every video to an observer (progress bar, preview table, dry-run
// lines). Song values are GBK; messages for the user are UTF-8.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "app/engine/video_folder.h"
#include "tagging/song_info.h"

namespace kscgen {

struct BatchOptions {
  int naming_template = -1;       // 0 to 4; -1 when none is chosen
  int folder_role = 0;            // 0 to 4
  std::string folder_path;        // as the file system spells it
  bool number_start_on = false;   // numbering from start_number_text
  std::string start_number_text;  // GBK
  bool uniform_on = false;        // apply uniform_list_text
  std::string uniform_list_text;  // the uniform entries joined (JoinUniformList)
  std::string date_text;          // GBK; the per-file default of DateText
  bool dry_run = false;           // derive everything, write nothing
};

// What became of one video.
struct VideoReport {
  std::size_t index = 0;  // in the file list
  const VideoFile* file = nullptr;
  TSongInfo song;                          // the values its KSC file gets (when not skipped)
  std::string ksc_name;                    // GBK name of its KSC file (when not skipped)
  std::string skip_reason;                 // UTF-8; not empty when the video gets no KSC file
  std::optional<std::size_t> same_ksc_as;  // an earlier video that writes the same KSC file
};

class BatchObserver {
 public:
  virtual ~BatchObserver() = default;
  // Once the options have been checked, before the first video.
  virtual void OnStart(std::size_t /*total*/) {}
  // After each video; `done` of `total` videos are through.
  virtual void OnVideo(const VideoReport& report, std::size_t done, std::size_t total) = 0;
};

enum class BatchStatus {
  kDone,         // every video went through (some may have been skipped)
  kNoTemplate,   // no naming template chosen; nothing read or written
  kBadOptions,   // a start number or folder that cannot be used; nothing written
  kWriteFailed,  // stopped at a file that could not be written
};

struct SkippedVideo {
  std::string name;    // UTF-8
  std::string reason;  // UTF-8
};

struct SameKscPair {
  std::string earlier;  // UTF-8 names of the two videos; the later one's file stays
  std::string later;
};

struct BatchResult {
  BatchStatus status = BatchStatus::kDone;
  // For the user, UTF-8, with carriage returns between lines: the completion
  // message when done, else what went wrong and where.
  std::string message;
  std::size_t listed = 0;
  std::size_t written = 0;
  std::vector<SkippedVideo> skipped;
  std::vector<SameKscPair> same_ksc;
};

// The text the window shows when no naming template is chosen.
extern const char* const kNoTemplateText;  // UTF-8: 请选择歌曲命名模板！
std::string NoTemplateMessage();           // the same as the message box says it

// The folder's own name (GBK, trimmed): its last component, trailing
// separators ignored. Empty when the name has no GBK form.
std::string FolderNameOf(const std::string& folder_path);

// The file name without its extension, trimmed (a.rmvb → a).
std::string BaseNameOf(const std::string& gbk_file_name);

// Runs the batch over `files` in order. `observer` may be null.
BatchResult RunBatch(const BatchOptions& options, const std::vector<VideoFile>& files,
                     BatchObserver* observer);

}  // namespace kscgen
