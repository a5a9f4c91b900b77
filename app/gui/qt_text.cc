#include "app/gui/qt_text.h"

#include <QFile>

#include "text/encoding.h"

namespace kscgen::gui {

std::optional<std::string> ToGbk(const QString& s) {
  const QByteArray utf8 = s.toUtf8();
  return text::Utf8ToGbk(std::string(utf8.constData(), static_cast<std::size_t>(utf8.size())));
}

QString FromGbk(const std::string& gbk) { return QString::fromStdString(text::GbkForDisplay(gbk)); }

QString FromMessage(const std::string& utf8) { return QString::fromStdString(utf8); }

// The engine holds names as the file system spells them: bytes on POSIX
// systems (Qt's own encoding of names), UTF-8 on Windows, where the engine's
// file system turns them into the wide API's names.
std::string ToNative(const QString& path) {
#ifdef Q_OS_WIN
  return path.toUtf8().toStdString();
#else
  return QFile::encodeName(path).toStdString();
#endif
}

QString FromNative(const std::string& native) {
  return QString::fromStdString(text::DisplayName(native));
}

}  // namespace kscgen::gui
