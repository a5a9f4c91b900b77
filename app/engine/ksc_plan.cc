#include "app/engine/ksc_plan.h"

#include <utility>

namespace kscgen {

WriteStatus WriteFileReplacing(os::Folder& folder, const std::string& name, std::string_view text) {
  bool in_folder = false;
  WriteStatus status;
  os::Error error = folder.Replace(name, text, &in_folder, &status.lost_attributes);
  if (error.failed()) {
    status.failure = in_folder ? WriteFailure::kFolder : WriteFailure::kKscFile;
    status.error = error;
  }
  return status;
}

}  // namespace kscgen
