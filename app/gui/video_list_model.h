// The file list's model: the engine's listing of a folder, shown with one
// icon per file type.
#pragma once

#include <QAbstractListModel>
#include <QHash>
#include <QIcon>
#include <vector>

#include "app/engine/video_folder.h"

namespace kscgen::gui {

class VideoListModel : public QAbstractListModel {
  Q_OBJECT

 public:
  using QAbstractListModel::QAbstractListModel;

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role) const override;

  // Replaces the list with a folder's videos; false (list unchanged) when
  // the folder cannot be read.
  bool ReadFolder(const QString& folder, QString* error);
  void Remove(int row);
  const std::vector<VideoFile>& files() const { return files_; }

 private:
  QIcon IconFor(const VideoFile& file) const;

  std::vector<VideoFile> files_;
  mutable QHash<QString, QIcon> icons_;  // by lower-case extension
};

}  // namespace kscgen::gui
