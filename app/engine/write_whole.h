// Writing a KSC file (or the record beside it) whole or not at all. What
// to write is video_plan's decision; the KSC text itself is ksc/'s.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "os/file_system.h"

namespace kscgen {

// Where a write failed, as the error's path tells it: creating the temporary
// file in the folder, or putting it in the KSC file's place.
enum class WriteFailure { kNone, kFolder, kKscFile };

struct WriteStatus {
  WriteFailure failure = WriteFailure::kNone;
  os::Error error;
  // Extended attributes of the old file the new one could not be given.
  std::vector<std::string> lost_attributes;

  bool ok() const { return failure == WriteFailure::kNone; }
};

// Writes `text` to `name` in `folder` whole or not at all (os::Folder::Replace):
// an interrupted run never leaves a truncated file. With `expected` (what
// ReadExisting found at `name`), a file changed since fails with
// os::ErrorKind::kChangedSinceRead and stays as the other program left it.
WriteStatus WriteFileReplacing(os::Folder& folder, const std::string& name, std::string_view text,
                               const os::FileStamp* expected = nullptr);

}  // namespace kscgen
