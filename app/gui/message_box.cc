// The message boxes the main window shows: errors, the completion message
// with the folder it can open, and the question 退出 asks during a run.
#include <QDesktopServices>
#include <QGridLayout>
#include <QMessageBox>
#include <QPushButton>
#include <QUrl>

#include "app/engine/messages.h"
#include "app/gui/main_window.h"
#include "app/gui/native_path.h"
#include "app/gui/qt_text.h"

namespace kscgen::gui {
namespace {

// Room in a title bar beside its text: the icon and the close button.
constexpr int kTitleBarButtons = 96;

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
    case MessageKind::kQuestion:
      box->setIcon(QMessageBox::Question);
      box->setStandardButtons(QMessageBox::Yes | QMessageBox::No);
      box->setDefaultButton(QMessageBox::No);
      break;
  }
  if (!message.details.isEmpty()) box->setDetailedText(message.details);
  // A short text would make the box narrower than its title, which the
  // title bar then cuts: the box is kept as wide as the title and room for
  // the bar's icon and buttons.
  if (auto* grid = qobject_cast<QGridLayout*>(box->layout())) {
    const int title = box->fontMetrics().horizontalAdvance(box->windowTitle()) + kTitleBarButtons;
    grid->addItem(new QSpacerItem(title, 0, QSizePolicy::Minimum, QSizePolicy::Minimum),
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
  }
  return box;
}

}  // namespace kscgen::gui
