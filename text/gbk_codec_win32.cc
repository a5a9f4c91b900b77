// GBK <-> UTF-8 with Windows code page 936, through UTF-16.
#include "text/encoding.h"
#include "text/gbk_codec.h"
#include "text/utf16_win32.h"

namespace kscgen::text::codec {
namespace {

using win32::FromWide;
using win32::ToWide;

constexpr UINT kGbkCodePage = 936;

// Code page 936 gives GBK's user-defined areas (A140-A7A0, AAA1-AFFE,
// F8A1-FEFE) and a few of its unassigned codes (in rows A2, A6, A8, D7 and
// FE) characters of the Private Use Area, U+E000-U+F8FF, and writes U+F8F5
// as the lone byte FF. iconv's GBK has none of these, and no font or song
// manager shows them as anything; so neither direction takes one here,
// which keeps both systems accepting exactly the same names and text.
bool HasPrivateUse(const std::wstring& wide) {
  for (wchar_t c : wide) {
    if (c >= 0xE000 && c <= 0xF8FF) return true;
  }
  return false;
}

}  // namespace

std::optional<std::string> Utf8ToGbk(std::string_view utf8) {
  // The same strict reading of UTF-8 as on Linux (no overlong forms, no
  // surrogates), whatever the system's UTF-8 decoder lets through.
  if (!IsValidUtf8(utf8)) return std::nullopt;
  std::optional<std::wstring> wide = ToWide(CP_UTF8, utf8);
  if (!wide || HasPrivateUse(*wide)) return std::nullopt;
  // WC_NO_BEST_FIT_CHARS: a character GBK lacks becomes the default
  // character, never a look-alike, and `used_default` tells us; the "?" it
  // would leave is never taken for the name.
  BOOL used_default = FALSE;
  std::optional<std::string> gbk =
      FromWide(kGbkCodePage, WC_NO_BEST_FIT_CHARS, *wide, &used_default);
  if (!gbk || used_default) return std::nullopt;
  return gbk;
}

std::optional<std::string> GbkToUtf8(std::string_view gbk) {
  std::optional<std::wstring> wide = ToWide(kGbkCodePage, gbk);
  if (!wide || HasPrivateUse(*wide)) return std::nullopt;
  // Code page 936 yields no lone surrogates, so this cannot fail on them;
  // WC_ERR_INVALID_CHARS makes sure of it.
  return FromWide(CP_UTF8, WC_ERR_INVALID_CHARS, *wide, nullptr);
}

std::optional<std::string> Utf16ToUtf8(std::string_view bytes, bool big_endian) {
  if (bytes.size() % 2 != 0) return std::nullopt;
  std::wstring wide(bytes.size() / 2, L'\0');
  for (std::size_t i = 0; i < wide.size(); ++i) {
    const auto first = static_cast<unsigned char>(bytes[2 * i]);
    const auto second = static_cast<unsigned char>(bytes[2 * i + 1]);
    wide[i] = static_cast<wchar_t>(big_endian ? (first << 8) | second : (second << 8) | first);
  }
  // WC_ERR_INVALID_CHARS: a lone surrogate gives no value, as iconv does.
  return FromWide(CP_UTF8, WC_ERR_INVALID_CHARS, wide, nullptr);
}

}  // namespace kscgen::text::codec
