// FolderDialog, the folder browser: a tree of folders only; "确定" hands the chosen
// folder to the main window, as the file system spells it.
#pragma once

#include <QDialog>
#include <string>

class QLabel;
class QPushButton;
class QTreeView;

namespace kscgen::gui {

class FolderTreeModel;
class MainWindow;

class FolderDialog : public QDialog {
  Q_OBJECT

 public:
  explicit FolderDialog(MainWindow* main_window);

  // Opens on the folder at native path `folder`, or the home folder when it
  // is empty, and waits.
  void Browse(const std::string& folder);
  // Selects the folder at native path `folder` in the tree, as a click
  // would; nothing is selected when it is not in the tree.
  void SelectFolder(const std::string& folder);
  // The selected folder's native path; empty when none is selected.
  std::string SelectedPath() const;
  FolderTreeModel* model() const { return folders_; }

  QLabel* promptLabel;
  QTreeView* folderTree;
  QPushButton* okButton;
  QPushButton* cancelButton;

 public slots:
  void chooseSelected();
  void cancel();

 private:
  MainWindow* main_window_;
  FolderTreeModel* folders_;
};

}  // namespace kscgen::gui
