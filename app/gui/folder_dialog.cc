#include "app/gui/folder_dialog.h"

#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <QTreeView>

#include "app/gui/folder_tree_model.h"
#include "app/gui/main_window.h"
#include "app/gui/qt_text.h"

namespace kscgen::gui {

FolderDialog::FolderDialog(MainWindow* main_window)
    : QDialog(main_window), main_window_(main_window), folders_(new FolderTreeModel(this)) {
  setObjectName("FolderDialog");
  setWindowTitle(u8"浏览文件夹");
  setFixedSize(316, 290);
  setModal(true);

  promptLabel = new QLabel(u8"请选择歌曲所在目录：", this);
  promptLabel->setObjectName("promptLabel");
  promptLabel->setGeometry(13, 13, 120, 12);
  QFont font(u8"宋体");
  font.setPixelSize(12);
  promptLabel->setFont(font);

  folderTree = new QTreeView(this);
  folderTree->setObjectName("folderTree");
  folderTree->setGeometry(11, 40, 294, 195);
  folderTree->setModel(folders_);
  folderTree->setHeaderHidden(true);
  folderTree->setRootIsDecorated(false);
  folderTree->setContextMenuPolicy(Qt::PreventContextMenu);
  // Opening a folder reads it again, so that the tree follows the disk.
  connect(folderTree, &QTreeView::expanded, folders_, &FolderTreeModel::Refresh);

  okButton = new QPushButton(u8"确定", this);
  okButton->setObjectName("okButton");
  okButton->setGeometry(148, 251, 75, 25);
  okButton->setDefault(true);
  cancelButton = new QPushButton(u8"取消", this);
  cancelButton->setObjectName("cancelButton");
  cancelButton->setGeometry(230, 251, 75, 25);

  connect(okButton, &QPushButton::clicked, this, &FolderDialog::chooseSelected);
  connect(cancelButton, &QPushButton::clicked, this, &FolderDialog::cancel);
}

void FolderDialog::Browse(const std::string& folder) {
  SelectFolder(folder.empty() ? ToNative(QDir::homePath()) : folder);
  exec();
}

void FolderDialog::SelectFolder(const std::string& folder) {
  QModelIndex index = folders_->IndexOf(folder);
  folderTree->setCurrentIndex(index);
  if (index.isValid()) folderTree->scrollTo(index);
}

std::string FolderDialog::SelectedPath() const {
  return folders_->NativePath(folderTree->currentIndex());
}

void FolderDialog::chooseSelected() {
  main_window_->ChooseNativeFolder(SelectedPath());
  accept();
}

void FolderDialog::cancel() { reject(); }

}  // namespace kscgen::gui
