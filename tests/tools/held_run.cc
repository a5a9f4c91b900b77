// A batch run held at a known point, for tests that start another program
// on the same folder meanwhile (kscgen on the other system, under Wine):
//
//   held_run FOLDER
//
// Runs the engine as kscgen -t 1 does; after the first video, with the
// folder locked, it plants a file of the temporary files' pattern (as a run
// has while it writes a KSC file), prints "held" and waits for a line on its
// standard input; then it finishes the run, removes the planted file and
// exits 0 when the run wrote every file.
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>

#include "app/cli/console.h"
#include "app/engine/batch.h"
#include "app/engine/video_folder.h"
#include "os/file_system.h"

namespace {

using namespace kscgen;

class HoldAfterFirstVideo : public BatchObserver {
 public:
  explicit HoldAfterFirstVideo(std::filesystem::path planted) : planted_(std::move(planted)) {}
  void OnVideo(const VideoReport&, std::size_t done, std::size_t) override {
    if (done != 1) return;
    std::ofstream(planted_) << "being written";
    std::cout << "held" << std::endl;
    std::string line;
    std::getline(std::cin, line);
  }

 private:
  std::filesystem::path planted_;
};

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string> args = cli::Utf8Arguments(argc, argv);
  if (args.size() != 1) {
    std::cerr << "usage: held_run FOLDER\n";
    return 2;
  }
  FolderListing listing = ListVideos(args[0], false);
  if (!listing.ok()) {
    std::cerr << listing.message << "\n";
    return 2;
  }
  const std::filesystem::path planted =
      std::filesystem::u8path(os::JoinPath(args[0], ".kscgen-0123456789abcdef.tmp"));
  HoldAfterFirstVideo hold(planted);
  BatchRequest request;
  request.naming_template = kTemplateSingerTitle;
  request.date_text = "2026/12/7";
  BatchResult result = RunBatch(request, listing.folders, &hold);
  std::filesystem::remove(planted);
  if (result.status != BatchStatus::kDone || !result.skipped.empty()) {
    std::cerr << "held_run: the run did not write every file\n";
    return 1;
  }
  return 0;
}
