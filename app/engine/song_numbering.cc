#include "app/engine/song_numbering.h"

#include <limits>

#include "app/engine/messages.h"
#include "app/engine/start_number.h"

namespace kscgen {

namespace {

// The number of a key, when the song manager can hold it.
std::optional<std::int64_t> ValueOf(const std::string& key) {
  if (key.size() > 10) return std::nullopt;
  const std::int64_t value = std::stoll(key);
  if (value > kLargestSongNumber) return std::nullopt;
  return value;
}

}  // namespace

std::string NumberKey(std::string_view digits) {
  const std::size_t first = digits.find_first_not_of('0');
  if (first == std::string_view::npos) return digits.empty() ? std::string() : "0";
  return std::string(digits.substr(first));
}

void SongNumbering::Propose(VideoReport& report) const {
  SongInfo& song = report.song;
  if (next_) {
    std::int64_t next = *next_;
    do {
      ++next;
    } while (held_numbers_.count(next) != 0);
    song.number = FormatSongNumber(next);
  }
  if (!from_name_) return;
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
  const auto first = name_numbers_.find(NumberKey(song.name_number));
  if (first != name_numbers_.end()) {
    report.name_findings.push_back(
        {NameFindingKind::kSameNameNumber, std::to_string(first->second + 1)});
  }
}

std::string SongNumbering::Commit(const VideoReport& report) {
  if (next_) {
    do {
      ++*next_;
    } while (held_numbers_.count(*next_) != 0);
  }
  if (!from_name_ || report.song.number.empty()) return std::string();
  const std::string key = NumberKey(report.song.name_number);
  name_numbers_.try_emplace(key, report.index);
  const auto held = held_by_name_.find(key);
  if (held == held_by_name_.end()) return std::string();
  std::string warning = messages::HeldNumberGivenTwice(held->second, report.song.number);
  held_by_name_.erase(held);
  return warning;
}

std::string SongNumbering::KeepHeld(std::string_view shown, std::string_view digits,
                                    bool kept_by_hand) {
  if (digits.empty() || (!next_ && !from_name_)) return std::string();
  const std::string holder = messages::NumberHolder(shown, kept_by_hand);
  if (digits.find_first_not_of("0123456789") != std::string_view::npos) {
    return messages::HeldNumberNotANumber(holder, digits);
  }
  const std::string key = NumberKey(digits);
  const std::optional<std::int64_t> held = ValueOf(key);
  if (!held) return messages::HeldNumberTooLarge(holder, key, kLargestSongNumber);
  if (from_name_) {
    if (name_numbers_.count(key) != 0) {
      return messages::HeldNumberGivenTwice(holder, FormatSongNumber(*held));
    }
    held_by_name_.emplace(key, holder);
    return std::string();
  }
  if (*held <= *start_) return std::string();
  if (*held > *next_) {
    held_numbers_.insert(*held);
    return messages::HeldNumberSteppedOver(holder, FormatSongNumber(*held));
  }
  return messages::HeldNumberGivenTwice(holder, FormatSongNumber(*held));
}

}  // namespace kscgen
