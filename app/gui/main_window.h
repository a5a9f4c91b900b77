// MainWindow, the main window: the folder, its videos, the naming template and
// folder role, uniform values, numbering, and the buttons that preview and
// run the batch. It gathers its controls into a BatchRequest and leaves every
// rule to the engine; the batch runs on a thread of its own.
#pragma once

#include <QString>
#include <QWidget>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "app/engine/batch.h"

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListView;
class QListWidget;
class QMessageBox;
class QTextEdit;
class QProgressBar;
class QPushButton;
class QToolButton;

namespace kscgen::gui {

class BatchRunner;
class FolderDialog;
class VideoListModel;

class MainWindow : public QWidget {
  Q_OBJECT

 public:
  // Options are remembered in the INI file `settings_file` (read now,
  // written at each run and at closing); with an empty name nothing is
  // remembered and the window starts as at a first start.
  explicit MainWindow(const QString& settings_file = QString(), QWidget* parent = nullptr);
  ~MainWindow() override;

  // Where the program keeps its options: the user's INI settings file.
  static QString DefaultSettingsFile();

  // Message boxes go through here, so that a test can take them instead.
  // `details` is what "显示详细信息" unfolds; a question's answer is the
  // result (true for yes), other kinds' result is not used.
  enum class MessageKind { kError, kInformation, kQuestion };
  using MessageSink = std::function<bool(MessageKind, const QString& text, const QString& details)>;
  void setMessageSink(MessageSink sink) { message_sink_ = std::move(sink); }
  // The box the window would show; the caller runs it.
  QMessageBox* MakeMessageBox(MessageKind kind, const QString& text, const QString& details);

  void setFolderDialog(FolderDialog* dialog) { folder_dialog_ = dialog; }

  // What choosing a folder does: the folder path and the file list follow
  // it. An empty path empties the path and keeps the list. ChooseFolder
  // takes a typed path, ChooseNativeFolder the bytes the file system holds.
  void ChooseFolder(const QString& path);
  void ChooseNativeFolder(const std::string& native);
  // The folder the list was read from, as the file system spells it.
  const std::string& ListedFolder() const { return folder_native_; }

  // The request the batch takes, from the controls as they stand; none, with
  // the reason in `*error`, when a control holds what cannot be used.
  std::optional<BatchRequest> BuildRequest(bool dry_run, QString* error) const;
  const std::vector<VideoFolder>& ListedFolders() const;
  // Whether a batch is running.
  bool IsRunning() const;

  // Controls, named for their job; each keeps its designer name (Edit3,
  // BitBtn1, ...) as its object name, by which tests and tools find it.
  QTextEdit* instructions;
  QLabel* folderLabel;
  QLineEdit* folderEdit;
  QToolButton* browseButton;
  QCheckBox* recursiveCheck;
  QLabel* extensionsLabel;
  QLineEdit* extensionsEdit;  // kinds of video beyond the five: "mkv,mp4"
  QListView* videoList;
  QLabel* countLabel;
  QToolButton* removeVideoButton;
  QLabel* roleLabel;
  QGroupBox* roleGroup;
  QButtonGroup* roleButtons;
  QLabel* templateLabel;
  QLabel* templateHint;
  QGroupBox* templateGroup;
  QButtonGroup* templateButtons;
  QCheckBox* numberingCheck;
  QCheckBox* startNumberCheck;
  QLineEdit* startNumberEdit;
  QProgressBar* progressBar;
  QGroupBox* uniformGroup;
  QCheckBox* uniformCheck;
  QLabel* uniformNote;
  QLabel* kindLabel;
  QComboBox* kindBox;
  QLabel* valueLabel;
  QComboBox* valueBox;
  QToolButton* addUniformButton;
  QLabel* uniformListLabel;
  QListWidget* uniformList;
  QToolButton* removeUniformButton;
  QPushButton* previewButton;
  QPushButton* runButton;
  QPushButton* quitButton;
  QLineEdit* initialsInput;
  QLineEdit* initialsOutput;

 public slots:
  void browseFolder();
  void updateCount();
  void removeCurrentVideo();
  void removeSelectedVideos();
  void uniformToggled();
  void numberingToggled();
  void startNumberToggled();
  void recursiveToggled();
  void kindChanged();
  void addUniformEntry();
  void removeUniformEntry();
  void initialsInputChanged();
  void folderEditFinished();
  // Takes the typed extensions and lists the folder again with them; a text
  // that cannot be used is refused with a message and the last one comes back.
  void extensionsEditFinished();
  void rereadFolder();
  // Starts the batch, or stops the one running.
  void runOrStop();
  void stopRun();
  void preview();

 protected:
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  void BuildControls();
  // The controls uniformCheck enables and disables.
  std::vector<QWidget*> UniformControls() const;
  // Reads the folder into the list; false, with the list empty and an
  // error box, when it cannot be read.
  bool ReadFolder(const std::string& native, const QString& shown);
  // The working folder's own videos, as the list shows them until a folder
  // is chosen.
  void ListWorkingFolder();
  // Re-reads the folder when the path box no longer shows the listed one.
  bool FollowPathBox();
  // The folder the path box names, as the file system spells it; empty
  // when the box is.
  std::string PathBoxFolder() const;
  bool ShowMessage(MessageKind kind, const QString& text, const QString& details = QString());
  // The uniform entries as the list holds them.
  std::vector<UniformEntry> UniformEntries() const;
  void SetRunning(bool running);
  void RunFinished(const BatchResult& result);
  void RestoreSettings();
  void SaveSettings() const;

  VideoListModel* videos_;
  BatchRunner* runner_;
  FolderDialog* folder_dialog_ = nullptr;
  MessageSink message_sink_;
  QString settings_file_;
  std::string folder_native_;  // the folder the list shows, as the file system spells it
  QString folder_shown_;       // the path box's text when the list was read
  bool listed_recursive_ = false;
  VideoExtensions extensions_;  // what extensionsEdit last held that could be used
  // The controls a run holds, with whether each was enabled before.
  std::vector<std::pair<QWidget*, bool>> held_;
  bool close_after_run_ = false;
};

}  // namespace kscgen::gui
