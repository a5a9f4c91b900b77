// The KSC text of a song whose every value is arbitrary bytes.
#include "fuzz_input.h"
#include "ksc/ksc_file.h"

namespace {

// The quoted value of a line `prefix + '...' + suffix` is well formed when
// every quote inside comes doubled.
bool IsWellQuoted(std::string_view line) {
  std::size_t open = line.find('\'');
  if (line.rfind("karaoke.tag('", 0) == 0) open = line.find('\'', line.find("', '") + 2);
  std::size_t close = line.rfind('\'');
  if (open == std::string_view::npos || close <= open) return false;
  std::string_view inside = line.substr(open + 1, close - open - 1);
  for (std::size_t i = 0; i < inside.size(); ++i) {
    if (inside[i] != '\'') continue;
    if (i + 1 >= inside.size() || inside[i + 1] != '\'') return false;
    ++i;
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace kscgen;
  auto v = fuzz::Pieces(data, size, 10);
  SongInfo song;
  song.number = v[0], song.title = v[1], song.abbrev = v[2], song.singer = v[3];
  song.language = v[4], song.style = v[5], song.channel = v[6], song.date_text = v[7];
  song.singer_pinyin = v[8], song.video_name = v[9];
  const std::string text = FormatKscText(song);

  std::vector<std::string_view> lines;
  std::string_view rest = text;
  while (!rest.empty()) {
    std::size_t end = rest.find("\r\n");
    fuzz::Check(end != std::string_view::npos);
    lines.push_back(rest.substr(0, end));
    rest.remove_prefix(end + 2);
  }
  fuzz::Check(lines.size() == 28);
  for (std::size_t i = 0; i < lines.size(); ++i) {
    std::string_view line = lines[i];
    fuzz::Check(line.find('\r') == std::string_view::npos &&
                line.find('\n') == std::string_view::npos);
    // Line 2 carries the song number unquoted; every other quote opens a literal.
    if (i != 1 && line.find('\'') != std::string_view::npos) fuzz::Check(IsWellQuoted(line));
  }
  fuzz::Check(lines[10] ==
              "karaoke.tag('\xD7\xD6\xCA\xFD', '" + std::to_string(song.title.size()) + "');");
  return 0;
}
