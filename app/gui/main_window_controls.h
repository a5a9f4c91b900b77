// The main window's controls, named for their job; each has its member's
// name as its object name, by which tools find it. The window holds them
// privately; its tests reach them through MainWindow::ControlsForTest.
#pragma once

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListView;
class QListWidget;
class QProgressBar;
class QPushButton;
class QTextEdit;
class QToolButton;

namespace kscgen::gui {

struct MainWindowControls {
  QTextEdit* instructions = nullptr;
  QLabel* folderLabel = nullptr;
  QLineEdit* folderEdit = nullptr;
  QToolButton* browseButton = nullptr;
  QCheckBox* recursiveCheck = nullptr;
  QLabel* extensionsLabel = nullptr;
  QLineEdit* extensionsEdit = nullptr;  // kinds of video beyond the five: "mkv,mp4"
  QListView* videoList = nullptr;
  QLabel* countLabel = nullptr;
  QToolButton* removeVideoButton = nullptr;
  QLabel* roleLabel = nullptr;
  QGroupBox* roleGroup = nullptr;
  QButtonGroup* roleButtons = nullptr;
  QLabel* templateLabel = nullptr;
  QLabel* templateHint = nullptr;
  QGroupBox* templateGroup = nullptr;
  QButtonGroup* templateButtons = nullptr;
  QLineEdit* patternEdit = nullptr;  // the pattern of 自定义: "{歌名} - {歌手}"
  QLabel* patternError = nullptr;    // what is wrong with it, shown while it is
  QCheckBox* numberingCheck = nullptr;
  QCheckBox* startNumberCheck = nullptr;
  QLineEdit* startNumberEdit = nullptr;
  QCheckBox* numberFromNameCheck = nullptr;  // 编号取自文件名; excludes 歌曲自动编号
  // 替换手工修改: a run replaces the values a person changed in KSC files
  // (and rewrites the files that are right); asked before each run, never
  // remembered between starts.
  QCheckBox* replaceEditsCheck = nullptr;
  QProgressBar* progressBar = nullptr;
  QGroupBox* uniformGroup = nullptr;
  QCheckBox* uniformCheck = nullptr;
  QLabel* uniformNote = nullptr;
  QLabel* kindLabel = nullptr;
  QComboBox* kindBox = nullptr;
  QLabel* valueLabel = nullptr;
  QComboBox* valueBox = nullptr;
  QToolButton* addUniformButton = nullptr;
  QLabel* uniformListLabel = nullptr;
  QListWidget* uniformList = nullptr;
  QToolButton* removeUniformButton = nullptr;
  QPushButton* previewButton = nullptr;
  QPushButton* runButton = nullptr;
  QPushButton* quitButton = nullptr;
  QLineEdit* initialsInput = nullptr;
  QLineEdit* initialsOutput = nullptr;
};

}  // namespace kscgen::gui
