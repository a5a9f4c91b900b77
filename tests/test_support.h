// Helpers shared by the tests: temporary folders and whole-file reads.
#pragma once

#include <ctime>
#include <filesystem>
#include <string>

namespace kscgen::testing {

// "Today" for the windows of the tests, a fixed day, so that a test that
// runs across midnight compares the same dates: 2026-12-07, noon UTC.
constexpr std::time_t kToday = 1796644800;

// A fresh folder under the system's temporary folder, removed with the object.
class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  const std::string& path() const { return path_; }
  // path() + "/" + name
  std::string operator/(const std::string& name) const { return path_ + "/" + name; }

 private:
  std::string path_;
};

// A path spelled in UTF-8, as the engine spells paths on every system (on
// Windows, an absolute one in its extended-length form).
std::filesystem::path U8Path(const std::string& utf8);

// Creates an empty file (or one holding `content`).
void Touch(const std::string& path, const std::string& content = "");

// The whole file's bytes; empty when it cannot be read.
std::string ReadFile(const std::string& path);

// Whether `text` holds `part`.
bool Holds(const std::string& text, const std::string& part);

// The names in a folder (UTF-8 on Windows), sorted bytewise; the record of
// what kscgen wrote there is left out unless `with_record`: the tests of the
// KSC files look at those, the tests of the record at it.
std::string ListNames(const std::string& folder, bool with_record = false);

}  // namespace kscgen::testing
