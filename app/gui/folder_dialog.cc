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

  Label1 = new QLabel(u8"请选择歌曲所在目录：", this);
  Label1->setObjectName("Label1");
  Label1->setGeometry(13, 13, 120, 12);
  QFont font(u8"宋体");
  font.setPixelSize(12);
  Label1->setFont(font);

  // Folders only; the model watches the file system and refreshes itself.
  folders_->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot | QDir::Drives);
  folders_->setRootPath(QDir::rootPath());
  ShellTreeView1 = new QTreeView(this);
  ShellTreeView1->setObjectName("ShellTreeView1");
  ShellTreeView1->setGeometry(11, 40, 294, 195);
  ShellTreeView1->setModel(folders_);
  ShellTreeView1->setHeaderHidden(true);
  for (int column = 1; column < folders_->columnCount(); ++column) {
    ShellTreeView1->hideColumn(column);
  }
  ShellTreeView1->setRootIsDecorated(false);
  ShellTreeView1->setContextMenuPolicy(Qt::PreventContextMenu);

  Button1 = new QPushButton(u8"确定", this);
  Button1->setObjectName("Button1");
  Button1->setGeometry(148, 251, 75, 25);
  Button1->setDefault(true);
  Button2 = new QPushButton(u8"取消", this);
  Button2->setObjectName("Button2");
  Button2->setGeometry(230, 251, 75, 25);

  connect(Button1, &QPushButton::clicked, this, &TForm2::Button1Click);
  connect(Button2, &QPushButton::clicked, this, &TForm2::Button2Click);
}

void TForm2::Browse(const QString& folder) {
  SelectFolder(folder.isEmpty() ? QDir::homePath() : folder);
  exec();
}

void TForm2::SelectFolder(const QString& folder) {
  QModelIndex index = folders_->index(folder);
  ShellTreeView1->setCurrentIndex(index);
  if (index.isValid()) ShellTreeView1->scrollTo(index);
}

QString TForm2::SelectedPath() const {
  QModelIndex index = ShellTreeView1->currentIndex();
  return index.isValid() ? QDir::toNativeSeparators(folders_->filePath(index)) : QString();
}

void TForm2::Button1Click() {
  main_window_->ChooseFolder(SelectedPath());
  accept();
}

void TForm2::Button2Click() { reject(); }

}  // namespace kscgen::gui
