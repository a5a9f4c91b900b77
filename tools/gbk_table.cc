// Prints what text/encoding.h makes of every GBK code and of every character
// of the Basic Multilingual Plane, one line each:
//
//   G <GBK bytes, hex> <UTF-8 bytes, hex, or - when refused>
//   U <code point, hex> <GBK bytes, hex, or - when refused>
//
// `make windows` runs it on Linux (iconv) and under Wine (code page 936) and
// compares the two: a file name or a KSC file must not come out differently
// on the two systems.
#include <cstdio>
#include <optional>
#include <string>

#include "text/encoding.h"

namespace {

using kscgen::text::GbkToUtf8;
using kscgen::text::Utf8ToGbk;

std::string Hex(const std::string& bytes) {
  std::string out;
  char buf[4];
  for (unsigned char c : bytes) {
    std::snprintf(buf, sizeof buf, "%02X", c);
    out += buf;
  }
  return out;
}

std::string Utf8Of(unsigned cp) {
  std::string s;
  if (cp < 0x80) {
    s += static_cast<char>(cp);
  } else if (cp < 0x800) {
    s += static_cast<char>(0xC0 | cp >> 6);
    s += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    s += static_cast<char>(0xE0 | cp >> 12);
    s += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    s += static_cast<char>(0x80 | (cp & 0x3F));
  }
  return s;
}

void Line(char kind, const std::string& key, const std::optional<std::string>& value) {
  std::printf("%c %s %s\n", kind, key.c_str(), value ? Hex(*value).c_str() : "-");
}

}  // namespace

int main() {
  for (int b = 0x80; b <= 0xFF; ++b) {
    std::string gbk(1, static_cast<char>(b));
    Line('G', Hex(gbk), GbkToUtf8(gbk));
  }
  for (int lead = 0x81; lead <= 0xFE; ++lead) {
    for (int trail = 0x40; trail <= 0xFF; ++trail) {
      std::string gbk{static_cast<char>(lead), static_cast<char>(trail)};
      Line('G', Hex(gbk), GbkToUtf8(gbk));
    }
  }
  for (unsigned cp = 0x80; cp <= 0xFFFF; ++cp) {
    if (cp >= 0xD800 && cp <= 0xDFFF) continue;  // no character
    char key[8];
    std::snprintf(key, sizeof key, "%04X", cp);
    Line('U', key, Utf8ToGbk(Utf8Of(cp)));
  }
  return 0;
}
