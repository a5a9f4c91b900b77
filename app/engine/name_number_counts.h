// What a run under 编号取自文件名 leaves unnumbered or numbered twice,
// counted as the videos pass, so that the window's and kscgen's summaries
// give the same counts (each video's row says which it is, in its notes).
#pragma once

#include <cstddef>
#include <vector>

#include "app/engine/batch.h"

namespace kscgen {

struct NameNumberCounts {
  std::size_t without = 0;   // videos whose names gave no number they could get
  std::size_t clashing = 0;  // videos whose number an earlier video's name gave too
};

// Counts from each video's notes, and hands the video on to `next` (when
// not null).
class NameNumberCounter : public BatchObserver {
 public:
  explicit NameNumberCounter(BatchObserver* next) : next_(next) {}
  void OnStart(std::size_t total) override;
  void OnVideo(const VideoReport& report, std::size_t done, std::size_t total) override;
  const NameNumberCounts& counts() const { return counts_; }

 private:
  BatchObserver* next_;
  NameNumberCounts counts_;
};

// RunBatch, and the counts above: what the front ends call for a run whose
// summary they show.
struct CountedRun {
  BatchResult result;
  NameNumberCounts numbers;
};
CountedRun RunCountedBatch(const BatchRequest& request, const std::vector<VideoFolder>& folders,
                           BatchObserver* observer);

}  // namespace kscgen
