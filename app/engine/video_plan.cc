#include "app/engine/video_plan.h"

#include "app/engine/messages.h"
#include "ksc/ksc_file.h"
#include "tagging/pinyin.h"

namespace kscgen {

namespace {

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
    case os::Existing::kForeignOwner:
      return messages::kKscForeignOwner;
    case os::Existing::kForeignGroup:
      return messages::kKscForeignGroup;
    case os::Existing::kReadOnly:
    case os::Existing::kNotProtected:
      break;
  }
  return messages::kKscReadOnly;
}

std::size_t At(KscField field) { return static_cast<std::size_t>(field); }

void SetSong(const KscValues& v, SongInfo* song) {
  song->number = v[At(KscField::kNumber)];
  song->title = v[At(KscField::kTitle)];
  song->abbrev = v[At(KscField::kAbbrev)];
  song->singer = v[At(KscField::kSinger)];
  song->language = v[At(KscField::kLanguage)];
  song->style = v[At(KscField::kStyle)];
  song->channel = v[At(KscField::kChannel)];
  song->date_text = v[At(KscField::kDate)];
  song->singer_pinyin = v[At(KscField::kSingerPinyin)];
  song->video_name = v[At(KscField::kVideo)];
}

VideoPlan Skipped(std::string reason) {
  VideoPlan plan;
  plan.action = VideoPlan::kSkip;
  plan.skip_reason = std::move(reason);
  return plan;
}

// Whether the run leaves `field` as the file holds it (a date, a number it
// gives none of).
bool KeptAsItIs(const VideoInput& input, KscField field) {
  return (field == KscField::kDate && input.keep_date) ||
         (field == KscField::kNumber && input.keep_number);
}

// The values `script` gets: kscgen's, but for those a person changed since
// kscgen last wrote them (kept unless forced; for those, what kscgen wrote
// in `*wrote`), and the values that follow from a kept title or singer.
// Fills the plan's record and kept edits.
KscValues MergedValues(const VideoInput& input, const KscScript& script, VideoPlan* plan,
                       KscOptionalValues* wrote) {
  KscValues values = KscValuesOf(input.song);
  plan->record = values;
  std::array<bool, kKscFieldCount> kept{};
  for (std::size_t f = 0; f < kKscFieldCount; ++f) {
    if (!input.record || input.force) break;
    // Any line of the value that says other than kscgen wrote: a person's.
    const std::optional<std::string> held =
        script.ValueOtherThan(static_cast<KscField>(f), (*input.record)[f]);
    if (!held) continue;
    // A date or number the run leaves as it is stays recorded as what
    // kscgen wrote: a person's value stays theirs for the runs that set it.
    if (KeptAsItIs(input, static_cast<KscField>(f))) {
      plan->record[f] = (*input.record)[f];
      continue;
    }
    kept[f] = true;
    (*wrote)[f] = ValueAsWritten((*input.record)[f]);
    values[f] = *held;
    plan->record[f] = (*input.record)[f];
    plan->kept.edits.emplace_back(static_cast<KscField>(f), *held);
  }
  // What follows from a kept title or singer is kscgen's, and recorded as
  // what it wrote.
  auto follow = [&](KscField field, std::string value) {
    if (kept[At(field)]) return;
    values[At(field)] = value;
    plan->record[At(field)] = std::move(value);
  };
  const std::string& title = values[At(KscField::kTitle)];
  if (kept[At(KscField::kTitle)]) {
    follow(KscField::kAbbrev, PinyinInitials(title, kAbbrevLimit));
    follow(KscField::kWordCount, std::to_string(title.size()));
  }
  if (kept[At(KscField::kSinger)]) {
    follow(KscField::kSingerPinyin, SingerInitials(values[At(KscField::kSinger)]));
  }
  if (kept[At(KscField::kNumber)]) plan->held_number = values[At(KscField::kNumber)];
  plan->takes_number = !kept[At(KscField::kNumber)];
  for (std::string& v : plan->record) v = ValueAsWritten(std::move(v));
  return values;
}

// The plan for a file that is kscgen's own 28 lines for the song, with the
// date and the number it holds where it keeps them, byte for byte: the
// common re-run, decided without reading the file line by line. None for
// any other file.
std::optional<VideoPlan> PlanOverOwnFile(const VideoInput& input, const os::Existing& file) {
  SongInfo song = input.song;
  auto keep = [&file](KscField field, std::string* value) {
    const std::optional<std::string_view> own = KscOwnValue(file.bytes, field);
    if (own) value->assign(*own);
    return own.has_value();
  };
  if (input.keep_date && !keep(KscField::kDate, &song.date_text)) return std::nullopt;
  if (input.keep_number && !keep(KscField::kNumber, &song.number)) return std::nullopt;
  std::string text = FormatKscText(song);
  if (text != file.bytes) return std::nullopt;
  VideoPlan plan;
  plan.action = input.force && !file.write_protected ? VideoPlan::kUpdate : VideoPlan::kUnchanged;
  plan.text = std::move(text);
  plan.record = KscValuesOf(song);
  for (std::string& v : plan.record) v = ValueAsWritten(std::move(v));
  // As in MergedValues: a date or number left as a person set it stays
  // recorded as kscgen's own.
  for (KscField field : {KscField::kDate, KscField::kNumber}) {
    const std::size_t f = At(field);
    if (!input.record || input.force || !KeptAsItIs(input, field)) continue;
    const std::string wrote = ValueAsWritten((*input.record)[f]);
    if (!GivesValue(field, plan.record[f], wrote)) plan.record[f] = wrote;
  }
  plan.song = std::move(song);
  plan.takes_number = true;
  return plan;
}

// Why `script` cannot take kscgen's values without breaking: a statement
// not whole on its line, one inside another, a comment that never ends.
std::optional<std::string> UnmergeableReason(const KscScript& script) {
  if (script.incomplete_line() != 0) {
    return messages::KscStatementIncomplete(script.incomplete_line());
  }
  if (script.hidden_line() != 0) return messages::KscStatementUnreadable(script.hidden_line());
  if (script.unclosed_comment_line() != 0) {
    return messages::KscCommentUnclosed(script.unclosed_comment_line());
  }
  return std::nullopt;
}

// The values `values` changes in `script`: each a line gives otherwise, or
// none gives.
std::vector<ValueChange> ChangesOf(const KscScript& script, const KscValues& values) {
  std::vector<ValueChange> changes;
  for (std::size_t f = 0; f < kKscFieldCount; ++f) {
    const std::optional<std::string>& before = script.Value(static_cast<KscField>(f));
    if (!before || !GivesValue(static_cast<KscField>(f), *before, ValueAsWritten(values[f]))) {
      changes.push_back({static_cast<KscField>(f), before, values[f]});
    }
  }
  return changes;
}

// The plan for a regular file whose bytes were read.
VideoPlan PlanOver(const VideoInput& input, const os::Existing& file) {
  if (file.size > kLargestKscFile) return Skipped(messages::KscFileTooLarge(kLargestKscFile));
  if (file.bytes.size() != file.size) return Skipped(messages::kKscChangedWhileRead);
  if (std::optional<VideoPlan> own = PlanOverOwnFile(input, file)) return std::move(*own);
  KscEncoding encoding = KscEncoding::kGbk;
  std::optional<std::string> gbk = KscTextAsGbk(file.bytes, &encoding);
  if (!gbk) return Skipped(messages::KscTextNotInGbk(encoding));
  KscScript script(std::move(*gbk));
  if (std::optional<std::string> reason = UnmergeableReason(script)) {
    return Skipped(std::move(*reason));
  }

  VideoInput derived = input;
  if (input.keep_date)
    derived.song.date_text = script.Value(KscField::kDate).value_or(input.song.date_text);
  if (input.keep_number)
    derived.song.number = script.Value(KscField::kNumber).value_or(input.song.number);
  VideoPlan plan;
  // Of a value a person changed, the lines kscgen wrote get the person's
  // value; the person's own stay as they are (two may hold two changes).
  KscOptionalValues wrote{};
  const KscValues values = MergedValues(derived, script, &plan, &wrote);
  plan.text = script.Merge(values, wrote);
  // Never past the limit: the next run could not read it back.
  if (plan.text.size() > kLargestKscFile)
    return Skipped(messages::KscFileTooLarge(kLargestKscFile));
  plan.song = input.song;
  SetSong(values, &plan.song);
  plan.merged = plan.text != FormatKscText(plan.song);
  if (plan.text == file.bytes && (!input.force || file.write_protected)) {
    plan.action = VideoPlan::kUnchanged;
    return plan;
  }
  if (file.write_protected) {
    VideoPlan skipped = Skipped(LeftAloneReason(file));
    skipped.held_number = script.Value(KscField::kNumber);
    return skipped;
  }
  // Which of its values a person changed cannot be told: all stay.
  if (input.record_unreadable && !input.force) {
    VideoPlan skipped = Skipped(messages::kRecordUnreadable);
    skipped.held_number = script.Value(KscField::kNumber);
    return skipped;
  }
  plan.action = VideoPlan::kUpdate;
  plan.changes = ChangesOf(script, values);
  plan.kept.lyric_lines = script.lyric_lines();
  plan.kept.other_lines = script.other_lines();
  if (encoding != KscEncoding::kGbk) plan.kept.converted_from = encoding;
  return plan;
}

}  // namespace

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
    case os::ErrorKind::kChangedSinceRead:  // another program saved it: its save stays
      return true;
    default:
      return false;
  }
}

VideoPlan PlanVideo(const VideoInput& input, const ExistingKsc& existing) {
  if (existing.error.failed()) {
    // A file that cannot be read for a reason of its own (another user's,
    // a name too long) is left as it is: what it holds is unknown, and
    // would be lost.
    if (IsTheFilesOwnFailure(existing.error)) {
      return Skipped(messages::CannotReadKscFile(existing.error));
    }
    VideoPlan plan;
    plan.action = VideoPlan::kStopRun;
    plan.error = existing.error;
    return plan;
  }
  switch (existing.file.kind) {
    case os::Existing::kMissing: {
      VideoPlan plan;
      plan.action = VideoPlan::kCreate;
      plan.song = input.song;
      plan.text = FormatKscText(input.song);
      plan.takes_number = true;
      plan.record = KscValuesOf(input.song);
      for (std::string& v : plan.record) v = ValueAsWritten(std::move(v));
      return plan;
    }
    case os::Existing::kFolder:
    case os::Existing::kOther:
      return Skipped(LeftAloneReason(existing.file));
    case os::Existing::kRegular:
      break;
  }
  return PlanOver(input, existing.file);
}

}  // namespace kscgen
