// One file or folder of Windows, below the folder's own steps: errors as
// the engine names them, handles that close themselves, extended-length
// paths, attributes, reading and writing whole, and opening a folder. Only
// the Windows file system includes this.
#pragma once

#include <windows.h>

#include <cstddef>
#include <string>
#include <string_view>
#include <utility>

#include "os/file_system.h"

namespace kscgen::os::win32 {

// The longest name NTFS, FAT and exFAT allow, in UTF-16 units.
constexpr std::size_t kMaxName = 255;
// The longest path the wide API takes, in UTF-16 units.
constexpr std::size_t kMaxPath = 32767;

constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
// Attributes of a name that is no plain file: a folder, a link, a device.
constexpr DWORD kNotAFile =
    FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_DEVICE;

// The system's words for an error, in its language, as UTF-8.
std::string Reason(DWORD code);

// The error `code` as the engine names it, with the system's words.
Error FromCode(DWORD code);
Error LastError();

// A handle closed when it goes out of scope, movable.
class Handle {
 public:
  Handle() = default;
  explicit Handle(HANDLE h) : h_(h) {}
  ~Handle() {
    if (ok()) CloseHandle(h_);
  }
  Handle(const Handle&) = delete;
  Handle& operator=(Handle&& o) noexcept {
    std::swap(h_, o.h_);
    return *this;
  }
  bool ok() const { return h_ != INVALID_HANDLE_VALUE && h_ != nullptr; }
  HANDLE get() const { return h_; }
  HANDLE release() {
    HANDLE h = h_;
    h_ = INVALID_HANDLE_VALUE;
    return h;
  }

 private:
  HANDLE h_ = INVALID_HANDLE_VALUE;
};

bool StartsWith(std::wstring_view s, std::wstring_view prefix);

// The extended-length form of a UTF-8 path. A relative path, or one with
// "." or "..", is first made absolute by the system, as a user's path is
// read everywhere on Windows: ".." goes up from the path as written.
Error WidePath(const std::string& utf8, std::wstring* out);

// The extended-length form as users write paths: "C:\x", "\\server\share\x".
std::string UserPath(std::wstring_view path);

// A real directory: neither a junction nor a directory link.
bool IsFolderAttributes(DWORD attributes);

// A folder is a real directory, never a junction or a directory link; any
// other name is a file (a link to a file, or a cloud placeholder, counts as
// the file it stands for, as a link to a file does on POSIX).
EntryType TypeOf(DWORD attributes);

// The stamp of the regular file `info` tells of: its volume, file index,
// size and the time it was last written.
FileStamp StampOf(const BY_HANDLE_FILE_INFORMATION& info);

// Fails with kChangedSinceRead unless the file at the extended-length
// `target` still has the stamp `expected` (or nothing stands there still,
// where nothing stood). Asking opens it for its attributes only, which
// changes nothing, not even its times.
Error StillAsRead(const std::wstring& target, const FileStamp& expected);

// Writes all of `bytes`.
Error WriteAll(HANDLE h, std::string_view bytes);

// Reads what the file open as `h` holds, up to `limit` bytes, into `*bytes`.
Error ReadUpTo(HANDLE h, std::size_t limit, std::string* bytes);

// Opens the folder at the extended-length `wide`, never through a link when
// `no_link`. The handle does not share deletion: while it is open, no one
// can rename, move or delete the folder (nor, on NTFS, a folder above it),
// so every name under its path stays in this folder for the whole run.
Error OpenFolderHandle(const std::wstring& wide, bool no_link, HANDLE* out,
                       BY_HANDLE_FILE_INFORMATION* info);

}  // namespace kscgen::os::win32
