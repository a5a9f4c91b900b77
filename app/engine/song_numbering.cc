#include "app/engine/song_numbering.h"

#include "app/engine/messages.h"
#include "app/engine/start_number.h"

namespace kscgen {

void SongNumbering::Take(VideoReport& report) {
  TakeNext(report.song);
  if (from_name_) TakeFromName(report);
}

// The next number, past those that KSC files left alone hold.
void SongNumbering::TakeNext(SongInfo& song) {
  if (!next_) return;
  taken_from_ = *next_;
  do {
    ++*next_;
  } while (held_numbers_.count(*next_) != 0);
  song.number = FormatSongNumber(*next_);
}

// The number a video's name carries; the first video of the run to carry
// each number is named in the notes of the others.
void SongNumbering::TakeFromName(VideoReport& report) {
  SongInfo& song = report.song;
  if (song.name_number.empty()) {
    report.name_findings.push_back({NameFindingKind::kNoNameNumber, std::string()});
    return;
  }
  const std::optional<std::string> number = SongNumberFromName(song.name_number);
  if (!number) {
    report.name_findings.push_back({NameFindingKind::kNumberTooLarge, song.name_number});
    return;
  }
  song.number = *number;
  const auto [first, fresh] = name_numbers_.try_emplace(song.number, report.index);
  if (!fresh) {
    report.name_findings.push_back(
        {NameFindingKind::kSameNameNumber, std::to_string(first->second + 1)});
  }
}

void SongNumbering::GiveBack(SongInfo& song) {
  if (!next_) return;
  *next_ = taken_from_;
  song.number.clear();
}

std::string SongNumbering::KeepHeld(std::string_view shown, std::int64_t held) {
  if (!next_ || held <= *start_) return std::string();
  if (held > *next_) {
    held_numbers_.insert(held);
    return messages::HeldNumberSteppedOver(shown, FormatSongNumber(held));
  }
  return messages::HeldNumberGivenTwice(shown, FormatSongNumber(held));
}

}  // namespace kscgen
