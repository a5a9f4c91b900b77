// The batch run: one KSC file beside every listed video.
//
// The window and kscgen both turn what the user chose into one BatchRequest
// with the same parsers and call RunBatch; it derives each video's song
// values, writes its KSC file and reports every video to an observer
// (progress bar, preview table, dry-run lines). Song values are GBK;
// messages for the user are UTF-8.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <ctime>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "app/engine/video_folder.h"
#include "app/engine/video_plan.h"
#include "ksc/ksc_file.h"
#include "os/file_system.h"
#include "tagging/file_name.h"
#include "tagging/pattern_reading.h"
#include "tagging/song_info.h"
#include "tagging/uniform_values.h"

namespace kscgen {

struct BatchRequest {
  std::optional<NamingTemplate> naming_template;  // none: nothing is read or written
  // The user's own pattern, read under kTemplateCustom (which needs one).
  std::optional<NamePattern> name_pattern;
  FolderRole folder_role = kRoleNone;
  // Numbering: the first numbered video gets start_number + 1; none: no numbers.
  std::optional<std::int64_t> start_number;
  // Each song's number is the one its name carries (name_number), at least
  // five digits; a video whose name carries none gets none, and a note.
  // Excludes start_number.
  bool number_from_name = false;
  UniformValues uniform;  // imposed on every song
  // The "时间" of every song (GBK). None: a KSC file that exists keeps the
  // date it holds, and a new one gets today's (as does one that holds none);
  // the folder role 加入日期 gives every song the folder's name instead.
  std::optional<std::string> date_text;
  // What "today" is; the system's clock when empty.
  std::function<std::time_t()> clock;
  bool dry_run = false;  // derive everything, write nothing
  bool force = false;    // rewrite KSC files that already hold the right bytes
  // Set from another thread to end the run after the file being written.
  const std::atomic<bool>* stop = nullptr;
  os::FileSystem* file_system = nullptr;  // the system's when null
};

// What becomes of one video's KSC file.
enum class VideoOutcome {
  kCreated,
  kUpdated,
  kUnchanged,   // the KSC file held the right bytes already
  kSuperseded,  // a later video of the folder writes the same KSC file
  kSkipped,     // no KSC file: skip_reason says why
};

// What became of one video. `folder` and `file` point into the folders
// given to RunBatch: a report kept past the run (the window's preview keeps
// them all) is valid only while those folders live unchanged, so whoever
// keeps one keeps them too (the preview is modal over the window's list).
struct VideoReport {
  const VideoFolder* folder = nullptr;
  const VideoFile* file = nullptr;
  std::size_t index = 0;  // in the run, over all folders
  SongInfo song;          // the values its KSC file gets (when not skipped)
  std::string ksc_name;   // GBK name of its KSC file (when not skipped)
  VideoOutcome outcome = VideoOutcome::kSkipped;
  std::string skip_reason;     // UTF-8; not empty when skipped
  NameFindings name_findings;  // where its name departs from the template
  // Other KSC files of one name with its own, left as they are (UTF-8).
  std::vector<std::string> stale_ksc_files;
  // Extended attributes its old KSC file had that the new one could not be
  // given (the running user may not set them).
  std::vector<std::string> lost_attributes;
  // What an update changes in its KSC file, and what it keeps of it.
  std::vector<ValueChange> changes;
  KeptContent kept;
  // The KSC file's text (GBK) where it is not kscgen's own 28 lines for
  // `song` (lines kept, spelled otherwise); empty where it is.
  std::string merged_text;
  // The other video of a pair that shares one KSC file (by index): for the
  // superseded one the later video, for the later one the video it supersedes.
  std::optional<std::size_t> same_ksc_as;
};

class BatchObserver {
 public:
  virtual ~BatchObserver() = default;
  // Once the request has been checked, before the first video.
  virtual void OnStart(std::size_t /*total*/) {}
  // After each video; `done` of `total` videos are through.
  virtual void OnVideo(const VideoReport& report, std::size_t done, std::size_t total) = 0;
};

enum class BatchStatus {
  kDone,         // every video went through (some may have been skipped)
  kNoTemplate,   // no naming template chosen; nothing read or written
  kBadOptions,   // options that cannot be used; nothing written
  kLocked,       // another run holds a folder; nothing written there
  kWriteFailed,  // stopped at a failure of a folder or its file system, or out of memory
  kStopped,      // stopped on request; every file written is whole
};

struct SkippedVideo {
  std::string name;    // UTF-8, with its folder under a recursive run
  std::string reason;  // UTF-8
};

struct SameKscPair {
  std::string earlier;  // UTF-8 names of the two videos; the later one's file stays
  std::string later;
};

struct FolderCount {
  std::string relative;  // UTF-8; "." for the chosen folder
  std::size_t ksc_files = 0;
};

struct BatchResult {
  BatchStatus status = BatchStatus::kDone;
  std::size_t listed = 0;
  std::size_t created = 0;
  std::size_t updated = 0;
  std::size_t unchanged = 0;
  std::size_t not_reached = 0;  // videos after a stop or a failure
  // KSC files updated with lines kscgen does not write (lyrics and the
  // like) kept, and KSC files whose values changed by hand were kept.
  std::size_t kept_lyrics = 0;
  std::size_t kept_edits = 0;
  // Videos not skipped (those are named with their reasons) whose preview
  // row carries notes (备注).
  std::size_t noted = 0;
  // 编号取自文件名: videos not skipped whose names gave no number they could
  // get, and those whose number an earlier video's name gave too.
  std::size_t without_name_number = 0;
  std::size_t name_number_clashes = 0;
  std::vector<SkippedVideo> skipped;
  std::vector<SameKscPair> same_ksc;
  std::vector<FolderCount> folders;   // every folder with videos, in run order
  std::vector<std::string> warnings;  // UTF-8
  // Folders with videos that a stop or a failure kept the run from (UTF-8,
  // relative to the chosen folder).
  std::vector<std::string> folders_not_reached;
  std::string failure;  // UTF-8: what went wrong and where, when not kDone

  // The KSC files that hold this run's values: written now or already right.
  std::size_t ksc_files() const { return created + updated + unchanged; }
  std::size_t written() const { return created + updated; }
};

// Runs the batch over `folders` in order, each folder as if alone: its own
// FolderName and its own same-name check; numbering runs on across folders,
// and only a video whose KSC file holds its values takes a number.
BatchResult RunBatch(const BatchRequest& request, const std::vector<VideoFolder>& folders,
                     BatchObserver* observer);

}  // namespace kscgen
