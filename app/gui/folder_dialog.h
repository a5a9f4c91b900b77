// TForm2, the folder browser: a tree of folders only; "确定" hands the chosen
// folder to the main window.
#pragma once

#include <QDialog>

class QFileSystemModel;
class QLabel;
class QPushButton;
class QTreeView;

namespace kscgen::gui {

class TForm1;

class TForm2 : public QDialog {
  Q_OBJECT

 public:
  explicit TForm2(TForm1* main_window);

  // Opens on `folder`, or the home folder when it is empty, and waits.
  void Browse(const QString& folder);
  // Selects `folder` in the tree, as a click would.
  void SelectFolder(const QString& folder);
  // The selected folder's path; empty when none is selected.
  QString SelectedPath() const;

  QLabel* promptLabel;
  QTreeView* folderTree;
  QPushButton* okButton;
  QPushButton* cancelButton;

 public slots:
  void chooseSelected();
  void cancel();

 private:
  TForm1* main_window_;
  QFileSystemModel* folders_;
};

}  // namespace kscgen::gui
