// What becomes of one video's KSC file, decided without touching a disk:
// from the song values its name gives, what stands at its KSC file's name
// (read beforehand), and what kscgen last wrote there. The run then writes
// the text the plan holds and only then lets the video keep its number.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "ksc/ksc_script.h"
#include "ksc/ksc_statements.h"
#include "os/file_system.h"
#include "tagging/song_info.h"

namespace kscgen {

// What a plan needs to know of one video besides its KSC file.
struct VideoInput {
  SongInfo song;          // from the name, the folder and the options; its number proposed
  bool keep_date = true;  // a KSC file that exists keeps the date it holds
  bool force = false;     // rewrite right files, and replace values a person changed
  const KscValues* record = nullptr;  // what kscgen last wrote into the file; null: unknown
  // A KSC file that exists keeps the number it holds: the run gives none.
  bool keep_number = false;
  // The folder's record exists but could not be read: a file that differs
  // may hold a person's changes, and is left alone unless forced.
  bool record_unreadable = false;
};

// What stands at the KSC file's name, as read whole (up to kLargestKscFile).
struct ExistingKsc {
  os::Error error;  // the read failed; `file` says what stands there
  os::Existing file;
};

// One value of the file a run changes: its field, what the file holds (none
// when no line sets it) and what it gets.
struct ValueChange {
  KscField field;
  std::optional<std::string> before;  // GBK
  std::string after;                  // GBK
};

// What an update keeps of the file.
struct KeptContent {
  std::vector<std::pair<KscField, std::string>> edits;  // values a person changed (GBK)
  std::size_t lyric_lines = 0;                          // `karaoke.add(` lines
  std::size_t other_lines = 0;                          // other lines kscgen does not write
  std::optional<KscEncoding> converted_from;            // the file's encoding, when not GBK
};

struct VideoPlan {
  enum Action {
    kCreate,     // no file there yet: `text` is kscgen's file
    kUpdate,     // `text` replaces the file
    kUnchanged,  // the file holds `text` already
    kSkip,       // the file is left as it is: `skip_reason` says why
    kStopRun,    // the file could not be read for the disk's sake: `error`
  } action = kSkip;
  std::string text;         // GBK, to write
  bool merged = false;      // `text` is not kscgen's own 28 lines for `song`
  SongInfo song;            // the values the file holds afterwards
  std::string skip_reason;  // UTF-8
  os::Error error;
  // The song number is the run's to give once the file holds it; false
  // when the file keeps a number a person wrote, or is left alone.
  bool takes_number = false;
  // A number a file that keeps its own holds (ASCII digits as written).
  std::optional<std::string> held_number;
  std::vector<ValueChange> changes;  // of an update
  KeptContent kept;
  // What to record as kscgen's last values for this file (for kCreate,
  // kUpdate and kUnchanged): a value a person changed keeps the one
  // kscgen wrote before, so that the change is still seen as theirs.
  KscValues record;
};

// Decides what becomes of the KSC file `existing`, for `input`.
VideoPlan PlanVideo(const VideoInput& input, const ExistingKsc& existing);

// Whether a KSC file that could not be read or replaced failed for a reason
// of its own (its video is skipped and the run goes on), rather than for one
// of its folder or file system, which would fail every later file too.
bool IsTheFilesOwnFailure(const os::Error& error);

}  // namespace kscgen
