// Any base name and folder name, under every template and folder role.
#include "fuzz_input.h"
#include "tagging/file_name.h"
#include "tagging/pinyin.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace kscgen;
  if (size < 2) return 0;
  const int naming_template = data[0] % kTemplateCount;
  const int folder_role = data[1] % kRoleCount;
  auto pieces = fuzz::Pieces(data + 2, size - 2, 2);
  TSongInfo song;
  ParseSongName(naming_template, folder_role, pieces[0], pieces[1], song);
  song.Abbrev = PinyinInitials(song.Title, kAbbrevLimit);
  fuzz::Check(fuzz::AreWellFormedInitials(song.Abbrev, song.Title));
  fuzz::Check(song.Channel.size() == 1 && song.Channel[0] >= '0' && song.Channel[0] <= '9');
  fuzz::Check(song.Title.size() <= pieces[0].size());
  return 0;
}
