#include "os/windows_file.h"

#include "os/file_system_common.h"
#include "text/utf16_win32.h"

namespace kscgen::os::win32 {

using text::win32::Utf8ToWide;
using text::win32::WideToUtf8;

namespace {

// ERROR_DISK_QUOTA_EXCEEDED, which not every SDK's headers name.
constexpr DWORD kDiskQuotaExceeded = 1295;

// What the engine calls each system error it tells apart; any other is
// ErrorKind::kOther.
constexpr common::CodeKind<DWORD> kKinds[] = {
    {ERROR_FILE_NOT_FOUND, ErrorKind::kNotFound},
    {ERROR_PATH_NOT_FOUND, ErrorKind::kNotFound},
    {ERROR_INVALID_DRIVE, ErrorKind::kNotFound},
    {ERROR_BAD_NETPATH, ErrorKind::kNotFound},
    {ERROR_BAD_NET_NAME, ErrorKind::kNotFound},
    {ERROR_INVALID_NAME, ErrorKind::kNotFound},  // a name no file can have, so none that exists
    {ERROR_DIRECTORY, ErrorKind::kNotFolder},
    {ERROR_ACCESS_DENIED, ErrorKind::kPermission},
    {ERROR_PRIVILEGE_NOT_HELD, ErrorKind::kPermission},
    {ERROR_FILENAME_EXCED_RANGE, ErrorKind::kNameTooLong},
    {ERROR_BUFFER_OVERFLOW, ErrorKind::kNameTooLong},
    {ERROR_DISK_FULL, ErrorKind::kNoSpace},
    {ERROR_HANDLE_DISK_FULL, ErrorKind::kNoSpace},
    {kDiskQuotaExceeded, ErrorKind::kQuota},
    {ERROR_FILE_EXISTS, ErrorKind::kExists},
    {ERROR_ALREADY_EXISTS, ErrorKind::kExists},
    {ERROR_BUSY, ErrorKind::kBusy},
    {ERROR_SHARING_VIOLATION, ErrorKind::kHeldByAnotherProgram},  // a player or editor has it open
    {ERROR_CRC, ErrorKind::kIoError},
    {ERROR_IO_DEVICE, ErrorKind::kIoError},
    {ERROR_READ_FAULT, ErrorKind::kIoError},
    {ERROR_WRITE_FAULT, ErrorKind::kIoError},
    {ERROR_GEN_FAILURE, ErrorKind::kIoError},
    {ERROR_WRITE_PROTECT, ErrorKind::kReadOnlyFileSystem},
    {ERROR_TOO_MANY_OPEN_FILES, ErrorKind::kTooManyOpenFiles},
    {ERROR_NOT_ENOUGH_MEMORY, ErrorKind::kNoMemory},
    {ERROR_OUTOFMEMORY, ErrorKind::kNoMemory},
};

// Whether `path` (separators already backslashes) is fully qualified and
// holds no "." or ".." component: then it can be prefixed as it stands.
bool IsPlainAbsolute(std::wstring_view path) {
  std::size_t start;
  if (path.size() >= 3 && path[1] == L':' && path[2] == L'\\' &&
      ((path[0] >= L'A' && path[0] <= L'Z') || (path[0] >= L'a' && path[0] <= L'z'))) {
    start = 3;
  } else if (StartsWith(path, L"\\\\") && !StartsWith(path, L"\\\\.\\")) {
    start = 2;
  } else {
    return false;
  }
  std::size_t at = start;
  while (at <= path.size()) {
    std::size_t end = path.find(L'\\', at);
    if (end == std::wstring_view::npos) end = path.size();
    std::wstring_view part = path.substr(at, end - at);
    if (part == L"." || part == L"..") return false;
    if (part.empty() && end != path.size()) return false;  // "\\" inside
    at = end + 1;
  }
  return true;
}

}  // namespace

std::string Reason(DWORD code) {
  wchar_t* buffer = nullptr;
  DWORD n = FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, code, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
  std::wstring text;
  if (n != 0 && buffer != nullptr) text.assign(buffer, n);
  if (buffer != nullptr) LocalFree(buffer);
  while (!text.empty() && (text.back() == L'\r' || text.back() == L'\n' || text.back() == L' ' ||
                           text.back() == L'.' || text.back() == 0x3002)) {
    text.pop_back();
  }
  if (text.empty()) return "error " + std::to_string(code);
  return WideToUtf8(text);
}

Error FromCode(DWORD code) {
  return {common::KindOf(kKinds, code), Reason(code), static_cast<long>(code)};
}

Error LastError() { return FromCode(GetLastError()); }

bool StartsWith(std::wstring_view s, std::wstring_view prefix) {
  return s.substr(0, prefix.size()) == prefix;
}

Error WidePath(const std::string& utf8, std::wstring* out) {
  std::optional<std::wstring> wide = Utf8ToWide(utf8.empty() ? "." : utf8);
  if (!wide) return {ErrorKind::kNotFound, "not UTF-8"};
  std::wstring path = std::move(*wide);
  if (StartsWith(path, L"\\\\?\\")) {
    *out = std::move(path);
    return {};
  }
  for (wchar_t& c : path) {
    if (c == L'/') c = L'\\';
  }
  if (!IsPlainAbsolute(path)) {
    DWORD n = GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
    if (n == 0) return LastError();
    std::wstring full(n, L'\0');
    n = GetFullPathNameW(path.c_str(), n, full.data(), nullptr);
    if (n == 0 || n >= full.size()) return LastError();
    full.resize(n);
    path = std::move(full);
  }
  if (StartsWith(path, L"\\\\.\\")) {
    // A device path stays as it is.
  } else if (StartsWith(path, L"\\\\")) {
    path = L"\\\\?\\UNC\\" + path.substr(2);
  } else {
    path = L"\\\\?\\" + path;
  }
  // Each name, and the whole, within what the system allows, so that a
  // name too long is told apart from one that does not exist.
  std::size_t at = 4;
  while (at < path.size()) {
    std::size_t end = path.find(L'\\', at);
    if (end == std::wstring::npos) end = path.size();
    if (end - at > kMaxName) return {ErrorKind::kNameTooLong, "name too long"};
    at = end + 1;
  }
  if (path.size() > kMaxPath) return {ErrorKind::kNameTooLong, "path too long"};
  *out = std::move(path);
  return {};
}

std::string UserPath(std::wstring_view path) {
  if (StartsWith(path, L"\\\\?\\UNC\\")) return "\\\\" + WideToUtf8(path.substr(8));
  if (StartsWith(path, L"\\\\?\\")) return WideToUtf8(path.substr(4));
  return WideToUtf8(path);
}

bool IsFolderAttributes(DWORD attributes) {
  return (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0 &&
         (attributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0;
}

EntryType TypeOf(DWORD attributes) {
  if ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
    return IsFolderAttributes(attributes) ? EntryType::kFolder : EntryType::kOther;
  }
  if ((attributes & FILE_ATTRIBUTE_DEVICE) != 0) return EntryType::kOther;
  return EntryType::kFile;
}

Error WriteAll(HANDLE h, std::string_view bytes) {
  while (!bytes.empty()) {
    DWORD chunk = bytes.size() > (1u << 30) ? (1u << 30) : static_cast<DWORD>(bytes.size());
    DWORD written = 0;
    if (!WriteFile(h, bytes.data(), chunk, &written, nullptr)) return LastError();
    bytes.remove_prefix(written);
  }
  return {};
}

Error ReadUpTo(HANDLE h, std::size_t limit, std::string* bytes) {
  bytes->resize(limit);
  std::size_t got = 0;
  while (got < bytes->size()) {
    DWORD n = 0;
    const std::size_t want = bytes->size() - got;
    if (!ReadFile(h, bytes->data() + got, want > (1u << 30) ? (1u << 30) : static_cast<DWORD>(want),
                  &n, nullptr)) {
      bytes->clear();
      return LastError();
    }
    if (n == 0) break;
    got += n;
  }
  bytes->resize(got);
  return {};
}

Error OpenFolderHandle(const std::wstring& wide, bool no_link, HANDLE* out,
                       BY_HANDLE_FILE_INFORMATION* info) {
  HANDLE h = CreateFileW(wide.c_str(), FILE_LIST_DIRECTORY | FILE_READ_ATTRIBUTES | SYNCHRONIZE,
                         FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                         FILE_FLAG_BACKUP_SEMANTICS | (no_link ? FILE_FLAG_OPEN_REPARSE_POINT : 0),
                         nullptr);
  if (h == INVALID_HANDLE_VALUE) return LastError();
  if (!GetFileInformationByHandle(h, info)) {
    Error error = LastError();
    CloseHandle(h);
    return error;
  }
  const bool is_link = (info->dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
  if ((info->dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0 || (no_link && is_link)) {
    CloseHandle(h);
    return FromCode(ERROR_DIRECTORY);
  }
  *out = h;
  return {};
}

FileStamp StampOf(const BY_HANDLE_FILE_INFORMATION& info) {
  FileStamp stamp;
  stamp.present = true;
  stamp.device = info.dwVolumeSerialNumber;
  stamp.node = (std::uint64_t{info.nFileIndexHigh} << 32) | info.nFileIndexLow;
  stamp.size = (std::uint64_t{info.nFileSizeHigh} << 32) | info.nFileSizeLow;
  stamp.modified =
      static_cast<std::int64_t>((std::uint64_t{info.ftLastWriteTime.dwHighDateTime} << 32) |
                                info.ftLastWriteTime.dwLowDateTime);
  return stamp;
}

Error StillAsRead(const std::wstring& target, const FileStamp& expected) {
  FileStamp now;
  Handle h(CreateFileW(target.c_str(), FILE_READ_ATTRIBUTES, kShareAll, nullptr, OPEN_EXISTING,
                       FILE_FLAG_OPEN_REPARSE_POINT | FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  if (h.ok()) {
    BY_HANDLE_FILE_INFORMATION info;
    if (!GetFileInformationByHandle(h.get(), &info)) return LastError();
    now = StampOf(info);
    // A folder or a link there now is no file that was read.
    if ((info.dwFileAttributes & kNotAFile) != 0) now.node = ~expected.node;
  } else if (const DWORD code = GetLastError();
             code != ERROR_FILE_NOT_FOUND && code != ERROR_PATH_NOT_FOUND) {
    return FromCode(code);
  }
  if (now == expected) return {};
  return {ErrorKind::kChangedSinceRead, "changed since it was read"};
}

}  // namespace kscgen::os::win32
