// Windows only: text between the system's code pages and UTF-16, the
// encoding of the wide API. Shared by the GBK codec, the file system and the
// command line, which all meet the system through the wide API.
#pragma once

#ifndef _WIN32
#error "utf16_win32.h is for Windows builds only"
#endif

#include <windows.h>

#include <climits>
#include <optional>
#include <string>
#include <string_view>

namespace kscgen::text::win32 {

// `in`, read in `code_page`, as UTF-16. MB_ERR_INVALID_CHARS: a malformed or
// unassigned sequence gives no value instead of turning into U+FFFD.
inline std::optional<std::wstring> ToWide(UINT code_page, std::string_view in) {
  if (in.empty()) return std::wstring();
  if (in.size() > static_cast<std::size_t>(INT_MAX)) return std::nullopt;
  int n = static_cast<int>(in.size());
  int wide_len = MultiByteToWideChar(code_page, MB_ERR_INVALID_CHARS, in.data(), n, nullptr, 0);
  if (wide_len <= 0) return std::nullopt;
  std::wstring wide(static_cast<std::size_t>(wide_len), L'\0');
  if (MultiByteToWideChar(code_page, MB_ERR_INVALID_CHARS, in.data(), n, wide.data(), wide_len) !=
      wide_len) {
    return std::nullopt;
  }
  return wide;
}

// UTF-16 in `code_page`, with the conversion `flags`; `used_default`, when
// given, tells whether a character had to become the default character.
inline std::optional<std::string> FromWide(UINT code_page, DWORD flags, std::wstring_view wide,
                                           BOOL* used_default = nullptr) {
  if (wide.empty()) return std::string();
  if (wide.size() > static_cast<std::size_t>(INT_MAX)) return std::nullopt;
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

inline std::optional<std::wstring> Utf8ToWide(std::string_view utf8) {
  return ToWide(CP_UTF8, utf8);
}

// UTF-16 as UTF-8. A lone surrogate, which NTFS names may hold, becomes
// U+FFFD: such a name has no GBK form anyway, so its video is skipped.
inline std::string WideToUtf8(std::wstring_view wide) {
  return FromWide(CP_UTF8, 0, wide).value_or(std::string());
}

}  // namespace kscgen::text::win32
