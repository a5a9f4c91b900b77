#include "app/gui/batch_runner.h"

#include <QMetaObject>
#include <memory>

namespace kscgen::gui {

// Runs on the batch's thread; hands the counts to the window's thread, one
// queued call at a time however fast the videos go.
class ProgressPoster : public BatchObserver {
 public:
  explicit ProgressPoster(BatchRunner* runner) : runner_(runner) {}
  void OnStart(std::size_t total) override { Post(0, total); }
  void OnVideo(const VideoReport&, std::size_t done, std::size_t total) override {
    Post(done, total);
  }

 private:
  void Post(std::size_t done, std::size_t total) {
    runner_->done_.store(done);
    runner_->total_.store(total);
    if (runner_->progress_pending_.exchange(true)) return;  // the queued call reads these
    BatchRunner* runner = runner_;
    // Queued: the lambda runs on the runner's (the window's) thread; Qt
    // drops it if the runner is gone by then.
    QMetaObject::invokeMethod(
        runner,
        [runner] {
          runner->progress_pending_.store(false);  // before reading: a later count posts again
          emit runner->progress(runner->done_.load(), runner->total_.load());
        },
        Qt::QueuedConnection);
  }
  BatchRunner* runner_;
};

BatchRunner::~BatchRunner() {
  stop_ = true;
  Join();
}

void BatchRunner::Join() {
  if (thread_.joinable()) thread_.join();
}

bool BatchRunner::Start(BatchRequest request, std::vector<VideoFolder> folders) {
  if (running_) return false;
  Join();
  running_ = true;
  stop_ = false;
  progress_pending_ = false;
  request.stop = &stop_;
  thread_ = std::thread([this, request = std::move(request), folders = std::move(folders)] {
    ProgressPoster progress(this);
    auto result = std::make_shared<BatchResult>(RunBatch(request, folders, &progress));
    QMetaObject::invokeMethod(
        this,
        [this, result] {
          Join();  // the thread has nothing left to do but return
          running_ = false;
          emit finished(*result);
        },
        Qt::QueuedConnection);
  });
  return true;
}

void BatchRunner::Stop() { stop_ = true; }

}  // namespace kscgen::gui
