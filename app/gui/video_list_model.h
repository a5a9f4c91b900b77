// The file list's model: the engine's listing of a folder (or of a folder
// tree, each video shown with its folder), with one icon per file type.
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

  // Replaces the list with the videos of the folder at `native_path` (and,
  // with `recursive`, of every folder below it). A folder that cannot be
  // read empties the list, so that list and path never disagree, and
  // `*error` says why. Folders below it that cannot be read are left out
  // and named in `*unreadable`.
  // Videos are the five kinds and those of `extensions`.
  bool ReadFolder(const std::string& native_path, bool recursive, os::FileSystem& fs,
                  QString* error, std::vector<std::string>* unreadable = nullptr,
                  const VideoExtensions& extensions = {});
  void Remove(int row);
  // Removes every row named, in any order.
  void RemoveRows(std::vector<int> rows);
  const std::vector<VideoFolder>& folders() const { return folders_; }
  // Files of other kinds of video the folder holds but the list leaves out
  // (UTF-8: 另有 20 个 .mkv 文件未列出，可在后缀中加入), or empty.
  const std::string& unlisted() const { return unlisted_; }

 private:
  // The folder and the video of a row.
  std::pair<std::size_t, std::size_t> Locate(int row) const;
  QIcon IconFor(const VideoFile& file) const;

  std::vector<VideoFolder> folders_;
  int rows_ = 0;
  std::string unlisted_;
  mutable QHash<QString, QIcon> icons_;  // by lower-case extension
};

}  // namespace kscgen::gui
