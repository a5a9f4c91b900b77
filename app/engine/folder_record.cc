#include "app/engine/folder_record.h"

#include <utility>

#include "app/engine/messages.h"
#include "app/engine/write_whole.h"

namespace kscgen {

namespace {

// The largest record of a folder's KSC files a run reads: a few hundred
// bytes a file, for a folder of a hundred thousand videos and more.
constexpr std::size_t kLargestRecord = 256 * 1024 * 1024;

// Why the record `existing`, read without failing, was not read whole.
os::Error NotReadWhole(const os::Existing& existing) {
  if (existing.size > kLargestRecord) return {os::ErrorKind::kOther, u8"大于 256 MiB"};
  return {os::ErrorKind::kOther, u8"读取时被其他程序改动"};
}

// Why what stands at the record's name, read without failing, is no record
// this run can go by; no error when `*record` took it. A folder, a link or a
// pipe there is no record either, but one may have been put there for one
// (a link to a record kept elsewhere): which values a person changed cannot
// be told from it.
os::Error NotARecord(const os::Existing& existing, WrittenRecord* record) {
  if (existing.kind == os::Existing::kFolder) return {os::ErrorKind::kIsFolder, ""};
  if (existing.kind != os::Existing::kRegular) {
    return {os::ErrorKind::kOther, u8"是链接或特殊文件"};
  }
  if (existing.bytes.size() != existing.size) return NotReadWhole(existing);
  if (!record->Load(existing.bytes)) return {os::ErrorKind::kOther, u8"格式无法识别"};
  return {};
}

}  // namespace

void FolderRecord::Load(os::Folder& folder, const RunKind& run,
                        std::vector<std::string>* warnings) {
  Clear();
  os::Existing existing;
  os::Error error = folder.ReadExisting(WrittenRecord::kFileName, kLargestRecord, &existing);
  if (!error.failed() && existing.kind == os::Existing::kMissing) return;
  had_record_ = true;
  if (!error.failed()) error = NotARecord(existing, &record_);
  if (error.failed()) {
    unreadable_ = true;
    warnings->push_back(messages::CannotReadRecord(
        os::JoinPath(folder.path(), WrittenRecord::kFileName), error, run.force, run.dry_run));
  }
}

bool FolderRecord::Save(os::Folder& folder, std::vector<std::string>* warnings) {
  // What it holds would be lost under what this run knows.
  if (unreadable_) return false;
  record_.ForgetGone([&folder](const std::string& name) {
    os::Existing existing;
    return folder.ReadExisting(name, 0, &existing).failed() ||
           existing.kind != os::Existing::kMissing;
  });
  if (!record_.changed()) return false;
  WriteStatus status = WriteFileReplacing(folder, WrittenRecord::kFileName, record_.Bytes());
  if (status.ok()) return true;
  os::Error removal = folder.Remove(WrittenRecord::kFileName);
  const bool removed = !removal.failed();
  // Nothing there, or something no run reads as a record: none is left.
  if (removal.kind == os::ErrorKind::kNotFound || removal.kind == os::ErrorKind::kIsFolder ||
      removal.kind == os::ErrorKind::kExists) {
    removal = {};
  }
  warnings->push_back(
      messages::CannotSaveRecord(os::JoinPath(folder.path(), WrittenRecord::kFileName),
                                 status.error, had_record_ && removed, removal));
  return removed;
}

}  // namespace kscgen
