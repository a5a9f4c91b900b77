#include "app/gui/main_window.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QListWidget>
#include <QMessageBox>
#include <QMimeData>
#include <QProgressBar>
#include <QPushButton>
#include <QSettings>
#include <QToolButton>
#include <memory>

#include "app/engine/messages.h"
#include "app/engine/name_pattern_option.h"
#include "app/engine/start_number.h"
#include "app/gui/batch_runner.h"
#include "app/gui/folder_dialog.h"
#include "app/gui/layout_blocks.h"
#include "app/gui/native_path.h"
#include "app/gui/qt_text.h"
#include "app/gui/translations.h"
#include "app/gui/video_list_model.h"
#include "tagging/pinyin.h"
#include "tagging/uniform_values.h"

namespace kscgen::gui {
namespace {

// Each uniform entry keeps its GBK kind text and value beside the text shown.
constexpr int kKindRole = Qt::UserRole;
constexpr int kValueRole = Qt::UserRole + 1;

}  // namespace

MainWindow::MainWindow(const QString& settings_file, QWidget* parent)
    : QWidget(parent),
      videos_(new VideoListModel(this)),
      runner_(new BatchRunner(this)),
      settings_file_(settings_file) {
  setObjectName("MainWindow");
  // The version in the title bar, where a user reporting a fault finds it.
  setWindowTitle(ProgramName() + QStringLiteral(" " KSCGEN_VERSION));
  setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                 Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                 Qt::WindowMaximizeButtonHint | Qt::WindowCloseButtonHint);
  QFont font(u8"宋体");
  font.setPixelSize(12);
  setFont(font);
  setAcceptDrops(true);
  InstallTranslations();
  message_sink_ = [this](const Message& message) {
    std::unique_ptr<QMessageBox> box(MakeMessageBox(message));
    box->exec();
  };
  confirmer_ = [this](const QString& text) {
    std::unique_ptr<QMessageBox> box(MakeMessageBox(Message{MessageKind::kQuestion, text, {}, {}}));
    return box->exec() == QMessageBox::Yes;
  };
  BuildControls();
  ConnectControls();
  SetRunning(false);
  connect(runner_, &BatchRunner::progress, this, &MainWindow::ShowProgress);
  connect(runner_, &BatchRunner::finished, this, &MainWindow::RunFinished);
  ClearProgress();
  PlaceOnScreen();
  RestoreSettings();
}

MainWindow::~MainWindow() {
  // The controls go after the window's own parts: a box that has the focus
  // then loses it and says its editing finished (editingFinished), to a
  // window half gone. Nothing of a control reaches the window past here.
  for (QObject* child : findChildren<QObject*>()) child->disconnect(this);
}

QString MainWindow::ProgramName() { return QString::fromUtf8(u8"霁川KSC文件批量生成器"); }

os::FileSystem& MainWindow::FileSystem() const {
  return file_system_ ? *file_system_ : os::SystemFileSystem();
}

void MainWindow::ChooseFolder(const QString& path) {
  if (path.isEmpty()) {
    folderEdit->clear();
    return;
  }
  folderEdit->setText(path);
  ReadFolder(NativePathOfTyped(path, FileSystem()), path);
}

void MainWindow::ChooseNativeFolder(const std::string& native) {
  if (native.empty()) {
    folderEdit->clear();
    return;
  }
  const QString shown = ShownPath(native);
  folderEdit->setText(shown);
  ReadFolder(native, shown);
}

bool MainWindow::ReadFolder(const std::string& native, const QString& shown) {
  QString error;
  std::vector<std::string> unreadable;
  listed_ok_ = videos_->ReadFolder(native, recursiveCheck->isChecked(), FileSystem(), &error,
                                   &unreadable, extensions_);
  if (native != folder_native_) ClearProgress();  // a count of another folder's run
  folder_native_ = native;
  ClearProgressOfAnotherList();
  folder_shown_ = shown;
  // Should the box be emptied, it still shows which folder a run would take.
  folderEdit->setPlaceholderText(ShownPath(native));
  listed_recursive_ = recursiveCheck->isChecked();
  listed_count_ = videos_->rowCount();
  updateCount();
  if (!listed_ok_) {
    ShowMessage(MessageKind::kError, error);
  } else if (!unreadable.empty()) {
    // The folders that could be read are listed; these are not.
    const messages::Report report =
        messages::LinesReport(unreadable, messages::kNamesInAMessageBox);
    ShowMessage(MessageKind::kError, FromMessage(report.summary), FromMessage(report.details));
  }
  return listed_ok_;
}

void MainWindow::ListWorkingFolder() {
  QString ignored;
  std::vector<std::string> unreadable;
  const std::string working = ToNative(QDir::currentPath());
  if (working != folder_native_) ClearProgress();
  folder_native_ = working;
  folder_shown_ = QString();
  // The box stays empty (nothing was chosen) and shows, greyed, the folder a
  // run would then write into.
  folderEdit->setPlaceholderText(QDir::toNativeSeparators(QDir::currentPath()));
  listed_ok_ =
      videos_->ReadFolder(folder_native_, false, FileSystem(), &ignored, &unreadable, extensions_);
  ClearProgressOfAnotherList();
  listed_recursive_ = false;
  listed_count_ = videos_->rowCount();
  updateCount();
}

bool MainWindow::FollowPathBox() {
  const QString typed = folderEdit->text();
  if (typed.isEmpty() || typed == folder_shown_) return true;
  return ReadFolder(NativePathOfTyped(typed, FileSystem()), typed);
}

const std::vector<VideoFolder>& MainWindow::ListedFolders() const { return videos_->folders(); }

bool MainWindow::IsRunning() const { return runner_->IsRunning(); }

std::vector<UniformEntry> MainWindow::UniformEntries() const {
  std::vector<UniformEntry> entries;
  for (int i = 0; i < uniformList->count(); ++i) {
    const QListWidgetItem* item = uniformList->item(i);
    UniformEntry e;
    e.kind_text = item->data(kKindRole).toByteArray().toStdString();
    e.kind = UniformKindOf(e.kind_text);
    e.value = item->data(kValueRole).toByteArray().toStdString();
    entries.push_back(std::move(e));
  }
  return entries;
}

void MainWindow::AppendUniformEntry(const UniformEntry& entry) {
  auto* item = new QListWidgetItem(FromGbk(UniformEntryText(entry)));
  item->setData(kKindRole, QByteArray::fromStdString(entry.kind_text));
  item->setData(kValueRole, QByteArray::fromStdString(entry.value));
  uniformList->addItem(item);
}

std::optional<BatchRequest> MainWindow::BuildRequest(bool dry_run, QString* error) const {
  BatchRequest r;
  r.naming_template = NamingTemplateOf(templateButtons->checkedId());
  if (r.naming_template == kTemplateCustom) {
    NamePatternOption pattern = ParseNamePatternOption(patternEdit->text().toStdString());
    if (!pattern.pattern) {
      *error = FromMessage(pattern.error);
      return std::nullopt;
    }
    r.name_pattern = std::move(pattern.pattern);
  }
  r.number_from_name = numberFromNameCheck->isChecked();
  r.folder_role = FolderRoleOf(roleButtons->checkedId()).value_or(kRoleNone);
  // 歌曲自动编号 numbers from 00001; 编号始于 gives another start.
  if (numberingCheck->isChecked() && !r.number_from_name) {
    r.start_number = 0;
    const QString start = startNumberEdit->text().trimmed();
    // Ticked with nothing typed is no start: it is refused, not read as 0.
    if (startNumberCheck->isChecked()) {
      std::optional<std::int32_t> n = ParseStartNumber(start.toStdString());
      if (!n) {
        *error = FromMessage(StartNumberRefusal(start.toStdString()));
        return std::nullopt;
      }
      r.start_number = *n;
    }
  }
  if (uniformCheck->isChecked()) r.uniform = CollectUniformValues(UniformEntries());
  r.force = replaceEditsCheck->isChecked();
  r.dry_run = dry_run;
  r.file_system = file_system_;
  r.clock = clock_;
  return r;
}

void MainWindow::ShowMessage(MessageKind kind, const QString& text, const QString& details,
                             const std::string& folder) {
  message_sink_(Message{kind, text, details, folder});
}

std::string MainWindow::PathBoxFolder() const {
  const QString typed = folderEdit->text();
  if (typed.isEmpty()) return {};
  return typed == folder_shown_ ? folder_native_ : NativePathOfTyped(typed, FileSystem());
}

void MainWindow::browseFolder() {
  if (folder_dialog_) folder_dialog_->Browse(PathBoxFolder());
}

void MainWindow::updateCount() {
  QString count = u8"歌曲总数：　" + QString::number(videos_->rowCount());
  // The hint wraps in a narrow column, between its phrases only.
  if (!videos_->unlisted().empty()) {
    count += "\n" + KeepPhrasesWhole(FromMessage(videos_->unlisted()));
  }
  countLabel->setText(count);
}

void MainWindow::removeCurrentVideo() {
  QModelIndex current = videoList->currentIndex();
  if (current.isValid()) videos_->Remove(current.row());
  ClearProgressOfAnotherList();
  updateCount();
}

void MainWindow::removeSelectedVideos() {
  std::vector<int> rows;
  for (const QModelIndex& i : videoList->selectionModel()->selectedIndexes()) {
    rows.push_back(i.row());
  }
  videos_->RemoveRows(std::move(rows));
  ClearProgressOfAnotherList();
  updateCount();
}

std::vector<QWidget*> MainWindow::UniformControls() const {
  return {kindBox,   valueBox,   uniformList,     addUniformButton, removeUniformButton,
          kindLabel, valueLabel, uniformListLabel};
}

void MainWindow::uniformToggled() {
  for (QWidget* w : UniformControls()) w->setEnabled(uniformCheck->isChecked());
}

// The start number can be typed only while it counts: both boxes ticked.
void MainWindow::numberingToggled() {
  startNumberCheck->setEnabled(numberingCheck->isChecked());
  startNumberToggled();
  if (numberingCheck->isChecked()) numberFromNameCheck->setChecked(false);
}

void MainWindow::startNumberToggled() {
  startNumberEdit->setEnabled(numberingCheck->isChecked() && startNumberCheck->isChecked());
}

void MainWindow::numberFromNameToggled() {
  if (numberFromNameCheck->isChecked() && numberingCheck->isChecked()) {
    numberingCheck->setChecked(false);
    numberingToggled();
  }
}

void MainWindow::templateChosen() { FollowTemplate(true); }

void MainWindow::FollowTemplate(bool tell) {
  const int chosen = templateButtons->checkedId();
  patternEdit->setEnabled(chosen == kTemplateCustom);
  patternEdited();
  // 歌名 reads no numbers: 编号取自文件名 cannot be chosen with it, and is
  // taken off (saying why) as soon as 歌名 is chosen.
  const bool title_only = chosen == kTemplateTitle;
  if (title_only && numberFromNameCheck->isChecked()) {
    numberFromNameCheck->setChecked(false);
    if (tell) ShowMessage(MessageKind::kError, FromMessage(messages::kNoNumbersUnderTitleTemplate));
  }
  numberFromNameCheck->setEnabled(!title_only);
}

void MainWindow::patternEdited() {
  QString problem;
  if (patternEdit->isEnabled() && !patternEdit->text().trimmed().isEmpty()) {
    const NamePatternOption pattern = ParseNamePatternOption(patternEdit->text().toStdString());
    if (!pattern.pattern) problem = FromMessage(pattern.error);
  }
  patternError->setText(problem);
  patternError->setVisible(!problem.isEmpty());
}

void MainWindow::recursiveToggled() {
  if (!folderEdit->text().isEmpty()) rereadFolder();
}

void MainWindow::kindChanged() {
  // The typed value stays while the offered values follow the kind.
  const QString typed = valueBox->currentText();
  valueBox->clear();
  for (const std::string& v : UniformValuesOffered(kindBox->findText(kindBox->currentText()))) {
    valueBox->addItem(FromGbk(v));
  }
  valueBox->setCurrentIndex(-1);
  valueBox->setEditText(typed);
}

void MainWindow::addUniformEntry() {
  std::optional<std::string> kind = ToGbk(kindBox->currentText());
  std::optional<std::string> value = ToGbk(valueBox->currentText());
  if (!kind || !value) {
    // The KSC file is GBK: such a value could only reach it damaged.
    ShowMessage(MessageKind::kError, FromMessage(messages::NotInGbk(
                                         u8"统一设定值", valueBox->currentText().toStdString())));
    return;
  }
  UniformEntryParse parse = ParseUniformEntry(*kind, *value);
  if (parse.error == UniformEntryError::kNone || parse.error == UniformEntryError::kEmptyValue) {
    if (parse.error == UniformEntryError::kNone) AppendUniformEntry(parse.entry);
    valueBox->setEditText(QString());  // added, or nothing to add
    return;
  }
  // What is refused stays typed, to be corrected.
  const std::string entry = (kindBox->currentText() + "=" + valueBox->currentText()).toStdString();
  ShowMessage(MessageKind::kError,
              FromMessage(messages::UniformEntryRefusal(
                  parse.error, entry, valueBox->currentText().toStdString(), false)));
}

void MainWindow::removeUniformEntry() {
  QListWidgetItem* item = uniformList->currentItem();
  if (item && item->isSelected()) delete uniformList->takeItem(uniformList->row(item));
}

void MainWindow::initialsInputChanged() {
  initialsOutput->setText(
      FromGbk(HiddenPairInitials(ToGbk(initialsInput->text()).value_or(std::string()))));
}

void MainWindow::folderEditFinished() {
  // Only a changed path is read again: a re-read would undo 移除.
  if (!IsRunning()) FollowPathBox();
}

void MainWindow::extensionsEditFinished() {
  if (IsRunning()) return;
  VideoExtensionsParse parse = ParseVideoExtensions(extensionsEdit->text().toStdString());
  if (!parse.error.empty()) {
    extensionsEdit->setText(QString::fromStdString(VideoExtensionsText(extensions_)));
    ShowMessage(MessageKind::kError, FromMessage(parse.error));
    return;
  }
  extensionsEdit->setText(QString::fromStdString(VideoExtensionsText(parse.extensions)));
  if (parse.extensions == extensions_) return;
  extensions_ = std::move(parse.extensions);
  if (folder_shown_.isEmpty()) {
    ListWorkingFolder();
  } else {
    ReadFolder(folder_native_, folder_shown_);
  }
}

void MainWindow::rereadFolder() {
  if (IsRunning()) return;
  const QString typed = folderEdit->text();
  if (!typed.isEmpty() && typed != folder_shown_) {
    FollowPathBox();
  } else if (typed.isEmpty()) {
    ListWorkingFolder();
  } else {
    ReadFolder(folder_native_, folder_shown_);
  }
}

// A folder is taken as it is, a file (a video) for the folder that holds it,
// as when either is given to the program at its start.
void MainWindow::dragEnterEvent(QDragEnterEvent* event) {
  if (IsRunning()) return;  // refused: the run's folder stays
  const QList<QUrl> urls = event->mimeData()->urls();
  if (urls.size() == 1 && !FolderStoodFor(NativePathOfUrl(urls[0]), FileSystem()).empty()) {
    event->acceptProposedAction();
  }
}

void MainWindow::dropEvent(QDropEvent* event) {
  if (IsRunning()) {
    event->ignore();
    return;
  }
  const std::string folder =
      FolderStoodFor(NativePathOfUrl(event->mimeData()->urls().value(0)), FileSystem());
  if (folder.empty()) {
    event->ignore();
    return;
  }
  ChooseNativeFolder(folder);
  event->acceptProposedAction();
}

}  // namespace kscgen::gui
