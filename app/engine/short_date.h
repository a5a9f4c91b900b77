// Today's date as the tag "时间" carries it by default.
#pragma once

#include <ctime>
#include <string>

namespace kscgen {

// `when` in the local time zone as yyyy/M/d (2026/12/7): the short date of
// Chinese Windows, where the song manager reads it, whatever the locale of
// the machine running the tool.
std::string ShortDateText(std::time_t when);

}  // namespace kscgen
