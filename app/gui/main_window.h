// MainWindow, the main window: the folder, its videos, the naming template and
// folder role, uniform values, numbering, and the buttons that preview and
// run the batch. It gathers its controls into a BatchRequest and leaves every
// rule to the engine; the batch runs on a thread of its own.
//
// Its work is spread over files by concern:
//   main_window.cc           the folder, the file list and the option controls
//   main_window_layout.cc    building the controls
//   main_window_arrange.cc   arranging them on the screen, in two columns or three
//   main_window_settings.cc  what is remembered between starts
//   main_window_run.cc       starting, stopping and ending a run; the preview
//   message_box.cc           the message boxes it shows
#pragma once

#include <QByteArray>
#include <QMessageBox>
#include <QPointer>
#include <QString>
#include <QWidget>
#include <ctime>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "app/engine/batch.h"
#include "app/gui/main_window_controls.h"

class QGridLayout;
class QHBoxLayout;
class QSettings;
class QUrl;

namespace kscgen::gui {

class BatchRunner;
class FolderDialog;
class VideoListModel;

class MainWindow : public QWidget, private MainWindowControls {
  Q_OBJECT

 public:
  // Options, size and place are remembered in the INI file `settings_file`
  // (read now, written at each run and at closing); with an empty name
  // nothing is remembered and the window starts as at a first start.
  explicit MainWindow(const QString& settings_file = QString(), QWidget* parent = nullptr);
  ~MainWindow() override;

  // The program's name, which message boxes take as their title; the
  // window's title adds the version.
  static QString ProgramName();

  // Where the program keeps its options: the user's INI settings file.
  static QString DefaultSettingsFile();

  // What a message box says. `details` is what "显示详细信息" unfolds;
  // `folder` (native spelling), when not empty, is offered by a button
  // 打开文件夹 that opens it in the file manager. A run that skipped
  // videos ends with a warning, not with information.
  enum class MessageKind { kError, kInformation, kQuestion, kWarning };
  struct Message {
    MessageKind kind = MessageKind::kInformation;
    QString text;
    QString details;
    std::string folder;
  };
  // Errors and information go through here, so that a test can take them
  // instead of a box being shown. (The question 退出 asks during a run is
  // a real box: it closes by itself when the run ends.)
  using MessageSink = std::function<void(const Message&)>;
  void setMessageSink(MessageSink sink) { message_sink_ = std::move(sink); }
  // Asks a yes-or-no question (a real box unless a test answers it); true
  // for yes.
  using Confirmer = std::function<bool(const QString&)>;
  void setConfirmer(Confirmer confirmer) { confirmer_ = std::move(confirmer); }
  // What "today" is for the runs' dates, as for kscgen: the system's clock
  // unless a test fixes it.
  void setClock(std::function<std::time_t()> clock) { clock_ = std::move(clock); }
  // The box the window would show; the caller runs it.
  QMessageBox* MakeMessageBox(const Message& message);
  // The question 退出 asked during a run, while it is open.
  QMessageBox* StopQuestion() const { return stop_question_; }

  void setFolderDialog(FolderDialog* dialog) { folder_dialog_ = dialog; }
  // What 打开文件夹 hands the folder's URL to, false when nothing opened it:
  // the desktop's file manager unless set.
  using FolderOpener = std::function<bool(const QUrl&)>;
  void setFolderOpener(FolderOpener opener) { folder_opener_ = std::move(opener); }
  // The file system that listings and runs use; the system's when null.
  // Tests hold a run at a known step through it.
  void setFileSystem(os::FileSystem* file_system) { file_system_ = file_system; }

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
  // Whether the window is arranged in three columns, for a screen too low
  // for the usual two.
  bool IsCompact() const { return compact_; }

  // The controls, for the window's tests, which drive them as a user would;
  // the window's own code reaches them as its members.
  const MainWindowControls& ControlsForTest() const { return *this; }

 public slots:
  void browseFolder();
  void updateCount();
  void removeCurrentVideo();
  void removeSelectedVideos();
  void uniformToggled();
  void numberingToggled();
  void startNumberToggled();
  void numberFromNameToggled();
  // 自定义 takes the pattern box; the other templates leave it.
  void templateChosen();
  // Checks the pattern as it is typed and says what is wrong with it.
  void patternEdited();
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
  // main_window_layout.cc
  void BuildControls();
  void BuildInstructions();
  void BuildFolderColumn();
  void BuildChoiceColumn();
  void BuildNumberingColumn();
  void BuildUniformGroup();
  void BuildButtonColumn();
  void FitToFont();
  void ConnectControls();

  // main_window_arrange.cc
  // Two columns (the usual arrangement) or three; the same groups in the
  // same order either way.
  void Arrange(bool compact);
  void ArrangeGroups(bool compact);
  void ArrangeNumbering(bool compact);
  void ArrangeUniformGroup(bool compact);
  // Centred on the screen, as large as the layout likes and the screen allows;
  // three columns when two do not fit its room.
  void PlaceOnScreen();

  // main_window_settings.cc
  void RestoreSettings();
  // The options' controls, and the uniform entries, from a settings file.
  void RestoreOptions(QSettings& s);
  void RestoreUniformEntries(QSettings& s);
  // Writes the settings file; a file that cannot be written is told once
  // (the run or the closing goes on: only the choices are not remembered).
  void SaveSettings();

  // main_window_run.cc
  void SetRunning(bool running);
  void ShowProgress(std::size_t done, std::size_t total);
  void ClearProgress();
  // Clears the count of a run over a list of another length than the one
  // shown now (后缀, F5, 移除 changed it).
  void ClearProgressOfAnotherList();
  void RunFinished(const BatchResult& result);
  // What the chosen template allows: the pattern box, 编号取自文件名 (taken
  // off under 歌名, saying so when `tell`).
  void FollowTemplate(bool tell);
  // How many names the completion message of `result` lists (at most
  // kSummaryNames) for its box to fit the screen's available area.
  static constexpr std::size_t kSummaryNames = 10;
  std::size_t SummaryNamesThatFit(const BatchResult& result);
  void AskWhetherToStop();
  // Whether the listed folder is there to be run on; if not, it is read
  // again, which empties the list and says why.
  bool ListedFolderIsThere();
  // The request for a run or a preview of the listed folder; none, after
  // saying why, when there is nothing to run on or an option cannot be used.
  std::optional<BatchRequest> RequestForRun(bool dry_run);

  // main_window.cc
  // The controls uniformCheck enables and disables.
  std::vector<QWidget*> UniformControls() const;
  // Reads the folder into the list; false, with the list empty and an
  // error box, when it cannot be read.
  bool ReadFolder(const std::string& native, const QString& shown);
  // The working folder's own videos, as the list shows them until a folder
  // is chosen; the path box shows that folder greyed.
  void ListWorkingFolder();
  // Re-reads the folder when the path box no longer shows the listed one.
  bool FollowPathBox();
  // The folder the path box names, as the file system spells it; empty
  // when the box is.
  std::string PathBoxFolder() const;
  void ShowMessage(MessageKind kind, const QString& text, const QString& details = QString(),
                   const std::string& folder = std::string());
  // The uniform entries as the list holds them.
  std::vector<UniformEntry> UniformEntries() const;
  // Adds a parsed entry to the uniform list.
  void AppendUniformEntry(const UniformEntry& entry);
  os::FileSystem& FileSystem() const;

  VideoListModel* videos_;
  BatchRunner* runner_;
  FolderDialog* folder_dialog_ = nullptr;
  os::FileSystem* file_system_ = nullptr;
  MessageSink message_sink_;
  Confirmer confirmer_;
  std::function<std::time_t()> clock_;
  FolderOpener folder_opener_;
  QString settings_file_;
  bool told_settings_unsaved_ = false;
  QGridLayout* grid_ = nullptr;
  QWidget* folder_column_ = nullptr;     // 1. the folder and its videos
  QWidget* choice_column_ = nullptr;     // 2. and 3. folder role and template
  QWidget* numbering_column_ = nullptr;  // numbering and progress
  QWidget* button_column_ = nullptr;
  QHBoxLayout* recursive_row_ = nullptr;   // 包含子目录, and 后缀 beside it in two columns
  QHBoxLayout* extensions_row_ = nullptr;  // 后缀 in three columns
  QGridLayout* numbering_grid_ = nullptr;
  QGridLayout* uniform_grid_ = nullptr;
  bool compact_ = false;
  std::string folder_native_;  // the folder the list shows, as the file system spells it
  QString folder_shown_;       // the path box's text when the list was read
  bool listed_ok_ = false;     // whether that folder could be read
  bool listed_recursive_ = false;
  int listed_count_ = 0;        // the videos the folder held when it was read
  VideoExtensions extensions_;  // what extensionsEdit last held that could be used
  // The controls a run holds, with whether each was enabled before.
  std::vector<std::pair<QWidget*, bool>> held_;
  QString held_placeholder_;  // extensionsEdit's, put away during a run
  bool close_after_run_ = false;
  QPointer<QMessageBox> stop_question_;
  QByteArray preview_geometry_;  // the preview's size and place when it last closed
};

}  // namespace kscgen::gui
