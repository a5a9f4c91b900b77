// One file of a POSIX folder, below the folder's own steps: errors as the
// engine names them, descriptors that close themselves, a file's status and
// protection, reading and writing whole, and what a replaced file carries
// over. Only the POSIX file system includes this.
#pragma once

#include <sys/stat.h>
#include <sys/types.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "os/file_system.h"

namespace kscgen::os::posix {

// The error `err` (an errno value) as the engine names it.
Error FromErrno(int err);

// The stamp of the regular file whose status is `st`: its device, inode,
// size, and the times it was last written and last changed in any way (the
// latter moves with every write, rename over it or change of its owner or
// permissions, and no one may set it back).
FileStamp StampOf(const struct stat& st);

// A descriptor closed when it goes out of scope.
class Descriptor {
 public:
  explicit Descriptor(int fd = -1) : fd_(fd) {}
  // Descriptors closed here were only read through, held a lock (closing
  // lets it go), or their file is given up already: a failed close loses
  // nothing. A written file is closed with its result looked at (see
  // Replace).
  ~Descriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  int get() const { return fd_; }
  int release() {
    int fd = fd_;
    fd_ = -1;
    return fd;
  }
  void reset(int fd) {
    if (fd_ >= 0) ::close(fd_);
    fd_ = fd;
  }

 private:
  int fd_;
};

// Every step here fails with an Error that names no path: the folder's
// steps name it.

// Writes all of `bytes`.
Error WriteAll(int fd, std::string_view bytes);

// Reads what the file open as `fd` holds, up to `limit` bytes, into `*bytes`.
Error ReadUpTo(int fd, std::size_t limit, std::string* bytes);

// What of the folder a file is in decides how the file is replaced.
struct FolderTraits {
  uid_t owner = 0;
  bool sticky = false;       // only a file's owner (or the folder's) may replace it
  bool default_acl = false;  // a new file inherits an access control list
};

// Why the file `name` (whose status is `st`, its attributes `attributes`)
// cannot be replaced, if it cannot.
Existing::Protection ProtectionOf(int dir_fd, const char* name, const struct stat& st,
                                  std::uint64_t attributes, const FolderTraits& folder);

// The status of `name` without following a link (its type, owner, group,
// size, device, inode and the times of its stamp), with its immutable and
// append-only marks where the system tells them.
Error StatAt(int dir_fd, const char* name, struct stat* st, std::uint64_t* attributes);

// Gives the new file `to` (not yet in place) what the file it replaces,
// `from_name` in `dir_fd` with status `old`, had: owner and group where the
// running user may give them, extended attributes (the access control list
// among them: it is one), then the permission bits. Whatever cannot be kept
// takes access away, never adds it: set-id bits go with the owner, the
// group's bits with the group. The attributes that could not be given are
// put in `*lost`. Fails with the error that leaves the new file's
// permissions unknown: it must then not take the old file's place.
Error KeepMetadata(int dir_fd, const char* from_name, const struct stat& old, int to,
                   const FolderTraits& folder, std::vector<std::string>* lost);

}  // namespace kscgen::os::posix
