// Entries built from any kind and value, collected and applied to a song.
#include "fuzz_input.h"
#include "tagging/classification.h"
#include "tagging/uniform_values.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace kscgen;
  auto pieces = fuzz::Pieces(data, size, 4);
  std::vector<UniformEntry> entries;
  const std::string* first_singer = nullptr;
  for (std::size_t i = 0; i + 1 < pieces.size(); i += 2) {
    UniformEntryParse parse = ParseUniformEntry(pieces[i], pieces[i + 1]);
    if (parse.error != UniformEntryError::kNone) continue;
    fuzz::Check(!parse.entry.value.empty());
    entries.push_back(parse.entry);
  }
  for (const UniformEntry& e : entries) {
    if (e.kind == kUniformSinger && !first_singer) first_singer = &e.value;
  }
  SongInfo song;
  ApplyUniformValues(CollectUniformValues(entries), song);
  fuzz::Check(song.channel.size() == 1 && song.channel[0] >= '0' && song.channel[0] <= '3');
  fuzz::Check(song.language == ClassifyLanguage(song.language));  // a value of the vocabulary
  fuzz::Check(song.style == ClassifyStyle(song.style));
  // The first singer entry is taken whole, whatever its length.
  fuzz::Check(first_singer ? song.singer == *first_singer : song.singer.empty());
  return 0;
}
