// Initials of any bytes, with and without the abbreviation's limit, and as
// a singer's name.
#include "fuzz_input.h"
#include "tagging/pinyin.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace kscgen;
  std::string_view text(reinterpret_cast<const char*>(data), size);
  std::string abbrev = PinyinInitials(text, kAbbrevLimit);
  fuzz::Check(abbrev.size() <= 4);
  fuzz::Check(fuzz::AreWellFormedInitials(abbrev, text));
  const std::string whole = PinyinInitials(text, std::nullopt);
  fuzz::Check(fuzz::AreWellFormedInitials(whole, text));
  // A singer's initials differ only where a surname is read as one: never
  // in their number.
  const std::string singer = SingerInitials(text);
  fuzz::Check(fuzz::AreWellFormedInitials(singer, text));
  fuzz::Check(singer.size() == whole.size());
  for (char c : HiddenPairInitials(text)) {
    fuzz::Check((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == ' ');
  }
  return 0;
}
