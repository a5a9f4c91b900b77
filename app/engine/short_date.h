// Today's date as the tag "时间" carries it by default.
#pragma once

#include <ctime>
#include <string>

namespace kscgen {

// `when` in the short date format of the user's locale (LC_TIME, as set by
// setlocale), in GBK; "M/d/yy" (12/7/26) where the locale gives none (C or
// POSIX).
std::string ShortDateText(std::time_t when);

// ShortDateText of now.
std::string TodayShortDate();

}  // namespace kscgen
