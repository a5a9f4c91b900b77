#include "app/engine/short_date.h"

#include <cstdio>

namespace kscgen {

std::string ShortDateText(std::time_t when) {
  std::tm local{};
#ifdef _WIN32
  localtime_s(&local, &when);
#else
  localtime_r(&when, &local);
#endif
  char buf[32];
  std::snprintf(buf, sizeof buf, "%d/%d/%d", local.tm_year + 1900, local.tm_mon + 1, local.tm_mday);
  return buf;
}


}  // namespace kscgen
