// Initials of any bytes, with and without the abbreviation's limit.
#include "fuzz_input.h"
#include "tagging/pinyin.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace kscgen;
  std::string_view text(reinterpret_cast<const char*>(data), size);
  std::string abbrev = PinyinInitials(text, kAbbrevLimit);
  fuzz::Check(abbrev.size() <= 4);
  fuzz::Check(fuzz::AreWellFormedInitials(abbrev, text));
  fuzz::Check(fuzz::AreWellFormedInitials(PinyinInitials(text, std::nullopt), text));
  for (char c : HiddenPairInitials(text)) {
    fuzz::Check((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == ' ');
  }
  return 0;
}
