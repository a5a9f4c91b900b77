// The file system of Linux and other POSIX systems.
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

// A descriptor closed when it goes out of scope.
class Descriptor {
 public:
  explicit Descriptor(int fd) : fd_(fd) {}
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

class PosixFolderLock : public FolderLock {
 public:
  explicit PosixFolderLock(int fd) : fd_(fd) {}
  ~PosixFolderLock() override { ::close(fd_); }  // closing releases the lock

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

class PosixFileSystem : public FileSystem {
 public:
  explicit PosixFileSystem(std::uint64_t seed) : random_(seed) {}

  Error ResolveFolder(const std::string& path, std::string* resolved) override {
    char* real = ::realpath(path.empty() ? "." : path.c_str(), nullptr);
    if (real == nullptr) return FromErrno(errno);
    resolved->assign(real);
    std::free(real);
    struct stat st;
    if (::stat(resolved->c_str(), &st) != 0) return FromErrno(errno);
    if (!S_ISDIR(st.st_mode)) return FromErrno(ENOTDIR);
    return {};
  }

  Error ListFolder(const std::string& folder, std::vector<FolderEntry>* entries) override {
    DIR* dir = ::opendir(folder.c_str());
    if (dir == nullptr) return FromErrno(errno);
    Error error;
    errno = 0;
    while (dirent* d = ::readdir(dir)) {
      std::string_view name = d->d_name;
      if (name == "." || name == "..") continue;
      FolderEntry e;
      e.name.assign(name);
      e.type = TypeOf(dirfd(dir), d);
      entries->push_back(std::move(e));
      errno = 0;
    }
    if (errno != 0) error = FromErrno(errno);
    ::closedir(dir);
    return error;
  }

  Error LockFolder(const std::string& folder, std::unique_ptr<FolderLock>* lock) override {
    Descriptor fd(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (fd.get() < 0) return FromErrno(errno);
    if (::flock(fd.get(), LOCK_EX | LOCK_NB) != 0) {
      if (errno == EWOULDBLOCK) return {ErrorKind::kLocked, std::strerror(errno)};
      return FromErrno(errno);
    }
    *lock = std::make_unique<PosixFolderLock>(fd.release());
    return {};
  }

  Error ReadExisting(const std::string& path, std::size_t max_bytes, Existing* what,
                     std::string* bytes) override {
    bytes->clear();
    // Not through a link, and without waiting on a pipe planted at the name.
    Descriptor fd(::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
    if (fd.get() < 0) {
      int err = errno;
      if (err == ENOENT) {
        *what = Existing::kMissing;
        return {};
      }
      struct stat st;
      if (::lstat(path.c_str(), &st) != 0) {
        *what = Existing::kMissing;
        return FromErrno(errno);
      }
      // A regular file the user may not read is still one to replace.
      *what = S_ISREG(st.st_mode) ? Existing::kRegular : Existing::kOther;
      return {};
    }
    struct stat st;
    if (::fstat(fd.get(), &st) != 0) return FromErrno(errno);
    if (!S_ISREG(st.st_mode)) {
      *what = Existing::kOther;
      return {};
    }
    *what = Existing::kRegular;
    if (static_cast<std::uint64_t>(st.st_size) > max_bytes) return {};
    bytes->resize(static_cast<std::size_t>(st.st_size) + 1);  // one more: to see it grew
    std::size_t got = 0;
    while (got < bytes->size()) {
      ssize_t n = ::read(fd.get(), bytes->data() + got, bytes->size() - got);
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) break;
      got += static_cast<std::size_t>(n);
    }
    bytes->resize(got > max_bytes ? 0 : got);
    return {};
  }

  bool IsWriteProtected(const std::string& path) override {
    struct stat st;
    if (::lstat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return false;
    // The permission bits first: they protect a file even from root, who
    // may write anything.
    if ((st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0) return true;
    return ::faccessat(AT_FDCWD, path.c_str(), W_OK, AT_EACCESS) != 0 && errno == EACCES;
  }

  Error WriteTemporary(const std::string& folder, std::string_view bytes,
                       std::string* temp_path) override {
    // A fresh random name each try: a name planted in advance, by guess or
    // by chance, only costs one more try.
    constexpr int kTries = 100;
    for (int attempt = 0; attempt < kTries; ++attempt) {
      std::string path = JoinPath(folder, NextName());
      int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
      if (fd < 0) {
        if (errno == EEXIST || errno == ELOOP) continue;
        return FromErrno(errno);
      }
      bool ok = WriteAll(fd, bytes);
      int err = errno;
      if (::close(fd) != 0 && ok) {
        ok = false;
        err = errno;
      }
      if (!ok) {
        ::unlink(path.c_str());
        return FromErrno(err);
      }
      *temp_path = std::move(path);
      return {};
    }
    return FromErrno(EEXIST);
  }

  Error Replace(const std::string& from, const std::string& to) override {
    if (::rename(from.c_str(), to.c_str()) != 0) return FromErrno(errno);
    return {};
  }

  Error Remove(const std::string& path) override {
    if (::unlink(path.c_str()) != 0) return FromErrno(errno);
    return {};
  }

  void RemoveTemporaryLeftovers(const std::string& folder) override {
    DIR* dir = ::opendir(folder.c_str());
    if (dir == nullptr) return;
    while (dirent* d = ::readdir(dir)) {
      if (!IsTemporaryName(d->d_name)) continue;
      struct stat st;
      if (::fstatat(dirfd(dir), d->d_name, &st, AT_SYMLINK_NOFOLLOW) == 0 && S_ISREG(st.st_mode)) {
        ::unlinkat(dirfd(dir), d->d_name, 0);
      }
    }
    ::closedir(dir);
  }

  Error Sync(const std::string& folder) override {
    Descriptor fd(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (fd.get() < 0) return FromErrno(errno);
#ifdef __linux__
    // One call for the whole file system: cheaper than a flush per file.
    if (::syncfs(fd.get()) != 0) return FromErrno(errno);
#else
    ::sync();
#endif
    if (::fsync(fd.get()) != 0 && errno != EINVAL) return FromErrno(errno);
    return {};
  }

 private:
  static EntryType TypeOf(int dir_fd, const dirent* d) {
    switch (d->d_type) {
      case DT_REG:
        return EntryType::kFile;
      case DT_DIR:
        return EntryType::kFolder;
      case DT_LNK:
      case DT_UNKNOWN: {
        struct stat st;
        if (::fstatat(dir_fd, d->d_name, &st, AT_SYMLINK_NOFOLLOW) != 0) return EntryType::kOther;
        if (S_ISDIR(st.st_mode)) return EntryType::kFolder;
        // A link counts as the file it points to, never as a folder.
        if (S_ISLNK(st.st_mode) && ::fstatat(dir_fd, d->d_name, &st, 0) != 0) {
          return EntryType::kOther;
        }
        return S_ISREG(st.st_mode) ? EntryType::kFile : EntryType::kOther;
      }
      default:
        return EntryType::kOther;
    }
  }

  std::string NextName() {
    static constexpr char kHex[] = "0123456789abcdef";
    std::uint64_t r = random_();
    std::string name = ".kscgen-";
    for (int i = 0; i < 16; ++i, r >>= 4) name += kHex[r & 0xF];
    return name + ".tmp";
  }

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
