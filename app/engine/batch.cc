#include "app/engine/batch.h"

#include <algorithm>
#include <cstdint>
#include <limits>
#include <map>
#include <memory>
#include <new>
#include <set>
#include <unordered_map>

#include "app/engine/ksc_plan.h"
#include "app/engine/messages.h"
#include "app/engine/short_date.h"
#include "app/engine/start_number.h"
#include "ksc/ksc_file.h"
#include "tagging/pinyin.h"
#include "text/encoding.h"
#include "text/gbk_text.h"

namespace kscgen {

namespace {

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

// Whether a GBK name is blanks only, full-width blanks included: it has no
// title to read.
bool IsBlankName(std::string_view gbk) {
  for (std::size_t i = 0; i < gbk.size(); i += text::CharLength(gbk, i)) {
    const bool wide_blank = text::CharLength(gbk, i) == 2 &&
                            static_cast<unsigned char>(gbk[i]) == 0xA1 &&
                            static_cast<unsigned char>(gbk[i + 1]) == 0xA1;
    if (!wide_blank && !text::IsBlank(static_cast<unsigned char>(gbk[i]))) return false;
  }
  return true;
}

// Why a video can get no KSC file, or the empty text when it can.
const char* SkipReason(const VideoFile& file) {
  if (text::HasControlByte(file.native_name)) return messages::kControlCharacter;
  switch (file.name.problem) {
    case text::NameProblem::kNotInGbk:
      return messages::kNotInGbkName;
    case text::NameProblem::kUndecodable:
      return messages::kUndecodableName;
    case text::NameProblem::kNone:
      break;
  }
  if (IsBlankName(BaseNameView(file.name.gbk))) return messages::kEmptyBaseName;
  return "";
}

// The song values a video's name, its folder and the request give, in the
// order they depend on one another: the name first, the uniform values over
// it, and the singer's initials from the singer that results.
SongInfo DeriveSong(const BatchRequest& request, const std::string& today,
                    const std::string& folder_name, std::string_view base_name,
                    NameFindings* findings) {
  SongInfo song;
  song.date_text = request.date_text.value_or(today);
  if (*request.naming_template == kTemplateCustom) {
    ParseSongName(*request.name_pattern, request.folder_role, base_name, folder_name, song,
                  findings);
  } else {
    ParseSongName(*request.naming_template, request.folder_role, base_name, folder_name, song,
                  findings);
  }
  song.abbrev = PinyinInitials(song.title, kAbbrevLimit);
  ApplyUniformValues(request.uniform, song);
  song.singer_pinyin = SingerInitials(song.singer);
  return song;
}

// Why an existing KSC file cannot be replaced, for a file the plan leaves alone.
const char* LeftAloneReason(const os::Existing& existing) {
  if (existing.kind == os::Existing::kFolder) return messages::kKscIsFolder;
  if (existing.kind == os::Existing::kOther) return messages::kKscNotAFile;
  switch (existing.protection) {
    case os::Existing::kImmutable:
      return messages::kKscImmutable;
    case os::Existing::kAppendOnly:
      return messages::kKscAppendOnly;
    case os::Existing::kOtherOwner:
      return messages::kKscOtherOwner;
    case os::Existing::kReadOnly:
    case os::Existing::kNotProtected:
      break;
  }
  return messages::kKscReadOnly;
}

// Whether a KSC file that could not be replaced failed for a reason of its
// own (so that its video is skipped and the run goes on), rather than for
// one of its folder or file system, which would fail every later file too.
bool IsTheFilesOwnFailure(const os::Error& error) {
  switch (error.kind) {
    case os::ErrorKind::kPermission:
    case os::ErrorKind::kIsFolder:
    case os::ErrorKind::kNotFolder:
    case os::ErrorKind::kNameTooLong:
    case os::ErrorKind::kBusy:  // a mount at its name, a program running it
    case os::ErrorKind::kHeldByAnotherProgram:
    case os::ErrorKind::kImmutable:
    case os::ErrorKind::kAppendOnly:
      return true;
    default:
      return false;
  }
}

// The name the song manager reads: the GBK name without its extension. Two
// names are one to it when these differ only in letter case, of any letter
// GBK holds in two cases (text::CompareFoldingCase).
std::string_view NameKey(const VideoFile& file) { return StemView(file.name.gbk); }

bool EndsWithKsc(std::string_view name) {
  return name.size() >= 4 && text::CompareFoldingCase(name.substr(name.size() - 4), ".ksc") == 0;
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
        fs_(request.file_system ? *request.file_system : os::SystemFileSystem()),
        today_(ShortDateText(request.clock ? request.clock() : std::time(nullptr))),
        keep_dates_(!request.date_text && request.folder_role != kRoleDateAdded) {
    for (const VideoFolder& f : folders) result_.listed += f.files.size();
  }

  BatchResult Go() {
    if (!request_.naming_template || *request_.naming_template < 0 ||
        *request_.naming_template >= kTemplateCount ||
        (*request_.naming_template == kTemplateCustom && !request_.name_pattern)) {
      return Fail(BatchStatus::kNoTemplate, messages::NoTemplate());
    }
    if (request_.number_from_name && request_.start_number) {
      return Fail(BatchStatus::kBadOptions, messages::kTwoNumberings);
    }
    if (request_.number_from_name && *request_.naming_template == kTemplateTitle) {
      return Fail(BatchStatus::kBadOptions, messages::kNoNumbersUnderTitleTemplate);
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
      result_.failure += messages::WrittenBeforeStop(result_.written(), result_.not_reached);
    }
    return std::move(result_);
  }

 private:
  static constexpr std::uint32_t kNone = static_cast<std::uint32_t>(-1);

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
    order_ = {};
    winner_ = {};
    previous_ = {};
    skip_reasons_ = {};
    other_spelling_ = {};
    stale_ = {};
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
    std::unique_ptr<os::Folder> lock;
    os::Error error = OpenAndLock(folder, &lock);
    if (error.kind == os::ErrorKind::kLocked) {
      Stop(BatchStatus::kLocked, messages::FolderLocked(folder.path));
      ForgetFolder();
      return false;
    }
    if (error.failed()) {
      Stop(BatchStatus::kWriteFailed, messages::CannotWriteInFolder(folder.path, error));
      ForgetFolder();
      return false;
    }
    if (folder.name_not_in_gbk && request_.folder_role != kRoleNone) {
      result_.warnings.push_back(
          messages::FolderNameNotInGbk(folder.relative == "." ? folder.path : folder.relative));
    }
    GroupSameNames(folder);
    error = FindKscFilesSpelledOtherwise(folder);
    if (error.failed()) {
      // Without the whole listing a KSC file under another case could be
      // joined by a second one.
      Stop(BatchStatus::kWriteFailed, messages::CannotReadFolder(folder.path, error));
      ForgetFolder();
      return false;
    }

    const std::size_t first_index = done_;
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
      if (!Video(folder, first_index, i, report)) {
        keep_going = false;
        break;
      }
      if (report.outcome == VideoOutcome::kCreated || report.outcome == VideoOutcome::kUpdated ||
          report.outcome == VideoOutcome::kUnchanged) {
        ++count_.ksc_files;
      }
      ++done_;
      if (observer_) observer_->OnVideo(report, done_, result_.listed);
    }
    if (!folder.files.empty()) result_.folders.push_back(std::move(count_));
    if (wrote_in_folder_) {
      // The folder's own entries now; its file system's data once, at the end.
      error = handle_->Sync(false);
      if (error.failed() && keep_going) {
        Stop(BatchStatus::kWriteFailed, messages::CannotSync(folder.path, error));
        keep_going = false;
      }
      KeepForSync(folder.path);
    }
    ForgetFolder();
    return keep_going;
  }

  // Names the song manager cannot tell apart are one name: those that differ
  // only in letter case, or whose spellings (UTF-8 and GBK) give the
  // same GBK bytes. Of each such group the last video in list order writes
  // the KSC file; each of the others is linked to the one before it. Sorted
  // indices rather than a map of names: a large folder costs four bytes a
  // video here.
  void GroupSameNames(const VideoFolder& folder) {
    const std::vector<VideoFile>& files = folder.files;
    skip_reasons_.assign(files.size(), "");
    winner_.assign(files.size(), kNone);
    previous_.assign(files.size(), kNone);
    order_.clear();
    for (std::size_t i = 0; i < files.size(); ++i) {
      skip_reasons_[i] = SkipReason(files[i]);
      if (*skip_reasons_[i] == '\0') order_.push_back(static_cast<std::uint32_t>(i));
    }
    std::sort(order_.begin(), order_.end(), [&](std::uint32_t a, std::uint32_t b) {
      const int c = text::CompareFoldingCase(NameKey(files[a]), NameKey(files[b]));
      return c != 0 ? c < 0 : a < b;
    });
    for (std::size_t k = 0; k < order_.size();) {
      std::size_t end = k + 1;
      while (end < order_.size() && text::CompareFoldingCase(NameKey(files[order_[end]]),
                                                             NameKey(files[order_[k]])) == 0) {
        previous_[order_[end]] = order_[end - 1];
        ++end;
      }
      for (std::size_t j = k; j < end; ++j) winner_[order_[j]] = order_[end - 1];
      k = end;
    }
  }

  // The video whose name is one with `gbk_stem`, if any: the one that writes.
  std::uint32_t WinnerFor(const VideoFolder& folder, std::string_view gbk_stem) const {
    auto it = std::lower_bound(order_.begin(), order_.end(), gbk_stem,
                               [&](std::uint32_t a, std::string_view key) {
                                 return text::CompareFoldingCase(NameKey(folder.files[a]), key) < 0;
                               });
    if (it == order_.end() || text::CompareFoldingCase(NameKey(folder.files[*it]), gbk_stem) != 0) {
      return kNone;
    }
    return winner_[*it];
  }

  // A KSC file already in the folder under a name the song manager takes
  // for a video's own (other letter case, the other spelling of the same
  // GBK name) is that video's KSC file: it is replaced under the name it
  // has, not joined by a second one. The name looked for first wins when
  // it is there, else the first of the others in byte order; every other
  // one is stale, left as it is and named, for the song manager sees only
  // one of them.
  os::Error FindKscFilesSpelledOtherwise(const VideoFolder& folder) {
    other_spelling_.clear();
    stale_.clear();
    if (order_.empty()) return {};
    std::vector<bool> own_name_found(folder.files.size());
    std::vector<std::pair<std::uint32_t, std::string>> others;  // by video
    os::Error error = handle_->ForEachEntry([&](os::FolderEntry& e) {
      if (!EndsWithKsc(e.name)) return;
      const text::DecodedName decoded = text::DecodeFileName(e.name);
      if (decoded.problem != text::NameProblem::kNone) return;
      const std::uint32_t w =
          WinnerFor(folder, std::string_view(decoded.gbk).substr(0, decoded.gbk.size() - 4));
      if (w == kNone) return;
      const std::string_view stem = StemView(folder.files[w].native_name);
      if (e.name.size() == stem.size() + 4 && e.name.compare(0, stem.size(), stem) == 0 &&
          e.name.compare(stem.size(), 4, ".KSC") == 0) {
        own_name_found[w] = true;
        return;
      }
      others.emplace_back(w, std::move(e.name));
    });
    std::sort(others.begin(), others.end());
    const bool recursive = folders_.size() > 1;
    for (std::size_t k = 0; k < others.size(); ++k) {
      const std::uint32_t w = others[k].first;
      if (!own_name_found[w] && (k == 0 || others[k - 1].first != w)) {
        other_spelling_.emplace(w, std::move(others[k].second));
        continue;
      }
      std::string shown = text::DisplayName(others[k].second);
      if (recursive && folder.relative != ".") {
        shown = text::DisplayName(folder.relative) + "/" + shown;
      }
      result_.warnings.push_back(messages::StaleKscFile(shown));
      stale_[w].push_back(text::DisplayName(others[k].second));
    }
    return error;
  }

  // The next number, past those that KSC files left alone hold.
  void TakeNumber(SongInfo& song) {
    if (!number_) return;
    taken_from_ = *number_;
    do {
      ++*number_;
    } while (held_numbers_.count(*number_) != 0);
    song.number = FormatSongNumber(*number_);
  }

  // The number a video's name carries, as its song number; the first video
  // of the run to carry each number is named in the notes of the others.
  void NumberFromName(VideoReport& report) {
    SongInfo& song = report.song;
    if (song.name_number.empty()) {
      report.name_findings.push_back({NameFindingKind::kNoNameNumber, std::string()});
      return;
    }
    song.number = SongNumberFromName(song.name_number);
    const auto [first, fresh] = name_numbers_.try_emplace(song.number, report.index);
    if (!fresh) {
      report.name_findings.push_back(
          {NameFindingKind::kSameNameNumber, std::to_string(first->second + 1)});
    }
  }

  // A video skipped after it took a number gives it back: only the videos
  // whose KSC files hold their numbers take them, so there are no gaps.
  void GiveBackNumber(SongInfo& song) {
    if (!number_) return;
    *number_ = taken_from_;
    song.number.clear();
  }

  // A KSC file left alone keeps the number it holds: a number still to come
  // is stepped over, so that no two songs share it; one given already in
  // this run is a clash the note names.
  void KeepHeldNumber(const VideoFolder& folder, const VideoFile& file, std::int64_t held) {
    if (!number_ || held <= *request_.start_number) return;
    const std::string shown = ShownName(folder, file, folders_.size() > 1);
    if (held > *number_) {
      held_numbers_.insert(held);
      result_.warnings.push_back(messages::HeldNumberSteppedOver(shown, FormatSongNumber(held)));
    } else {
      result_.warnings.push_back(messages::HeldNumberGivenTwice(shown, FormatSongNumber(held)));
    }
  }

  void Skip(const VideoFolder& folder, const VideoFile& file, VideoReport& report,
            std::string reason) {
    const bool recursive = folders_.size() > 1;
    result_.skipped.push_back({ShownName(folder, file, recursive), reason});
    report.outcome = VideoOutcome::kSkipped;
    report.skip_reason = std::move(reason);
  }

  // Returns false when the run must end.
  bool Video(const VideoFolder& folder, std::size_t first_index, std::size_t i,
             VideoReport& report) {
    const VideoFile& file = folder.files[i];
    const bool recursive = folders_.size() > 1;
    if (const char* reason = skip_reasons_[i]; *reason != '\0') {
      Skip(folder, file, report, reason);
      return true;
    }

    SongInfo& song = report.song;
    song = DeriveSong(request_, today_, folder.folder_name, BaseNameView(file.name.gbk),
                      &report.name_findings);
    song.video_name = file.name.gbk;
    std::string ksc_native = std::string(StemView(file.native_name)) + ".KSC";
    report.ksc_name = std::string(StemView(file.name.gbk)) + ".KSC";
    if (auto it = other_spelling_.find(static_cast<std::uint32_t>(i));
        it != other_spelling_.end()) {
      ksc_native = it->second;
      report.ksc_name = text::DecodeFileName(ksc_native).gbk;
    }
    song.ksc_path = os::JoinPath(folder.path, ksc_native);

    const std::size_t winner = winner_[i];
    if (winner != i) {
      report.outcome = VideoOutcome::kSuperseded;
      report.same_ksc_as = first_index + winner;
      result_.same_ksc.push_back(
          {ShownName(folder, file, recursive), ShownName(folder, folder.files[winner], recursive)});
      return true;
    }
    if (previous_[i] != kNone) report.same_ksc_as = first_index + previous_[i];
    if (auto it = stale_.find(static_cast<std::uint32_t>(i)); it != stale_.end()) {
      report.stale_ksc_files = it->second;
    }

    // Numbers only for the videos whose KSC files hold them: no gaps.
    TakeNumber(song);
    if (request_.number_from_name) NumberFromName(report);
    std::string text;
    os::Error unread;
    std::optional<std::int64_t> held;
    const KscAction action = Plan(ksc_native, song, &text, report, &unread, &held);
    if (unread.failed()) {
      GiveBackNumber(song);
      Stop(BatchStatus::kWriteFailed, messages::CannotReadKscFileAt(song.ksc_path, unread));
      return false;
    }
    switch (action) {
      case KscAction::kUnchanged:
        report.outcome = VideoOutcome::kUnchanged;
        ++result_.unchanged;
        return true;
      case KscAction::kProtected:
      case KscAction::kNotAFile:
      case KscAction::kUnreadable:
        GiveBackNumber(song);
        if (held) KeepHeldNumber(folder, file, *held);
        return true;  // skipped by Plan, with the reason
      case KscAction::kCreate:
        report.outcome = VideoOutcome::kCreated;
        break;
      case KscAction::kUpdate:
        report.outcome = VideoOutcome::kUpdated;
        break;
    }
    if (!request_.dry_run) {
      WriteStatus status = WriteFileReplacing(*handle_, ksc_native, text);
      if (!status.ok() && status.failure == WriteFailure::kKscFile &&
          IsTheFilesOwnFailure(status.error)) {
        GiveBackNumber(song);
        Skip(folder, file, report, messages::CannotReplaceKscFile(status.error));
        return true;
      }
      if (!status.ok()) {
        Stop(BatchStatus::kWriteFailed,
             status.failure == WriteFailure::kFolder
                 ? messages::CannotWriteInFolder(folder.path, status.error)
                 : messages::CannotWriteKscFile(song.ksc_path, status.error));
        return false;
      }
      wrote_in_folder_ = true;
      if (!status.lost_attributes.empty()) {
        report.lost_attributes = std::move(status.lost_attributes);
        result_.warnings.push_back(
            messages::AttributesLost(ShownName(folder, file, recursive), report.lost_attributes));
      }
    }
    ++(report.outcome == VideoOutcome::kCreated ? result_.created : result_.updated);
    return true;
  }

  // Reads what stands at the KSC file's name, settles the song's date (an
  // existing file keeps its own unless the request sets one), puts the text
  // in `*text` and decides what writing it does. A file left alone skips
  // its video here, and the song number it holds, if any, is put in
  // `*held`; a read that fails for the disk's sake, which would fail for
  // every later file too, is put in `*unread` to stop the run.
  KscAction Plan(const std::string& ksc_native, SongInfo& song, std::string* text,
                 VideoReport& report, os::Error* unread, std::optional<std::int64_t>* held) {
    os::Existing existing;
    os::Error error;
    if (keep_dates_) {
      error = handle_->ReadExisting(ksc_native, kLargestKscFile, &existing);
      if (!error.failed()) song.date_text = KscDateText(existing.bytes).value_or(today_);
      *text = FormatKscText(song);
    } else {
      *text = FormatKscText(song);
      error = ReadExistingKsc(*handle_, ksc_native, text->size(), request_.force, &existing);
    }
    if (error.failed()) {
      // A file that cannot be read for a reason of its own (another user's,
      // a name too long) is left as it is: what it holds is unknown, and
      // would be lost.
      if (!IsTheFilesOwnFailure(error)) {
        *unread = error;
        return KscAction::kUnreadable;
      }
      Skip(*report.folder, *report.file, report, messages::CannotReadKscFile(error));
      return KscAction::kUnreadable;
    }
    const KscAction action = PlanKscFile(existing, *text, request_.force);
    if (action == KscAction::kProtected || action == KscAction::kNotAFile) {
      Skip(*report.folder, *report.file, report, LeftAloneReason(existing));
    }
    if (action == KscAction::kProtected && number_) {
      // Read whole only now: deciding needed no more than the text's size.
      if (existing.bytes.empty() &&
          handle_->ReadExisting(ksc_native, kLargestKscFile, &existing).failed()) {
        return action;  // its number unknown: nothing to step over
      }
      *held = KscSongNumber(existing.bytes);
    }
    return action;
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
  BatchResult result_;
  std::optional<std::int64_t> number_;
  std::int64_t taken_from_ = 0;          // the number before the last one taken
  std::set<std::int64_t> held_numbers_;  // by KSC files left alone, still to come
  // Numbering from the names: each number given, and the first video given it.
  std::unordered_map<std::string, std::size_t> name_numbers_;
  std::size_t done_ = 0;
  bool wrote_in_folder_ = false;
  std::unique_ptr<os::Folder> handle_;  // the folder being worked in
  FolderCount count_;                   // its KSC files
  // A folder written in on each file system (by device), kept open to flush it.
  std::map<std::uint64_t, std::pair<std::string, std::unique_ptr<os::Folder>>> to_sync_;
  // Of the folder being worked in, by video: why it is skipped (empty when
  // it is not), the video that writes its KSC file, the earlier video of
  // its name; and the videos not skipped, in the order of their names.
  std::vector<const char*> skip_reasons_;
  std::vector<std::uint32_t> winner_;
  std::vector<std::uint32_t> previous_;
  std::vector<std::uint32_t> order_;
  // KSC files found under another spelling of their video's name, by video.
  std::unordered_map<std::uint32_t, std::string> other_spelling_;
  // The other KSC files of one name with a video's, left stale, by video.
  std::unordered_map<std::uint32_t, std::vector<std::string>> stale_;
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
