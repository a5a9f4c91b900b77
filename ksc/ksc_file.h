// The KSC song file: a 28-line GBK script of `karaoke` statements that the
// KTV song manager runs when it scans a folder into its library.
#pragma once

#include <string>
#include <string_view>

#include "os/file_system.h"
#include "tagging/song_info.h"

namespace kscgen {

// A value as a well-formed literal between single quotes of the song
// manager's script: a quote is doubled (Don't → Don''t), and a control byte,
// which would break the script's line, becomes a blank.
std::string KscQuote(std::string_view value);

// The 28 lines, each ended by CR LF, in GBK.
std::string FormatKscText(const SongInfo& info);

// What writing a KSC file does to the file at its path.
enum class KscAction {
  kCreate,     // no file there yet
  kUpdate,     // a file with other bytes (or no regular file) is replaced
  kUnchanged,  // the file holds exactly these bytes already: left alone
  kProtected,  // a write-protected file with other bytes: left alone, the video skipped
};

// Decides, without writing, what writing `text` over `name` in `folder`
// would do. With `force` a file that holds the same bytes is rewritten all
// the same (kUpdate), unless it is write-protected: then it is unchanged.
KscAction PlanKscFile(os::Folder& folder, const std::string& name, std::string_view text,
                      bool force);

// Where a write failed: creating the temporary file in the folder, or
// putting it in the KSC file's place.
enum class WriteFailure { kNone, kFolder, kKscFile };

struct WriteStatus {
  WriteFailure failure = WriteFailure::kNone;
  os::Error error;

  bool ok() const { return failure == WriteFailure::kNone; }
};

// Writes `text` to `name` in `folder` whole or not at all (os::Folder::Replace):
// an interrupted run never leaves a truncated file.
WriteStatus WriteFileReplacing(os::Folder& folder, const std::string& name, std::string_view text);

}  // namespace kscgen
