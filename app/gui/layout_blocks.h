// Building blocks of the window's layout: labels, radio groups, rows and
// columns, and the small behaviours some controls need.
#pragma once

#include <QAbstractButton>
#include <QButtonGroup>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLayout>
#include <QObject>
#include <QStringList>
#include <QStyledItemDelegate>
#include <QValidator>
#include <QWidget>
#include <cstddef>
#include <initializer_list>

namespace kscgen::gui {

// The captions of a set of radio buttons, from the engine's labels.
template <std::size_t N>
QStringList Labels(const char* const (&labels)[N]) {
  QStringList list;
  for (const char* label : labels) list << QString::fromUtf8(label);
  return list;
}

// `w`, given the object name `name`: each control's is its member's.
template <typename W>
W* Named(const char* name, W* w) {
  w->setObjectName(name);
  return w;
}

// `label`, its text in navy: a note.
QLabel* NavyLabel(QLabel* label);

// A radio group: a frame of radio buttons, row by row.
QGroupBox* RadioGroup(const char* name, const QStringList& items, int columns,
                      QButtonGroup** buttons);
// The buttons of a radio group laid out again in `columns` columns.
void SetRadioColumns(QGroupBox* group, QButtonGroup* buttons, int columns);

// `text` as a label wraps it: only at blanks and after a comma or a
// enumeration comma, never between the characters of a Chinese word (文/件),
// which are joined by word joiners (U+2060, drawn as nothing).
QString KeepPhrasesWhole(const QString& text);

// `name` cut to `width` pixels of `metrics` where the name's end matters
// least: the extension stays (".mpg"), and so does the name's start, where
// the singer and the title stand; what follows them is cut
// ("张学友－一千个伤心的理由(粤…).mpg").
QString ElideBeforeExtension(const QString& name, const QFontMetrics& metrics, int width);

// A label of changing text (a message, a count with a hint) that wraps in
// whatever width its column has: a long message must never widen the
// window past the screen.
void WrapInColumn(QLabel* label);

// A row of widgets without margins, with a stretch after them when asked.
QHBoxLayout* Row(std::initializer_list<QWidget*> widgets, bool stretch_at_end = false);

// A column of widgets, rows of widgets (layouts) and stretches (null), top down.
struct Cell {
  // Implicit, so that a column is written as the list of what it holds.
  Cell(QWidget* w) : widget(w) {}
  Cell(QLayout* l) : layout(l) {}
  Cell(std::nullptr_t) {}
  QWidget* widget = nullptr;
  QLayout* layout = nullptr;
};
QWidget* Column(std::initializer_list<Cell> cells);

// Names as wide as the list is: a long name is cut before its extension
// (ElideBeforeExtension), so that its singer and title show, rather than
// widening the list.
class ViewWideNames : public QStyledItemDelegate {
 public:
  using QStyledItemDelegate::QStyledItemDelegate;
  QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;
  void paint(QPainter* painter, const QStyleOptionViewItem& option,
             const QModelIndex& index) const override;
};

// Keeps a check box and note on a group's top edge, as its caption: the
// group's title is blanks as wide as they are, and they sit where the style
// draws the title.
class CaptionOnEdge : public QObject {
 public:
  CaptionOnEdge(QGroupBox* group, QWidget* caption);
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void Place(QGroupBox* group);
  QWidget* caption_;
};

// Enter or Return on a button that has the focus clicks it, as the space bar
// does; check boxes and radio buttons keep theirs for ticking.
class EnterClicks : public QObject {
 public:
  using QObject::QObject;
  bool eventFilter(QObject* watched, QEvent* event) override;
};

// Takes in the start-number box only what is or can become a start number,
// as the engine reads one (ParseStartNumber).
class StartNumberValidator : public QValidator {
 public:
  using QValidator::QValidator;
  State validate(QString& input, int& pos) const override;
};

// Tab reaches a group of radio buttons at its checked button (the first,
// while none is), as in Windows' dialogs, and leaves the group at the next
// Tab: the space bar there changes nothing. The arrow keys move within it.
void TabToCheckedButton(QButtonGroup* group);

}  // namespace kscgen::gui
