// The file system of Windows, through the wide API. Paths come and go as
// UTF-8; each is turned into an extended-length path ("\\?\C:\..." or
// "\\?\UNC\server\share\...") before the system sees it, so that neither the
// 260-character limit nor the system's trimming of trailing blanks and dots
// applies to the names the engine builds.
#include <windows.h>

#include <algorithm>
#include <random>
#include <utility>

#include "os/file_system.h"
#include "os/file_system_common.h"
#include "os/local_time.h"
#include "os/windows_file.h"
#include "text/utf16_win32.h"

namespace kscgen::os {
namespace {

using text::win32::Utf8ToWide;
using text::win32::WideToUtf8;

using common::kTries;
using win32::FromCode;
using win32::Handle;
using win32::IsFolderAttributes;
using win32::kMaxName;
using win32::kNotAFile;
using win32::kShareAll;
using win32::LastError;
using win32::OpenFolderHandle;
using win32::Reason;
using win32::StampOf;
using win32::StartsWith;
using win32::StillAsRead;
using win32::TypeOf;
using win32::UserPath;
using win32::WidePath;
using win32::WriteAll;

class WindowsFolder : public common::SystemFolder {
 public:
  WindowsFolder(std::string path, HANDLE h, std::wstring wide_path,
                const BY_HANDLE_FILE_INFORMATION& info, std::mt19937_64* random)
      : SystemFolder(std::move(path)),
        handle_(h),
        wide_path_(std::move(wide_path)),
        identity_{info.dwVolumeSerialNumber,
                  (std::uint64_t{info.nFileIndexHigh} << 32) | info.nFileIndexLow},
        random_(random) {}

  FolderIdentity identity() const override { return identity_; }

  void RemoveTemporaryLeftovers() override {
    std::vector<std::string> leftovers;  // only these: a folder may hold many other files
    ForEachEntry([&](FolderEntry& e) {
      if (IsTemporaryName(e.name) && e.type == EntryType::kFile) {
        leftovers.push_back(std::move(e.name));
      }
    });
    for (const std::string& name : leftovers) {
      std::wstring wide;
      if (Child(name, &wide).failed()) continue;
      // Regular files only: a link to a file is listed as a file.
      DWORD attributes = GetFileAttributesW(wide.c_str());
      if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & kNotAFile) != 0) continue;
      // One that cannot be removed stays for a later run: it is only
      // clutter, and new temporary names are random, so it blocks nothing.
      DeleteFileW(wide.c_str());
    }
  }

 private:
  Error EachEntry(const std::function<void(FolderEntry&)>& each) override {
    const std::wstring pattern = wide_path_ + (wide_path_.back() == L'\\' ? L"*" : L"\\*");
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileExW(pattern.c_str(), FindExInfoBasic, &data, FindExSearchNameMatch,
                                   nullptr, FIND_FIRST_EX_LARGE_FETCH);
    if (find == INVALID_HANDLE_VALUE) {
      DWORD code = GetLastError();
      if (code == ERROR_FILE_NOT_FOUND) return {};  // a drive's root with nothing on it
      return FromCode(code);
    }
    Error error;
    FolderEntry entry;
    do {
      std::wstring_view name = data.cFileName;
      if (name == L"." || name == L"..") continue;
      entry.name = WideToUtf8(name);
      entry.type = TypeOf(data.dwFileAttributes);
      each(entry);
    } while (FindNextFileW(find, &data));
    if (DWORD code = GetLastError(); code != ERROR_NO_MORE_FILES) error = FromCode(code);
    FindClose(find);
    return error;
  }

  Error OpenEntryFolder(const std::string& name, std::unique_ptr<Folder>* folder) override {
    std::wstring wide;
    if (Error e = Child(name, &wide); e.failed()) return e;
    HANDLE h;
    BY_HANDLE_FILE_INFORMATION info;
    if (Error e = OpenFolderHandle(wide, true, &h, &info); e.failed()) return e;
    *folder =
        std::make_unique<WindowsFolder>(JoinPath(path(), name), h, std::move(wide), info, random_);
    return {};
  }

  // The file ".kscgen.lock" in the folder, opened without sharing: while one
  // run holds it, every other open of it fails, in this process or another,
  // on this machine or through a share. A lock on its first byte as well
  // reaches where sharing does not: a Linux run locks the same byte of the
  // same file (under Wine, or on a shared disk). A Linux run removes the
  // file while holding it, so one locked after its removal is let go and
  // the name tried again. A run that made the file has it removed when its
  // handle closes, killed or not; a file of that name that holds bytes (a
  // user's own: a lock file never does) stays. Something other than a file
  // at the name (a folder, a link: FILE_FLAG_OPEN_REPARSE_POINT takes a
  // link as itself, never what it points to), or a file this user may not
  // open, is passed over: the run goes on without the file's lock, as a
  // Linux run keeps its lock on the folder alone.
  Error TakeLock() override {
    if (lock_.ok()) return {};
    std::wstring wide;
    if (Error e = Child(common::kLockFileName, &wide); e.failed()) return e;
    for (int attempt = 0; attempt < kTries; ++attempt) {
      const DWORD there = GetFileAttributesW(wide.c_str());
      if (there != INVALID_FILE_ATTRIBUTES && (there & kNotAFile) != 0) return {};
      HANDLE h =
          CreateFileW(wide.c_str(), GENERIC_READ | GENERIC_WRITE | DELETE, 0, nullptr, OPEN_ALWAYS,
                      FILE_ATTRIBUTE_HIDDEN | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
      if (h == INVALID_HANDLE_VALUE) {
        DWORD code = GetLastError();
        if (code == ERROR_SHARING_VIOLATION) {
          return {ErrorKind::kLocked, Reason(code), static_cast<long>(code)};
        }
        if (code == ERROR_ACCESS_DENIED) {
          // Removed by a run that held it (it is gone once that run's
          // handle closes): try again; otherwise not ours to open.
          if (GetFileAttributesW(wide.c_str()) == INVALID_FILE_ATTRIBUTES &&
              GetLastError() == ERROR_FILE_NOT_FOUND) {
            continue;
          }
          return {};
        }
        return FromCode(code);
      }
      const bool created = GetLastError() != ERROR_ALREADY_EXISTS;
      Handle file(h);
      BY_HANDLE_FILE_INFORMATION info;
      if (!GetFileInformationByHandle(h, &info)) return LastError();
      if ((info.dwFileAttributes & kNotAFile) != 0) return {};  // put there since
      OVERLAPPED first_byte = {};
      if (!LockFileEx(h, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0,
                      &first_byte)) {
        DWORD code = GetLastError();
        if (code == ERROR_LOCK_VIOLATION) {
          return {ErrorKind::kLocked, Reason(code), static_cast<long>(code)};
        }
        return FromCode(code);
      }
      if (info.nNumberOfLinks == 0) continue;
      FILE_DISPOSITION_INFO remove = {TRUE};
      // An empty file is a lock file a killed Linux run left; one that
      // holds bytes is not this tool's and stays.
      const bool ours = created || (info.nFileSizeHigh == 0 && info.nFileSizeLow == 0);
      if (ours && !SetFileInformationByHandle(h, FileDispositionInfo, &remove, sizeof remove)) {
        return LastError();
      }
      lock_ = std::move(file);
      return {};
    }
    return {ErrorKind::kLocked, Reason(ERROR_LOCK_VIOLATION), ERROR_LOCK_VIOLATION};
  }

  Error ReadEntry(const std::string& name, std::size_t max_bytes, Existing* what) override {
    *what = Existing();
    std::wstring wide;
    if (Error e = Child(name, &wide); e.failed()) return e;
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExW(wide.c_str(), GetFileExInfoStandard, &data)) {
      DWORD code = GetLastError();
      if (code == ERROR_FILE_NOT_FOUND || code == ERROR_PATH_NOT_FOUND) return {};
      return FromCode(code);
    }
    if (IsFolderAttributes(data.dwFileAttributes)) {
      what->kind = Existing::kFolder;
      return {};
    }
    if ((data.dwFileAttributes & kNotAFile) != 0) {
      what->kind = Existing::kOther;
      return {};
    }
    what->kind = Existing::kRegular;
    what->write_protected = IsWriteProtected(wide, data.dwFileAttributes);
    if (what->write_protected) what->protection = Existing::kReadOnly;
    const std::uint64_t size = (std::uint64_t{data.nFileSizeHigh} << 32) | data.nFileSizeLow;
    what->size = size;
    // Without the file index (only an open handle tells it): never found
    // unchanged, and never read either.
    what->stamp.present = true;
    what->stamp.size = size;
    if (size > max_bytes) return {};
    // Not through a link: FILE_FLAG_OPEN_REPARSE_POINT opens one planted
    // since as itself, and it is then not read.
    Handle h(CreateFileW(wide.c_str(), GENERIC_READ, kShareAll, nullptr, OPEN_EXISTING,
                         FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
    if (!h.ok()) {
      const DWORD code = GetLastError();
      if (code == ERROR_FILE_NOT_FOUND) {  // gone since
        *what = Existing();
        return {};
      }
      return FromCode(code);  // never read: it must not be taken for an empty file
    }
    BY_HANDLE_FILE_INFORMATION info;
    if (!GetFileInformationByHandle(h.get(), &info)) return LastError();
    if ((info.dwFileAttributes & kNotAFile) != 0 || GetFileType(h.get()) != FILE_TYPE_DISK) {
      *what = Existing();
      what->kind = IsFolderAttributes(info.dwFileAttributes) ? Existing::kFolder : Existing::kOther;
      return {};
    }
    // Taken before the bytes are read: a write while they are read changes
    // the time it was last written, and Replace finds it changed.
    what->stamp = StampOf(info);
    return common::ReadWhole(h.get(), win32::ReadUpTo, size, max_bytes, &what->bytes);
  }

  // The attributes kept are the hidden, system and archive ones below, which
  // any user who may write the file may set: none is ever lost.
  Error ReplaceEntry(const std::string& name, std::string_view bytes, const FileStamp* expected,
                     std::vector<std::string>* lost) override {
    lost->clear();
    std::wstring target;
    if (Error e = Child(name, &target); e.failed()) return e;
    std::wstring temp;
    HANDLE h = INVALID_HANDLE_VALUE;
    if (Error e = CreateTemporary(&temp, &h); e.failed()) return e;
    // The bytes reach the disk before the rename makes them the KSC file:
    // a power cut leaves the old file or the whole new one.
    Error written = WriteAll(h, bytes);
    if (!written.failed() && !FlushFileBuffers(h)) written = LastError();
    if (!CloseHandle(h) && !written.failed()) written = LastError();
    if (written.failed()) {
      // Failing too, it leaves a leftover that the next run removes.
      DeleteFileW(temp.c_str());
      return written;
    }
    // The replacement keeps the old file's hidden, system and archive
    // attributes. (Its access control list is the one a new file in the
    // folder inherits.)
    DWORD old = GetFileAttributesW(target.c_str());
    constexpr DWORD kKept = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE |
                            FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;
    if (old != INVALID_FILE_ATTRIBUTES && (old & kNotAFile) == 0 && (old & kKept) != 0 &&
        !SetFileAttributesW(temp.c_str(), old & kKept)) {
      Error kept = LastError();
      DeleteFileW(temp.c_str());
      return kept;
    }
    // Looked at again as late as can be: an editor's save since it was read
    // would be lost under the new file.
    if (expected) {
      if (Error changed = StillAsRead(target, *expected); changed.failed()) {
        DeleteFileW(temp.c_str());
        return FailedAt(name, std::move(changed));
      }
    }
    // One rename within the folder: the file at `name` (a link there
    // included, never what it points to) is swapped for the new one in one
    // step. Where nothing stood when the file was read, a file made there
    // since is not replaced: the rename fails on it in the same step.
    const bool replaces = !expected || expected->present;
    if (MoveFileExW(temp.c_str(), target.c_str(),
                    MOVEFILE_WRITE_THROUGH | (replaces ? MOVEFILE_REPLACE_EXISTING : 0))) {
      return {};
    }
    const DWORD code = GetLastError();
    DeleteFileW(temp.c_str());
    if (!replaces && (code == ERROR_ALREADY_EXISTS || code == ERROR_FILE_EXISTS)) {
      return FailedAt(name, {ErrorKind::kChangedSinceRead, Reason(code), static_cast<long>(code)});
    }
    DWORD attributes = GetFileAttributesW(target.c_str());
    if (code == ERROR_ACCESS_DENIED && attributes != INVALID_FILE_ATTRIBUTES &&
        IsFolderAttributes(attributes)) {
      return FailedAt(name, {ErrorKind::kIsFolder, Reason(code)});
    }
    return FailedAt(name, FromCode(code));
  }

  // Only a regular file: a link (FILE_FLAG_OPEN_REPARSE_POINT's sense: the
  // link itself), a folder or a device at the name is left as it is.
  Error RemoveEntry(const std::string& name) override {
    std::wstring wide;
    if (Error e = Child(name, &wide); e.failed()) return e;
    const DWORD attributes = GetFileAttributesW(wide.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return LastError();
    if (IsFolderAttributes(attributes)) return {ErrorKind::kIsFolder, Reason(ERROR_ACCESS_DENIED)};
    if ((attributes & kNotAFile) != 0) return FromCode(ERROR_ALREADY_EXISTS);
    if (!DeleteFileW(wide.c_str())) return LastError();
    return {};
  }

  // A read-only volume refuses every file; a folder's own read-only
  // attribute means nothing to Windows, and a folder whose access control
  // list refuses new files is told by the first one the run makes.
  Error CheckNewFiles() override {
    DWORD flags = 0;
    if (GetVolumeInformationByHandleW(handle_.get(), nullptr, 0, nullptr, nullptr, &flags, nullptr,
                                      0) &&
        (flags & FILE_READ_ONLY_VOLUME) != 0) {
      return FromCode(ERROR_WRITE_PROTECT);
    }
    return {};
  }

  // A flush the file system does not offer, or not to this user: the
  // flushes per file stand in for it.
  static bool FlushNotOffered(DWORD code) {
    return code == ERROR_INVALID_FUNCTION || code == ERROR_ACCESS_DENIED ||
           code == ERROR_NOT_SUPPORTED;
  }

  Error Flush(bool whole_file_system) override {
    // Each file's bytes were flushed before its rename, and each rename
    // asked for write-through. The folder's entries are flushed where the
    // file system allows it (NTFS does; others say the call is not theirs).
    // A whole volume can be flushed only by an administrator; for anyone
    // else the flushes per file stand in for it.
    // A folder this user may not open for writing (or a file system that
    // will not open one so) is left to the flushes per file.
    Handle dir(CreateFileW(wide_path_.c_str(), GENERIC_READ | GENERIC_WRITE, kShareAll, nullptr,
                           OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (dir.ok() && !FlushFileBuffers(dir.get()) && !FlushNotOffered(GetLastError())) {
      return LastError();
    }
    if (whole_file_system) {
      wchar_t volume[MAX_PATH];
      if (GetVolumePathNameW(wide_path_.c_str(), volume, MAX_PATH)) {
        std::wstring device = volume;
        if (StartsWith(device, L"\\\\?\\")) device.erase(0, 4);
        if (device.size() == 3 && device[1] == L':') {  // "C:\": the volume "\\.\C:"
          Handle h(CreateFileW((L"\\\\.\\" + device.substr(0, 2)).c_str(), GENERIC_WRITE,
                               FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0,
                               nullptr));
          if (h.ok() && !FlushFileBuffers(h.get()) && !FlushNotOffered(GetLastError())) {
            return LastError();
          }
        }
      }
    }
    return {};
  }

  // The extended-length path of `name` in this folder; a name that is not
  // one ("", ".", "..", with a separator) is refused.
  Error Child(const std::string& name, std::wstring* wide) const {
    std::optional<std::wstring> n = Utf8ToWide(name);
    if (!n || n->empty() || *n == L"." || *n == L".." ||
        n->find_first_of(L"\\/") != std::wstring::npos) {
      return FromCode(ERROR_INVALID_NAME);
    }
    if (n->size() > kMaxName) return {ErrorKind::kNameTooLong, "name too long"};
    *wide = wide_path_;
    if (wide->back() != L'\\') *wide += L'\\';  // a drive's root ends in one already
    *wide += *n;
    return {};
  }

  static bool IsWriteProtected(const std::wstring& wide, DWORD attributes) {
    // The read-only attribute first: it protects a file even from an
    // administrator, and Windows will not replace such a file either.
    if ((attributes & FILE_ATTRIBUTE_READONLY) != 0) return true;
    // Then whether this user may write it. Opening for writing with full
    // sharing changes nothing, not even the time it was last written.
    Handle h(CreateFileW(wide.c_str(), FILE_WRITE_DATA, kShareAll, nullptr, OPEN_EXISTING,
                         FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
    return !h.ok() && GetLastError() == ERROR_ACCESS_DENIED;
  }

  // A new regular file under a fresh random name each try: a name planted
  // in advance, by guess or by chance, only costs one more try.
  Error CreateTemporary(std::wstring* path, HANDLE* out) {
    for (int attempt = 0; attempt < kTries; ++attempt) {
      if (Error e = Child(common::NextTemporaryName(*random_), path); e.failed()) return e;
      // CREATE_NEW fails on anything at the name, a link included
      // (FILE_FLAG_OPEN_REPARSE_POINT: the link itself counts, never its
      // target); no sharing while it is written.
      HANDLE h = CreateFileW(path->c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                             FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
      if (h != INVALID_HANDLE_VALUE) {
        *out = h;
        return {};
      }
      DWORD code = GetLastError();
      if (code == ERROR_FILE_EXISTS || code == ERROR_ALREADY_EXISTS) continue;
      // A folder at the name is refused as "access denied".
      if (code == ERROR_ACCESS_DENIED &&
          GetFileAttributesW(path->c_str()) != INVALID_FILE_ATTRIBUTES) {
        continue;
      }
      return FromCode(code);
    }
    return FromCode(ERROR_FILE_EXISTS);
  }

  Handle handle_;
  std::wstring wide_path_;  // extended-length
  FolderIdentity identity_;
  std::mt19937_64* random_;
  Handle lock_;
};

class WindowsFileSystem : public common::NamingFileSystem {
 public:
  // Opens the folder at a path as the engine spells it; its wide long form
  // in `*wide`.
  static Error OpenByPath(const std::string& path, std::wstring* wide, HANDLE* h,
                          BY_HANDLE_FILE_INFORMATION* info) {
    if (path.empty()) return FromCode(ERROR_PATH_NOT_FOUND);
    if (Error e = WidePath(path, wide); e.failed()) return e;
    return OpenFolderHandle(*wide, false, h, info);
  }

  using NamingFileSystem::NamingFileSystem;

  Error Resolve(const std::string& path, std::string* resolved) override {
    // Links and junctions on the way are followed, as the system follows
    // them when it opens the folder.
    std::wstring wide;
    HANDLE h;
    BY_HANDLE_FILE_INFORMATION info;
    if (Error e = OpenByPath(path, &wide, &h, &info); e.failed()) return e;
    Handle folder(h);
    // The name the system knows the folder by, links resolved; where the
    // system cannot give it (Wine, past 260 characters), the path as made
    // absolute above.
    std::wstring final_path(MAX_PATH, L'\0');
    for (;;) {
      DWORD n = GetFinalPathNameByHandleW(folder.get(), final_path.data(),
                                          static_cast<DWORD>(final_path.size()),
                                          FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
      if (n == 0) {
        final_path = wide;
        break;
      }
      if (n < final_path.size()) {
        final_path.resize(n);
        break;
      }
      final_path.resize(n + 1);
    }
    *resolved = UserPath(final_path);
    return {};
  }

  Error Open(const std::string& path, std::unique_ptr<Folder>* folder) override {
    std::wstring wide;
    HANDLE h;
    BY_HANDLE_FILE_INFORMATION info;
    if (Error e = OpenByPath(path, &wide, &h, &info); e.failed()) return e;
    while (wide.size() > 7 && wide.back() == L'\\') wide.pop_back();  // "\\?\C:\" keeps its own
    *folder = std::make_unique<WindowsFolder>(path, h, std::move(wide), info, &random_);
    return {};
  }
};

}  // namespace

namespace common {

std::unique_ptr<FileSystem> NewFileSystem(std::uint64_t seed) {
  return std::make_unique<WindowsFileSystem>(seed);
}

std::uint64_t ProcessId() { return GetCurrentProcessId(); }

}  // namespace common

char PathSeparator() { return '\\'; }

std::filesystem::path StdPath(const std::string& native) { return std::filesystem::u8path(native); }

std::tm LocalTime(std::time_t when) {
  std::tm local{};
  localtime_s(&local, &when);
  return local;
}

}  // namespace kscgen::os
