// The file system of Linux and other POSIX systems. Every step inside a
// folder goes through the folder's descriptor (openat, renameat, unlinkat),
// and nothing is opened through a link or waits on a pipe.
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <random>

#include "os/file_system.h"
#include "os/file_system_common.h"
#include "os/local_time.h"
#include "os/posix_file.h"

namespace kscgen::os {
namespace {

using common::kLockFileName;
using common::kTries;
using posix::Descriptor;
using posix::FolderTraits;
using posix::FromErrno;
using posix::KeepMetadata;
using posix::ProtectionOf;
using posix::StatAt;
using posix::WriteAll;

class PosixFolder : public common::SystemFolder {
 public:
  PosixFolder(std::string path, int fd, const struct stat& st, std::mt19937_64* random)
      : SystemFolder(std::move(path)),
        fd_(fd),
        identity_{static_cast<std::uint64_t>(st.st_dev), static_cast<std::uint64_t>(st.st_ino)},
        traits_{st.st_uid, (st.st_mode & S_ISVTX) != 0,
                ::fgetxattr(fd, "system.posix_acl_default", nullptr, 0) > 0},
        random_(random) {}

  FolderIdentity identity() const override { return identity_; }

  // The folder open as `fd` at `path`; `fd` is closed should that fail.
  static Error Wrap(std::string path, int fd, std::mt19937_64* random,
                    std::unique_ptr<Folder>* folder) {
    struct stat st;
    if (::fstat(fd, &st) != 0) {
      int err = errno;
      ::close(fd);
      return FromErrno(err);
    }
    *folder = std::make_unique<PosixFolder>(std::move(path), fd, st, random);
    return {};
  }

  void RemoveTemporaryLeftovers() override {
    std::vector<std::string> leftovers;  // only these: a folder may hold many other files
    ForEachEntry([&](FolderEntry& e) {
      if (IsTemporaryName(e.name)) leftovers.push_back(std::move(e.name));
    });
    for (const std::string& name : leftovers) {
      struct stat st;
      if (::fstatat(fd_.get(), name.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0 &&
          S_ISREG(st.st_mode)) {
        // One that cannot be removed stays for a later run: it is only
        // clutter, and new temporary names are random, so it blocks nothing.
        ::unlinkat(fd_.get(), name.c_str(), 0);
      }
    }
  }

 private:
  Error EachEntry(const std::function<void(FolderEntry&)>& each) override {
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
    FolderEntry entry;
    errno = 0;
    while (dirent* d = ::readdir(dir)) {
      std::string_view name = d->d_name;
      if (name == "." || name == "..") continue;
      entry.name.assign(name);
      entry.type = TypeOf(d);
      each(entry);
      errno = 0;
    }
    if (errno != 0) error = FromErrno(errno);
    ::closedir(dir);  // read only: nothing to lose
    return error;
  }

  Error OpenEntryFolder(const std::string& name, std::unique_ptr<Folder>* folder) override {
    int fd = ::openat(fd_.get(), name.c_str(),
                      O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return FromErrno(errno == ELOOP ? ENOTDIR : errno);
    return Wrap(JoinPath(path(), name), fd, random_, folder);
  }

  // Two locks: flock on the folder, which every Linux run takes and which
  // works in any folder; and a write lock on the first byte of the file
  // ".kscgen.lock" in it, the file a Windows run holds, so that runs of both
  // systems on one folder of a shared disk (or under Wine) exclude each
  // other. A run that made the file removes it while still holding it, and
  // a run that locks a file someone removed meanwhile tries again, so no two
  // runs ever hold two different files of that name; a file of that name
  // that holds bytes (a user's own: a lock file never does) stays. Where
  // the user may create no file, no run of this user can write in the
  // folder; where something else stands at the name (a link, a folder, a
  // pipe), it is neither followed nor waited on: in both cases the flock
  // alone is kept.
  Error TakeLock() override {
    if (::flock(fd_.get(), LOCK_EX | LOCK_NB) != 0) {
      if (errno == EWOULDBLOCK) return {ErrorKind::kLocked, std::strerror(errno), errno};
      return FromErrno(errno);
    }
    if (lock_file_.held()) return {};
    for (int attempt = 0; attempt < kTries; ++attempt) {
      bool created = true;
      Descriptor fd(::openat(fd_.get(), kLockFileName,
                             O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC,
                             0666));
      if (fd.get() < 0 && errno == EEXIST) {
        created = false;
        struct stat there;
        if (::fstatat(fd_.get(), kLockFileName, &there, AT_SYMLINK_NOFOLLOW) != 0) {
          if (errno == ENOENT) continue;  // removed meanwhile
          return FromErrno(errno);
        }
        if (!S_ISREG(there.st_mode)) return {};
        fd.reset(::openat(fd_.get(), kLockFileName, O_RDWR | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
        if (fd.get() < 0 && errno == ENOENT) continue;
      }
      if (fd.get() < 0) {
        // EEXIST: a link, at O_CREAT | O_EXCL; ELOOP, EISDIR, ENXIO: a link,
        // a folder or a pipe put there since it was looked at.
        if (errno == EACCES || errno == EPERM || errno == EROFS || errno == EEXIST ||
            errno == ELOOP || errno == EISDIR || errno == ENXIO) {
          return {};
        }
        return FromErrno(errno);
      }
      struct stat held;
      if (::fstat(fd.get(), &held) != 0) return FromErrno(errno);
      if (!S_ISREG(held.st_mode)) return {};
      struct flock range = {};
      range.l_type = F_WRLCK;
      range.l_whence = SEEK_SET;
      range.l_start = 0;
      range.l_len = 1;
      if (::fcntl(fd.get(), F_OFD_SETLK, &range) != 0) {
        if (errno == EAGAIN || errno == EACCES) {
          return {ErrorKind::kLocked, std::strerror(errno), errno};
        }
        return FromErrno(errno);
      }
      struct stat named;
      if (::fstatat(fd_.get(), kLockFileName, &named, AT_SYMLINK_NOFOLLOW) == 0 &&
          held.st_dev == named.st_dev && held.st_ino == named.st_ino) {
        // An empty file is a lock file a killed run left; one that holds
        // bytes is not this tool's and stays.
        lock_file_.Hold(fd_.get(), fd.release(), created || held.st_size == 0);
        return {};
      }
    }
    return {ErrorKind::kLocked, std::strerror(EAGAIN), EAGAIN};
  }

  Error ReadEntry(const std::string& name, std::size_t max_bytes, Existing* what) override {
    *what = Existing();
    struct stat st;
    std::uint64_t attributes = 0;
    if (Error error = StatAt(fd_.get(), name.c_str(), &st, &attributes); error.failed()) {
      return error.kind == ErrorKind::kNotFound ? Error() : error;
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
    what->protection = ProtectionOf(fd_.get(), name.c_str(), st, attributes, traits_);
    what->write_protected = what->protection != Existing::kNotProtected;
    what->size = static_cast<std::uint64_t>(st.st_size);
    what->stamp = posix::StampOf(st);
    if (what->size > max_bytes) return {};
    // Not through a link, and without waiting should a pipe take its place.
    Descriptor fd(
        ::openat(fd_.get(), name.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
    if (fd.get() < 0) {
      // Gone since, or a link or folder put in its place: what stands there
      // now is no file to read. Anything else keeps the file from being read.
      if (errno == ENOENT) {
        *what = Existing();
        return {};
      }
      if (errno == ELOOP || errno == EISDIR) {
        *what = Existing();
        what->kind = errno == EISDIR ? Existing::kFolder : Existing::kOther;
        return {};
      }
      return FromErrno(errno);
    }
    if (::fstat(fd.get(), &st) != 0) return FromErrno(errno);
    if (!S_ISREG(st.st_mode)) {
      *what = Existing();
      what->kind = Existing::kOther;
      return {};
    }
    what->size = static_cast<std::uint64_t>(st.st_size);
    // Taken before the bytes are read: a write while they are read changes
    // the file's times, and Replace finds it changed.
    what->stamp = posix::StampOf(st);
    return common::ReadWhole(fd.get(), posix::ReadUpTo, static_cast<std::uint64_t>(st.st_size),
                             max_bytes, &what->bytes);
  }

  Error ReplaceEntry(const std::string& name, std::string_view bytes, const FileStamp* expected,
                     std::vector<std::string>* lost) override {
    lost->clear();
    std::string temp;
    Descriptor fd;
    if (Error error = CreateTemporary(&temp, &fd); error.failed()) return error;
    // The temporary file's failures are the folder's; giving it what the
    // old file had, and putting it in its place, are the file's.
    Error error = WriteAll(fd.get(), bytes);
    struct stat old;
    if (!error.failed() && ::fstatat(fd_.get(), name.c_str(), &old, AT_SYMLINK_NOFOLLOW) == 0 &&
        S_ISREG(old.st_mode)) {
      if (Error kept = KeepMetadata(fd_.get(), name.c_str(), old, fd.get(), traits_, lost);
          kept.failed()) {
        error = FailedAt(name, std::move(kept));
      }
    }
    if (!error.failed() && ::close(fd.release()) != 0) error = FromErrno(errno);
    // Looked at again as late as can be: an editor's save since it was read
    // would be lost under the new file.
    if (!error.failed() && expected) error = StillAsRead(name, *expected);
    if (!error.failed()) error = MoveInPlace(temp, name, expected);
    // Failing too, it leaves a leftover that the next run removes.
    if (error.failed()) ::unlinkat(fd_.get(), temp.c_str(), 0);
    return error;
  }

  // Fails with kChangedSinceRead, as the file's failure, unless the file at
  // `name` still has the stamp `expected` (or nothing stands there still,
  // where nothing stood).
  Error StillAsRead(const std::string& name, const FileStamp& expected) {
    struct stat st;
    FileStamp now;
    if (::fstatat(fd_.get(), name.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0) {
      now = posix::StampOf(st);
      // A folder, a link or a pipe there now is no file that was read.
      if (!S_ISREG(st.st_mode)) now.node = ~expected.node;
    } else if (errno != ENOENT) {
      return FailedAt(name, FromErrno(errno));
    }
    if (now == expected) return {};
    return FailedAt(name, {ErrorKind::kChangedSinceRead, "changed since it was read"});
  }

  // Renames the written temporary file to `name`. Where nothing stood when
  // the file was read, a file made there since is not replaced (in the same
  // step where the file system offers it).
  Error MoveInPlace(const std::string& temp, const std::string& name, const FileStamp* expected) {
#ifdef RENAME_NOREPLACE
    if (expected && !expected->present) {
      if (::renameat2(fd_.get(), temp.c_str(), fd_.get(), name.c_str(), RENAME_NOREPLACE) == 0) {
        return {};
      }
      if (errno == EEXIST) {
        return FailedAt(name, {ErrorKind::kChangedSinceRead, "made since it was looked for"});
      }
      if (errno != EINVAL && errno != ENOSYS) return FailedAt(name, FromErrno(errno));
    }
#endif
    if (::renameat(fd_.get(), temp.c_str(), fd_.get(), name.c_str()) != 0) {
      return FailedAt(name, FromErrno(errno));
    }
    return {};
  }

  // Never through a link: unlinkat removes a link itself, and only a
  // regular file is removed at all.
  Error RemoveEntry(const std::string& name) override {
    struct stat st;
    if (::fstatat(fd_.get(), name.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0) return FromErrno(errno);
    if (S_ISDIR(st.st_mode)) return FromErrno(EISDIR);
    if (!S_ISREG(st.st_mode)) return FromErrno(EEXIST);
    if (::unlinkat(fd_.get(), name.c_str(), 0) != 0) return FromErrno(errno);
    return {};
  }

  // Each way a folder refuses every new file, looked at before anything is
  // written: in an append-only folder files can be made but not renamed or
  // removed, so each video would leave its temporary file behind.
  Error CheckNewFiles() override {
    struct stat st;
    std::uint64_t attributes = 0;
    if (Error error = StatAt(fd_.get(), ".", &st, &attributes); error.failed()) return error;
#ifdef STATX_ATTR_IMMUTABLE
    if ((attributes & STATX_ATTR_IMMUTABLE) != 0) {
      return {ErrorKind::kImmutable, std::strerror(EPERM), EPERM};
    }
    if ((attributes & STATX_ATTR_APPEND) != 0) {
      return {ErrorKind::kAppendOnly, std::strerror(EPERM), EPERM};
    }
#endif
    // Write and search permission, as the kernel decides them for this user
    // (root passes, an access control list counts; EROFS on a read-only
    // file system).
    if (::faccessat(fd_.get(), ".", W_OK | X_OK, AT_EACCESS) != 0 &&
        (errno == EACCES || errno == EPERM || errno == EROFS)) {
      return FromErrno(errno);
    }
    return {};
  }

  Error Flush(bool whole_file_system) override {
#ifdef __linux__
    // One call for the whole file system: cheaper than a flush per file.
    if (whole_file_system && ::syncfs(fd_.get()) != 0) return FromErrno(errno);
#else
    if (whole_file_system) ::sync();
#endif
    if (::fsync(fd_.get()) != 0 && errno != EINVAL) return FromErrno(errno);
    return {};
  }

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
  Error CreateTemporary(std::string* name, Descriptor* fd) {
    for (int attempt = 0; attempt < kTries; ++attempt) {
      *name = common::NextTemporaryName(*random_);
      fd->reset(::openat(fd_.get(), name->c_str(),
                         O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666));
      if (fd->get() >= 0) return {};
      if (errno != EEXIST && errno != ELOOP) return FromErrno(errno);
    }
    return FromErrno(EEXIST);
  }

  // The locked ".kscgen.lock": removed if this run made it, then unlocked
  // by closing it, before the folder's descriptor closes.
  class LockFile {
   public:
    LockFile() = default;
    ~LockFile() {
      if (fd_ < 0) return;
      struct stat held, named;
      // One that cannot be removed stays: a later run opens and locks it as
      // it is, so it blocks nothing.
      if (created_ && ::fstat(fd_, &held) == 0 &&
          ::fstatat(dir_fd_, kLockFileName, &named, AT_SYMLINK_NOFOLLOW) == 0 &&
          held.st_dev == named.st_dev && held.st_ino == named.st_ino) {
        ::unlinkat(dir_fd_, kLockFileName, 0);
      }
      ::close(fd_);
    }
    LockFile(const LockFile&) = delete;
    LockFile& operator=(const LockFile&) = delete;
    bool held() const { return fd_ >= 0; }
    void Hold(int dir_fd, int fd, bool created) {
      dir_fd_ = dir_fd;
      fd_ = fd;
      created_ = created;
    }

   private:
    int dir_fd_ = -1;
    int fd_ = -1;
    bool created_ = false;
  };

  Descriptor fd_;  // closing it lets go of the flock
  FolderIdentity identity_;
  FolderTraits traits_;
  std::mt19937_64* random_;
  LockFile lock_file_;  // after fd_: destroyed before it
};

class PosixFileSystem : public common::NamingFileSystem {
 public:
  using NamingFileSystem::NamingFileSystem;

  Error Resolve(const std::string& path, std::string* resolved) override {
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

  Error Open(const std::string& path, std::unique_ptr<Folder>* folder) override {
    if (path.empty()) return FromErrno(ENOENT);
    int fd = ::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return FromErrno(errno);
    return PosixFolder::Wrap(path, fd, &random_, folder);
  }
};

}  // namespace

namespace common {

std::unique_ptr<FileSystem> NewFileSystem(std::uint64_t seed) {
  return std::make_unique<PosixFileSystem>(seed);
}

std::uint64_t ProcessId() { return static_cast<std::uint64_t>(::getpid()); }

}  // namespace common

char PathSeparator() { return '/'; }

std::filesystem::path StdPath(const std::string& native) { return std::filesystem::path(native); }

std::tm LocalTime(std::time_t when) {
  std::tm local{};
  localtime_r(&when, &local);
  return local;
}

}  // namespace kscgen::os
