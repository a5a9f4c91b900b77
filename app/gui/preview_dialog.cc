#include "app/gui/preview_dialog.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPlainTextEdit>
#include <QScreen>
#include <QScrollBar>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "app/engine/messages.h"
#include "app/engine/preview.h"
#include "app/gui/qt_text.h"
#include "app/gui/screen_fit.h"
#include "text/encoding.h"

namespace kscgen::gui {
namespace {

// Widest a column opens, in the dialog's font's average characters (a
// Chinese character takes about two): longer texts are cut, and the names
// and notes shown whole in their tooltips.
constexpr int kColumnChars = 20;
constexpr int kNameAndNotesChars = 40;
// How tall the preview opens, in rows of the table, when the screen allows.
constexpr int kRowsShown = 24;

}  // namespace

PreviewDialog::PreviewDialog(const PreviewCollector& rows, bool recursive, QWidget* parent,
                             const QByteArray& geometry)
    : QDialog(parent), reports_(rows.reports) {
  setObjectName("PreviewDialog");
  setSizeGripEnabled(true);
  FillTable(recursive);

  auto* summary = new QLabel(FromMessage(PreviewSummary(reports_)), this);
  summary->setObjectName("PreviewSummary");
  summary->setWordWrap(true);  // a narrow screen keeps 只看有备注的 in reach
  const auto noted = std::count(noted_.begin(), noted_.end(), true);
  setWindowTitle(FromMessage(messages::PreviewTitle(static_cast<std::size_t>(noted))));
  notes_only_ = new QCheckBox(u8"只看有备注的(&B)", this);
  notes_only_->setObjectName("NotesOnly");
  notes_only_->setEnabled(noted > 0);
  connect(notes_only_, &QCheckBox::toggled, this, &PreviewDialog::ShowOnlyChosenRows);
  changes_only_ = new QCheckBox(u8"只看有变化的(&G)", this);
  changes_only_->setObjectName("ChangesOnly");
  changes_only_->setEnabled(std::any_of(reports_.begin(), reports_.end(), WouldWrite));
  connect(changes_only_, &QCheckBox::toggled, this, &PreviewDialog::ShowOnlyChosenRows);

  note_label_ = new QLabel(this);
  note_label_->setObjectName("PreviewNote");
  note_label_->setWordWrap(true);
  note_label_->setTextFormat(Qt::PlainText);
  note_label_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  note_label_->hide();
  ksc_text_ = new QPlainTextEdit(this);
  ksc_text_->setObjectName("KscText");
  ksc_text_->setReadOnly(true);
  ksc_text_->setLineWrapMode(QPlainTextEdit::NoWrap);
  Lay(summary);

  connect(table_, &QTableWidget::currentCellChanged, this,
          [this](int row, int, int, int) { ShowKscText(row); });
  if (table_->rowCount() > 0) table_->selectRow(0);
  OpenOn(parent && parent->screen() ? parent->screen() : screen(), geometry);
}

// The summary and the notes-only box above the table, the selected row's
// note and KSC text below it.
void PreviewDialog::Lay(QWidget* summary) {
  auto* top = new QHBoxLayout;
  top->addWidget(summary, 1);
  top->addWidget(notes_only_);
  top->addWidget(changes_only_);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top);
  layout->addWidget(table_, 3);
  layout->addWidget(note_label_);
  layout->addWidget(ksc_text_, 2);
}

// Where and how large it was last, or as wide as its columns and as tall
// as a good many rows; never beyond the screen it opens on.
void PreviewDialog::OpenOn(const QScreen* screen, const QByteArray& geometry) {
  if (!RestoreOn(this, geometry, screen)) {
    int width = table_->verticalHeader()->sizeHint().width() + 2 * table_->frameWidth() +
                table_->verticalScrollBar()->sizeHint().width();
    for (int c = 0; c < table_->columnCount(); ++c) width += table_->columnWidth(c);
    const int height = table_->verticalHeader()->defaultSectionSize() * kRowsShown;
    CentreOn(this, QSize(width, height) + QSize(24, 0), screen);
  }
}

void PreviewDialog::FillTable(bool recursive) {
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
  table_->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
  const int name_column = recursive ? 1 : 0;
  notes_column_ = static_cast<int>(NotesColumn(recursive));

  // Skipped videos and KSC files written twice stand out.
  const QColor skipped(255, 205, 205);
  const QColor same_name(255, 240, 180);
  for (int r = 0; r < table_->rowCount(); ++r) {
    const VideoReport& report = reports_[static_cast<std::size_t>(r)];
    const std::vector<std::string> cells = PreviewRow(report, recursive);
    noted_.push_back(!cells[static_cast<std::size_t>(notes_column_)].empty());
    for (int c = 0; c < static_cast<int>(cells.size()); ++c) {
      auto* item = new QTableWidgetItem(QString::fromStdString(cells[static_cast<std::size_t>(c)]));
      // A name or a note cut to its column reads whole here.
      if (c == name_column || c == notes_column_) item->setToolTip(item->text());
      if (!report.skip_reason.empty()) {
        item->setBackground(skipped);
      } else if (report.same_ksc_as) {
        item->setBackground(same_name);
      }
      table_->setItem(r, c, item);
    }
  }
  SizeColumns(name_column);
}

void PreviewDialog::SizeColumns(int name_column) {
  table_->resizeColumnsToContents();
  const int chars = fontMetrics().averageCharWidth();
  for (int c = 0; c < table_->columnCount(); ++c) {
    const bool long_text = c == notes_column_ || c == name_column;
    const int widest = (long_text ? kNameAndNotesChars : kColumnChars) * chars;
    table_->setColumnWidth(c, std::min(table_->columnWidth(c), widest));
  }
  // The notes come right after the name, where they are seen first; the
  // columns keep their order for kscgen -n, and here only move on screen.
  table_->horizontalHeader()->moveSection(notes_column_, name_column + 1);
}

void PreviewDialog::ShowOnlyChosenRows() {
  int first_shown = -1;
  for (int r = 0; r < table_->rowCount(); ++r) {
    const auto row = static_cast<std::size_t>(r);
    const bool hide = (notes_only_->isChecked() && !noted_[row]) ||
                      (changes_only_->isChecked() && !WouldWrite(reports_[row]));
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
    note_label_->hide();
    ksc_text_->clear();
    return;
  }
  const QString note = table_->item(row, notes_column_)->text();
  note_label_->setText(FromMessage(messages::PreviewNote(note.toStdString())));
  note_label_->setVisible(!note.isEmpty());
  const VideoReport& report = reports_[static_cast<std::size_t>(row)];
  if (!report.skip_reason.empty()) {
    ksc_text_->setPlainText(FromMessage(messages::PreviewSkipped(report.skip_reason)));
    return;
  }
  // Line breaks as they are: the text is shown as the song manager reads it.
  const std::string ksc = PreviewKscText(report);
  QString text = QString::fromStdString(text::GbkToUtf8(ksc).value_or(text::GbkForDisplay(ksc)));
  text.remove(QLatin1Char('\r'));
  ksc_text_->setPlainText(text);
}

}  // namespace kscgen::gui
