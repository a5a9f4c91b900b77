// The operating system's files and folders behind one small interface, so
// that the engine runs alike on POSIX systems and on Windows, and tests can
// put a file system that fails on demand in its place.
//
// Paths are spelled as the engine holds names: the bytes the system gives on
// POSIX, UTF-8 on Windows (converted to and from the wide API here).
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace kscgen::os {

enum class ErrorKind {
  kNone,
  kNotFound,     // the path, or a folder on it, does not exist
  kNotFolder,    // a folder was expected
  kPermission,   // the user may not read or write it
  kNameTooLong,  // the path or one of its names is longer than the system allows
  kLocked,       // another run holds the folder
  kIsFolder,     // a folder stands where a file was to go
  kNoSpace,      // the disk is full
  kReadOnlyFileSystem,
  kOther,
};

// What went wrong; `reason` is the system's own words for it.
struct Error {
  ErrorKind kind = ErrorKind::kNone;
  std::string reason;

  bool failed() const { return kind != ErrorKind::kNone; }
};

enum class EntryType {
  kFile,    // a regular file, or a link to one
  kFolder,  // a folder itself; a link to a folder is kOther
  kOther,
};

struct FolderEntry {
  std::string name;
  EntryType type = EntryType::kOther;
};

// What stands at a path, read without following a final link or blocking.
enum class Existing {
  kMissing,
  kRegular,  // a regular file; its bytes were read when small enough
  kOther,    // a link, a folder, a pipe, a device: never read, never written through
};

// Held for a run's whole duration; released when destroyed.
class FolderLock {
 public:
  virtual ~FolderLock() = default;
};

class FileSystem {
 public:
  virtual ~FileSystem() = default;

  // The folder the system resolves `path` to, links and ".." followed as the
  // system follows them ("a/link/.." is the link target's parent).
  virtual Error ResolveFolder(const std::string& path, std::string* resolved) = 0;

  // The entries of a folder, "." and ".." left out, in no particular order.
  virtual Error ListFolder(const std::string& folder, std::vector<FolderEntry>* entries) = 0;

  // An exclusive lock on `folder`, without waiting: kLocked when another run
  // holds it.
  virtual Error LockFolder(const std::string& folder, std::unique_ptr<FolderLock>* lock) = 0;

  // What stands at `path`; for a regular file of at most `max_bytes` bytes,
  // its bytes in `*bytes` (a larger one leaves `*bytes` empty).
  virtual Error ReadExisting(const std::string& path, std::size_t max_bytes, Existing* what,
                             std::string* bytes) = 0;

  // Whether the regular file at `path` is protected from writing: it has no
  // write permission at all, or the running user may not write it.
  virtual bool IsWriteProtected(const std::string& path) = 0;

  // Creates a new regular file in `folder` under a fresh name of this tool's
  // temporary pattern (never through a link, never opening anything that
  // already exists), writes `bytes` to it and closes it. Its path is in
  // `*temp_path`; on failure nothing is left.
  virtual Error WriteTemporary(const std::string& folder, std::string_view bytes,
                               std::string* temp_path) = 0;

  // Moves `from` over `to` in one step: `to` is the old file or the new one,
  // never a mixture.
  virtual Error Replace(const std::string& from, const std::string& to) = 0;

  virtual Error Remove(const std::string& path) = 0;

  // Removes the regular files in `folder` whose names match this tool's
  // temporary pattern exactly; call only while holding the folder's lock.
  virtual void RemoveTemporaryLeftovers(const std::string& folder) = 0;

  // Puts everything written to the file system of `folder` on disk.
  virtual Error Sync(const std::string& folder) = 0;
};

// The running system's file system.
FileSystem& SystemFileSystem();

// Another instance whose temporary names follow from `seed`, so that a test
// can plant something at the names a run will choose.
std::unique_ptr<FileSystem> SeededFileSystem(std::uint64_t seed);

// Whether `name` is one of this tool's temporary files: ".kscgen-", sixteen
// lower-case hexadecimal digits, ".tmp".
bool IsTemporaryName(std::string_view name);

// The separator the system puts between folder and name.
char PathSeparator();

// `folder` and `name` joined by one separator.
std::string JoinPath(const std::string& folder, std::string_view name);

}  // namespace kscgen::os
