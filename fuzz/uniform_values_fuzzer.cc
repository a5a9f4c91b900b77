// Entries built from any kind and value, collected and applied to a song.
#include "fuzz_input.h"
#include "tagging/classification.h"
#include "tagging/uniform_values.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace kscgen;
  auto pieces = fuzz::Pieces(data, size, 4);
  std::vector<UniformEntry> entries;
  for (std::size_t i = 0; i + 1 < pieces.size(); i += 2) {
    UniformEntryParse parse = ParseUniformEntry(pieces[i], pieces[i + 1]);
    if (parse.error != UniformEntryError::kNone) continue;
    fuzz::Check(!parse.entry.value.empty());
    entries.push_back(parse.entry);
  }
  TSongInfo song;
  ApplyUniformValues(CollectUniformValues(entries), song);
  fuzz::Check(song.Channel.size() == 1 && song.Channel[0] >= '0' && song.Channel[0] <= '3');
  fuzz::Check(song.Language == ClassifyLanguage(song.Language));  // a value of the vocabulary
  fuzz::Check(song.Style == ClassifyStyle(song.Style));
  fuzz::Check(song.Singer.size() <= kUniformSingerMax);
  return 0;
}
