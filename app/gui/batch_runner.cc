#include "app/gui/batch_runner.h"

#include <QMetaObject>
#include <QPointer>
#include <memory>

namespace kscgen::gui {

// Runs on the batch's thread; hands the progress to the window's thread.
class ProgressPoster : public BatchObserver {
 public:
  explicit ProgressPoster(BatchRunner* runner) : runner_(runner) {}
  void OnStart(std::size_t) override { Post(0); }
  void OnVideo(const VideoReport&, std::size_t done, std::size_t total) override {
    runner_->last_video_done_.store(std::chrono::steady_clock::now().time_since_epoch().count(),
                                    std::memory_order_relaxed);
    Post(static_cast<int>(done * 100 / total));
  }

 private:
  void Post(int percent) {
    if (percent == last_) return;
    last_ = percent;
    BatchRunner* runner = runner_;
    // Queued: the lambda runs on the runner's (the window's) thread; Qt
    // drops it if the runner is gone by then.
    QMetaObject::invokeMethod(
        runner, [runner, percent] { emit runner->progress(percent); }, Qt::QueuedConnection);
  }
  BatchRunner* runner_;
  int last_ = -1;
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
