// A file system for tests: the real one underneath, with each step of a run
// counted and, on demand, failed with a chosen error, held until the test
// lets it go, or shown with a chosen folder identity. Tests use it to put a
// run at a known point (a stop, a quit, a second run) or to make the disk
// misbehave in ways a real disk does only at random.
#pragma once

#include <condition_variable>
#include <cstddef>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "os/file_system.h"

namespace kscgen::testing {

// The steps a run takes, one per call of the file-system interface.
enum class Step {
  kResolve,     // FileSystem::ResolveFolder
  kOpenFolder,  // FileSystem::OpenFolder
  kList,        // Folder::List
  kOpenSubfolder,
  kLock,
  kCheckWritable,
  kReadExisting,
  kReplace,
  kRemove,
  kRemoveLeftovers,
  kSync,            // Folder::Sync of the folder's own entries
  kSyncFileSystem,  // Folder::Sync of its whole file system
};

class TestFileSystem : public os::FileSystem {
 public:
  explicit TestFileSystem(os::FileSystem& real = os::SystemFileSystem());
  ~TestFileSystem() override;
  TestFileSystem(const TestFileSystem&) = delete;
  TestFileSystem& operator=(const TestFileSystem&) = delete;

  // The `nth` call of `step` (counting from 1; 0 for every call) fails with
  // `error` instead of reaching the real file system. With `name`, only
  // calls about that name count (the entry's name, or the folder's path for
  // kResolve and kOpenFolder). The error names its path as the real systems
  // name it: Replace's failure is the file's, not the folder's, unless
  // `in_folder` or the error is one of the whole file system (a full disk, a
  // quota, a read-only file system, an I/O error), which the real systems
  // meet while writing the temporary file.
  void FailAt(Step step, os::Error error, int nth = 0, std::string name = "",
              bool in_folder = false);

  // Before the `nth` call of `step` (counting from 1) about `name` (any
  // name when empty) reaches the real file system, `action` runs once, on
  // the caller's thread: another program's step at that very point (an
  // editor saving the file between its reading and its replacement).
  void DoAt(Step step, int nth, std::string name, std::function<void()> action);

  // The `nth` call of `step` (counting from 1) waits, before it reaches the
  // real file system, until Release(). One hold at a time.
  void HoldAt(Step step, int nth);
  // Blocks the caller until a run has reached the hold.
  void WaitUntilHeld();
  // Whether a run waits at the hold now.
  bool IsHeld() const;
  // Lets the held call go on (or the next one, if none is held yet: the
  // hold is then spent).
  void Release();

  // Folders opened at `path` (as given to OpenFolder) or as a subfolder
  // named `path` report `identity`.
  void SetIdentity(const std::string& path, os::FolderIdentity identity);

  // How many calls of `step` have been made.
  int Calls(Step step) const;
  // The names `step` was called with, in order.
  std::vector<std::string> Names(Step step) const;

  os::Error ResolveFolder(const std::string& path, std::string* resolved) override;
  os::Error OpenFolder(const std::string& path, std::unique_ptr<os::Folder>* folder) override;

 private:
  class WrappedFolder;
  friend class WrappedFolder;

  // Counts the call; waits at a hold; gives the planned failure, if any.
  os::Error Enter(Step step, const std::string& name, bool* in_folder = nullptr);
  std::unique_ptr<os::Folder> Wrap(std::unique_ptr<os::Folder> real, const std::string& key);

  struct Failure {
    Step step;
    os::Error error;
    int nth;
    std::string name;
    bool in_folder;
    int seen = 0;
  };

  struct Action {
    Step step;
    int nth;
    std::string name;
    std::function<void()> run;  // null once run
    int seen = 0;
  };

  os::FileSystem& real_;
  std::vector<Action> actions_;
  mutable std::mutex mutex_;
  std::condition_variable changed_;
  std::map<Step, int> calls_;
  std::map<Step, std::vector<std::string>> names_;
  std::vector<Failure> failures_;
  std::map<std::string, os::FolderIdentity> identities_;
  bool hold_set_ = false;
  Step hold_step_ = Step::kList;
  int hold_nth_ = 0;
  bool held_ = false;
  bool released_ = false;
};

}  // namespace kscgen::testing
