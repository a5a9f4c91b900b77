// The fixture of the tests of runs on a real disk over KSC files a run
// wrote before: one folder 粤语金曲 with the role 语种名 and the template
// 歌手－歌名, run on 7 December 2026. Names on disk are UTF-8 (u8
// literals); KSC text is GBK (plain literals).
#pragma once

#include <gtest/gtest.h>

#include <ctime>
#include <filesystem>
#include <string>
#include <vector>

#include "app/engine/batch.h"
#include "app/engine/preview.h"
#include "app/engine/short_date.h"
#include "app/engine/video_folder.h"
#include "expected_ksc.h"
#include "test_support.h"

namespace kscgen::testing {

// Noon of 7 December 2026, local time: the day of the runs.
inline std::time_t December7() {
  std::tm t{};
  t.tm_year = 2026 - 1900;
  t.tm_mon = 11;
  t.tm_mday = 7;
  t.tm_hour = 12;
  t.tm_isdst = -1;
  return std::mktime(&t);
}

// kRoadKsc with the date as this system writes the run's day.
inline const std::string kRoad = [] {
  std::string road = kRoadKsc;
  return road.replace(road.find("12/7/26"), 7, ShortDateText(December7()));
}();
inline const char kVideo[] = u8"合唱团－小河水.mpg";
inline const char kKsc[] = u8"合唱团－小河水.KSC";

inline std::string With(std::string text, const std::string& from, const std::string& to) {
  const std::size_t at = text.find(from);
  EXPECT_NE(at, std::string::npos) << from;
  return text.replace(at, from.size(), to);
}

// The folder 粤语金曲 with the role 语种名 and the template 歌手－歌名 on
// 12/7/26: its video's KSC file is kRoadKsc.
class MergeTest : public ::testing::Test {
 protected:
  MergeTest() {
    folder_.path = root_ / u8"粤语金曲";
    folder_.relative = ".";
    folder_.folder_name = "粤语金曲";
    std::filesystem::create_directory(U8Path(folder_.path));
    request_.naming_template = kTemplateSingerTitle;
    request_.folder_role = kRoleLanguage;
    request_.clock = December7;
    Add(kVideo);
  }

  void Add(const std::string& native_name) {
    Touch(folder_.path + "/" + native_name);
    folder_.files.push_back(MakeVideoFile(native_name));
  }

  BatchResult Run() {
    recorder_.reports.clear();
    return RunBatch(request_, folders_, &recorder_);
  }

  std::string Path(const std::string& name) const { return os::JoinPath(folder_.path, name); }
  std::string Ksc() const { return ReadFile(Path(kKsc)); }
  void WriteKsc(const std::string& bytes) const { Touch(Path(kKsc), bytes); }
  std::string Notes(std::size_t row = 0) const { return PreviewNotes(recorder_.reports.at(row)); }

  struct Recorder : BatchObserver {
    void OnVideo(const VideoReport& report, std::size_t, std::size_t) override {
      reports.push_back(report);
    }
    std::vector<VideoReport> reports;
  };

  TempFolder root_;
  std::vector<VideoFolder> folders_{1};  // the reports point into it
  VideoFolder& folder_ = folders_[0];
  BatchRequest request_;
  Recorder recorder_;
};

}  // namespace kscgen::testing
