// The folder dialog's tree: folders only, read lazily, each node holding its
// path as the file system spells it. Qt's own file-system model names
// folders by QString and cannot reach a folder whose name is GBK bytes;
// this one shows such a name in Chinese and gives back its bytes.
#pragma once

#include <QAbstractItemModel>
#include <QIcon>
#include <memory>
#include <string>
#include <vector>

#include "os/file_system.h"

namespace kscgen::gui {

class FolderTreeModel : public QAbstractItemModel {
  Q_OBJECT

 public:
  // Folders are listed through `fs`.
  explicit FolderTreeModel(QObject* parent = nullptr, os::FileSystem& fs = os::SystemFileSystem());
  ~FolderTreeModel() override;

  QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
  QModelIndex parent(const QModelIndex& child) const override;
  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  bool hasChildren(const QModelIndex& parent = {}) const override;
  bool canFetchMore(const QModelIndex& parent) const override;
  void fetchMore(const QModelIndex& parent) override;

  // The folder's native path; empty for an invalid index.
  std::string NativePath(const QModelIndex& index) const;
  // The node of the folder at `native` (resolved by the system first),
  // reading the folders on the way; invalid when it is not in the tree.
  QModelIndex IndexOf(const std::string& native);
  // Reads the subfolders of a folder already read again: new ones appear,
  // vanished ones go, the others keep their subtrees.
  void Refresh(const QModelIndex& parent);

 private:
  struct Node;
  Node* NodeOf(const QModelIndex& index) const;
  QModelIndex IndexOfNode(const Node* node) const;
  void List(Node* node, const QModelIndex& index);

  os::FileSystem& fs_;
  std::unique_ptr<Node> root_;  // invisible; its children are the file system's roots
  QIcon folder_icon_;
};

}  // namespace kscgen::gui
