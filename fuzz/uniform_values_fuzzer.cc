// Any list text applied to a song, and entries built from any kind and value.
#include "fuzz_input.h"
#include "tagging/classification.h"
#include "tagging/uniform_values.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace kscgen;
  auto pieces = fuzz::Pieces(data, size, 3);
  TSongInfo song;
  ApplyUniformValues(pieces[0], song);
  fuzz::Check(song.Channel.size() == 1 && song.Channel[0] >= '0' && song.Channel[0] <= '9');
  fuzz::Check(song.Language == ClassifyLanguage(song.Language));  // a value of the vocabulary
  fuzz::Check(song.Style == ClassifyStyle(song.Style));

  if (auto entry = MakeUniformEntry(pieces[1], pieces[2])) {
    std::string list = JoinUniformList({*entry});
    std::string kind = text::Trim(pieces[1]);
    // A kind whose entry's first arrow is its own finds its value back whole.
    if (entry->find(" --> ") == kind.size() && !kind.empty() &&
        kind.find("\r\n") == std::string::npos && pieces[2].find("\r\n") == std::string::npos) {
      auto value = ExtractUniformValue(list, kind);
      fuzz::Check(value && *value == text::Trim(pieces[2]));
    }
  }
  return 0;
}
