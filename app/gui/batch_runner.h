// Runs the batch on a thread of its own, so that the window stays painted
// and can stop it. The run works on its own copies of the request and of the
// listed folders: nothing the user does meanwhile reaches it.
#pragma once

#include <QObject>
#include <atomic>
#include <cstddef>
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

 signals:
  // `done` of `total` videos are through. Emitted on the window's thread,
  // with the latest counts: a quick run skips counts the window has had no
  // time to show, never the last one.
  void progress(std::size_t done, std::size_t total);
  // On the window's thread, once the run has ended (after its last progress).
  void finished(const kscgen::BatchResult& result);

 private:
  void Join();

  friend class ProgressPoster;
  std::atomic<bool> stop_{false};
  // The latest counts, and whether the window has yet to take them.
  std::atomic<std::size_t> done_{0};
  std::atomic<std::size_t> total_{0};
  std::atomic<bool> progress_pending_{false};
  std::thread thread_;
  bool running_ = false;
};

}  // namespace kscgen::gui
