// Prints kscgen's initials for a list of songs, for bench/pinyin_accuracy.mjs:
// reads "singer－title" lines in UTF-8 on standard input and writes, for each,
// the singer's initials, a tab and the title's initials (the whole title, not
// cut to the abbreviation's four letters). Comment lines (#) and empty lines
// give empty lines, so output lines match input lines.
#include <iostream>
#include <optional>
#include <string>

#include "tagging/pinyin.h"
#include "text/encoding.h"

int main() {
  const std::string separator = u8"－";
  std::string line;
  while (std::getline(std::cin, line)) {
    std::size_t at = line.find(separator);
    if (line.empty() || line[0] == '#' || at == std::string::npos) {
      std::cout << "\n";
      continue;
    }
    auto singer = kscgen::text::Utf8ToGbk(line.substr(0, at));
    auto title = kscgen::text::Utf8ToGbk(line.substr(at + separator.size()));
    if (!singer || !title) {
      std::cerr << "song_initials: not in GBK: " << line << "\n";
      return 1;
    }
    auto singer_initials = kscgen::text::GbkToUtf8(kscgen::SingerInitials(*singer));
    auto title_initials = kscgen::text::GbkToUtf8(kscgen::PinyinInitials(*title, std::nullopt));
    std::cout << singer_initials.value_or("?") << "\t" << title_initials.value_or("?") << "\n";
  }
  return 0;
}
