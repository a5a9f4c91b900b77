// Where the main window's groups go: two columns, or, on a screen too low
// for them (such as 1366x768 less a taskbar, at 200 %), three. In three
// columns the instructions give way (the template hint shows them as its
// tooltip) and the narrow groups stack their rows, so that the file list
// keeps the width its names need.
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QScreen>
#include <QTextEdit>
#include <QToolButton>
#include <algorithm>
#include <initializer_list>

#include "app/gui/layout_blocks.h"
#include "app/gui/main_window.h"
#include "app/gui/screen_fit.h"

namespace kscgen::gui {
namespace {

void Place(QGridLayout* grid, QWidget* w, int row, int column, int columns = 1) {
  grid->removeWidget(w);
  grid->addWidget(w, row, column, 1, columns, Qt::AlignLeft);
}

void ClearStretches(QGridLayout* grid) {
  for (int i = 0; i < 5; ++i) {
    grid->setRowStretch(i, 0);
    grid->setColumnStretch(i, 0);
  }
}

}  // namespace

// Two rows of numbering boxes, or one box a row.
void MainWindow::ArrangeNumbering(bool compact) {
  QGridLayout* g = numbering_grid_;
  ClearStretches(g);
  Place(g, numberingCheck, 0, 0);
  Place(g, startNumberCheck, compact ? 1 : 0, compact ? 0 : 1);
  Place(g, startNumberEdit, compact ? 1 : 0, compact ? 1 : 2);
  Place(g, numberFromNameCheck, compact ? 2 : 1, 0);
  Place(g, replaceEditsCheck, compact ? 3 : 1, compact ? 0 : 1, compact ? 1 : 2);
  g->setColumnStretch(3, 1);
}

// Kind, value and 加入 on a row, or kind and value on rows of their own.
void MainWindow::ArrangeUniformGroup(bool compact) {
  QGridLayout* g = uniform_grid_;
  for (QWidget* w : UniformControls()) g->removeWidget(w);
  ClearStretches(g);
  g->addWidget(kindLabel, 0, 0);
  g->addWidget(kindBox, 0, 1);
  const int value_row = compact ? 1 : 0;
  const int value_column = compact ? 0 : 2;
  g->addWidget(valueLabel, value_row, value_column);
  g->addWidget(valueBox, value_row, value_column + 1);
  g->addWidget(addUniformButton, value_row, 4);
  g->addWidget(uniformListLabel, value_row + 1, 0, Qt::AlignTop);
  g->addWidget(uniformList, value_row + 1, 1, 1, 3);
  g->addWidget(removeUniformButton, value_row + 1, 4, Qt::AlignBottom);
  g->setColumnStretch(1, 1);
  g->setColumnStretch(3, 1);
  g->setRowStretch(value_row + 1, 1);
}

// What changes within the groups: the instructions give way, 后缀 takes a
// row of its own, the radio and numbering boxes and the uniform values
// stack their rows.
void MainWindow::ArrangeGroups(bool compact) {
  instructions->setVisible(!compact);
  templateHint->setToolTip(compact ? instructions->toPlainText() : QString());
  // The note says what uniformCheck's tooltip says; in a narrow column there
  // is no room for it on the frame's edge. The frame's title then makes
  // room for the caption as it is now.
  uniformNote->setVisible(!compact);
  QEvent relayout(QEvent::LayoutRequest);
  QCoreApplication::sendEvent(uniformGroup, &relayout);
  SetRadioColumns(roleGroup, roleButtons, compact ? 2 : 3);
  QHBoxLayout* kinds_row = compact ? extensions_row_ : recursive_row_;
  for (QWidget* w :
       {static_cast<QWidget*>(extensionsLabel), static_cast<QWidget*>(extensionsEdit)}) {
    recursive_row_->removeWidget(w);
    extensions_row_->removeWidget(w);
    kinds_row->addWidget(w);
  }
  ArrangeNumbering(compact);
  ArrangeUniformGroup(compact);
  // In three columns the third is as narrow as it can be: what the window
  // has beyond that goes to the file list.
  const std::initializer_list<QWidget*> third = {numbering_column_, uniformGroup, button_column_};
  int narrowest = 0;
  for (QWidget* w : third) {
    w->setMaximumWidth(QWIDGETSIZE_MAX);
    narrowest = std::max(narrowest, w->minimumSizeHint().width());
  }
  for (QWidget* w : third) w->setMaximumWidth(compact ? narrowest : QWIDGETSIZE_MAX);
}

void MainWindow::Arrange(bool compact) {
  compact_ = compact;
  ArrangeGroups(compact);
  for (QWidget* w : {static_cast<QWidget*>(instructions), folder_column_, choice_column_,
                     numbering_column_, static_cast<QWidget*>(uniformGroup), button_column_}) {
    grid_->removeWidget(w);
  }
  ClearStretches(grid_);
  grid_->setContentsMargins(QMargins(8, 8, 8, 8) - (compact ? QMargins(2, 2, 2, 2) : QMargins()));
  grid_->setVerticalSpacing(compact ? 4 : 6);
  grid_->addWidget(folder_column_, 1, 0, compact ? 3 : 2, 1);
  grid_->setColumnStretch(0, 1);
  if (!compact) {
    // The folder and its videos beside the options, numbering at the foot
    // of the options; the uniform values beside the buttons.
    grid_->addWidget(instructions, 0, 0, 1, 2);
    grid_->addWidget(choice_column_, 1, 1);
    grid_->addWidget(numbering_column_, 2, 1);
    grid_->addWidget(uniformGroup, 3, 0);
    grid_->addWidget(button_column_, 3, 1);
    grid_->setRowStretch(1, 1);
  } else {
    // Numbering, the uniform values and the buttons take a third column,
    // after the options.
    grid_->addWidget(instructions, 0, 0, 1, 3);
    grid_->addWidget(choice_column_, 1, 1, 3, 1);
    grid_->addWidget(numbering_column_, 1, 2);
    grid_->addWidget(uniformGroup, 2, 2);
    grid_->addWidget(button_column_, 3, 2);
    grid_->setRowStretch(3, 1);
  }
  grid_->invalidate();
  grid_->activate();
}

void MainWindow::PlaceOnScreen() {
  QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
  if (!screen) return;
  Arrange(false);
  const QSize room = RoomOn(screen);
  const QSize least = grid_->totalMinimumSize();
  if (least.height() > room.height() || least.width() > room.width()) Arrange(true);
  CentreOn(this, grid_->totalSizeHint(), screen);
}

}  // namespace kscgen::gui
