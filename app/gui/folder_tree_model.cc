#include "app/gui/folder_tree_model.h"

#include "app/gui/native_path.h"

#include <QDir>
#include <QFileIconProvider>
#include <algorithm>

#include "app/gui/qt_text.h"
#include "os/file_system.h"

namespace kscgen::gui {

struct FolderTreeModel::Node {
  std::string native;  // the whole path
  std::string name;    // its last component, as the file system holds it
  QString shown;
  Node* parent = nullptr;
  std::vector<std::unique_ptr<Node>> children;
  bool listed = false;

  int Row() const {
    if (!parent) return 0;
    for (std::size_t i = 0; i < parent->children.size(); ++i) {
      if (parent->children[i].get() == this) return static_cast<int>(i);
    }
    return 0;
  }
};

namespace {

// Subfolder names of `folder`, in the order the tree shows them. Links to
// folders count (the home folder may be one); hidden folders do not.
std::vector<std::pair<QString, std::string>> Subfolders(const std::string& folder,
                                                        os::FileSystem& fs) {
  std::vector<os::FolderEntry> entries;
  std::vector<std::pair<QString, std::string>> names;
  if (os::ListFolderAt(folder, &entries, fs).failed()) return names;
  for (const os::FolderEntry& e : entries) {
    if (e.name.empty() || e.name[0] == '.' || e.type == os::EntryType::kFile) continue;
    // A link, which counts when it leads to a folder.
    if (e.type == os::EntryType::kOther && !IsFolder(os::JoinPath(folder, e.name), fs)) continue;
    names.emplace_back(FromNative(e.name), e.name);
  }
  std::sort(names.begin(), names.end(), [](const auto& a, const auto& b) {
    int c = a.first.compare(b.first, Qt::CaseInsensitive);
    return c != 0 ? c < 0 : a.second < b.second;
  });
  return names;
}

}  // namespace

FolderTreeModel::FolderTreeModel(QObject* parent, os::FileSystem& fs)
    : QAbstractItemModel(parent),
      fs_(fs),
      root_(std::make_unique<Node>()),
      folder_icon_(QFileIconProvider().icon(QFileIconProvider::Folder)) {
  for (const QFileInfo& drive : QDir::drives()) {
    auto node = std::make_unique<Node>();
    node->native = ToNative(QDir::toNativeSeparators(drive.absoluteFilePath()));
    node->name = node->native;
    node->shown = QDir::toNativeSeparators(drive.absoluteFilePath());
    node->parent = root_.get();
    root_->children.push_back(std::move(node));
  }
  root_->listed = true;
}

FolderTreeModel::~FolderTreeModel() = default;

FolderTreeModel::Node* FolderTreeModel::NodeOf(const QModelIndex& index) const {
  return index.isValid() ? static_cast<Node*>(index.internalPointer()) : root_.get();
}

QModelIndex FolderTreeModel::IndexOfNode(const Node* node) const {
  if (!node || node == root_.get()) return {};
  return createIndex(node->Row(), 0, const_cast<Node*>(node));
}

QModelIndex FolderTreeModel::index(int row, int column, const QModelIndex& parent) const {
  const Node* p = NodeOf(parent);
  if (column != 0 || row < 0 || row >= static_cast<int>(p->children.size())) return {};
  return createIndex(row, 0, p->children[static_cast<std::size_t>(row)].get());
}

QModelIndex FolderTreeModel::parent(const QModelIndex& child) const {
  return child.isValid() ? IndexOfNode(NodeOf(child)->parent) : QModelIndex();
}

int FolderTreeModel::rowCount(const QModelIndex& parent) const {
  return static_cast<int>(NodeOf(parent)->children.size());
}

int FolderTreeModel::columnCount(const QModelIndex&) const { return 1; }

QVariant FolderTreeModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid()) return {};
  if (role == Qt::DisplayRole) return NodeOf(index)->shown;
  if (role == Qt::DecorationRole) return folder_icon_;
  return {};
}

bool FolderTreeModel::hasChildren(const QModelIndex& parent) const {
  const Node* node = NodeOf(parent);
  return !node->listed || !node->children.empty();
}

bool FolderTreeModel::canFetchMore(const QModelIndex& parent) const {
  return !NodeOf(parent)->listed;
}

void FolderTreeModel::fetchMore(const QModelIndex& parent) {
  Node* node = NodeOf(parent);
  if (!node->listed) List(node, parent);
}

void FolderTreeModel::List(Node* node, const QModelIndex& index) {
  node->listed = true;
  auto names = Subfolders(node->native, fs_);
  if (names.empty()) {
    // The expander goes once the folder proves empty.
    emit dataChanged(index, index);
    return;
  }
  beginInsertRows(index, 0, static_cast<int>(names.size()) - 1);
  for (auto& [shown, name] : names) {
    auto child = std::make_unique<Node>();
    child->native = os::JoinPath(node->native, name);
    child->name = std::move(name);
    child->shown = std::move(shown);
    child->parent = node;
    node->children.push_back(std::move(child));
  }
  endInsertRows();
}

void FolderTreeModel::Refresh(const QModelIndex& parent) {
  Node* node = NodeOf(parent);
  if (node == root_.get()) return;
  if (!node->listed) {
    List(node, parent);
    return;
  }
  auto names = Subfolders(node->native, fs_);
  // Vanished folders go, last first so that rows stay right.
  for (int row = static_cast<int>(node->children.size()) - 1; row >= 0; --row) {
    const std::string& name = node->children[static_cast<std::size_t>(row)]->name;
    bool kept =
        std::any_of(names.begin(), names.end(), [&](const auto& n) { return n.second == name; });
    if (kept) continue;
    beginRemoveRows(parent, row, row);
    node->children.erase(node->children.begin() + row);
    endRemoveRows();
  }
  // New folders come in at their place in the order.
  for (std::size_t i = 0; i < names.size(); ++i) {
    if (i < node->children.size() && node->children[i]->name == names[i].second) continue;
    auto child = std::make_unique<Node>();
    child->native = os::JoinPath(node->native, names[i].second);
    child->name = names[i].second;
    child->shown = names[i].first;
    child->parent = node;
    beginInsertRows(parent, static_cast<int>(i), static_cast<int>(i));
    node->children.insert(node->children.begin() + static_cast<std::ptrdiff_t>(i),
                          std::move(child));
    endInsertRows();
  }
}

std::string FolderTreeModel::NativePath(const QModelIndex& index) const {
  return index.isValid() ? NodeOf(index)->native : std::string();
}

QModelIndex FolderTreeModel::IndexOf(const std::string& native) {
  std::string resolved;
  if (native.empty() || fs_.ResolveFolder(native, &resolved).failed()) {
    return {};
  }
  // The longest root the path begins with.
  Node* node = nullptr;
  for (const auto& r : root_->children) {
    if (resolved.compare(0, r->native.size(), r->native) == 0 &&
        (!node || r->native.size() > node->native.size())) {
      node = r.get();
    }
  }
  if (!node) return {};
  const char sep = os::PathSeparator();
  std::size_t begin = node->native.size();
  while (begin < resolved.size()) {
    std::size_t end = resolved.find_first_of(std::string(1, sep) + "/", begin);
    if (end == std::string::npos) end = resolved.size();
    const std::string name = resolved.substr(begin, end - begin);
    begin = end + 1;
    if (name.empty()) continue;
    auto find = [&] {
      return std::find_if(node->children.begin(), node->children.end(),
                          [&](const auto& c) { return c->name == name; });
    };
    if (!node->listed) List(node, IndexOfNode(node));
    auto it = find();
    if (it == node->children.end()) {
      Refresh(IndexOfNode(node));  // made since the folder was read?
      it = find();
    }
    if (it == node->children.end()) return {};  // a hidden folder, or one gone meanwhile
    node = it->get();
  }
  return IndexOfNode(node);
}

}  // namespace kscgen::gui
