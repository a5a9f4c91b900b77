// What the POSIX and the Windows file systems share, written once: the
// temporary and lock names, how often a name is tried, the seed and the
// generator of the temporary names, a system code's kind from each system's
// table, reading a file whole, and a listing gathered from the entries one
// by one. Only os/ includes this; each system's file defines NewFileSystem
// and ProcessId.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <random>
#include <string>
#include <string_view>
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

// A file system whose folders draw their temporary names from one
// generator, seeded once.
class NamingFileSystem : public FileSystem {
 public:
  explicit NamingFileSystem(std::uint64_t seed) : random_(seed) {}

 protected:
  std::mt19937_64 random_;
};

// A folder whose List gathers what ForEachEntry hands out.
class EntryListingFolder : public Folder {
 public:
  Error List(std::vector<FolderEntry>* entries) final;
  Error ForEachEntry(const std::function<void(FolderEntry&)>& each) override = 0;
};

}  // namespace kscgen::os::common
