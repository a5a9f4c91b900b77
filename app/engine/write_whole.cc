#include "app/engine/write_whole.h"

#include <utility>

namespace kscgen {

WriteStatus WriteFileReplacing(os::Folder& folder, const std::string& name, std::string_view text,
                               const os::FileStamp* expected) {
  WriteStatus status;
  os::Error error = folder.Replace(name, text, expected, &status.lost_attributes);
  if (error.failed()) {
    status.failure = error.path == folder.path() ? WriteFailure::kFolder : WriteFailure::kKscFile;
    status.error = std::move(error);
  }
  return status;
}

}  // namespace kscgen
