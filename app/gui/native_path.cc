#include "app/gui/native_path.h"

#include <QDir>
#include <QFile>
#include <memory>
#include <vector>

#include "app/gui/qt_text.h"
#include "os/file_system.h"
#include "text/encoding.h"

namespace kscgen::gui {
namespace {

// Where a path's last name begins: after its last separator.
std::size_t NameStart(const std::string& native) {
  const std::size_t slash =
      native.find_last_of(QDir::separator() == QLatin1Char('/') ? "/" : "/\\");
  return slash == std::string::npos ? 0 : slash + 1;
}

// The folder that holds the last name of `native`, "." for a bare name.
std::string Parent(const std::string& native) {
  const std::size_t start = NameStart(native);
  if (start == 0) return ".";
  return start == 1 ? native.substr(0, 1) : native.substr(0, start - 1);
}

// The entry of the folder at `native`'s parent named as its last name.
const os::FolderEntry* EntryAt(const std::string& native, os::FileSystem& fs,
                               std::vector<os::FolderEntry>* entries) {
  if (os::ListFolderAt(Parent(native), entries, fs).failed()) return nullptr;
  const std::string name = native.substr(NameStart(native));
  for (const os::FolderEntry& e : *entries) {
    if (e.name == name) return &e;
  }
  return nullptr;
}

bool Exists(const std::string& native, os::FileSystem& fs) {
  std::vector<os::FolderEntry> entries;
  return IsFolder(native, fs) || EntryAt(native, fs, &entries) != nullptr;
}

// The entry of `folder` whose shown name is `shown`; empty when none is.
std::string EntryShownAs(const std::string& folder, const std::string& shown, os::FileSystem& fs) {
  std::vector<os::FolderEntry> entries;
  if (os::ListFolderAt(folder.empty() ? "." : folder, &entries, fs).failed()) {
    return {};
  }
  for (const os::FolderEntry& e : entries) {
    if (text::DisplayName(e.name) == shown) return e.name;
  }
  return {};
}

}  // namespace

std::string NativePathOfTyped(const QString& typed, os::FileSystem& fs) {
  const std::string as_typed = ToNative(typed);
  if (as_typed.empty() || Exists(as_typed, fs)) return as_typed;
  const char sep = os::PathSeparator();
  std::string path;
  std::size_t begin = 0;
  // The root stays as typed ("/", or a drive on Windows).
  if (as_typed[0] == sep || as_typed[0] == '/') {
    path = std::string(1, as_typed[0]);
    begin = 1;
  }
  while (begin <= as_typed.size()) {
    std::size_t end = as_typed.find_first_of(std::string(1, sep) + "/", begin);
    if (end == std::string::npos) end = as_typed.size();
    std::string name = as_typed.substr(begin, end - begin);
    const std::string joined = path.empty() ? name : os::JoinPath(path, name);
    if (!name.empty() && !Exists(joined, fs)) {
      std::string found = EntryShownAs(path, name, fs);
      path = found.empty() ? joined : (path.empty() ? found : os::JoinPath(path, found));
    } else if (!name.empty()) {
      path = joined;
    }
    begin = end + 1;
  }
  return path;
}

std::string NativePathOfUrl(const QUrl& url) {
  if (!url.isLocalFile()) return {};
  // On Windows the system's paths are UTF-8 to the engine and the URL's
  // path begins with a slash before the drive: Qt's own reading is right.
  if (QDir::separator() != QLatin1Char('/')) return ToNative(url.toLocalFile());
  // Elsewhere the bytes are the URL's percent escapes, whatever they encode.
  return QByteArray::fromPercentEncoding(url.path(QUrl::FullyEncoded).toLatin1()).toStdString();
}

QUrl UrlOfNative(const std::string& native) {
  if (QDir::separator() != QLatin1Char('/')) {
    return QUrl::fromLocalFile(QString::fromUtf8(native.data(), static_cast<int>(native.size())));
  }
  // The bytes as they are, escaped: a GBK name reaches the file manager whole.
  return QUrl::fromEncoded(QByteArray("file://") +
                           QByteArray::fromStdString(native).toPercentEncoding("/"));
}

std::string NativeArgument(int argc, const char* const* argv, const QString& decoded) {
  // On Windows the arguments Qt decoded came from the wide command line;
  // argv holds only their lossy ANSI form.
  if (QDir::separator() != QLatin1Char('/')) return ToNative(decoded);
  for (int i = argc - 1; i > 0; --i) {
    if (QFile::decodeName(argv[i]) == decoded) return argv[i];
  }
  return ToNative(decoded);
}

QString ShownPath(const std::string& native) { return FromNative(native); }

bool IsFolder(const std::string& native, os::FileSystem& fs) {
  std::unique_ptr<os::Folder> folder;
  return !native.empty() && !fs.OpenFolder(native, &folder).failed();
}

std::string FolderStoodFor(const std::string& native, os::FileSystem& fs) {
  if (IsFolder(native, fs)) return native;
  if (native.empty()) return {};
  std::vector<os::FolderEntry> entries;
  const os::FolderEntry* entry = EntryAt(native, fs, &entries);
  // A file, or a link to one.
  if (!entry || entry->type != os::EntryType::kFile) return {};
  return Parent(native);
}

}  // namespace kscgen::gui
