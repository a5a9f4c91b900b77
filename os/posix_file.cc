#include "os/posix_file.h"

#include <fcntl.h>
#include <sys/ioctl.h>
#ifdef __linux__
#include <linux/fs.h>
#include <sys/sysmacros.h>
#endif
#include <sys/xattr.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "os/file_system_common.h"

namespace kscgen::os::posix {

namespace {

// What the engine calls each errno value it tells apart; any other is
// ErrorKind::kOther.
constexpr common::CodeKind<int> kKinds[] = {
    {ENOENT, ErrorKind::kNotFound},
    {ENOTDIR, ErrorKind::kNotFolder},
    {EACCES, ErrorKind::kPermission},
    {EPERM, ErrorKind::kPermission},
    {ENAMETOOLONG, ErrorKind::kNameTooLong},
    {EISDIR, ErrorKind::kIsFolder},
    {ENOSPC, ErrorKind::kNoSpace},
    {EDQUOT, ErrorKind::kQuota},
    {EEXIST, ErrorKind::kExists},
    {EBUSY, ErrorKind::kBusy},
    {ETXTBSY, ErrorKind::kBusy},
    {EIO, ErrorKind::kIoError},
    {EROFS, ErrorKind::kReadOnlyFileSystem},
    {EMFILE, ErrorKind::kTooManyOpenFiles},
    {ENFILE, ErrorKind::kTooManyOpenFiles},
    {ENOMEM, ErrorKind::kNoMemory},
};

}  // namespace

Error FromErrno(int err) { return {common::KindOf(kKinds, err), std::strerror(err), err}; }

FileStamp StampOf(const struct stat& st) {
  constexpr std::int64_t kBillion = 1000000000;
  FileStamp stamp;
  stamp.present = true;
  stamp.device = static_cast<std::uint64_t>(st.st_dev);
  stamp.node = static_cast<std::uint64_t>(st.st_ino);
  stamp.size = static_cast<std::uint64_t>(st.st_size);
  stamp.modified = std::int64_t{st.st_mtim.tv_sec} * kBillion + st.st_mtim.tv_nsec;
  stamp.changed = std::int64_t{st.st_ctim.tv_sec} * kBillion + st.st_ctim.tv_nsec;
  return stamp;
}

Error WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    ssize_t n = ::write(fd, bytes.data(), bytes.size());
    if (n < 0) {
      if (errno == EINTR) continue;
      return FromErrno(errno);
    }
    bytes.remove_prefix(static_cast<std::size_t>(n));
  }
  return {};
}

Error ReadUpTo(int fd, std::size_t limit, std::string* bytes) {
  bytes->resize(limit);
  std::size_t got = 0;
  while (got < bytes->size()) {
    ssize_t n = ::read(fd, bytes->data() + got, bytes->size() - got);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      const int err = errno;
      bytes->clear();
      return FromErrno(err);
    }
    if (n == 0) break;
    got += static_cast<std::size_t>(n);
  }
  bytes->resize(got);
  return {};
}

namespace {

// Whether the running user may give a file the group `gid`.
bool InGroup(gid_t gid) {
  if (::getegid() == gid) return true;
  const int count = ::getgroups(0, nullptr);
  if (count <= 0) return false;
  std::vector<gid_t> groups(static_cast<std::size_t>(count));
  const int got = ::getgroups(count, groups.data());
  return got > 0 && std::find(groups.begin(), groups.begin() + got, gid) != groups.begin() + got;
}

}  // namespace

Existing::Protection ProtectionOf(int dir_fd, const char* name, const struct stat& st,
                                  std::uint64_t attributes, const FolderTraits& folder) {
#ifdef STATX_ATTR_IMMUTABLE
  // Not even root may replace these.
  if ((attributes & STATX_ATTR_IMMUTABLE) != 0) return Existing::kImmutable;
  if ((attributes & STATX_ATTR_APPEND) != 0) return Existing::kAppendOnly;
#else
  (void)attributes;
#endif
  // The permission bits next: they protect a file even from root, who
  // may write anything.
  if ((st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0) return Existing::kReadOnly;
  const uid_t me = ::geteuid();
  if (folder.sticky && me != 0 && st.st_uid != me && folder.owner != me) {
    return Existing::kOtherOwner;
  }
  if (::faccessat(dir_fd, name, W_OK, AT_EACCESS | AT_SYMLINK_NOFOLLOW) != 0 && errno == EACCES) {
    return Existing::kReadOnly;
  }
  // Only root may give a new file another owner, and only a member a group.
  if (me != 0 && st.st_uid != me) return Existing::kForeignOwner;
  if (me != 0 && !InGroup(st.st_gid)) return Existing::kForeignGroup;
  return Existing::kNotProtected;
}

Error StatAt(int dir_fd, const char* name, struct stat* st, std::uint64_t* attributes) {
  *attributes = 0;
#if defined(__linux__) && defined(STATX_BASIC_STATS)
  struct statx x;
  if (::statx(dir_fd, name, AT_SYMLINK_NOFOLLOW, STATX_BASIC_STATS, &x) != 0) {
    return FromErrno(errno);
  }
  *st = {};
  st->st_mode = x.stx_mode;
  st->st_uid = x.stx_uid;
  st->st_gid = x.stx_gid;
  st->st_size = static_cast<off_t>(x.stx_size);
  st->st_dev = makedev(x.stx_dev_major, x.stx_dev_minor);
  st->st_ino = x.stx_ino;
  // The times a file's stamp holds (FileStamp).
  st->st_mtim.tv_sec = x.stx_mtime.tv_sec;
  st->st_mtim.tv_nsec = x.stx_mtime.tv_nsec;
  st->st_ctim.tv_sec = x.stx_ctime.tv_sec;
  st->st_ctim.tv_nsec = x.stx_ctime.tv_nsec;
  *attributes = x.stx_attributes & x.stx_attributes_mask;
  return {};
#else
  if (::fstatat(dir_fd, name, st, AT_SYMLINK_NOFOLLOW) != 0) return FromErrno(errno);
  return {};
#endif
}

namespace {

constexpr const char* kAccessAcl = "system.posix_acl_access";

// Gives the file open as `to` the extended attributes of the one open as
// `from`, naming in `*lost` those it cannot be given; false when the old
// file's attributes could not be listed. When the access control list
// cannot be given, the group's bits are taken out of `*mode`.
bool CopyAttributes(int from, int to, mode_t* mode, bool* acl_kept,
                    std::vector<std::string>* lost) {
  ssize_t size = ::flistxattr(from, nullptr, 0);
  std::string names(size > 0 ? static_cast<std::size_t>(size) : 0, '\0');
  if (size > 0) size = ::flistxattr(from, names.data(), names.size());
  const bool listed = size >= 0 || errno == ENOTSUP;
  names.resize(size > 0 ? static_cast<std::size_t>(size) : 0);
  std::string value;
  for (std::size_t at = 0; at < names.size(); at += std::strlen(names.data() + at) + 1) {
    const char* name = names.data() + at;
    // One listed but not readable is lost too, unless it went meanwhile.
    ssize_t n = ::fgetxattr(from, name, nullptr, 0);
    if (n >= 0) {
      value.resize(static_cast<std::size_t>(n));
      n = ::fgetxattr(from, name, value.data(), value.size());
    }
    if (n < 0) {
      if (errno != ENODATA) lost->push_back(name);
      continue;
    }
    // An attribute the user may not set (security.* and trusted.* for
    // anyone but root) is named as lost; only the access list decides who
    // may read the file, and it is seen to by the caller. (Trusted ones are
    // not even listed for others than root: those go unseen.)
    const bool set = ::fsetxattr(to, name, value.data(), static_cast<std::size_t>(n), 0) == 0;
    if (!set && std::strcmp(name, kAccessAcl) != 0) lost->push_back(name);
    if (std::strcmp(name, kAccessAcl) == 0) {
      *acl_kept = set;
      // Without its list, the group's bits (the list's mask) would give
      // the owning group what only named users had.
      if (!set) *mode &= ~static_cast<mode_t>(070);
    }
  }
  return listed;
}

#ifdef __linux__
// The inode flags a file's owner may set (chattr), with their letters; the
// immutable and append-only ones need privilege, and a file carrying them
// is never replaced.
struct InodeFlag {
  int flag;
  char letter;
};
constexpr InodeFlag kOwnersFlags[] = {
    {FS_NOATIME_FL, 'A'}, {FS_NODUMP_FL, 'd'}, {FS_SYNC_FL, 'S'},   {FS_COMPR_FL, 'c'},
    {FS_SECRM_FL, 's'},   {FS_UNRM_FL, 'u'},   {FS_NOTAIL_FL, 't'},
};

// Gives the file open as `to` the owner's inode flags of the one open as
// `from`, naming in `*lost` those it cannot be given. A file system without
// such flags has none to keep.
void CopyInodeFlags(int from, int to, std::vector<std::string>* lost) {
  int old_flags = 0;
  int new_flags = 0;
  if (::ioctl(from, FS_IOC_GETFLAGS, &old_flags) != 0) return;
  if (::ioctl(to, FS_IOC_GETFLAGS, &new_flags) != 0) new_flags = 0;
  int wanted = new_flags;
  for (const InodeFlag& f : kOwnersFlags) wanted = (wanted & ~f.flag) | (old_flags & f.flag);
  if (wanted == new_flags) return;
  if (::ioctl(to, FS_IOC_SETFLAGS, &wanted) == 0) {
    int got = 0;
    if (::ioctl(to, FS_IOC_GETFLAGS, &got) == 0) new_flags = got;
  }
  for (const InodeFlag& f : kOwnersFlags) {
    if ((old_flags & f.flag) != 0 && (new_flags & f.flag) == 0) {
      lost->push_back(std::string("chattr +") + f.letter);
    }
  }
}
#endif

}  // namespace

Error KeepMetadata(int dir_fd, const char* from_name, const struct stat& old, int to,
                   const FolderTraits& folder, std::vector<std::string>* lost) {
  mode_t mode = old.st_mode & 07777;
  if (old.st_uid != ::geteuid() && ::fchown(to, old.st_uid, static_cast<gid_t>(-1)) != 0) {
    mode &= 0777;
  }
  struct stat now;
  if (::fstat(to, &now) != 0) return FromErrno(errno);
  const mode_t created = now.st_mode & 07777;
  if (now.st_gid != old.st_gid && ::fchown(to, static_cast<uid_t>(-1), old.st_gid) != 0) {
    mode &= ~static_cast<mode_t>(S_ISGID | 070);
  }
  // The old file's attributes replace whatever the new one inherited from
  // the folder; an access control list it did not have is taken off.
  bool acl_kept = false;
  bool listed = false;
  Descriptor from(::openat(dir_fd, from_name, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
  struct stat same;
  if (from.get() >= 0 && ::fstat(from.get(), &same) == 0 && same.st_ino == old.st_ino &&
      same.st_dev == old.st_dev) {
    listed = CopyAttributes(from.get(), to, &mode, &acl_kept, lost);
#ifdef __linux__
    CopyInodeFlags(from.get(), to, lost);
#endif
  }
  if (!listed) {
    // What the old file carried is unknown: only its owner keeps access.
    mode &= ~static_cast<mode_t>(077);
  }
  if (!acl_kept && folder.default_acl && ::fremovexattr(to, kAccessAcl) != 0 && errno != ENODATA &&
      errno != ENOTSUP) {
    mode &= ~static_cast<mode_t>(077);
  }
  // A list set or taken off here agrees with the old mode (the group's bits
  // are the list's mask), so the mode needs setting only where it differs
  // from what the new file got: most often it does not.
  if (mode != created && ::fchmod(to, mode) != 0) return FromErrno(errno);
  return {};
}

}  // namespace kscgen::os::posix
