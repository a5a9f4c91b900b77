#include "app/gui/folder_dialog.h"

#include <QDir>
#include <QFileSystemModel>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeView>

#include "app/gui/main_window.h"

namespace kscgen::gui {

TForm2::TForm2(TForm1* main_window)
    : QDialog(main_window), main_window_(main_window), folders_(new QFileSystemModel(this)) {
  setObjectName("TForm2");
  setWindowTitle(u8"浏览文件夹");
  setFixedSize(316, 290);
  setModal(true);

  promptLabel = new QLabel(u8"请选择歌曲所在目录：", this);
  promptLabel->setObjectName("Label1");
  promptLabel->setGeometry(13, 13, 120, 12);
  QFont font(u8"宋体");
  font.setPixelSize(12);
  promptLabel->setFont(font);

  // Folders only; the model watches the file system and refreshes itself.
  folders_->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot | QDir::Drives);
  folders_->setRootPath(QDir::rootPath());
  folderTree = new QTreeView(this);
  folderTree->setObjectName("ShellTreeView1");
  folderTree->setGeometry(11, 40, 294, 195);
  folderTree->setModel(folders_);
  folderTree->setHeaderHidden(true);
  for (int column = 1; column < folders_->columnCount(); ++column) {
    folderTree->hideColumn(column);
  }
  folderTree->setRootIsDecorated(false);
  folderTree->setContextMenuPolicy(Qt::PreventContextMenu);

  okButton = new QPushButton(u8"确定", this);
  okButton->setObjectName("Button1");
  okButton->setGeometry(148, 251, 75, 25);
  okButton->setDefault(true);
  cancelButton = new QPushButton(u8"取消", this);
  cancelButton->setObjectName("Button2");
  cancelButton->setGeometry(230, 251, 75, 25);

  connect(okButton, &QPushButton::clicked, this, &TForm2::chooseSelected);
  connect(cancelButton, &QPushButton::clicked, this, &TForm2::cancel);
}

void TForm2::Browse(const QString& folder) {
  SelectFolder(folder.isEmpty() ? QDir::homePath() : folder);
  exec();
}

void TForm2::SelectFolder(const QString& folder) {
  QModelIndex index = folders_->index(folder);
  folderTree->setCurrentIndex(index);
  if (index.isValid()) folderTree->scrollTo(index);
}

QString TForm2::SelectedPath() const {
  QModelIndex index = folderTree->currentIndex();
  return index.isValid() ? QDir::toNativeSeparators(folders_->filePath(index)) : QString();
}

void TForm2::chooseSelected() {
  main_window_->ChooseFolder(SelectedPath());
  accept();
}

void TForm2::cancel() { reject(); }

}  // namespace kscgen::gui
