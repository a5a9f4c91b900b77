#include "test_file_system.h"

#include <utility>

namespace kscgen::testing {

class TestFileSystem::WrappedFolder : public os::Folder {
 public:
  WrappedFolder(TestFileSystem* fs, std::unique_ptr<os::Folder> real, const std::string& key)
      : Folder(real->path()), fs_(fs), real_(std::move(real)), key_(key) {}

  os::FolderIdentity identity() const override {
    std::lock_guard<std::mutex> lock(fs_->mutex_);
    auto it = fs_->identities_.find(key_);
    return it != fs_->identities_.end() ? it->second : real_->identity();
  }

  os::Error List(std::vector<os::FolderEntry>* entries) override {
    os::Error error = fs_->Enter(Step::kList, key_);
    return error.failed() ? Failed(error) : real_->List(entries);
  }

  os::Error OpenSubfolder(const std::string& name, std::unique_ptr<os::Folder>* folder) override {
    os::Error error = fs_->Enter(Step::kOpenSubfolder, name);
    if (error.failed()) return FailedAt(name, error);
    std::unique_ptr<os::Folder> real;
    error = real_->OpenSubfolder(name, &real);
    if (!error.failed()) *folder = fs_->Wrap(std::move(real), name);
    return error;
  }

  os::Error Lock() override {
    os::Error error = fs_->Enter(Step::kLock, key_);
    return error.failed() ? Failed(error) : real_->Lock();
  }

  os::Error CheckWritable() override {
    os::Error error = fs_->Enter(Step::kCheckWritable, key_);
    return error.failed() ? Failed(error) : real_->CheckWritable();
  }

  os::Error ReadExisting(const std::string& name, std::size_t max_bytes,
                         os::Existing* what) override {
    os::Error error = fs_->Enter(Step::kReadExisting, name);
    return error.failed() ? FailedAt(name, error) : real_->ReadExisting(name, max_bytes, what);
  }

  os::Error Replace(const std::string& name, std::string_view bytes, const os::FileStamp* expected,
                    std::vector<std::string>* lost) override {
    lost->clear();
    bool in_folder = false;
    os::Error error = fs_->Enter(Step::kReplace, name, &in_folder);
    if (error.failed()) return in_folder ? Failed(error) : FailedAt(name, error);
    return real_->Replace(name, bytes, expected, lost);
  }

  os::Error Remove(const std::string& name) override {
    os::Error error = fs_->Enter(Step::kRemove, name);
    return error.failed() ? FailedAt(name, error) : real_->Remove(name);
  }

  void RemoveTemporaryLeftovers() override {
    if (!fs_->Enter(Step::kRemoveLeftovers, key_).failed()) real_->RemoveTemporaryLeftovers();
  }

  os::Error Sync(bool whole_file_system) override {
    os::Error error = fs_->Enter(whole_file_system ? Step::kSyncFileSystem : Step::kSync, key_);
    return error.failed() ? Failed(error) : real_->Sync(whole_file_system);
  }

 private:
  TestFileSystem* fs_;
  std::unique_ptr<os::Folder> real_;
  std::string key_;
};

TestFileSystem::TestFileSystem(os::FileSystem& real) : real_(real) {}

TestFileSystem::~TestFileSystem() { Release(); }

void TestFileSystem::FailAt(Step step, os::Error error, int nth, std::string name, bool in_folder) {
  std::lock_guard<std::mutex> lock(mutex_);
  failures_.push_back({step, std::move(error), nth, std::move(name), in_folder});
}

void TestFileSystem::DoAt(Step step, int nth, std::string name, std::function<void()> action) {
  std::lock_guard<std::mutex> lock(mutex_);
  actions_.push_back({step, nth, std::move(name), std::move(action)});
}

void TestFileSystem::HoldAt(Step step, int nth) {
  std::lock_guard<std::mutex> lock(mutex_);
  hold_set_ = true;
  hold_step_ = step;
  hold_nth_ = nth;
  held_ = false;
  released_ = false;
}

void TestFileSystem::WaitUntilHeld() {
  std::unique_lock<std::mutex> lock(mutex_);
  changed_.wait(lock, [this] { return held_; });
}

bool TestFileSystem::IsHeld() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return held_;
}

void TestFileSystem::Release() {
  std::lock_guard<std::mutex> lock(mutex_);
  released_ = true;
  changed_.notify_all();
}

void TestFileSystem::SetIdentity(const std::string& path, os::FolderIdentity identity) {
  std::lock_guard<std::mutex> lock(mutex_);
  identities_[path] = identity;
}

int TestFileSystem::Calls(Step step) const {
  std::lock_guard<std::mutex> lock(mutex_);
  auto it = calls_.find(step);
  return it == calls_.end() ? 0 : it->second;
}

std::vector<std::string> TestFileSystem::Names(Step step) const {
  std::lock_guard<std::mutex> lock(mutex_);
  auto it = names_.find(step);
  return it == names_.end() ? std::vector<std::string>() : it->second;
}

namespace {

// A full disk, a used-up quota, a read-only file system or an I/O error
// meets a replacement as the real systems meet it: while the temporary file
// is written in the folder, before the KSC file is touched.
bool IsFileSystemWide(const os::Error& error) {
  switch (error.kind) {
    case os::ErrorKind::kNoSpace:
    case os::ErrorKind::kQuota:
    case os::ErrorKind::kReadOnlyFileSystem:
    case os::ErrorKind::kIoError:
      return true;
    default:
      return false;
  }
}

}  // namespace

os::Error TestFileSystem::Enter(Step step, const std::string& name, bool* in_folder) {
  std::unique_lock<std::mutex> lock(mutex_);
  const int call = ++calls_[step];
  names_[step].push_back(name);
  std::vector<std::function<void()>> due;
  for (Action& action : actions_) {
    if (action.step != step || (!action.name.empty() && action.name != name)) continue;
    if (++action.seen == action.nth && action.run)
      due.push_back(std::exchange(action.run, nullptr));
  }
  // Outside the lock: an action may look at the counts or plan more.
  lock.unlock();
  for (const std::function<void()>& run : due) run();
  lock.lock();
  if (hold_set_ && hold_step_ == step && hold_nth_ == call) {
    hold_set_ = false;
    if (!released_) {
      held_ = true;
      changed_.notify_all();
      changed_.wait(lock, [this] { return released_; });
      held_ = false;
    }
  }
  for (Failure& failure : failures_) {
    if (failure.step != step || (!failure.name.empty() && failure.name != name)) continue;
    ++failure.seen;
    if (failure.nth == 0 || failure.nth == failure.seen) {
      if (in_folder != nullptr) *in_folder = failure.in_folder || IsFileSystemWide(failure.error);
      return failure.error;
    }
  }
  return {};
}

std::unique_ptr<os::Folder> TestFileSystem::Wrap(std::unique_ptr<os::Folder> real,
                                                 const std::string& key) {
  return std::make_unique<WrappedFolder>(this, std::move(real), key);
}

os::Error TestFileSystem::ResolveFolder(const std::string& path, std::string* resolved) {
  os::Error error = Enter(Step::kResolve, path);
  return error.failed() ? os::FailedAt(path, error) : real_.ResolveFolder(path, resolved);
}

os::Error TestFileSystem::OpenFolder(const std::string& path, std::unique_ptr<os::Folder>* folder) {
  os::Error error = Enter(Step::kOpenFolder, path);
  if (error.failed()) return os::FailedAt(path, error);
  std::unique_ptr<os::Folder> real;
  error = real_.OpenFolder(path, &real);
  if (!error.failed()) *folder = Wrap(std::move(real), path);
  return error;
}

}  // namespace kscgen::testing
