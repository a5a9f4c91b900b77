// The song numbers one run gives: counted on from the start number, or
// taken from the videos' names.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <unordered_map>

#include "app/engine/batch.h"

namespace kscgen {

class SongNumbering {
 public:
  explicit SongNumbering(const BatchRequest& request)
      : start_(request.start_number),
        next_(request.start_number),
        from_name_(request.number_from_name) {}

  // Gives the song of `report` its number. Only the videos whose KSC files
  // hold their numbers take them, so that there are no gaps.
  void Take(VideoReport& report);

  // A video skipped after it took a number gives it back.
  void GiveBack(SongInfo& song);

  // A KSC file left alone, named `shown`, keeps the number it holds: a
  // number still to come is stepped over, so that no two songs share it; one
  // given already in this run is a clash. Returns the warning that says
  // which, or the empty text when counting is off or `held` is not in the
  // run's range.
  std::string KeepHeld(std::string_view shown, std::int64_t held);

  // Whether numbers are counted on from a start number.
  bool counting() const { return next_.has_value(); }

 private:
  void TakeNext(SongInfo& song);
  void TakeFromName(VideoReport& report);

  const std::optional<std::int64_t> start_;
  std::optional<std::int64_t> next_;  // the number last given
  const bool from_name_;
  std::int64_t taken_from_ = 0;          // the number before the last one taken
  std::set<std::int64_t> held_numbers_;  // by KSC files left alone, still to come
  // Numbering from the names: each number given, and the first video given it.
  std::unordered_map<std::string, std::size_t> name_numbers_;
};

}  // namespace kscgen
