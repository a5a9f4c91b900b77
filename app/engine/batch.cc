#include "app/engine/batch.h"

#include <limits>
#include <map>
#include <memory>
#include <unordered_map>

#include "app/engine/messages.h"
#include "app/engine/start_number.h"
#include "ksc/ksc_file.h"
#include "tagging/pinyin.h"
#include "text/encoding.h"
#include "text/gbk_text.h"

namespace kscgen {

namespace {

bool HasControlByte(std::string_view s) {
  for (char c : s) {
    if (static_cast<unsigned char>(c) < 0x20) return true;
  }
  return false;
}

// The name without its extension, as it stands: the KSC file is named after
// the video's real name, blanks and all.
std::string_view StemView(std::string_view file_name) {
  std::size_t dot = file_name.rfind('.');
  return dot == std::string_view::npos ? file_name : file_name.substr(0, dot);
}

// The name without its extension, trimmed: what song values are read from.
// Blanks and the dot are ASCII, and no byte of a Chinese character is either,
// so this cuts a GBK name and its UTF-8 spelling at the same characters.
std::string_view BaseNameView(std::string_view file_name) {
  return text::TrimView(StemView(text::TrimView(file_name)));
}

// Why a video can get no KSC file, or the empty text when it can.
const char* SkipReason(const VideoFile& file) {
  if (HasControlByte(file.native_name)) return messages::kControlCharacter;
  switch (file.name.problem) {
    case text::NameProblem::kNotInGbk:
      return messages::kNotInGbkName;
    case text::NameProblem::kUndecodable:
      return messages::kUndecodableName;
    case text::NameProblem::kNone:
      break;
  }
  if (BaseNameView(file.name.gbk).empty()) return messages::kEmptyBaseName;
  return "";
}

// The song values a video's name, its folder and the request give, in the
// order they depend on one another: the name first, the uniform values over
// it, and the singer's initials from the singer that results.
SongInfo DeriveSong(const BatchRequest& request, const std::string& folder_name,
                    std::string_view base_name, NameFindings* findings) {
  SongInfo song;
  song.date_text = request.date_text;
  ParseSongName(*request.naming_template, request.folder_role, base_name, folder_name, song,
                findings);
  song.abbrev = PinyinInitials(song.title, kAbbrevLimit);
  ApplyUniformValues(request.uniform, song);
  song.singer_pinyin = SingerInitials(song.singer);
  return song;
}

std::string ShownName(const VideoFolder& folder, const VideoFile& file, bool with_folder) {
  std::string name = text::DisplayName(file.native_name);
  if (!with_folder || folder.relative == ".") return name;
  return text::DisplayName(folder.relative) + "/" + name;
}

// One run over its folders; the state the steps share.
class Run {
 public:
  Run(const BatchRequest& request, const std::vector<VideoFolder>& folders, BatchObserver* observer)
      : request_(request),
        folders_(folders),
        observer_(observer),
        fs_(request.file_system ? *request.file_system : os::SystemFileSystem()) {
    for (const VideoFolder& f : folders) result_.listed += f.files.size();
  }

  BatchResult Go() {
    if (!request_.naming_template || *request_.naming_template < 0 ||
        *request_.naming_template >= kTemplateCount) {
      return Fail(BatchStatus::kNoTemplate, messages::NoTemplate());
    }
    if (request_.start_number) {
      constexpr std::int64_t kMax = std::numeric_limits<std::int32_t>::max();
      const std::int64_t start = *request_.start_number;
      if (start < 0)
        return Fail(BatchStatus::kBadOptions, messages::BadStartNumber(std::to_string(start)));
      if (start + static_cast<std::int64_t>(result_.listed) > kMax) {
        return Fail(BatchStatus::kBadOptions,
                    messages::StartNumberTooLarge(start, result_.listed, kMax));
      }
      number_ = start;
    }
    if (observer_) observer_->OnStart(result_.listed);
    for (const VideoFolder& folder : folders_) {
      if (!Folder(folder)) break;
    }
    Sync();  // also after a failure: what was written stays written
    if (result_.status != BatchStatus::kDone) {
      result_.failure += messages::WrittenBeforeStop(result_.written(), result_.not_reached);
    }
    return std::move(result_);
  }

 private:
  BatchResult Fail(BatchStatus status, std::string message) {
    result_.status = status;
    result_.failure = std::move(message);
    return std::move(result_);
  }

  void Stop(BatchStatus status, std::string message) {
    result_.status = status;
    result_.failure = std::move(message);
    result_.not_reached = result_.listed - done_;
  }

  // Returns false when the run must end.
  bool Folder(const VideoFolder& folder) {
    os::Error error = OpenListedFolder(folder, fs_, &handle_);
    if (!error.failed() && !request_.dry_run) {
      error = handle_->Lock();
      if (error.kind == os::ErrorKind::kLocked) {
        Stop(BatchStatus::kLocked, messages::FolderLocked(folder.path));
        return false;
      }
      // Only while holding the lock: another run's files are its own.
      if (!error.failed()) handle_->RemoveTemporaryLeftovers();
    }
    if (error.failed()) {
      Stop(BatchStatus::kWriteFailed, messages::CannotWriteInFolder(folder.path, error));
      return false;
    }
    if (folder.name_not_in_gbk && request_.folder_role != kRoleNone) {
      result_.warnings.push_back(
          messages::FolderNameNotInGbk(folder.relative == "." ? folder.path : folder.relative));
    }

    // The last video of each KSC name writes it; earlier ones are superseded.
    // `previous` links each video to the earlier one of its name, if any.
    std::unordered_map<std::string_view, std::size_t> owner;
    owner.reserve(folder.files.size());
    previous_.assign(folder.files.size(), kNone);
    skip_reasons_.assign(folder.files.size(), "");
    for (std::size_t i = 0; i < folder.files.size(); ++i) {
      skip_reasons_[i] = SkipReason(folder.files[i]);
      if (*skip_reasons_[i] != '\0') continue;
      auto [it, fresh] = owner.try_emplace(StemView(folder.files[i].native_name), i);
      if (!fresh) {
        previous_[i] = it->second;
        it->second = i;
      }
    }

    const std::size_t first_index = done_;
    FolderCount count{folder.relative == "." ? "." : text::DisplayName(folder.relative), 0};
    bool keep_going = true;
    for (std::size_t i = 0; i < folder.files.size(); ++i) {
      if (request_.stop && request_.stop->load(std::memory_order_relaxed)) {
        Stop(BatchStatus::kStopped, messages::Stopped());
        keep_going = false;
        break;
      }
      VideoReport report;
      report.folder = &folder;
      report.file = &folder.files[i];
      report.index = done_;
      if (!Video(folder, owner, first_index, i, report)) {
        keep_going = false;
        break;
      }
      if (report.outcome == VideoOutcome::kCreated || report.outcome == VideoOutcome::kUpdated ||
          report.outcome == VideoOutcome::kUnchanged) {
        ++count.ksc_files;
      }
      ++done_;
      if (observer_) observer_->OnVideo(report, done_, result_.listed);
    }
    if (!folder.files.empty()) result_.folders.push_back(std::move(count));
    if (wrote_in_folder_) {
      // The folder's own entries now; its file system's data once, at the end.
      os::Error error = handle_->Sync(false);
      if (error.failed() && keep_going) {
        Stop(BatchStatus::kWriteFailed, messages::CannotSync(folder.path, error));
        keep_going = false;
      }
      const std::uint64_t device = handle_->identity().device;
      to_sync_[device] = {folder.path, std::move(handle_)};
    }
    handle_.reset();
    wrote_in_folder_ = false;
    return keep_going;
  }

  // Returns false when the run must end.
  bool Video(const VideoFolder& folder,
             const std::unordered_map<std::string_view, std::size_t>& owner,
             std::size_t first_index, std::size_t i, VideoReport& report) {
    const VideoFile& file = folder.files[i];
    const bool recursive = folders_.size() > 1;
    if (const char* reason = skip_reasons_[i]; *reason != '\0') {
      report.skip_reason = reason;
      result_.skipped.push_back({ShownName(folder, file, recursive), reason});
      return true;
    }

    const std::string_view stem = StemView(file.native_name);
    SongInfo& song = report.song;
    song = DeriveSong(request_, folder.folder_name, BaseNameView(file.name.gbk),
                      &report.name_findings);
    song.video_name = file.name.gbk;
    const std::string ksc_native = std::string(stem) + ".KSC";
    song.ksc_path = os::JoinPath(folder.path, ksc_native);
    report.ksc_name = std::string(StemView(file.name.gbk)) + ".KSC";

    const std::size_t winner = owner.at(stem);
    if (winner != i) {
      report.outcome = VideoOutcome::kSuperseded;
      report.same_ksc_as = first_index + winner;
      result_.same_ksc.push_back(
          {ShownName(folder, file, recursive), ShownName(folder, folder.files[winner], recursive)});
      return true;
    }
    if (previous_[i] != kNone) report.same_ksc_as = first_index + previous_[i];

    // Numbers only for the videos whose KSC files hold them: no gaps.
    if (number_) song.number = FormatSongNumber(++*number_);
    const std::string text = FormatKscText(song);
    switch (PlanKscFile(*handle_, ksc_native, text, request_.force)) {
      case KscAction::kUnchanged:
        report.outcome = VideoOutcome::kUnchanged;
        ++result_.unchanged;
        return true;
      case KscAction::kProtected:
        if (number_) {
          --*number_;
          song.number.clear();
        }
        report.skip_reason = messages::kKscReadOnly;
        result_.skipped.push_back({ShownName(folder, file, recursive), messages::kKscReadOnly});
        return true;
      case KscAction::kCreate:
        report.outcome = VideoOutcome::kCreated;
        break;
      case KscAction::kUpdate:
        report.outcome = VideoOutcome::kUpdated;
        break;
    }
    if (!request_.dry_run) {
      WriteStatus status = WriteFileReplacing(*handle_, ksc_native, text);
      if (!status.ok()) {
        Stop(BatchStatus::kWriteFailed,
             status.failure == WriteFailure::kFolder
                 ? messages::CannotWriteInFolder(folder.path, status.error)
                 : messages::CannotWriteKscFile(song.ksc_path, status.error));
        return false;
      }
      wrote_in_folder_ = true;
    }
    ++(report.outcome == VideoOutcome::kCreated ? result_.created : result_.updated);
    return true;
  }

  // Everything written reaches the disk before the run reports: one flush
  // of each file system written to.
  void Sync() {
    for (auto& [device, folder] : to_sync_) {
      os::Error error = folder.second->Sync(true);
      if (error.failed() && result_.status == BatchStatus::kDone) {
        result_.status = BatchStatus::kWriteFailed;
        result_.failure = messages::CannotSync(folder.first, error);
      }
    }
    to_sync_.clear();
  }

  const BatchRequest& request_;
  const std::vector<VideoFolder>& folders_;
  BatchObserver* observer_;
  os::FileSystem& fs_;
  BatchResult result_;
  std::optional<std::int64_t> number_;
  std::size_t done_ = 0;
  bool wrote_in_folder_ = false;
  std::unique_ptr<os::Folder> handle_;  // the folder being worked in, locked
  // A folder written in on each file system (by device), kept open to flush it.
  std::map<std::uint64_t, std::pair<std::string, std::unique_ptr<os::Folder>>> to_sync_;
  static constexpr std::size_t kNone = static_cast<std::size_t>(-1);
  std::vector<std::size_t> previous_;
  std::vector<const char*> skip_reasons_;  // of the folder's videos, empty when none
};

}  // namespace

std::string BaseNameOf(std::string_view file_name) { return std::string(BaseNameView(file_name)); }

BatchResult RunBatch(const BatchRequest& request, const std::vector<VideoFolder>& folders,
                     BatchObserver* observer) {
  return Run(request, folders, observer).Go();
}

}  // namespace kscgen
