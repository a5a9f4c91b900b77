#include "app/gui/native_path.h"

#include <QDir>
#include <QFile>
#include <filesystem>
#include <system_error>

#include "app/gui/qt_text.h"
#include "os/file_system.h"
#include "text/encoding.h"

namespace kscgen::gui {
namespace {

bool Exists(const std::string& native) {
  std::error_code ec;
  return std::filesystem::exists(os::StdPath(native), ec);
}

// The entry of `folder` whose shown name is `shown`; empty when none is.
std::string EntryShownAs(const std::string& folder, const std::string& shown) {
  std::vector<os::FolderEntry> entries;
  if (os::ListFolderAt(folder.empty() ? "." : folder, &entries).failed()) {
    return {};
  }
  for (const os::FolderEntry& e : entries) {
    if (text::DisplayName(e.name) == shown) return e.name;
  }
  return {};
}

}  // namespace

std::string NativePathOfTyped(const QString& typed) {
  const std::string as_typed = ToNative(typed);
  if (as_typed.empty() || Exists(as_typed)) return as_typed;
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
    if (!name.empty() && !Exists(joined)) {
      std::string found = EntryShownAs(path, name);
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

bool IsFolder(const std::string& native) {
  std::error_code ec;
  return !native.empty() && std::filesystem::is_directory(os::StdPath(native), ec);
}

std::string FolderStoodFor(const std::string& native) {
  if (IsFolder(native)) return native;
  std::error_code ec;
  if (native.empty() || !std::filesystem::is_regular_file(os::StdPath(native), ec)) return {};
  // A file's path always holds a separator before its name.
  const std::size_t slash =
      native.find_last_of(QDir::separator() == QLatin1Char('/') ? "/" : "/\\");
  if (slash == std::string::npos) return {};
  return slash == 0 ? native.substr(0, 1) : native.substr(0, slash);
}


}  // namespace kscgen::gui
