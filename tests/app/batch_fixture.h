// The fixture of the batch run's tests: one folder 粤语金曲, a request under
// template 1 with the folder role 语种名, and every video's report recorded.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "app/engine/batch.h"
#include "app/engine/messages.h"
#include "test_support.h"

namespace kscgen::testing {

// Names on disk are UTF-8 (u8 literals); song values are GBK (plain literals).
class BatchTest : public ::testing::Test {
 protected:
  BatchTest() {
    folder_.path = root_ / u8"粤语金曲";
    folder_.relative = ".";
    folder_.folder_name = "粤语金曲";
    std::filesystem::create_directory(U8Path(folder_.path));
    request_.naming_template = kTemplateSingerTitle;
    request_.folder_role = kRoleLanguage;
    request_.date_text = "12/7/26";
  }

  void Add(const std::string& native_name) {
    Touch(folder_.path + "/" + native_name);
    folder_.files.push_back(MakeVideoFile(native_name));
  }

  BatchResult Run() {
    recorder_.reports.clear();
    recorder_.progress.clear();
    return RunBatch(request_, {folder_}, &recorder_);
  }

  std::string Ksc(const std::string& native_name) {
    return ReadFile(folder_.path + "/" + native_name);
  }

  std::string Summary(const BatchResult& r) { return messages::BatchReport(r, 10).summary; }

  struct Recorder : BatchObserver {
    void OnVideo(const VideoReport& report, std::size_t done, std::size_t total) override {
      reports.push_back(report);
      progress.push_back(std::to_string(done) + "/" + std::to_string(total));
    }
    std::vector<VideoReport> reports;
    std::vector<std::string> progress;
  };

  TempFolder root_;
  VideoFolder folder_;
  BatchRequest request_;
  Recorder recorder_;
};

}  // namespace kscgen::testing
