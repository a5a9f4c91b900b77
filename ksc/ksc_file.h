// The KSC song file: a 28-line GBK script of `karaoke` statements that the
// KTV song manager runs when it scans a folder into its library.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "os/file_system.h"
#include "tagging/song_info.h"

namespace kscgen {

// A value as a well-formed literal between single quotes of the song
// manager's script: a quote is doubled (Don't → Don''t), and a control byte,
// which would break the script's line, becomes a blank.
std::string KscQuote(std::string_view value);

// The 28 lines, each ended by CR LF, in GBK.
std::string FormatKscText(const SongInfo& info);

// The "时间" value of a KSC file's text, as FormatKscText took it (a doubled
// quote read as one), from the first line that sets it however it is spelled
// (blanks or tabs, either case, single or double quotes); none when the text
// holds no such tag.
std::optional<std::string> KscDateText(std::string_view ksc_text);

// The song number a KSC file's text gives (`karaoke.internalnumber :=`,
// read as the date is); none when it gives none.
std::optional<std::int64_t> KscSongNumber(std::string_view ksc_text);

// The largest KSC file a run reads back: far more than any it writes.
constexpr std::size_t kLargestKscFile = 64 * 1024;

// What writing a KSC file does to the file at its path.
enum class KscAction {
  kCreate,      // no file there yet
  kUpdate,      // a file with other bytes is replaced
  kUnchanged,   // the file holds exactly these bytes already: left alone
  kProtected,   // a write-protected file with other bytes: left alone, the video skipped
  kNotAFile,    // a folder, a link or another non-file stands there: left alone, the video skipped
  kUnreadable,  // a file there cannot be read: left alone, the video skipped
};

// Decides what writing `text` over a file that holds `existing` would do.
// With `force` a file that holds the same bytes is rewritten all the same
// (kUpdate), unless it is write-protected: then it is unchanged. `existing`
// must hold the file's bytes when they may be the same as `text`.
KscAction PlanKscFile(const os::Existing& existing, std::string_view text, bool force);

// Reads what stands at `name` in `folder`, no more of it than deciding on
// a text of `text_size` bytes needs: a longer file differs, and a forced run
// needs the bytes only of a write-protected file, which it keeps when they
// are right.
os::Error ReadExistingKsc(os::Folder& folder, const std::string& name, std::size_t text_size,
                          bool force, os::Existing* existing);

// PlanKscFile for the file `name` in `folder`, read by ReadExistingKsc.
KscAction PlanKscFile(os::Folder& folder, const std::string& name, std::string_view text,
                      bool force);

// Where a write failed: creating the temporary file in the folder, or
// putting it in the KSC file's place.
enum class WriteFailure { kNone, kFolder, kKscFile };

struct WriteStatus {
  WriteFailure failure = WriteFailure::kNone;
  os::Error error;
  // Extended attributes of the old file the new one could not be given.
  std::vector<std::string> lost_attributes;

  bool ok() const { return failure == WriteFailure::kNone; }
};

// Writes `text` to `name` in `folder` whole or not at all (os::Folder::Replace):
// an interrupted run never leaves a truncated file.
WriteStatus WriteFileReplacing(os::Folder& folder, const std::string& name, std::string_view text);

}  // namespace kscgen
