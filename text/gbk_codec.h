// The operating system's half of text/encoding.h: the GBK <-> UTF-8
// conversion itself. gbk_codec_iconv.cc does it with iconv (Linux),
// gbk_codec_win32.cc with code page 936 (Windows); CMake builds the one that
// fits. Both give the same bytes for the same input, and both give no value
// where the other would.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace kscgen::text::codec {

// Whole-string conversions of non-ASCII text (the callers in encoding.cc
// pass ASCII through themselves). No value when the input is not valid in
// its encoding or holds a character the other encoding lacks.
std::optional<std::string> Utf8ToGbk(std::string_view utf8);
std::optional<std::string> GbkToUtf8(std::string_view gbk);

// UTF-16 bytes (little- or big-endian, no byte-order mark) as UTF-8; no
// value for an odd length or a lone surrogate.
std::optional<std::string> Utf16ToUtf8(std::string_view bytes, bool big_endian);

}  // namespace kscgen::text::codec
