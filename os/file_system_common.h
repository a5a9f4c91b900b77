// What the POSIX and the Windows file systems share, written once: the
// temporary and lock names, how often a name is tried, the seed and the
// generator of the temporary names, a system code's kind from each system's
// table, reading a file whole, and the paths each failure names. Only os/ includes this; each
// system's file defines NewFileSystem and ProcessId.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <random>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "os/file_system.h"

namespace kscgen::os::common {

// The file every run, on Linux or Windows, locks in the folder it works in.
constexpr char kLockFileName[] = ".kscgen.lock";

// How many names a run tries before it gives up on a folder (a temporary
// name taken by chance, a lock file removed under it by another run).
constexpr int kTries = 100;

// The temporary pattern: ".kscgen-", sixteen lower-case hexadecimal
// digits, ".tmp".
constexpr std::string_view kTemporaryPrefix = ".kscgen-";
constexpr std::string_view kTemporarySuffix = ".tmp";
constexpr std::size_t kTemporaryDigits = 16;

// A fresh temporary name from `random`.
std::string NextTemporaryName(std::mt19937_64& random);

// The system's file system, its temporary names drawn from `seed`; each
// system's file defines it.
std::unique_ptr<FileSystem> NewFileSystem(std::uint64_t seed);

// The running process's id.
std::uint64_t ProcessId();

// A seed no other run picks at the same time: the process's id tells
// apart two runs started in the same instant.
std::uint64_t FreshSeed();

// One system error code and what the engine calls it.
template <typename Code>
struct CodeKind {
  Code code;
  ErrorKind kind;
};

// The kind `table` gives `code`; ErrorKind::kOther for a code not in it.
template <typename Code, std::size_t N>
ErrorKind KindOf(const CodeKind<Code> (&table)[N], Code code) {
  for (const CodeKind<Code>& known : table) {
    if (known.code == code) return known.kind;
  }
  return ErrorKind::kOther;
}

// Reads the file open as `file`, of `size` bytes, `max_bytes` at the most,
// into `*bytes` through `read(file, limit, bytes)`, which reads up to `limit`
// bytes: as much as the file holds and one more byte, to see it grew; no
// more, however much the caller would take. A file grown since gives no
// bytes, as if too long.
template <typename File, typename Read>
Error ReadWhole(File file, Read read, std::uint64_t size, std::size_t max_bytes,
                std::string* bytes) {
  const std::size_t limit = static_cast<std::size_t>(std::min<std::uint64_t>(max_bytes, size)) + 1;
  if (Error error = read(file, limit, bytes); error.failed()) return error;
  if (bytes->size() >= limit) bytes->clear();
  return {};
}

// The failure `error` of a step about `path`, naming it where the step has
// not named what failed.
inline Error Named(const std::string& path, Error error) {
  return error.failed() && error.path.empty() ? FailedAt(path, std::move(error)) : error;
}

// A file system of the running system, whose folders draw their temporary
// names from one generator, seeded once. Each failure names the path it was
// given, here for both systems.
class NamingFileSystem : public FileSystem {
 public:
  explicit NamingFileSystem(std::uint64_t seed) : random_(seed) {}

  Error ResolveFolder(const std::string& path, std::string* resolved) final {
    return Named(path, Resolve(path, resolved));
  }
  Error OpenFolder(const std::string& path, std::unique_ptr<Folder>* folder) final {
    return Named(path, Open(path, folder));
  }

 protected:
  std::mt19937_64 random_;

 private:
  virtual Error Resolve(const std::string& path, std::string* resolved) = 0;
  virtual Error Open(const std::string& path, std::unique_ptr<Folder>* folder) = 0;
};

// A folder of the running system. Each step's failure names what failed
// here, once for both systems: the entry, for the steps about one entry;
// the folder, for the folder's own steps. A system's Replace names the
// entry itself where the file at the name failed (FailedAt); every other
// failure of it is the folder's. A listing is gathered from the entries one
// by one.
class SystemFolder : public Folder {
 public:
  using Folder::Folder;

  Error List(std::vector<FolderEntry>* entries) final;
  Error ForEachEntry(const std::function<void(FolderEntry&)>& each) final {
    return Named(path(), EachEntry(each));
  }
  Error OpenSubfolder(const std::string& name, std::unique_ptr<Folder>* folder) final {
    return Named(JoinPath(path(), name), OpenEntryFolder(name, folder));
  }
  Error Lock() final { return Named(path(), TakeLock()); }
  Error ReadExisting(const std::string& name, std::size_t max_bytes, Existing* what) final {
    return Named(JoinPath(path(), name), ReadEntry(name, max_bytes, what));
  }
  Error Replace(const std::string& name, std::string_view bytes, const FileStamp* expected,
                std::vector<std::string>* lost) final {
    return Named(path(), ReplaceEntry(name, bytes, expected, lost));
  }
  Error Remove(const std::string& name) final {
    return Named(JoinPath(path(), name), RemoveEntry(name));
  }
  Error CheckWritable() final { return Named(path(), CheckNewFiles()); }
  Error Sync(bool whole_file_system) final { return Named(path(), Flush(whole_file_system)); }

 private:
  virtual Error EachEntry(const std::function<void(FolderEntry&)>& each) = 0;
  virtual Error OpenEntryFolder(const std::string& name, std::unique_ptr<Folder>* folder) = 0;
  virtual Error TakeLock() = 0;
  virtual Error ReadEntry(const std::string& name, std::size_t max_bytes, Existing* what) = 0;
  virtual Error ReplaceEntry(const std::string& name, std::string_view bytes,
                             const FileStamp* expected, std::vector<std::string>* lost) = 0;
  virtual Error RemoveEntry(const std::string& name) = 0;
  virtual Error CheckNewFiles() = 0;
  virtual Error Flush(bool whole_file_system) = 0;
};

}  // namespace kscgen::os::common
