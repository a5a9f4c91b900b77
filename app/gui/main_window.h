// TForm1, the main window: the folder, its videos, the naming template and
// folder role, uniform values, numbering, and the buttons that preview and
// run the batch. It gathers its controls into a BatchRequest and leaves every
// rule to the engine.
#pragma once

#include <QWidget>
#include <functional>
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
class QTextEdit;
class QProgressBar;
class QPushButton;
class QToolButton;

namespace kscgen::gui {

class TForm2;
class VideoListModel;

class TForm1 : public QWidget {
  Q_OBJECT

 public:
  explicit TForm1(QWidget* parent = nullptr);
  ~TForm1() override;

  // Message boxes go through here, so that a test can take them instead.
  enum class MessageKind { kError, kInformation };
  using MessageSink = std::function<void(MessageKind, const QString&)>;
  void setMessageSink(MessageSink sink) { message_sink_ = std::move(sink); }

  void setFolderDialog(TForm2* dialog) { folder_dialog_ = dialog; }

  // What choosing a folder in the dialog does: the folder path and the file
  // list follow it. An empty path empties the path and keeps the list.
  void ChooseFolder(const QString& path);

  // The request the batch takes, from the controls as they stand; none, with
  // the reason in `*error`, when a control holds what cannot be used.
  std::optional<BatchRequest> BuildRequest(bool dry_run, QString* error) const;
  const std::vector<VideoFolder>& ListedFolders() const;

  // Controls, named for their job; each keeps its designer name (Edit3,
  // BitBtn1, ...) as its object name, by which tests and tools find it.
  QTextEdit* instructions;
  QLabel* folderLabel;
  QLineEdit* folderEdit;
  QToolButton* browseButton;
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
  void uniformToggled();
  void numberingToggled();
  void startNumberToggled();
  void kindChanged();
  void addUniformEntry();
  void removeUniformEntry();
  void initialsInputChanged();
  void folderEditFinished();
  void runOrStop();
  void preview();

 protected:
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  void BuildControls();
  // The controls uniformCheck enables and disables.
  std::vector<QWidget*> UniformControls() const;
  void ReadFolder(const QString& path);
  void ShowMessage(MessageKind kind, const QString& text);
  // The messages of a batch that did not run through; true when it did not.
  bool ReportFailure(const BatchResult& result);
  // The uniform entries as the list holds them.
  std::vector<UniformEntry> UniformEntries() const;

  VideoListModel* videos_;
  TForm2* folder_dialog_ = nullptr;
  MessageSink message_sink_;
};

}  // namespace kscgen::gui
