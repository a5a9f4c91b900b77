#include "app/engine/ksc_plan.h"

#include <utility>

namespace kscgen {

KscAction PlanKscFile(const os::Existing& existing, std::string_view text, bool force) {
  switch (existing.kind) {
    case os::Existing::kMissing:
      return KscAction::kCreate;
    case os::Existing::kFolder:
    case os::Existing::kOther:
      return KscAction::kNotAFile;
    case os::Existing::kRegular:
      break;
  }
  const bool same = existing.bytes.size() == text.size() && existing.bytes == text;
  if (same && (!force || existing.write_protected)) return KscAction::kUnchanged;
  return existing.write_protected ? KscAction::kProtected : KscAction::kUpdate;
}

os::Error ReadExistingKsc(os::Folder& folder, const std::string& name, std::size_t text_size,
                          bool force, os::Existing* existing) {
  os::Error error = folder.ReadExisting(name, force ? 0 : text_size, existing);
  if (!error.failed() && force && existing->kind == os::Existing::kRegular &&
      existing->write_protected) {
    // On failure `existing` still says what stands there.
    os::Existing whole;
    error = folder.ReadExisting(name, text_size, &whole);
    if (!error.failed()) *existing = std::move(whole);
  }
  return error;
}

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
