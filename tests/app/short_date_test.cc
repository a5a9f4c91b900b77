#include "app/engine/short_date.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cstdlib>
#include <filesystem>

#include "test_support.h"

namespace kscgen {
namespace {

std::time_t Noon(int year, int month, int day) {
  std::tm noon{};
  noon.tm_year = year - 1900;
  noon.tm_mon = month - 1;
  noon.tm_mday = day;
  noon.tm_hour = 12;
  noon.tm_isdst = -1;
  return std::mktime(&noon);
}

// Sets LC_ALL to the Chinese locale, made into `dir` when the machine lacks it.
bool SetChineseLocale(const testing::TempFolder& dir) {
#ifdef _WIN32
  // Windows names its locales after language, country and code page, and
  // has the Chinese one built in.
  (void)dir;
  return std::setlocale(LC_ALL, "Chinese (Simplified)_China.936") != nullptr ||
         std::setlocale(LC_ALL, "Chinese_China.936") != nullptr;
#else
  if (std::setlocale(LC_ALL, "zh_CN.UTF-8") != nullptr) return true;
  std::string cmd = "localedef -i zh_CN -f UTF-8 '" + dir / "zh_CN.UTF-8" + "' 2>/dev/null";
  if (std::system(cmd.c_str()) != 0) return false;
  setenv("LOCPATH", dir.path().c_str(), 1);
  return std::setlocale(LC_ALL, "zh_CN.UTF-8") != nullptr;
#endif
}

// Locales every system has, whose short dates differ from one another.
#ifdef _WIN32
constexpr const char* kPlainLocales[] = {"C", "English_United States.1252"};
#else
constexpr const char* kPlainLocales[] = {"C", "POSIX", "C.UTF-8"};
#endif

// Puts the locale back after each test.
class ShortDateTest : public ::testing::Test {
 protected:
  ~ShortDateTest() override {
    std::setlocale(LC_ALL, saved_.c_str());
#ifndef _WIN32
    unsetenv("LOCPATH");
#endif
  }
  const std::string saved_ = std::setlocale(LC_ALL, nullptr);
};

TEST_F(ShortDateTest, IsTheChineseWindowsShortDateInThePlainLocales) {
  for (const char* locale : kPlainLocales) {
    ASSERT_NE(std::setlocale(LC_ALL, locale), nullptr) << locale;
    EXPECT_EQ(ShortDateText(Noon(2026, 12, 7)), "2026/12/7") << locale;
    EXPECT_EQ(ShortDateText(Noon(2009, 1, 5)), "2009/1/5") << locale;
  }
}

TEST_F(ShortDateTest, IsTheChineseWindowsShortDateInAChineseLocaleToo) {
  testing::TempFolder dir;
  if (!SetChineseLocale(dir)) {
    GTEST_SKIP() << "no zh_CN.UTF-8 locale, and localedef (Debian's locales package, which "
                    "scripts/install-deps.sh installs) could not make one";
  }
  // Its own short date would be 2026年12月07日.
  EXPECT_EQ(ShortDateText(Noon(2026, 12, 7)), "2026/12/7");
  EXPECT_EQ(ShortDateText(Noon(2026, 10, 31)), "2026/10/31");
}

}  // namespace
}  // namespace kscgen
