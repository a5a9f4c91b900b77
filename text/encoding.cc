#include "text/encoding.h"

#include <algorithm>
#include <cstdio>

#include "text/gbk_codec.h"
#include "text/gbk_text.h"
#include "text/invisible_table.h"

namespace kscgen::text {
namespace {

bool IsAscii(std::string_view s) {
  for (char c : s) {
    if (static_cast<unsigned char>(c) >= 0x80) return false;
  }
  return true;
}

std::string Escaped(unsigned char c) {
  char buf[8];
  std::snprintf(buf, sizeof buf, "\\x%02X", c);
  return buf;
}

// Control bytes (and, with `high`, every byte from 0x80) as \xNN, so that a
// message never carries a raw line break or a broken character.
std::string EscapeControls(std::string_view s, bool high) {
  std::string out;
  out.reserve(s.size());
  std::size_t run = 0;  // where the bytes not yet copied begin: copied a run at a time
  for (std::size_t i = 0; i < s.size(); ++i) {
    const auto b = static_cast<unsigned char>(s[i]);
    if (IsControlByte(b) || (high && b >= 0x80)) {
      out.append(s.substr(run, i - run));
      out += Escaped(b);
      run = i + 1;
    }
  }
  out.append(s.substr(run));
  return out;
}

// The code points between two ranges of the table of those that show as
// nothing, the one where the common Chinese characters (U+4E00) are.
struct VisibleGap {
  char32_t after;   // the last of the range before
  char32_t before;  // the first of the range after
};

VisibleGap GapOfChinese() {
  VisibleGap gap{0, 0};
  for (std::size_t i = 0; i + 1 < kInvisibleRangeCount; ++i) {
    if (kInvisibleRanges[i].last < 0x4E00 && kInvisibleRanges[i + 1].first > 0x4E00) {
      gap = {kInvisibleRanges[i].last, kInvisibleRanges[i + 1].first};
    }
  }
  return gap;
}

// Whether a code point may be one that shows as nothing: none before the
// table's first, and none in the gap where the Chinese characters are, so
// that a message's characters rarely need a search of the table.
bool MayBeInvisible(char32_t c) {
  static const VisibleGap kGap = GapOfChinese();
  return c >= kInvisibleRanges[0].first && !(c > kGap.after && c < kGap.before);
}

// Valid UTF-8 with each character that shows as nothing (a joiner, a
// direction mark) written as <U+200D>: printed raw, a name holding one would
// read as the name without it.
std::string NameInvisible(std::string_view utf8) {
  std::string out;
  out.reserve(utf8.size());
  std::size_t run = 0;  // where the bytes not yet copied begin
  for (std::size_t i = 0; i < utf8.size();) {
    const auto lead = static_cast<unsigned char>(utf8[i]);
    const std::size_t len = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
    char32_t c = len == 1 ? lead : lead & (0x7F >> len);
    for (std::size_t k = 1; k < len && i + k < utf8.size(); ++k) {
      c = c << 6 | (static_cast<unsigned char>(utf8[i + k]) & 0x3F);
    }
    if (MayBeInvisible(c) && IsInvisible(c)) {
      char buf[16];
      std::snprintf(buf, sizeof buf, "<U+%04X>", static_cast<unsigned>(c));
      out.append(utf8.substr(run, i - run));
      out += buf;
      run = std::min(i + len, utf8.size());
    }
    i += len;
  }
  out.append(utf8.substr(run));
  return out;
}

}  // namespace

std::optional<std::string> Utf8ToGbk(std::string_view utf8) {
  if (IsAscii(utf8)) return std::string(utf8);
  return codec::Utf8ToGbk(utf8);
}

std::optional<std::string> GbkToUtf8(std::string_view gbk) {
  if (IsAscii(gbk)) return std::string(gbk);
  return codec::GbkToUtf8(gbk);
}

std::optional<std::string> Utf16ToUtf8(std::string_view bytes, bool big_endian) {
  if (bytes.empty()) return std::string();
  return codec::Utf16ToUtf8(bytes, big_endian);
}

bool IsValidUtf8(std::string_view s) {
  std::size_t i = 0;
  while (i < s.size()) {
    auto c = static_cast<unsigned char>(s[i]);
    std::size_t len;
    unsigned min;
    unsigned cp;
    if (c < 0x80) {
      ++i;
      continue;
    } else if ((c & 0xE0) == 0xC0) {
      len = 2, min = 0x80, cp = c & 0x1F;
    } else if ((c & 0xF0) == 0xE0) {
      len = 3, min = 0x800, cp = c & 0x0F;
    } else if ((c & 0xF8) == 0xF0) {
      len = 4, min = 0x10000, cp = c & 0x07;
    } else {
      return false;
    }
    if (i + len > s.size()) return false;
    for (std::size_t k = 1; k < len; ++k) {
      auto t = static_cast<unsigned char>(s[i + k]);
      if ((t & 0xC0) != 0x80) return false;
      cp = (cp << 6) | (t & 0x3F);
    }
    if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return false;
    i += len;
  }
  return true;
}

DecodedName DecodeFileName(std::string_view native) {
  DecodedName out;
  if (IsValidUtf8(native)) {
    out.encoding = NameEncoding::kUtf8;
    if (auto gbk = Utf8ToGbk(native)) {
      out.gbk = std::move(*gbk);
    } else {
      out.problem = NameProblem::kNotInGbk;
    }
    return out;
  }
  out.encoding = NameEncoding::kGbk;
  if (GbkToUtf8(native)) {
    out.gbk = std::string(native);
  } else {
    out.problem = NameProblem::kUndecodable;
  }
  return out;
}

std::string DisplayName(std::string_view native) {
  if (IsValidUtf8(native)) return NameInvisible(EscapeControls(native, false));
  return GbkForDisplay(native);
}

std::string GbkForDisplay(std::string_view gbk) {
  // ASCII is the same in both, and holds nothing that shows as nothing.
  if (IsAscii(gbk)) return EscapeControls(gbk, false);
  if (auto utf8 = GbkToUtf8(gbk)) return NameInvisible(EscapeControls(*utf8, false));
  return EscapeControls(gbk, true);
}

}  // namespace kscgen::text
