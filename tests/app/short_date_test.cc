#include "app/engine/short_date.h"

#include <gtest/gtest.h>

#include <clocale>

namespace kscgen {
namespace {

TEST(ShortDateTest, WithoutALocaleFormatIsMonthDayTwoDigitYear) {
  std::string saved = std::setlocale(LC_TIME, nullptr);
  std::tm noon{};
  noon.tm_year = 2026 - 1900;
  noon.tm_mon = 11;
  noon.tm_mday = 7;
  noon.tm_hour = 12;
  noon.tm_isdst = -1;
  std::time_t when = std::mktime(&noon);
  for (const char* plain : {"C", "POSIX", "C.UTF-8"}) {
    if (std::setlocale(LC_TIME, plain) == nullptr) continue;
    EXPECT_EQ(ShortDateText(when), "12/7/26") << plain;
  }
  noon.tm_mon = 0;
  noon.tm_mday = 5;
  noon.tm_year = 2009 - 1900;
  std::setlocale(LC_TIME, "C");
  EXPECT_EQ(ShortDateText(std::mktime(&noon)), "1/5/09");
  std::setlocale(LC_TIME, saved.c_str());
}

}  // namespace
}  // namespace kscgen
