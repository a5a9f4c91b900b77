// Any base name and folder name, under every template and folder role.
#include "fuzz_input.h"
#include "tagging/file_name.h"
#include "tagging/pattern_reading.h"
#include "tagging/known_singers.h"
#include "tagging/pinyin.h"
#include "text/gbk_text.h"

namespace {

// Whether `value` is a run of whole characters of `source`: it starts and
// ends at character boundaries of `source`, never inside a character.
bool IsWholeCharactersOf(std::string_view value, std::string_view source) {
  if (value.empty()) return true;
  for (std::size_t p = 0; p < source.size(); p += kscgen::text::CharLength(source, p)) {
    if (source.compare(p, value.size(), value) != 0) continue;
    std::size_t end = p;
    while (end < p + value.size()) end += kscgen::text::CharLength(source, end);
    if (end == p + value.size()) return true;
  }
  return false;
}

bool HasBlankEnd(std::string_view value) {
  return !value.empty() && (kscgen::text::IsBlank(static_cast<unsigned char>(value.front())) ||
                            kscgen::text::IsBlank(static_cast<unsigned char>(value.back())));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace kscgen;
  if (size < 2) return 0;
  const NamingTemplate naming_template = *NamingTemplateOf(data[0] % kTemplateCount);
  const FolderRole folder_role = *FolderRoleOf(data[1] % kRoleCount);
  auto pieces = fuzz::Pieces(data + 2, size - 2, 3);
  SongInfo song;
  NameFindings findings;
  // Under 自定义 the third piece is the pattern; one that cannot be read is
  // refused before any name meets it.
  std::optional<NamePattern> pattern;
  if (naming_template == kTemplateCustom) pattern = CompileNamePattern(pieces[2]).pattern;
  // Under 自动识别 and the templates of singer and title it is another name
  // of the library, whose singer is learned.
  KnownSingers known;
  if (ReadsWithKnownSingers(naming_template)) known.Learn(pieces[2], folder_role, pieces[1]);
  if (pattern) {
    ParseSongName(*pattern, folder_role, pieces[0], pieces[1], song, &findings);
  } else {
    ParseSongName(naming_template, folder_role, pieces[0], pieces[1], song, &findings, &known);
  }
  // A bracket left in the title is always noted.
  for (std::string_view bracket : {"(", ")", "[", "]", "（", "）", "［", "］", "【", "】", "〖", "〗",
                                   "「", "」", "『", "』"}) {
    fuzz::Check(!text::Contains(song.title, bracket) || !findings.empty());
  }
  fuzz::Check(song.name_number.empty() ||
              song.name_number.find_first_not_of("0123456789") == std::string::npos);
  song.abbrev = PinyinInitials(song.title, kAbbrevLimit);
  fuzz::Check(fuzz::AreWellFormedInitials(song.abbrev, song.title));
  fuzz::Check(song.channel.size() == 1 && song.channel[0] >= '0' && song.channel[0] <= '3');
  // Values read from a name never begin or end with a blank.
  fuzz::Check(!HasBlankEnd(song.title) && !HasBlankEnd(song.singer));
  fuzz::Check(song.title.size() <= pieces[0].size());
  // Title and singer are cut from the names at character boundaries only.
  fuzz::Check(IsWholeCharactersOf(song.title, pieces[0]));
  fuzz::Check(song.singer == kUnknownSinger || IsWholeCharactersOf(song.singer, pieces[0]) ||
              IsWholeCharactersOf(song.singer, pieces[1]));
  return 0;
}
