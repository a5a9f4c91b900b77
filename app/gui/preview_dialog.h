// The preview: what the batch would write, one row per listed video, with
// the selected row's notes and whole KSC text below, before anything is
// written.
#pragma once

#include <QByteArray>
#include <QDialog>
#include <QScreen>
#include <vector>

#include "app/engine/batch.h"

class QCheckBox;
class QLabel;
class QPlainTextEdit;
class QTableWidget;

namespace kscgen::gui {

// Keeps every report of a dry run.
class PreviewCollector : public BatchObserver {
 public:
  void OnVideo(const VideoReport& report, std::size_t, std::size_t) override {
    reports.push_back(report);
  }
  std::vector<VideoReport> reports;
};

class PreviewDialog : public QDialog {
  Q_OBJECT

 public:
  // With `recursive`, the rows begin with each video's folder. `geometry`
  // (QWidget::saveGeometry of an earlier preview) gives its size and place;
  // without it, it opens as large as its table likes and the screen allows.
  PreviewDialog(const PreviewCollector& rows, bool recursive, QWidget* parent,
                const QByteArray& geometry = QByteArray());

  QTableWidget* table() const { return table_; }
  // The column of the notes (备注), shown right after the video's name.
  int notesColumn() const { return notes_column_; }
  QPlainTextEdit* kscText() const { return ksc_text_; }
  // The selected row's notes, above its KSC text; hidden when it has none.
  QLabel* noteLabel() const { return note_label_; }
  // 只看有备注的: hides the rows without notes.
  QCheckBox* notesOnly() const { return notes_only_; }
  // 只看有变化的: hides the rows whose KSC files a run would not write.
  QCheckBox* changesOnly() const { return changes_only_; }

 private:
  void FillTable(bool recursive);
  void Lay(QWidget* summary);
  void OpenOn(const QScreen* screen, const QByteArray& geometry);
  void SizeColumns(int name_column);
  void ShowKscText(int row);
  void ShowOnlyChosenRows();

  std::vector<VideoReport> reports_;
  std::vector<bool> noted_;  // by row: whether it has notes
  int notes_column_ = 0;
  QCheckBox* notes_only_;
  QCheckBox* changes_only_;
  QTableWidget* table_;
  QLabel* note_label_;
  QPlainTextEdit* ksc_text_;
};

}  // namespace kscgen::gui
