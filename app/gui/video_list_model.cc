#include "app/gui/video_list_model.h"

#include <QApplication>
#include <QMimeDatabase>
#include <QStyle>

#include "app/gui/qt_text.h"

namespace kscgen::gui {

int VideoListModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(files_.size());
}

QVariant VideoListModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= rowCount()) return {};
  const VideoFile& file = files_[static_cast<std::size_t>(index.row())];
  if (role == Qt::DisplayRole) return FromNative(file.native_name);
  if (role == Qt::DecorationRole) return IconFor(file);
  return {};
}

bool VideoListModel::ReadFolder(const QString& folder, QString* error) {
  FolderListing listing = ListVideoFiles(ToNative(folder));
  if (!listing.ok) {
    if (error) *error = FromMessage(listing.message);
    return false;
  }
  beginResetModel();
  files_ = std::move(listing.files);
  endResetModel();
  return true;
}

void VideoListModel::Remove(int row) {
  if (row < 0 || row >= rowCount()) return;
  beginRemoveRows(QModelIndex(), row, row);
  files_.erase(files_.begin() + row);
  endRemoveRows();
}

QIcon VideoListModel::IconFor(const VideoFile& file) const {
  const std::string& name = file.native_name;
  QString ext = QString::fromStdString(name.substr(name.rfind('.') + 1)).toLower();
  auto it = icons_.find(ext);
  if (it != icons_.end()) return *it;
  // One look-up per file type, not per file: a folder may hold 20,000 videos.
  QMimeType mime =
      QMimeDatabase().mimeTypeForFile(QStringLiteral("x.") + ext, QMimeDatabase::MatchExtension);
  QIcon icon = QIcon::fromTheme(
      mime.iconName(),
      QIcon::fromTheme(mime.genericIconName(), qApp->style()->standardIcon(QStyle::SP_FileIcon)));
  icons_.insert(ext, icon);
  return icon;
}

}  // namespace kscgen::gui
