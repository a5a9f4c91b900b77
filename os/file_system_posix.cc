// The file system of Linux and other POSIX systems. Every step inside a
// folder goes through the folder's descriptor (openat, renameat, unlinkat),
// and nothing is opened through a link or waits on a pipe.
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <random>

#include "os/file_system.h"

namespace kscgen::os {
namespace {

Error FromErrno(int err) {
  ErrorKind kind = ErrorKind::kOther;
  switch (err) {
    case ENOENT:
      kind = ErrorKind::kNotFound;
      break;
    case ENOTDIR:
      kind = ErrorKind::kNotFolder;
      break;
    case EACCES:
    case EPERM:
      kind = ErrorKind::kPermission;
      break;
    case ENAMETOOLONG:
      kind = ErrorKind::kNameTooLong;
      break;
    case EISDIR:
      kind = ErrorKind::kIsFolder;
      break;
    case ENOSPC:
    case EDQUOT:
      kind = ErrorKind::kNoSpace;
      break;
    case EROFS:
      kind = ErrorKind::kReadOnlyFileSystem;
      break;
    default:
      break;
  }
  return {kind, std::strerror(err)};
}

// The file every run, on Linux or Windows, locks in the folder it works in.
constexpr char kLockFileName[] = ".kscgen.lock";

// A descriptor closed when it goes out of scope.
class Descriptor {
 public:
  explicit Descriptor(int fd = -1) : fd_(fd) {}
  // Descriptors closed here were only read through, or their file is given
  // up already: a failed close loses nothing. A written file is closed with
  // its result looked at (see Replace).
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

 private:
  int fd_;
};

bool WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    ssize_t n = ::write(fd, bytes.data(), bytes.size());
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    bytes.remove_prefix(static_cast<std::size_t>(n));
  }
  return true;
}

// The permissions a new file gets: 0666 less the process's umask, read once
// (reading it means setting it).
mode_t NewFileMode() {
  static const mode_t mode = [] {
    mode_t mask = ::umask(022);
    ::umask(mask);
    return static_cast<mode_t>(0666 & ~mask);
  }();
  return mode;
}

bool IsWriteProtected(int dir_fd, const char* name, const struct stat& st) {
  // The permission bits first: they protect a file even from root, who
  // may write anything.
  if ((st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0) return true;
  return ::faccessat(dir_fd, name, W_OK, AT_EACCESS | AT_SYMLINK_NOFOLLOW) != 0 && errno == EACCES;
}

class PosixFolder : public Folder {
 public:
  PosixFolder(int fd, const struct stat& st, std::mt19937_64* random)
      : fd_(fd),
        identity_{static_cast<std::uint64_t>(st.st_dev), static_cast<std::uint64_t>(st.st_ino)},
        random_(random) {}

  FolderIdentity identity() const override { return identity_; }

  Error List(std::vector<FolderEntry>* entries) override {
    // A second descriptor for the listing: closedir closes what it reads.
    int fd = ::openat(fd_.get(), ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return FromErrno(errno);
    DIR* dir = ::fdopendir(fd);
    if (dir == nullptr) {
      int err = errno;
      ::close(fd);
      return FromErrno(err);
    }
    Error error;
    errno = 0;
    while (dirent* d = ::readdir(dir)) {
      std::string_view name = d->d_name;
      if (name == "." || name == "..") continue;
      entries->push_back({std::string(name), TypeOf(d)});
      errno = 0;
    }
    if (errno != 0) error = FromErrno(errno);
    ::closedir(dir);  // read only: nothing to lose
    return error;
  }

  Error OpenSubfolder(const std::string& name, std::unique_ptr<Folder>* folder) override {
    int fd = ::openat(fd_.get(), name.c_str(),
                      O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return FromErrno(errno == ELOOP ? ENOTDIR : errno);
    return Wrap(fd, random_, folder);
  }

  // Two locks: flock on the folder, which every Linux run takes and which
  // works in any folder; and a write lock on the first byte of the file
  // ".kscgen.lock" in it, the file a Windows run holds, so that runs of both
  // systems on one folder of a shared disk (or under Wine) exclude each
  // other. The file is removed while still locked, and a run that locks a
  // file someone removed meanwhile tries again, so no two runs ever hold two
  // different files of that name. Where the user may create no file, no run
  // of this user can write in the folder and the flock alone is kept.
  Error Lock() override {
    if (::flock(fd_.get(), LOCK_EX | LOCK_NB) != 0) {
      if (errno == EWOULDBLOCK) return {ErrorKind::kLocked, std::strerror(errno)};
      return FromErrno(errno);
    }
    if (lock_file_.held()) return {};
    constexpr int kTries = 100;
    for (int attempt = 0; attempt < kTries; ++attempt) {
      Descriptor fd(::openat(fd_.get(), kLockFileName,
                             O_RDWR | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0666));
      if (fd.get() < 0) {
        if (errno == EACCES || errno == EPERM || errno == EROFS) return {};
        return FromErrno(errno == ELOOP ? EEXIST : errno);
      }
      struct flock range = {};
      range.l_type = F_WRLCK;
      range.l_whence = SEEK_SET;
      range.l_start = 0;
      range.l_len = 1;
      if (::fcntl(fd.get(), F_OFD_SETLK, &range) != 0) {
        if (errno == EAGAIN || errno == EACCES) return {ErrorKind::kLocked, std::strerror(errno)};
        return FromErrno(errno);
      }
      struct stat held, named;
      if (::fstat(fd.get(), &held) == 0 &&
          ::fstatat(fd_.get(), kLockFileName, &named, AT_SYMLINK_NOFOLLOW) == 0 &&
          held.st_dev == named.st_dev && held.st_ino == named.st_ino) {
        lock_file_.Hold(fd_.get(), fd.release());
        return {};
      }
    }
    return {ErrorKind::kLocked, std::strerror(EAGAIN)};
  }

  Error ReadExisting(const std::string& name, std::size_t max_bytes, Existing* what) override {
    *what = Existing();
    struct stat st;
    if (::fstatat(fd_.get(), name.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0) {
      if (errno == ENOENT) return {};
      return FromErrno(errno);
    }
    if (S_ISDIR(st.st_mode)) {
      what->kind = Existing::kFolder;
      return {};
    }
    if (!S_ISREG(st.st_mode)) {
      what->kind = Existing::kOther;
      return {};
    }
    what->kind = Existing::kRegular;
    what->write_protected = IsWriteProtected(fd_.get(), name.c_str(), st);
    if (static_cast<std::uint64_t>(st.st_size) > max_bytes) return {};
    // Not through a link, and without waiting should a pipe take its place.
    Descriptor fd(
        ::openat(fd_.get(), name.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
    if (fd.get() < 0) return {};  // unreadable: it will be replaced
    if (::fstat(fd.get(), &st) != 0 || !S_ISREG(st.st_mode)) return {};
    std::string& bytes = what->bytes;
    bytes.resize(max_bytes + 1);  // one more: to see it grew
    std::size_t got = 0;
    while (got < bytes.size()) {
      ssize_t n = ::read(fd.get(), bytes.data() + got, bytes.size() - got);
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) break;
      got += static_cast<std::size_t>(n);
    }
    bytes.resize(got > max_bytes ? 0 : got);
    return {};
  }

  Error Replace(const std::string& name, std::string_view bytes, bool* in_folder) override {
    *in_folder = true;
    std::string temp;
    Descriptor fd(CreateTemporary(&temp));
    if (fd.get() < 0) return FromErrno(errno);
    bool ok = WriteAll(fd.get(), bytes);
    int err = errno;
    struct stat old;
    if (ok && ::fstatat(fd_.get(), name.c_str(), &old, AT_SYMLINK_NOFOLLOW) == 0 &&
        S_ISREG(old.st_mode)) {
      // The replacement keeps the old file's permissions, and its owner
      // where the running user may give it; most often both are already
      // what a new file gets, and nothing needs doing.
      const bool same_owner = old.st_uid == ::geteuid() && old.st_gid == ::getegid();
      if (!same_owner && ::fchown(fd.get(), old.st_uid, old.st_gid) != 0) {
        ::fchmod(fd.get(), old.st_mode & 0777);  // no set-id bits for another owner
      } else if ((old.st_mode & 07777) != NewFileMode()) {
        ::fchmod(fd.get(), old.st_mode & 07777);
      }
    }
    if (ok && ::close(fd.release()) != 0) {
      ok = false;
      err = errno;
    }
    if (!ok) {
      ::unlinkat(fd_.get(), temp.c_str(), 0);
      return FromErrno(err);
    }
    if (::renameat(fd_.get(), temp.c_str(), fd_.get(), name.c_str()) != 0) {
      err = errno;
      ::unlinkat(fd_.get(), temp.c_str(), 0);
      *in_folder = false;
      return FromErrno(err);
    }
    return {};
  }

  void RemoveTemporaryLeftovers() override {
    std::vector<FolderEntry> entries;
    if (List(&entries).failed()) return;
    for (const FolderEntry& e : entries) {
      if (!IsTemporaryName(e.name)) continue;
      struct stat st;
      if (::fstatat(fd_.get(), e.name.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0 &&
          S_ISREG(st.st_mode)) {
        // One that cannot be removed stays for a later run: it is only
        // clutter, and new temporary names are random, so it blocks nothing.
        ::unlinkat(fd_.get(), e.name.c_str(), 0);
      }
    }
  }

  Error Sync(bool whole_file_system) override {
#ifdef __linux__
    // One call for the whole file system: cheaper than a flush per file.
    if (whole_file_system && ::syncfs(fd_.get()) != 0) return FromErrno(errno);
#else
    if (whole_file_system) ::sync();
#endif
    if (::fsync(fd_.get()) != 0 && errno != EINVAL) return FromErrno(errno);
    return {};
  }

  static Error Wrap(int fd, std::mt19937_64* random, std::unique_ptr<Folder>* folder) {
    struct stat st;
    if (::fstat(fd, &st) != 0) {
      int err = errno;
      ::close(fd);
      return FromErrno(err);
    }
    *folder = std::make_unique<PosixFolder>(fd, st, random);
    return {};
  }

 private:
  EntryType TypeOf(const dirent* d) const {
    switch (d->d_type) {
      case DT_REG:
        return EntryType::kFile;
      case DT_DIR:
        return EntryType::kFolder;
      case DT_LNK:
      case DT_UNKNOWN: {
        struct stat st;
        if (::fstatat(fd_.get(), d->d_name, &st, AT_SYMLINK_NOFOLLOW) != 0)
          return EntryType::kOther;
        if (S_ISDIR(st.st_mode)) return EntryType::kFolder;
        // A link counts as the file it points to, never as a folder.
        if (S_ISLNK(st.st_mode) && ::fstatat(fd_.get(), d->d_name, &st, 0) != 0) {
          return EntryType::kOther;
        }
        return S_ISREG(st.st_mode) ? EntryType::kFile : EntryType::kOther;
      }
      default:
        return EntryType::kOther;
    }
  }

  // A new regular file under a fresh random name each try: a name planted in
  // advance, by guess or by chance, only costs one more try.
  int CreateTemporary(std::string* name) {
    constexpr int kTries = 100;
    for (int attempt = 0; attempt < kTries; ++attempt) {
      *name = NextName();
      int fd = ::openat(fd_.get(), name->c_str(),
                        O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
      if (fd >= 0) return fd;
      if (errno != EEXIST && errno != ELOOP) return -1;
    }
    errno = EEXIST;
    return -1;
  }

  std::string NextName() {
    static constexpr char kHex[] = "0123456789abcdef";
    std::uint64_t r = (*random_)();
    std::string name = ".kscgen-";
    for (int i = 0; i < 16; ++i, r >>= 4) name += kHex[r & 0xF];
    return name + ".tmp";
  }

  class Guard {
   public:
    explicit Guard(int fd) : fd_(fd) {}
    ~Guard() { ::close(fd_); }  // closing releases the lock too
    Guard(const Guard&) = delete;
    Guard& operator=(const Guard&) = delete;
    int get() const { return fd_; }

   private:
    int fd_;
  };

  // The locked ".kscgen.lock": removed, then unlocked by closing it, before
  // the folder's descriptor closes.
  class LockFile {
   public:
    LockFile() = default;
    ~LockFile() {
      if (fd_ < 0) return;
      struct stat held, named;
      if (::fstat(fd_, &held) == 0 &&
          ::fstatat(dir_fd_, kLockFileName, &named, AT_SYMLINK_NOFOLLOW) == 0 &&
          held.st_dev == named.st_dev && held.st_ino == named.st_ino) {
        ::unlinkat(dir_fd_, kLockFileName, 0);
      }
      ::close(fd_);
    }
    LockFile(const LockFile&) = delete;
    LockFile& operator=(const LockFile&) = delete;
    bool held() const { return fd_ >= 0; }
    void Hold(int dir_fd, int fd) {
      dir_fd_ = dir_fd;
      fd_ = fd;
    }

   private:
    int dir_fd_ = -1;
    int fd_ = -1;
  };

  Guard fd_;
  FolderIdentity identity_;
  std::mt19937_64* random_;
  LockFile lock_file_;  // after fd_: destroyed before it
};

class PosixFileSystem : public FileSystem {
 public:
  explicit PosixFileSystem(std::uint64_t seed) : random_(seed) {}

  Error ResolveFolder(const std::string& path, std::string* resolved) override {
    if (path.empty()) return FromErrno(ENOENT);
    char* real = ::realpath(path.c_str(), nullptr);
    if (real == nullptr) return FromErrno(errno);
    resolved->assign(real);
    std::free(real);
    struct stat st;
    if (::stat(resolved->c_str(), &st) != 0) return FromErrno(errno);
    if (!S_ISDIR(st.st_mode)) return FromErrno(ENOTDIR);
    return {};
  }

  Error OpenFolder(const std::string& path, std::unique_ptr<Folder>* folder) override {
    if (path.empty()) return FromErrno(ENOENT);
    int fd = ::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return FromErrno(errno);
    return PosixFolder::Wrap(fd, &random_, folder);
  }

 private:
  std::mt19937_64 random_;
};

std::uint64_t FreshSeed() {
  std::random_device device;
  std::uint64_t seed = (std::uint64_t{device()} << 32) ^ device();
  return seed ^
         static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count()) ^
         static_cast<std::uint64_t>(::getpid());
}

}  // namespace

FileSystem& SystemFileSystem() {
  static PosixFileSystem fs(FreshSeed());
  return fs;
}

std::unique_ptr<FileSystem> SeededFileSystem(std::uint64_t seed) {
  return std::make_unique<PosixFileSystem>(seed);
}

char PathSeparator() { return '/'; }

}  // namespace kscgen::os
