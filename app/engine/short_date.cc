#include "app/engine/short_date.h"

#include <cstdio>

#include "os/local_time.h"

namespace kscgen {

std::string ShortDateText(std::time_t when) {
  const std::tm local = os::LocalTime(when);
  char buf[32];
  std::snprintf(buf, sizeof buf, "%d/%d/%d", local.tm_year + 1900, local.tm_mon + 1, local.tm_mday);
  return buf;
}
}  // namespace kscgen
