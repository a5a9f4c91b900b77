#include "app/gui/preview_dialog.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPlainTextEdit>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "app/engine/preview.h"
#include "app/gui/qt_text.h"
#include "ksc/ksc_file.h"
#include "text/encoding.h"

namespace kscgen::gui {

PreviewDialog::PreviewDialog(const PreviewCollector& rows, bool recursive, QWidget* parent)
    : QDialog(parent), reports_(rows.reports) {
  setObjectName("PreviewDialog");
  resize(900, 560);

  const std::vector<std::string> header = PreviewHeader(recursive);
  table_ =
      new QTableWidget(static_cast<int>(reports_.size()), static_cast<int>(header.size()), this);
  table_->setObjectName("PreviewTable");
  QStringList titles;
  for (const std::string& h : header) titles << QString::fromStdString(h);
  table_->setHorizontalHeaderLabels(titles);
  table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  table_->setSelectionBehavior(QAbstractItemView::SelectRows);
  table_->setSelectionMode(QAbstractItemView::SingleSelection);
  table_->verticalHeader()->setDefaultSectionSize(20);

  // Skipped videos and KSC files written twice stand out.
  const QColor skipped(255, 205, 205);
  const QColor same_name(255, 240, 180);
  for (int r = 0; r < table_->rowCount(); ++r) {
    const VideoReport& report = reports_[static_cast<std::size_t>(r)];
    const std::vector<std::string> cells = PreviewRow(report, recursive);
    noted_.push_back(!cells[NotesColumn(recursive)].empty());
    for (int c = 0; c < static_cast<int>(cells.size()); ++c) {
      auto* item = new QTableWidgetItem(QString::fromStdString(cells[static_cast<std::size_t>(c)]));
      if (!report.skip_reason.empty()) {
        item->setBackground(skipped);
      } else if (report.same_ksc_as) {
        item->setBackground(same_name);
      }
      table_->setItem(r, c, item);
    }
  }
  table_->resizeColumnsToContents();
  for (int c = 0; c < table_->columnCount(); ++c) {
    table_->setColumnWidth(c, std::min(table_->columnWidth(c), 240));  // long names scroll
  }

  std::size_t skipped_count = 0;
  std::size_t replaced_count = 0;
  for (const VideoReport& report : reports_) {
    skipped_count += !report.skip_reason.empty();
    replaced_count += report.outcome == VideoOutcome::kSuperseded;
  }
  auto* summary = new QLabel(QString(u8"共 %1 个视频：将生成 %2 个KSC文件，跳过 %3 个（红色），%4 "
                                     u8"个与后面的视频同名（黄色）。")
                                 .arg(reports_.size())
                                 .arg(reports_.size() - skipped_count - replaced_count)
                                 .arg(skipped_count)
                                 .arg(replaced_count),
                             this);
  summary->setObjectName("PreviewSummary");
  const auto noted = std::count(noted_.begin(), noted_.end(), true);
  setWindowTitle(QString(u8"预览（%1 行有备注）").arg(noted));
  notes_only_ = new QCheckBox(u8"只看有备注的", this);
  notes_only_->setObjectName("NotesOnly");
  notes_only_->setEnabled(noted > 0);
  connect(notes_only_, &QCheckBox::toggled, this, &PreviewDialog::ShowOnlyNoted);

  ksc_text_ = new QPlainTextEdit(this);
  ksc_text_->setObjectName("KscText");
  ksc_text_->setReadOnly(true);
  ksc_text_->setLineWrapMode(QPlainTextEdit::NoWrap);

  auto* top = new QHBoxLayout;
  top->addWidget(summary, 1);
  top->addWidget(notes_only_);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top);
  layout->addWidget(table_, 3);
  layout->addWidget(ksc_text_, 2);

  connect(table_, &QTableWidget::currentCellChanged, this,
          [this](int row, int, int, int) { ShowKscText(row); });
  if (table_->rowCount() > 0) table_->selectRow(0);
}

void PreviewDialog::ShowOnlyNoted(bool only) {
  int first_shown = -1;
  for (int r = 0; r < table_->rowCount(); ++r) {
    const bool hide = only && !noted_[static_cast<std::size_t>(r)];
    table_->setRowHidden(r, hide);
    if (!hide && first_shown < 0) first_shown = r;
  }
  const int current = table_->currentRow();
  if (current < 0 || table_->isRowHidden(current)) {
    if (first_shown >= 0) {
      table_->selectRow(first_shown);
    } else {
      table_->clearSelection();
      ShowKscText(-1);
    }
  }
}

void PreviewDialog::ShowKscText(int row) {
  if (row < 0 || row >= static_cast<int>(reports_.size())) {
    ksc_text_->clear();
    return;
  }
  const VideoReport& report = reports_[static_cast<std::size_t>(row)];
  if (!report.skip_reason.empty()) {
    ksc_text_->setPlainText(QString::fromStdString(u8"不生成KSC文件：" + report.skip_reason));
    return;
  }
  // Line breaks as they are: the text is shown as the song manager reads it.
  const std::string ksc = FormatKscText(report.song);
  QString text = QString::fromStdString(text::GbkToUtf8(ksc).value_or(text::GbkForDisplay(ksc)));
  text.remove(QLatin1Char('\r'));
  ksc_text_->setPlainText(text);
}

}  // namespace kscgen::gui
