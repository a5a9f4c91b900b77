#include "app/gui/layout_blocks.h"

#include <QCheckBox>
#include <QEvent>
#include <QGridLayout>
#include <QKeyEvent>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOptionGroupBox>
#include <QVBoxLayout>
#include <algorithm>

#include "app/engine/start_number.h"

namespace kscgen::gui {

QLabel* NavyLabel(QLabel* label) {
  QPalette p = label->palette();
  // In every colour group: a disabled parent must not grey the note.
  p.setColor(QPalette::WindowText, QColor(0, 0, 128));
  label->setPalette(p);
  return label;
}

QGroupBox* RadioGroup(const char* name, const QStringList& items, int columns,
                      QButtonGroup** buttons) {
  auto* box = new QGroupBox;
  box->setObjectName(name);
  auto* grid = new QGridLayout(box);
  grid->setContentsMargins(8, 2, 4, 2);
  grid->setVerticalSpacing(0);
  *buttons = new QButtonGroup(box);
  for (int i = 0; i < items.size(); ++i) {
    auto* radio = new QRadioButton(items[i], box);
    grid->addWidget(radio, i / columns, i % columns);
    (*buttons)->addButton(radio, i);
  }
  return box;
}

void WrapInColumn(QLabel* label) {
  label->setWordWrap(true);
  label->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
  label->setMinimumWidth(1);
}

QHBoxLayout* Row(std::initializer_list<QWidget*> widgets, bool stretch_at_end) {
  auto* row = new QHBoxLayout;
  row->setContentsMargins(0, 0, 0, 0);
  for (QWidget* w : widgets) row->addWidget(w);
  if (stretch_at_end) row->addStretch(1);
  return row;
}

QWidget* Column(std::initializer_list<Cell> cells) {
  auto* column = new QWidget;
  auto* box = new QVBoxLayout(column);
  box->setContentsMargins(0, 0, 0, 0);
  box->setSpacing(4);
  for (const Cell& c : cells) {
    if (qobject_cast<QCheckBox*>(c.widget)) {
      box->addWidget(c.widget, 0, Qt::AlignLeft);  // as wide as what a click hits
    } else if (c.widget) {
      box->addWidget(c.widget);
    } else if (c.layout) {
      box->addLayout(c.layout);
    } else {
      box->addStretch(1);
    }
  }
  return column;
}

QSize ViewWideNames::sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const {
  QSize size = QStyledItemDelegate::sizeHint(option, index);
  size.setWidth(1);
  return size;
}

CaptionOnEdge::CaptionOnEdge(QGroupBox* group, QWidget* caption)
    : QObject(group), caption_(caption) {
  group->installEventFilter(this);
  Place(group);
}

bool CaptionOnEdge::eventFilter(QObject* watched, QEvent* event) {
  switch (event->type()) {
    case QEvent::Resize:
    case QEvent::Show:
    case QEvent::FontChange:
    case QEvent::StyleChange:
    case QEvent::LayoutRequest:
      Place(static_cast<QGroupBox*>(watched));
      break;
    default:
      break;
  }
  return false;
}

void CaptionOnEdge::Place(QGroupBox* group) {
  const QSize wanted = caption_->sizeHint();
  const int blank = std::max(1, group->fontMetrics().horizontalAdvance(QLatin1Char(' ')));
  const QString title((wanted.width() + blank - 1) / blank + 1, QLatin1Char(' '));
  if (group->title() != title) group->setTitle(title);
  QStyleOptionGroupBox option;
  option.initFrom(group);
  option.text = title;
  option.lineWidth = 1;
  option.subControls = QStyle::SC_GroupBoxFrame | QStyle::SC_GroupBoxLabel;
  option.textAlignment = group->alignment();
  const QRect label =
      group->style()->subControlRect(QStyle::CC_GroupBox, &option, QStyle::SC_GroupBoxLabel, group);
  caption_->setGeometry(label.left(), std::max(0, label.center().y() - wanted.height() / 2 + 1),
                        wanted.width(), wanted.height());
  caption_->raise();
}

bool EnterClicks::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::KeyPress) return false;
  const auto* key = static_cast<QKeyEvent*>(event);
  if ((key->key() != Qt::Key_Return && key->key() != Qt::Key_Enter) ||
      key->modifiers() & ~Qt::KeypadModifier) {
    return false;
  }
  auto* button = static_cast<QAbstractButton*>(watched);
  if (!button->isEnabled()) return false;
  button->click();
  return true;
}

QValidator::State StartNumberValidator::validate(QString& input, int&) const {
  const std::string typed = input.toStdString();
  if (ParseStartNumber(typed)) return Acceptable;
  return CouldBecomeStartNumber(typed) ? Intermediate : Invalid;
}

void TabToCheckedButton(QButtonGroup* group) {
  auto follow = [group] {
    const QList<QAbstractButton*> buttons = group->buttons();
    QAbstractButton* stop = group->checkedButton();
    if (!stop && !buttons.isEmpty()) stop = buttons.first();
    // The others still take a click's focus; Tab passes them by.
    for (QAbstractButton* b : buttons) {
      b->setFocusPolicy(b == stop ? Qt::StrongFocus : Qt::ClickFocus);
    }
  };
  follow();
  QObject::connect(group, &QButtonGroup::buttonToggled, group, follow);
}

}  // namespace kscgen::gui
