#include "app/engine/short_date.h"

#include <clocale>
#include <cstdio>
#include <string_view>

#include "text/encoding.h"

namespace kscgen {

std::string ShortDateText(std::time_t when) {
  std::tm local{};
#ifdef _WIN32
  localtime_s(&local, &when);
#else
  localtime_r(&when, &local);
#endif
  const char* locale = std::setlocale(LC_TIME, nullptr);
  std::string_view name = locale ? locale : "C";
  // "C", "C.UTF-8" and "POSIX" name no user's choice of date format.
  bool plain = name == "C" || name == "POSIX" || name.rfind("C.", 0) == 0;
  if (!plain) {
    char buf[128];
    std::size_t n = std::strftime(buf, sizeof buf, "%x", &local);
    // Locale text comes in the locale's encoding; on Linux that is UTF-8.
    if (auto gbk = text::Utf8ToGbk(std::string_view(buf, n)); gbk && n > 0) return *gbk;
  }
  char buf[32];
  std::snprintf(buf, sizeof buf, "%d/%d/%02d", local.tm_mon + 1, local.tm_mday,
                local.tm_year % 100);
  return buf;
}

std::string TodayShortDate() { return ShortDateText(std::time(nullptr)); }

}  // namespace kscgen
