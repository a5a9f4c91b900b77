#include "app/engine/batch.h"

#include <cstdint>
#include <limits>
#include <map>
#include <memory>
#include <new>

#include "app/engine/folder_record.h"
#include "app/engine/messages.h"
#include "app/engine/preview.h"
#include "app/engine/same_names.h"
#include "app/engine/short_date.h"
#include "app/engine/song_numbering.h"
#include "app/engine/song_values.h"
#include "app/engine/start_number.h"
#include "app/engine/video_name.h"
#include "app/engine/video_plan.h"
#include "app/engine/write_whole.h"
#include "ksc/ksc_file.h"
#include "tagging/known_singers.h"
#include "text/encoding.h"

namespace kscgen {

namespace {

struct Refusal {
  BatchStatus status;
  std::string message;
};

// Why a request cannot run at all, over `listed` videos; nothing when it can.
std::optional<Refusal> RefusalOf(const BatchRequest& request, std::size_t listed) {
  if (!request.naming_template || *request.naming_template < 0 ||
      *request.naming_template >= kTemplateCount ||
      (*request.naming_template == kTemplateCustom && !request.name_pattern)) {
    return Refusal{BatchStatus::kNoTemplate, messages::NoTemplate()};
  }
  if (request.number_from_name && request.start_number) {
    return Refusal{BatchStatus::kBadOptions, messages::kTwoNumberings};
  }
  if (request.number_from_name && *request.naming_template == kTemplateTitle) {
    return Refusal{BatchStatus::kBadOptions, messages::kNoNumbersUnderTitleTemplate};
  }
  if (request.start_number) {
    constexpr std::int64_t kMax = kLargestSongNumber;
    const std::int64_t start = *request.start_number;
    if (start < 0) {
      return Refusal{BatchStatus::kBadOptions, messages::BadStartNumber(std::to_string(start))};
    }
    if (start + static_cast<std::int64_t>(listed) > kMax) {
      return Refusal{BatchStatus::kBadOptions, messages::StartNumberTooLarge(start, listed, kMax)};
    }
  }
  return std::nullopt;
}

// One run over its folders; the state the steps share.
class Run {
 public:
  Run(const BatchRequest& request, const std::vector<VideoFolder>& folders, BatchObserver* observer)
      : request_(request),
        folders_(folders),
        observer_(observer),
        fs_(request.file_system ? *request.file_system : os::SystemFileSystem()),
        today_(ShortDateText(request.clock ? request.clock() : std::time(nullptr))),
        keep_dates_(!request.date_text && request.folder_role != kRoleDateAdded),
        keep_numbers_(!request.start_number && !request.number_from_name),
        numbering_(request) {
    for (const VideoFolder& f : folders) result_.listed += f.files.size();
  }

  BatchResult Go() {
    if (std::optional<Refusal> refusal = RefusalOf(request_, result_.listed)) {
      return Fail(refusal->status, std::move(refusal->message));
    }
    if (ReadsWithKnownSingers(*request_.naming_template)) {
      // Singer and title are told apart by the singers the library's own
      // names give without doubt: all of them, before any is read.
      for (const VideoFolder& folder : folders_) {
        for (const VideoFile& file : folder.files) {
          known_.Learn(BaseNameView(file.name.gbk), request_.folder_role, folder.folder_name);
        }
      }
    }
    if (observer_) observer_->OnStart(result_.listed);
    for (std::size_t f = 0; f < folders_.size(); ++f) {
      bool keep_going = false;
      try {
        keep_going = Folder(folders_[f]);
      } catch (const std::bad_alloc&) {
        // What this folder held is given back as the stack unwinds; enough
        // for the message and the flush of what was written.
        KeepForSync(folders_[f].path);
        if (!folders_[f].files.empty()) result_.folders.push_back(std::move(count_));
        ForgetFolder();
        Stop(BatchStatus::kWriteFailed, messages::OutOfMemory(folders_[f].path));
      }
      if (!keep_going) {
        for (std::size_t rest = f + 1; rest < folders_.size(); ++rest) {
          if (folders_[rest].files.empty()) continue;
          result_.folders_not_reached.push_back(text::DisplayName(folders_[rest].relative));
        }
        break;
      }
    }
    Sync();  // also after a failure: what was written stays written
    if (result_.status != BatchStatus::kDone) {
      result_.failure +=
          messages::WrittenBeforeStop(result_.written(), result_.not_reached, request_.dry_run);
    }
    return std::move(result_);
  }

 private:
  BatchResult Fail(BatchStatus status, std::string message) {
    result_.status = status;
    result_.failure = std::move(message);
    return std::move(result_);
  }

  void Warn(std::string warning) {
    if (!warning.empty()) result_.warnings.push_back(std::move(warning));
  }

  void Stop(BatchStatus status, std::string message) {
    result_.status = status;
    result_.failure = std::move(message);
    result_.not_reached = result_.listed - done_;
  }

  // Keeps the folder worked in, when something was written there, to flush
  // its file system at the end.
  void KeepForSync(const std::string& path) {
    if (!wrote_in_folder_ || !handle_) return;
    try {
      const std::uint64_t device = handle_->identity().device;
      to_sync_[device] = {path, std::move(handle_)};
    } catch (const std::bad_alloc&) {
      // No room to keep it: flushed now.
      if (os::Error error = handle_->Sync(true); error.failed()) NoteSyncFailure(path, error);
    }
  }

  void NoteSyncFailure(std::string_view path, const os::Error& error) {
    if (result_.status != BatchStatus::kDone) return;  // the first failure is the one told
    result_.status = BatchStatus::kWriteFailed;
    result_.failure = messages::CannotSync(path, error);
  }

  void ForgetFolder() {
    handle_.reset();
    wrote_in_folder_ = false;
    names_.Clear();
    record_.Clear();
  }

  // Keeps what this run wrote for the next; a record that cannot be saved
  // is told, and the files are whole all the same.
  void SaveRecord() {
    if (!request_.dry_run && record_.Save(*handle_, &result_.warnings)) wrote_in_folder_ = true;
  }

  // Opens the folder to work in, sees that it takes new files (a dry run
  // too, to tell what the run would do) and, unless nothing is to be
  // written, locks it. The lock is taken on a handle of its own, given back
  // as soon as the run leaves the folder; the working handle stays open to
  // flush the folder's file system at the end.
  os::Error OpenAndLock(const VideoFolder& folder, std::unique_ptr<os::Folder>* lock) {
    os::Error error = OpenListedFolder(folder, fs_, &handle_);
    if (!error.failed() && !folder.files.empty()) error = handle_->CheckWritable();
    if (error.failed() || request_.dry_run) return error;
    error = OpenListedFolder(folder, fs_, lock);
    if (error.failed()) return error;
    if (!((*lock)->identity() == handle_->identity())) {
      return {os::ErrorKind::kOther, messages::kMovedOrReplaced};
    }
    error = (*lock)->Lock();
    // Only while holding the lock: another run's files are its own.
    if (!error.failed()) handle_->RemoveTemporaryLeftovers();
    return error;
  }

  // Returns false when the run must end.
  bool Folder(const VideoFolder& folder) {
    count_ = {folder.relative == "." ? "." : text::DisplayName(folder.relative), 0};
    std::unique_ptr<os::Folder> lock;  // held while the run works in the folder
    if (!Enter(folder, &lock)) {
      ForgetFolder();
      return false;
    }
    bool keep_going = Videos(folder);
    SaveRecord();
    if (!folder.files.empty()) result_.folders.push_back(std::move(count_));
    if (wrote_in_folder_) {
      // The folder's own entries now; its file system's data once, at the end.
      os::Error error = handle_->Sync(false);
      if (error.failed() && keep_going) {
        Stop(BatchStatus::kWriteFailed, messages::CannotSync(folder.path, error));
        keep_going = false;
      }
      KeepForSync(folder.path);
    }
    ForgetFolder();
    return keep_going;
  }

  // Opens the folder, locks it through `*lock` and reads its names; false
  // when the run must end, with the reason.
  bool Enter(const VideoFolder& folder, std::unique_ptr<os::Folder>* lock) {
    os::Error error = OpenAndLock(folder, lock);
    if (error.kind == os::ErrorKind::kLocked) {
      Stop(BatchStatus::kLocked, messages::FolderLocked(folder.path));
      return false;
    }
    if (error.failed()) {
      // Named as the listed folder's, whichever folder on the way failed.
      Stop(BatchStatus::kWriteFailed,
           messages::CannotWriteInFolder(os::FailedAt(folder.path, std::move(error))));
      return false;
    }
    if (folder.name_not_in_gbk && request_.folder_role != kRoleNone) {
      result_.warnings.push_back(
          messages::FolderNameNotInGbk(folder.relative == "." ? folder.path : folder.relative));
    }
    if (!folder.files.empty()) {
      record_.Load(*handle_, {request_.force, request_.dry_run}, &result_.warnings);
    }
    if (!folder.files.empty() && FolderNamesNothing(request_.folder_role, folder.folder_name)) {
      result_.warnings.push_back(
          messages::FolderNamesNothing(folder.relative == "." ? folder.path : folder.relative,
                                       request_.folder_role == kRoleLanguage));
    }
    names_.Group(folder);
    error = names_.FindKscFilesSpelledOtherwise(folder, *handle_, folders_.size() > 1,
                                                &result_.warnings);
    if (error.failed()) {
      // Without the whole listing a KSC file under another case could be
      // joined by a second one.
      Stop(BatchStatus::kWriteFailed, messages::CannotReadFolder(folder.path, error));
      return false;
    }
    return true;
  }

  // The folder's videos in list order; false when the run must end.
  bool Videos(const VideoFolder& folder) {
    const std::size_t first_index = done_;
    for (std::size_t i = 0; i < folder.files.size(); ++i) {
      if (request_.stop && request_.stop->load(std::memory_order_relaxed)) {
        Stop(BatchStatus::kStopped, messages::Stopped());
        return false;
      }
      VideoReport report;
      report.folder = &folder;
      report.file = &folder.files[i];
      report.index = done_;
      if (!Video(folder, first_index, i, report)) return false;
      if (report.outcome == VideoOutcome::kCreated || report.outcome == VideoOutcome::kUpdated ||
          report.outcome == VideoOutcome::kUnchanged) {
        ++count_.ksc_files;
      }
      ++done_;
      if (report.skip_reason.empty()) CountNotes(report);
      if (observer_) observer_->OnVideo(report, done_, result_.listed);
    }
    return true;
  }

  // A file of a listed folder as the user is shown it: with its folder when
  // the run covers several.
  std::string Shown(const VideoFolder& folder, std::string_view native_name) const {
    return ShownName(folder, native_name, folders_.size() > 1);
  }

  void Skip(const VideoFolder& folder, const VideoFile& file, VideoReport& report,
            std::string reason) {
    result_.skipped.push_back({Shown(folder, file.native_name), reason});
    report.outcome = VideoOutcome::kSkipped;
    report.skip_reason = std::move(reason);
  }

  // Returns false when the run must end.
  bool Video(const VideoFolder& folder, std::size_t first_index, std::size_t i,
             VideoReport& report) {
    const VideoFile& file = folder.files[i];
    if (const char* reason = names_.skip_reason(i)) {
      Skip(folder, file, report, reason);
      return true;
    }
    report.song = DeriveSong(request_, today_, folder.folder_name, BaseNameView(file.name.gbk),
                             known_, &report.name_findings);
    report.song.video_name = file.name.gbk;
    const std::string ksc_native = NameKscFile(folder, i, report);

    const std::size_t winner = names_.winner(i);
    if (winner != i) {
      report.outcome = VideoOutcome::kSuperseded;
      report.same_ksc_as = first_index + winner;
      result_.same_ksc.push_back(
          {Shown(folder, file.native_name), Shown(folder, folder.files[winner].native_name)});
      return true;
    }
    if (const std::uint32_t previous = names_.previous(i); previous != SameNames::kNone) {
      report.same_ksc_as = first_index + previous;
    }
    if (const std::vector<std::string>* stale = names_.stale(i)) report.stale_ksc_files = *stale;

    numbering_.Propose(report);
    ExistingKsc existing;
    existing.error = handle_->ReadExisting(ksc_native, kLargestKscFile, &existing.file);
    const VideoInput input{report.song,    keep_dates_,
                           request_.force, record_.Find(ksc_native),
                           keep_numbers_,  record_.unreadable()};
    return Carry(ksc_native, PlanVideo(input, existing), existing.file.stamp, report);
  }

  // Carries out the plan for `report`'s video, whose KSC file was found as
  // `stamp` tells; false when the run must end.
  bool Carry(const std::string& ksc_native, VideoPlan plan, const os::FileStamp& stamp,
             VideoReport& report) {
    const VideoFolder& folder = *report.folder;
    const std::string shown = Shown(folder, report.file->native_name);
    switch (plan.action) {
      case VideoPlan::kStopRun:
        Stop(BatchStatus::kWriteFailed,
             messages::CannotReadKscFileAt(report.song.ksc_path, plan.error));
        return false;
      case VideoPlan::kSkip:
        report.song.number.clear();
        Skip(folder, *report.file, report, std::move(plan.skip_reason));
        if (plan.held_number) Warn(numbering_.KeepHeld(shown, *plan.held_number, false));
        return true;
      case VideoPlan::kUnchanged:
        report.outcome = VideoOutcome::kUnchanged;
        break;
      case VideoPlan::kCreate:
      case VideoPlan::kUpdate:
        report.outcome =
            plan.action == VideoPlan::kCreate ? VideoOutcome::kCreated : VideoOutcome::kUpdated;
        break;
    }
    report.song = std::move(plan.song);
    report.changes = std::move(plan.changes);
    report.kept = std::move(plan.kept);
    if (plan.merged) report.merged_text = plan.text;
    if (report.outcome != VideoOutcome::kUnchanged && !request_.dry_run) {
      if (!Write(ksc_native, plan.text, stamp, report)) return false;
      if (report.outcome == VideoOutcome::kSkipped) return true;  // by Write, with the reason
    }
    if (!request_.dry_run) record_.Set(ksc_native, plan.record);
    if (plan.takes_number) Warn(numbering_.Commit(report));
    if (plan.held_number) Warn(numbering_.KeepHeld(shown, *plan.held_number, true));
    Count(report);
    return true;
  }

  void Count(const VideoReport& report) {
    switch (report.outcome) {
      case VideoOutcome::kCreated:
        ++result_.created;
        break;
      case VideoOutcome::kUpdated:
        ++result_.updated;
        result_.kept_lyrics += report.kept.lyric_lines + report.kept.other_lines > 0;
        break;
      case VideoOutcome::kUnchanged:
        ++result_.unchanged;
        break;
      case VideoOutcome::kSuperseded:
      case VideoOutcome::kSkipped:
        return;
    }
    result_.kept_edits += !report.kept.edits.empty();
  }

  // The notes of a video that was not skipped (a skipped one's reason says
  // all): whether it has any, and what they say of its number.
  void CountNotes(const VideoReport& report) {
    result_.noted += !PreviewNotes(report).empty();
    for (const NameFinding& finding : report.name_findings) {
      result_.without_name_number += finding.kind == NameFindingKind::kNoNameNumber ||
                                     finding.kind == NameFindingKind::kNumberTooLarge;
      result_.name_number_clashes += finding.kind == NameFindingKind::kSameNameNumber;
    }
  }

  // The name of video `i`'s KSC file as the file system spells it: the
  // video's own, or the one it has under another spelling. Puts its GBK name
  // and its path in the report.
  std::string NameKscFile(const VideoFolder& folder, std::size_t i, VideoReport& report) {
    const VideoFile& file = folder.files[i];
    std::string ksc_native = std::string(StemView(file.native_name)).append(kKscExtension);
    report.ksc_name = std::string(StemView(file.name.gbk)).append(kKscExtension);
    if (const std::string* other = names_.other_spelling(i)) {
      ksc_native = *other;
      report.ksc_name = text::DecodeFileName(ksc_native).gbk;
    }
    report.song.ksc_path = os::JoinPath(folder.path, ksc_native);
    return ksc_native;
  }

  // Writes the KSC file of `report`'s video over the file found as `stamp`.
  // A failure of the file's own (another program saved it since it was
  // read, among others) skips the video; false when the run must end.
  bool Write(const std::string& ksc_native, const std::string& text, const os::FileStamp& stamp,
             VideoReport& report) {
    const VideoFolder& folder = *report.folder;
    WriteStatus status = WriteFileReplacing(*handle_, ksc_native, text, &stamp);
    if (!status.ok() && status.failure == WriteFailure::kKscFile &&
        IsTheFilesOwnFailure(status.error)) {
      report.song.number.clear();
      Skip(folder, *report.file, report, messages::CannotReplaceKscFile(status.error));
      return true;
    }
    if (!status.ok()) {
      Stop(BatchStatus::kWriteFailed, status.failure == WriteFailure::kFolder
                                          ? messages::CannotWriteInFolder(status.error)
                                          : messages::CannotWriteKscFile(status.error));
      return false;
    }
    wrote_in_folder_ = true;
    if (!status.lost_attributes.empty()) {
      report.lost_attributes = std::move(status.lost_attributes);
      result_.warnings.push_back(messages::AttributesLost(Shown(folder, report.file->native_name),
                                                          report.lost_attributes));
    }
    return true;
  }

  // Everything written reaches the disk before the run reports: one flush
  // of each file system written to.
  void Sync() {
    for (auto& [device, folder] : to_sync_) {
      os::Error error = folder.second->Sync(true);
      if (error.failed()) NoteSyncFailure(folder.first, error);
    }
    to_sync_.clear();
  }

  const BatchRequest& request_;
  const std::vector<VideoFolder>& folders_;
  BatchObserver* observer_;
  os::FileSystem& fs_;
  const std::string today_;  // the short date of the run's day
  const bool keep_dates_;    // an existing KSC file keeps its date
  const bool keep_numbers_;  // and its number, when the run gives none
  BatchResult result_;
  SongNumbering numbering_;
  KnownSingers known_;  // the templates that read a singer, and 自动识别
  std::size_t done_ = 0;
  bool wrote_in_folder_ = false;
  std::unique_ptr<os::Folder> handle_;  // the folder being worked in
  FolderCount count_;                   // its KSC files
  // A folder written in on each file system (by device), kept open to flush it.
  std::map<std::uint64_t, std::pair<std::string, std::unique_ptr<os::Folder>>> to_sync_;
  SameNames names_;      // of the folder being worked in
  FolderRecord record_;  // of the folder being worked in
};

}  // namespace

BatchResult RunBatch(const BatchRequest& request, const std::vector<VideoFolder>& folders,
                     BatchObserver* observer) {
  try {
    return Run(request, folders, observer).Go();
  } catch (const std::bad_alloc&) {
    // Out of memory before the first folder or after the last: nothing to
    // count but the videos.
    BatchResult result;
    result.status = BatchStatus::kWriteFailed;
    for (const VideoFolder& f : folders) result.listed += f.files.size();
    result.not_reached = result.listed;
    result.failure = messages::OutOfMemory(folders.empty() ? std::string() : folders[0].path);
    return result;
  }
}

}  // namespace kscgen
