// The operating system's files and folders behind one small interface, so
// that the engine runs alike on POSIX systems and on Windows, and tests can
// put a file system that fails on demand in its place.
//
// A folder is opened once and every later step works through that handle:
// renaming the folder, or putting a link in its place, while a run works in
// it cannot send a single byte elsewhere. Names are spelled as the engine
// holds them: the bytes the system gives on POSIX, UTF-8 on Windows
// (converted to and from the wide API here).
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
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
  kQuota,        // the user's share of the disk is used up
  kReadOnlyFileSystem,
  kTooManyOpenFiles,  // the process or the system has no descriptor left
  kNoMemory,
  kExists,                // something stands at a name that had to be new
  kBusy,                  // in use: a mount at the name, a running program
  kHeldByAnotherProgram,  // open in another program that shares it with no one (Windows)
  kIoError,               // the disk failed to read or write
  kImmutable,             // marked unchangeable (chattr +i)
  kAppendOnly,            // marked append-only (chattr +a): nothing in it may be renamed or removed
  kChangedSinceRead,      // written, replaced, made or removed by another program since read
  kOther,
};

// What went wrong, and where: `reason` is the system's own words for it,
// `code` its number for it (errno, or the Windows error code; 0 when the
// reason is this program's own), `path` the folder or file that failed, as
// the folder's path and the entry's name joined (empty where no path is
// concerned, as for a default Error).
struct Error {
  Error() = default;
  Error(ErrorKind kind, std::string reason, long code = 0, std::string path = {})
      : kind(kind), reason(std::move(reason)), code(code), path(std::move(path)) {}

  ErrorKind kind = ErrorKind::kNone;
  std::string reason;
  long code = 0;
  std::string path;

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

// Which regular file stood at a name, and as what, when it was read: the
// same file written since, or another put in its place, has another stamp.
// Times are the system's own ticks (nanoseconds on POSIX, 100 ns on Windows).
struct FileStamp {
  bool present = false;      // a regular file stood there: the rest is its
  std::uint64_t device = 0;  // the file system (volume serial number on Windows)
  std::uint64_t node = 0;    // the inode, or the Windows file index
  std::uint64_t size = 0;
  std::int64_t modified = 0;  // last written
  std::int64_t changed = 0;   // POSIX: last changed in any way (ctime); 0 on Windows
  bool operator==(const FileStamp& o) const {
    return present == o.present && device == o.device && node == o.node && size == o.size &&
           modified == o.modified && changed == o.changed;
  }
  bool operator!=(const FileStamp& o) const { return !(*this == o); }
};

// What stands at a name, read without following a link or blocking.
struct Existing {
  enum Kind {
    kMissing,
    kRegular,  // a regular file; its bytes were read when small enough
    kFolder,   // a folder: no file can take its place
    kOther,    // a link, a pipe, a device: never read, never written through
  } kind = kMissing;
  // Why a regular file cannot be replaced, though the folder would let a
  // new file be written.
  enum Protection {
    kNotProtected,
    kReadOnly,    // no write permission at all, or none for this user
    kImmutable,   // marked unchangeable (chattr +i)
    kAppendOnly,  // marked append-only (chattr +a)
    kOtherOwner,  // another user's, in a folder whose sticky bit keeps it theirs
    // Another user's, or of a group the running user is not in: a new file
    // in its place would be the running user's, and who may read it would
    // change (the owner, the group, an access list's mask).
    kForeignOwner,
    kForeignGroup,
  };
  std::string bytes;             // of a regular file of at most the size asked for
  std::uint64_t size = 0;        // of a regular file, as the system told it before reading
  bool write_protected = false;  // protection != kNotProtected
  Protection protection = kNotProtected;
  // Of a regular file, as it was before its bytes were read; not present
  // when nothing stood at the name. For Replace to find it unchanged.
  FileStamp stamp;
};

// Which folder a handle holds: the same folder reached twice has the same
// identity, so a walk can tell a loop.
struct FolderIdentity {
  std::uint64_t device = 0;
  std::uint64_t node = 0;
  bool operator==(const FolderIdentity& o) const { return device == o.device && node == o.node; }
  bool operator<(const FolderIdentity& o) const {
    return device != o.device ? device < o.device : node < o.node;
  }
};

// An open folder. Every failure of its steps names its path: the folder's
// own for a step of the folder's (listing, locking, writing a temporary
// file, flushing), the entry's for a step about one entry (reading it,
// opening it as a subfolder, putting a new file in its place).
class Folder {
 public:
  explicit Folder(std::string path) : path_(std::move(path)) {}
  virtual ~Folder() = default;
  Folder(const Folder&) = delete;
  Folder& operator=(const Folder&) = delete;

  // The path the folder was opened at (a subfolder's joined to its name).
  const std::string& path() const { return path_; }

  virtual FolderIdentity identity() const = 0;

  // The entries, "." and ".." left out, in no particular order.
  virtual Error List(std::vector<FolderEntry>* entries) = 0;

  // The same entries, each handed to `each` as it is read and not kept: a
  // folder of many files costs no list of them all. By default through List.
  virtual Error ForEachEntry(const std::function<void(FolderEntry&)>& each);

  // A folder inside this one, never through a link.
  virtual Error OpenSubfolder(const std::string& name, std::unique_ptr<Folder>* folder) = 0;

  // An exclusive lock on the folder, without waiting (kLocked when another
  // run holds it), released when the handle is destroyed. Nothing standing
  // at the lock file's name blocks it or is followed.
  virtual Error Lock() = 0;

  // What stands at `name`; the bytes of a regular file of at most
  // `max_bytes` bytes. A regular file of at most that size that cannot be
  // opened or read fails (kPermission for one the user may not read):
  // never an empty file in its place.
  virtual Error ReadExisting(const std::string& name, std::size_t max_bytes, Existing* what) = 0;

  // Writes `bytes` to `name` whole or not at all: a new regular file of this
  // tool's temporary pattern (never through a link, never opening anything
  // that already exists) is written, given what the file it replaces had
  // (permissions, owner and group where the user may set them, access
  // control list and extended attributes; never more access than before),
  // and moved over `name` in one step. On failure nothing is left; the
  // error's path says whether the folder (the temporary file: a full disk
  // among others) or the file at `name` (what it had could not be given, or
  // it could not be replaced) failed. The names of the extended attributes
  // of the old file that the new one could not be given (the user may not
  // set them) are put in `*lost`; the file is replaced all the same.
  //
  // With `expected` (the stamp ReadExisting gave), the file at `name` is
  // looked at again just before the new one takes its place: another
  // program that saved it meanwhile (or put a file there, or removed it)
  // would lose its save, so the new file is removed and Replace fails with
  // kChangedSinceRead, the file's own failure. Where nothing stood, the new
  // file never takes the place of one made since.
  virtual Error Replace(const std::string& name, std::string_view bytes, const FileStamp* expected,
                        std::vector<std::string>* lost) = 0;
  Error Replace(const std::string& name, std::string_view bytes) {
    std::vector<std::string> lost;
    return Replace(name, bytes, nullptr, &lost);
  }

  // Removes the regular file `name`, never through a link and never
  // anything else: fails with kNotFound where nothing stands at the name,
  // kIsFolder for a folder and kExists for a link or another non-file,
  // each left as it is.
  virtual Error Remove(const std::string& name) = 0;

  // Whether the folder takes new files and lets them be renamed, told
  // without writing anything: none when it does; kPermission,
  // kReadOnlyFileSystem, kImmutable or kAppendOnly when the system would
  // refuse every file of the run.
  virtual Error CheckWritable() = 0;

  // Removes the regular files whose names match this tool's temporary
  // pattern exactly; call only while holding the lock.
  virtual void RemoveTemporaryLeftovers() = 0;

  // Puts this folder's entries on disk, and with `whole_file_system`
  // everything written to its file system.
  virtual Error Sync(bool whole_file_system) = 0;

 protected:
  // `error`, naming this folder as what failed.
  Error Failed(Error error) const;
  // `error`, naming this folder's entry `name` as what failed.
  Error FailedAt(std::string_view name, Error error) const;

 private:
  const std::string path_;
};

// Each failure names the path it was given.
class FileSystem {
 public:
  virtual ~FileSystem() = default;

  // The folder the system resolves `path` to, links and ".." followed as the
  // system follows them ("a/link/.." is the link target's parent).
  virtual Error ResolveFolder(const std::string& path, std::string* resolved) = 0;

  // Opens the folder at `path` (as resolved, or as given).
  virtual Error OpenFolder(const std::string& path, std::unique_ptr<Folder>* folder) = 0;
};

// `error`, naming `path` as what failed.
Error FailedAt(std::string path, Error error);

// The running system's file system.
FileSystem& SystemFileSystem();

// Another instance whose temporary names follow from `seed`, so that a test
// can plant something at the names a run will choose.
std::unique_ptr<FileSystem> SeededFileSystem(std::uint64_t seed);

// The entries of the folder at `path`: OpenFolder and List in one, for
// looking around (the folder dialog) rather than working in a folder.
Error ListFolderAt(const std::string& path, std::vector<FolderEntry>* entries,
                   FileSystem& fs = SystemFileSystem());

// Whether `name` is one of this tool's temporary files: ".kscgen-", sixteen
// lower-case hexadecimal digits, ".tmp".
bool IsTemporaryName(std::string_view name);

// The separator the system puts between folder and name.
char PathSeparator();

// `folder` and `name` joined by one separator.
std::string JoinPath(const std::string& folder, std::string_view name);

// A native path for std::filesystem: its bytes on POSIX systems; on Windows
// the program's UTF-8, which std::filesystem would read in the ANSI code page.
std::filesystem::path StdPath(const std::string& native);

}  // namespace kscgen::os
