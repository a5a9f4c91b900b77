// The message boxes the main window shows: errors, the completion message
// with the folder it can open, and the question 退出 asks during a run.
#include <QDesktopServices>
#include <QGridLayout>
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <algorithm>
#include <memory>
#include <QMessageBox>
#include <QPushButton>
#include <QUrl>

#include "app/engine/messages.h"
#include "app/gui/main_window.h"
#include "app/gui/native_path.h"
#include "app/gui/qt_text.h"
#include "app/gui/screen_fit.h"

namespace kscgen::gui {
namespace {

// Room in a title bar beside its text: the icon and the close button.
constexpr int kTitleBarButtons = 96;
// Room in a box beside its text: the icon and the margins.
constexpr int kBoxBesideText = 120;

// The width `box` needs for its longest line, as far as the screen allows: a
// box of many lines that wrapped each would grow taller than the screen.
int TextWidthOnScreen(const QMessageBox* box, const QString& text) {
  int longest = 0;
  for (const QString& line : text.split('\n')) {
    longest = std::max(longest, box->fontMetrics().horizontalAdvance(line));
  }
  const QScreen* screen = box->screen() ? box->screen() : QGuiApplication::primaryScreen();
  return std::min(longest, RoomOn(screen).width() - kBoxBesideText);
}

}  // namespace

QMessageBox* MainWindow::MakeMessageBox(const Message& message) {
  auto* box = new QMessageBox(this);
  box->setWindowTitle(ProgramName());
  box->setText(message.text);
  box->setTextFormat(Qt::PlainText);  // names may hold '<'
  box->setTextInteractionFlags(Qt::TextSelectableByMouse);  // a path can be copied
  switch (message.kind) {
    case MessageKind::kError:
      box->setIcon(QMessageBox::Critical);
      break;
    case MessageKind::kInformation:
      box->setIcon(QMessageBox::Information);
      break;
    case MessageKind::kWarning:
      box->setIcon(QMessageBox::Warning);
      break;
    case MessageKind::kQuestion:
      box->setIcon(QMessageBox::Question);
      box->setStandardButtons(QMessageBox::Yes | QMessageBox::No);
      box->setDefaultButton(QMessageBox::No);
      break;
  }
  if (!message.details.isEmpty()) box->setDetailedText(message.details);
  // A short text would make the box narrower than its title, which the
  // title bar then cuts: the box is kept as wide as the title and room for
  // the bar's icon and buttons. The text has the width of its longest line
  // beside the icon (where the screen has it): Chinese text wrapped to less
  // would break inside its words (扫/描).
  if (auto* grid = qobject_cast<QGridLayout*>(box->layout())) {
    const int title = box->fontMetrics().horizontalAdvance(box->windowTitle()) + kTitleBarButtons;
    const int text = TextWidthOnScreen(box, message.text);
    if (auto* label = box->findChild<QLabel*>("qt_msgbox_label")) label->setMinimumWidth(text);
    const int width = std::max(title, text);
    grid->addItem(new QSpacerItem(width, 0, QSizePolicy::Minimum, QSizePolicy::Minimum),
                  grid->rowCount(), 0, 1, grid->columnCount());
  }
  if (!message.folder.empty()) {
    QPushButton* open = box->addButton(u8"打开文件夹", QMessageBox::ActionRole);
    open->setObjectName("OpenFolderButton");
    const QUrl url = UrlOfNative(message.folder);
    const std::string folder = message.folder;
    connect(open, &QPushButton::clicked, box, [this, url, folder] {
      const bool opened = folder_opener_ ? folder_opener_(url) : QDesktopServices::openUrl(url);
      if (!opened)
        ShowMessage(MessageKind::kError, FromMessage(messages::CannotOpenFolder(folder)));
    });
    box->addButton(QMessageBox::Ok);
    box->setDefaultButton(QMessageBox::Ok);
    // With a button of its own beside 确定, the box would take no Escape.
    box->setEscapeButton(QMessageBox::Ok);
  }
  return box;
}

std::size_t MainWindow::SummaryNamesThatFit(const BatchResult& result) {
  // The most the summary lists, fewer as long as its box would be taller than
  // the room on the screen: the rest are counted, and in the details whole.
  const int room = RoomOn(screen() ? screen() : QGuiApplication::primaryScreen()).height();
  std::size_t names = kSummaryNames;
  for (; names > 0; --names) {
    const messages::Report report = messages::BatchReport(result, names);
    Message message{MessageKind::kInformation, FromMessage(report.summary),
                    FromMessage(report.details), folder_native_};
    std::unique_ptr<QMessageBox> box(MakeMessageBox(message));
    // Laid out as it would be shown: a box sizes itself only then.
    box->setAttribute(Qt::WA_DontShowOnScreen);
    box->show();
    const int height = box->height();
    box->hide();
    if (height <= room) break;
  }
  return names;
}

}  // namespace kscgen::gui
