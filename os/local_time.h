// The local calendar time of a moment, as the system keeps time zones.
#pragma once

#include <ctime>

namespace kscgen::os {

// `when` in the local time zone (the C library's localtime, thread-safe).
std::tm LocalTime(std::time_t when);

}  // namespace kscgen::os
