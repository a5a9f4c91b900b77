// What a run does about the file at a KSC file's name: reading what stands
// there, deciding whether to create, replace or leave it, and writing the
// new text whole or not at all. The KSC text itself is ksc/'s.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "os/file_system.h"

namespace kscgen {

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
