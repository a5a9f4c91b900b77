// Conversions between GBK (code page 936), the encoding of every KSC file
// and of the song manager, and UTF-8, the encoding of Linux file names, of
// the terminal and of the window toolkit.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace kscgen::text {

// Each gives no value when the input is not valid in its encoding or holds a
// character the other encoding lacks.
std::optional<std::string> Utf8ToGbk(std::string_view utf8);
std::optional<std::string> GbkToUtf8(std::string_view gbk);

bool IsValidUtf8(std::string_view s);

// UTF-16 bytes without their byte-order mark as UTF-8; no value for an odd
// length or a lone surrogate.
std::optional<std::string> Utf16ToUtf8(std::string_view bytes, bool big_endian);

// The encoding a file name is spelled in on disk. A KSC file is created under
// a name in the same encoding as its video, so that both sort and display
// alike in the file manager.
enum class NameEncoding { kUtf8, kGbk };

enum class NameProblem {
  kNone,
  kNotInGbk,     // valid UTF-8, but a character GBK lacks
  kUndecodable,  // neither valid UTF-8 nor valid GBK
};

struct DecodedName {
  std::string gbk;
  NameEncoding encoding = NameEncoding::kUtf8;
  NameProblem problem = NameProblem::kNone;
};

// Reads a file name as the file system holds it. A name that is valid UTF-8
// is taken as UTF-8; one that is not, but is valid GBK (folders copied from
// Chinese Windows), is taken as the GBK bytes it is. On failure `problem`
// says why and `gbk` is empty.
DecodedName DecodeFileName(std::string_view native);

// A UTF-8 rendering of a native name for messages: UTF-8 as it is, GBK
// converted, anything else with its odd bytes written as \xNN; control
// bytes as \xNN and characters that show as nothing as <U+200D>.
std::string DisplayName(std::string_view native);

// UTF-8 for display of GBK text; bytes that do not convert are shown as \xNN.
std::string GbkForDisplay(std::string_view gbk);

}  // namespace kscgen::text
