// Run control: starting the batch from 批量KSC, its progress, stopping it,
// its end and what the window then says; the preview, a run that writes
// nothing; and closing the window while a run goes on.
#include <QCheckBox>
#include <QCloseEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QStyle>
#include <QToolButton>

#include "app/engine/messages.h"
#include "app/engine/preview.h"
#include "app/gui/batch_runner.h"
#include "app/gui/main_window.h"
#include "app/gui/preview_dialog.h"
#include "app/gui/qt_text.h"
#include "app/gui/video_list_model.h"

namespace kscgen::gui {
namespace {

const char kRunCaption[] = u8" 批量KSC(&B)";
const char kStopCaption[] = u8" 停止(&S)";
const char kStopQuestion[] = u8"批量任务正在进行，要停止并退出吗？\n（正在写入的文件会写完）";

}  // namespace

bool MainWindow::ListedFolderIsThere() {
  if (listed_ok_) {
    std::unique_ptr<os::Folder> handle;
    if (!FileSystem().OpenFolder(folder_native_, &handle).failed()) return true;
  }
  // Gone, or never readable: reading it again empties the list and says why.
  // Should it be back, the list is fresh and the user sees it before a run.
  ReadFolder(folder_native_, folder_shown_);
  return false;
}

std::optional<BatchRequest> MainWindow::RequestForRun(bool dry_run) {
  if (!FollowPathBox() || !ListedFolderIsThere()) return std::nullopt;
  QString error;
  std::optional<BatchRequest> request = BuildRequest(dry_run, &error);
  if (!request) ShowMessage(MessageKind::kError, error);
  return request;
}

void MainWindow::SetRunning(bool running) {
  if (running) {
    // Everything that could change the list, the folder or the options.
    held_.clear();
    for (QWidget* w : std::initializer_list<QWidget*>{
             folderLabel, folderEdit, browseButton, recursiveCheck, extensionsLabel, extensionsEdit,
             videoList, removeVideoButton, roleGroup, templateGroup, patternEdit, numberingCheck,
             startNumberCheck, startNumberEdit, numberFromNameCheck, replaceEditsCheck, uniformGroup,
             previewButton}) {
      held_.emplace_back(w, !w->testAttribute(Qt::WA_ForceDisabled));
      w->setEnabled(false);
    }
    // Greyed, a placeholder reads like typed text: an empty box shows none.
    held_placeholder_ = extensionsEdit->placeholderText();
    extensionsEdit->setPlaceholderText(QString());
    runButton->setText(kStopCaption);
    runButton->setIcon(style()->standardIcon(QStyle::SP_BrowserStop));
    setCursor(Qt::BusyCursor);
  } else {
    for (auto [w, enabled] : held_) w->setEnabled(enabled);
    held_.clear();
    if (!held_placeholder_.isEmpty()) extensionsEdit->setPlaceholderText(held_placeholder_);
    runButton->setText(kRunCaption);
    runButton->setIcon(style()->standardIcon(QStyle::SP_DialogOkButton));
    runButton->setEnabled(true);
    unsetCursor();
  }
}

void MainWindow::ShowProgress(std::size_t done, std::size_t total) {
  progressBar->setRange(0, static_cast<int>(std::max<std::size_t>(total, 1)));
  progressBar->setValue(static_cast<int>(done));
  progressBar->setFormat(QString::fromUtf8(u8"已处理 %1 / %2").arg(done).arg(total));
  progressBar->setTextVisible(true);
}

void MainWindow::ClearProgress() {
  progressBar->setRange(0, 100);
  progressBar->setValue(0);
  progressBar->setFormat(QString());
  progressBar->setTextVisible(false);
}

void MainWindow::ClearProgressOfAnotherList() {
  if (progressBar->isTextVisible() && progressBar->maximum() != videos_->rowCount()) {
    ClearProgress();
  }
}

void MainWindow::runOrStop() {
  if (IsRunning()) {
    stopRun();
    return;
  }
  if (folderEdit->text().isEmpty() && folder_shown_.isEmpty()) {
    // The list shows the working folder, which no one chose to fill.
    ShowMessage(MessageKind::kError, FromMessage(messages::ChooseFolderFirst()));
    return;
  }
  std::optional<BatchRequest> request = RequestForRun(false);
  if (!request) return;
  if (videos_->rowCount() == 0) {
    ShowMessage(MessageKind::kInformation,
                FromMessage(listed_count_ > 0
                                ? messages::NoVideosLeft()
                                : messages::NoVideos(folder_native_, VideoMasks(extensions_))));
    return;
  }
  if (request->force && !confirmer_(FromMessage(messages::kReplaceEditsQuestion))) return;
  SaveSettings();
  SetRunning(true);
  // The run takes copies: the list and the controls may change under it
  // no more than they can, which is not at all while it runs.
  close_after_run_ = false;
  runner_->Start(std::move(*request), ListedFolders());
}

void MainWindow::stopRun() {
  if (!IsRunning()) return;
  runner_->Stop();
  runButton->setEnabled(false);  // stopping; it comes back when the run has ended
}

void MainWindow::RunFinished(const BatchResult& result) {
  SetRunning(false);
  // A question about stopping a run that has ended asks nothing any more.
  if (stop_question_) stop_question_->reject();
  if (close_after_run_) {
    close_after_run_ = false;
    close();
    return;
  }
  messages::Report report = messages::BatchReport(result, SummaryNamesThatFit(result));
  const bool failed = result.status != BatchStatus::kDone && result.status != BatchStatus::kStopped;
  MessageKind kind = MessageKind::kInformation;
  if (failed) {
    kind = MessageKind::kError;
  } else if (!result.skipped.empty()) {
    kind = MessageKind::kWarning;  // not every video got its KSC file
  }
  ShowMessage(kind, FromMessage(report.summary), FromMessage(report.details),
              failed ? std::string() : folder_native_);
}

void MainWindow::AskWhetherToStop() {
  if (stop_question_) return;  // already asked
  Message question;
  question.kind = MessageKind::kQuestion;
  question.text = QString::fromUtf8(kStopQuestion);
  QMessageBox* box = MakeMessageBox(question);
  box->setObjectName("StopQuestion");
  box->setAttribute(Qt::WA_DeleteOnClose);
  stop_question_ = box;
  connect(box, &QMessageBox::finished, this, [this, box] {
    stop_question_.clear();  // answered; the box goes later
    if (box->clickedButton() != box->button(QMessageBox::Yes)) return;
    if (IsRunning()) {
      close_after_run_ = true;
      stopRun();
    } else {
      close();
    }
  });
  box->open();
}

void MainWindow::closeEvent(QCloseEvent* event) {
  if (IsRunning()) {
    event->ignore();
    if (!close_after_run_) AskWhetherToStop();
    return;
  }
  SaveSettings();
  event->accept();
}

void MainWindow::preview() {
  std::optional<BatchRequest> request = RequestForRun(true);
  if (!request) return;
  PreviewCollector rows;
  BatchResult result = RunBatch(*request, ListedFolders(), &rows);
  if (result.status != BatchStatus::kDone) {
    messages::Report report = messages::BatchReport(result, messages::kNamesInAMessageBox);
    ShowMessage(MessageKind::kError, FromMessage(report.summary), FromMessage(report.details));
    return;
  }
  PreviewDialog dialog(rows, listed_recursive_, this, preview_geometry_);
  dialog.exec();
  preview_geometry_ = dialog.saveGeometry();
}

}  // namespace kscgen::gui
