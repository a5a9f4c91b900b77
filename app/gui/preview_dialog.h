// The preview: what the batch would write, one row per listed video, with
// the selected row's whole KSC text below, before anything is written.
#pragma once

#include <QDialog>
#include <vector>

#include "app/engine/batch.h"

class QCheckBox;
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
  // With `recursive`, the rows begin with each video's folder.
  PreviewDialog(const PreviewCollector& rows, bool recursive, QWidget* parent);

  QTableWidget* table() const { return table_; }
  QPlainTextEdit* kscText() const { return ksc_text_; }
  // 只看有备注的: hides the rows without notes.
  QCheckBox* notesOnly() const { return notes_only_; }

 private:
  void ShowKscText(int row);
  void ShowOnlyNoted(bool only);

  std::vector<VideoReport> reports_;
  std::vector<bool> noted_;  // by row: whether it has notes
  QCheckBox* notes_only_;
  QTableWidget* table_;
  QPlainTextEdit* ksc_text_;
};

}  // namespace kscgen::gui
