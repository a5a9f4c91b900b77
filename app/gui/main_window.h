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

  // Controls, named as the window's designer named them.
  QTextEdit* Memo1;
  QLabel* Label1;
  QLineEdit* Edit3;
  QToolButton* SpeedButton1;
  QListView* FileListBox1;
  QLabel* Label5;
  QToolButton* SpeedButton2;
  QLabel* Label3;
  QGroupBox* RadioGroup2;
  QButtonGroup* RadioGroup2Buttons;
  QLabel* Label2;
  QLabel* Label4;
  QGroupBox* RadioGroup1;
  QButtonGroup* RadioGroup1Buttons;
  QCheckBox* CheckBox2;
  QCheckBox* CheckBox3;
  QLineEdit* Edit4;
  QProgressBar* ProgressBar1;
  QGroupBox* GroupBox1;
  QCheckBox* CheckBox1;
  QLabel* Label9;
  QLabel* Label6;
  QComboBox* ComboBox1;
  QLabel* Label7;
  QComboBox* ComboBox2;
  QToolButton* SpeedButton3;
  QLabel* Label8;
  QListWidget* ListBox1;
  QToolButton* SpeedButton4;
  QPushButton* BitBtn2;
  QPushButton* BitBtn1;
  QPushButton* BitBtn3;
  QLineEdit* Edit1;
  QLineEdit* Edit2;

 public slots:
  void SpeedButton1Click();
  void FileListBox1Change();
  void SpeedButton2Click();
  void CheckBox1Click();
  void CheckBox2Click();
  void CheckBox3Click();
  void ComboBox1Change();
  void SpeedButton3Click();
  void SpeedButton4Click();
  void Edit1Change();
  void Edit3EditingFinished();
  void BitBtn1Click();
  void BitBtn2Click();

 protected:
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  void BuildControls();
  // The controls CheckBox1 enables and disables.
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
