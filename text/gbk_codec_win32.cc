// GBK <-> UTF-8 with Windows code page 936, through UTF-16.
#include <windows.h>

#include <climits>

#include "text/encoding.h"
#include "text/gbk_codec.h"

namespace kscgen::text::codec {
namespace {

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

std::optional<std::wstring> ToWide(UINT code_page, std::string_view in) {
  if (in.size() > static_cast<std::size_t>(INT_MAX)) return std::nullopt;
  int n = static_cast<int>(in.size());
  // MB_ERR_INVALID_CHARS: a malformed or unassigned sequence fails the call
  // instead of turning into U+FFFD.
  int wide_len = MultiByteToWideChar(code_page, MB_ERR_INVALID_CHARS, in.data(), n, nullptr, 0);
  if (wide_len <= 0) return std::nullopt;
  std::wstring wide(static_cast<std::size_t>(wide_len), L'\0');
  if (MultiByteToWideChar(code_page, MB_ERR_INVALID_CHARS, in.data(), n, wide.data(), wide_len) !=
      wide_len) {
    return std::nullopt;
  }
  return wide;
}

std::optional<std::string> FromWide(UINT code_page, DWORD flags, const std::wstring& wide,
                                    BOOL* used_default) {
  int n = static_cast<int>(wide.size());
  int len =
      WideCharToMultiByte(code_page, flags, wide.data(), n, nullptr, 0, nullptr, used_default);
  if (len <= 0) return std::nullopt;
  std::string out(static_cast<std::size_t>(len), '\0');
  if (WideCharToMultiByte(code_page, flags, wide.data(), n, out.data(), len, nullptr,
                          used_default) != len) {
    return std::nullopt;
  }
  return out;
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

}  // namespace kscgen::text::codec
