// The song numbers one run gives: counted on from the start number, or
// taken from the videos' names. A video's number is proposed before its KSC
// file is planned and given only once the file holds it, so a video that is
// skipped or fails takes none and leaves no gap.
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
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

  // Puts the number the video of `report` would get in its song, and a note
  // on its name where numbering from names finds none or one given before.
  // Nothing is given yet.
  void Propose(VideoReport& report) const;

  // The KSC file of `report`'s video holds the number proposed: it is given.
  // Returns a warning when a file left alone holds it too, else the empty text.
  std::string Commit(const VideoReport& report);

  // A KSC file left alone, named `shown`, keeps the number it holds
  // (`digits`, any count), as does one whose number a person changed
  // (`kept_by_hand`): a number still to come is stepped over, so that
  // no two songs share it; one given already in this run is a clash; one
  // past the largest the song manager holds, or no number at all, is named
  // as such. Returns the
  // warning that says which, or the empty text when there is none.
  std::string KeepHeld(std::string_view shown, std::string_view digits, bool kept_by_hand);

 private:
  const std::optional<std::int64_t> start_;
  std::optional<std::int64_t> next_;  // the number last given
  const bool from_name_;
  std::set<std::int64_t> held_numbers_;  // by KSC files left alone, still to come
  // Numbering from the names: each number given (without its leading
  // zeros), and the first video given it.
  std::unordered_map<std::string, std::size_t> name_numbers_;
  // Numbers KSC files left alone hold, not yet given from a name: who holds
  // each (NumberHolder).
  std::map<std::string, std::string> held_by_name_;
};

// `digits` without leading zeros ("0" for zeros only): the number they
// stand for, at any length.
std::string NumberKey(std::string_view digits);

}  // namespace kscgen
