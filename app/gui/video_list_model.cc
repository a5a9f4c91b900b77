#include "app/gui/video_list_model.h"

#include <QApplication>
#include <QMimeDatabase>
#include <QStyle>
#include <algorithm>

#include "app/engine/messages.h"
#include "app/gui/qt_text.h"

namespace kscgen::gui {

int VideoListModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : rows_;
}

std::pair<std::size_t, std::size_t> VideoListModel::Locate(int row) const {
  auto r = static_cast<std::size_t>(row);
  std::size_t f = 0;
  while (f < folders_.size() && r >= folders_[f].files.size()) r -= folders_[f++].files.size();
  return {f, r};
}

QVariant VideoListModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= rowCount()) return {};
  auto [f, r] = Locate(index.row());
  const VideoFolder& folder = folders_[f];
  const VideoFile& file = folder.files[r];
  // The list may cut a long name short; its tooltip is the whole name.
  if (role == Qt::DisplayRole || role == Qt::ToolTipRole) {
    QString name = FromNative(file.native_name);
    return folder.relative == "." ? name : FromNative(folder.relative) + "/" + name;
  }
  if (role == Qt::DecorationRole) return IconFor(file);
  return {};
}

bool VideoListModel::ReadFolder(const std::string& native_path, bool recursive, os::FileSystem& fs,
                                QString* error, std::vector<std::string>* unreadable,
                                const VideoExtensions& extensions) {
  FolderListing listing = ListVideos(native_path, recursive, extensions, fs);
  if (unreadable) *unreadable = std::move(listing.unreadable);
  beginResetModel();
  rows_ = static_cast<int>(listing.video_count());
  unlisted_ = messages::UnlistedVideos(listing.unlisted_kinds());
  folders_ = std::move(listing.folders);
  endResetModel();
  if (!listing.ok()) {
    if (error) *error = FromMessage(listing.message);
    return false;
  }
  return true;
}

void VideoListModel::Remove(int row) {
  if (row < 0 || row >= rowCount()) return;
  auto [f, r] = Locate(row);
  beginRemoveRows(QModelIndex(), row, row);
  folders_[f].files.erase(folders_[f].files.begin() + static_cast<std::ptrdiff_t>(r));
  --rows_;
  endRemoveRows();
}

void VideoListModel::RemoveRows(std::vector<int> rows) {
  std::sort(rows.begin(), rows.end());
  rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
  // Last first, so that the rows still to go keep their numbers.
  for (auto it = rows.rbegin(); it != rows.rend(); ++it) Remove(*it);
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
