// Runs the batch on a thread of its own, so that the window stays painted
// and can stop it. The run works on its own copies of the request and of the
// listed folders: nothing the user does meanwhile reaches it.
#pragma once

#include <QObject>
#include <atomic>
#include <chrono>
#include <thread>
#include <vector>

#include "app/engine/batch.h"

namespace kscgen::gui {

class ProgressPoster;

class BatchRunner : public QObject {
  Q_OBJECT

 public:
  using QObject::QObject;
  // Stops a run still going and waits for it.
  ~BatchRunner() override;

  // Starts a run; false, and nothing started, while another one runs.
  bool Start(BatchRequest request, std::vector<VideoFolder> folders);
  // Asks the run to end after the file being written; it then reports
  // BatchStatus::kStopped through finished().
  void Stop();
  // From Start until finished() has been emitted.
  bool IsRunning() const { return running_; }
  // When the last run last finished a video: how soon a stop took hold.
  std::chrono::steady_clock::time_point LastVideoDone() const {
    return std::chrono::steady_clock::time_point(
        std::chrono::steady_clock::duration(last_video_done_.load()));
  }

 signals:
  // The share of the videos done, 0 to 100; only when it changes.
  void progress(int percent);
  // On the window's thread, once the run has ended.
  void finished(const kscgen::BatchResult& result);

 private:
  void Join();

  friend class ProgressPoster;
  std::atomic<bool> stop_{false};
  std::atomic<std::chrono::steady_clock::rep> last_video_done_{0};
  std::thread thread_;
  bool running_ = false;
};

}  // namespace kscgen::gui
