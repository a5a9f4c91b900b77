#include "app/gui/layout_blocks.h"

#include <QApplication>
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

void SetRadioColumns(QGroupBox* group, QButtonGroup* buttons, int columns) {
  auto* grid = static_cast<QGridLayout*>(group->layout());
  const QList<QAbstractButton*> all = buttons->buttons();
  for (QAbstractButton* b : all) grid->removeWidget(b);
  for (QAbstractButton* b : all) {
    const int i = buttons->id(b);
    grid->addWidget(b, i / columns, i % columns);
  }
}

QString KeepPhrasesWhole(const QString& text) {
  // A line may end at a blank or after these; anywhere else between two
  // characters, a word joiner holds them together.
  auto breaks_after = [](QChar c) {
    return c.isSpace() || c == QChar(0xFF0C) || c == QChar(0x3001) || c == QChar(0xFF1A);
  };
  // Latin letters and digits break at blanks only already.
  auto wide = [](QChar c) { return c.unicode() >= 0x2E80; };
  QString joined;
  for (int i = 0; i < text.size(); ++i) {
    joined += text[i];
    if (i + 1 < text.size() && !breaks_after(text[i]) && !text[i + 1].isSpace() &&
        (wide(text[i]) || wide(text[i + 1]))) {
      joined += QChar(0x2060);
    }
  }
  return joined;
}

QString ElideBeforeExtension(const QString& name, const QFontMetrics& metrics, int width) {
  if (metrics.horizontalAdvance(name) <= width) return name;
  const int dot = name.lastIndexOf(QLatin1Char('.'));
  const QString extension = dot > 0 ? name.mid(dot) : QString();
  const int left = width - metrics.horizontalAdvance(extension);
  // No room for the start beside the extension: the start alone.
  if (extension.isEmpty() || left < metrics.horizontalAdvance(name.left(2) + QChar(0x2026))) {
    return metrics.elidedText(name, Qt::ElideRight, width);
  }
  return metrics.elidedText(name.left(dot), Qt::ElideRight, left) + extension;
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

void ViewWideNames::paint(QPainter* painter, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const {
  QStyleOptionViewItem item = option;
  initStyleOption(&item, index);
  const QWidget* view = option.widget;
  QStyle* style = view ? view->style() : QApplication::style();
  // Cut where the style puts the text; the style then draws it as it is.
  const QRect text = style->subElementRect(QStyle::SE_ItemViewItemText, &item, view);
  const int margin = style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, view) + 1;
  item.text = ElideBeforeExtension(item.text, item.fontMetrics, text.width() - 2 * margin);
  item.textElideMode = Qt::ElideNone;
  style->drawControl(QStyle::CE_ItemViewItem, &item, painter, view);
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
