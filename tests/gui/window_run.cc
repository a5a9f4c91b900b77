// The window's batch run, driven as a user drives it, for the script that
// compares its files with kscgen's on the other system (under Wine):
//
//   window_run FOLDER TEMPLATE ROLE
//
// The folder is chosen as the program's argument chooses it, the template
// and folder-role buttons are clicked, then the batch button. Prints the
// date the run wrote ("date 2026/12/7") before and after the run, so that a
// run across midnight can be told, and exits 0 when the run ended with its
// completion message and no error.
#include <QAbstractButton>
#include <QApplication>
#include <QButtonGroup>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>
#include <iostream>

#include "app/engine/short_date.h"
#include "app/gui/main_window.h"
#include "tests/test_support.h"

using kscgen::gui::MainWindow;

int main(int argc, char** argv) {
  // No display needed; the arguments stay as given (Qt's own -platform
  // option would make Windows' Qt read them in the ANSI code page).
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  const QStringList args = QApplication::arguments();
  if (args.size() != 4) {
    std::cerr << "usage: window_run FOLDER TEMPLATE ROLE\n";
    return 2;
  }
  QTemporaryDir settings;
  MainWindow window(settings.filePath("settings.ini"));
  int information = 0;
  int errors = 0;
  window.setMessageSink([&](const MainWindow::Message& message) {
    if (message.kind == MainWindow::MessageKind::kInformation) ++information;
    if (message.kind == MainWindow::MessageKind::kError) {
      ++errors;
      std::cerr << message.text.toStdString() << "\n";
    }
  });
  window.show();
  window.ChooseFolder(args[1]);
  window.ControlsForTest().templateButtons->button(args[2].toInt())->click();
  window.ControlsForTest().roleButtons->button(args[3].toInt())->click();
  // A fixed day, which the comparison with kscgen is given as --date.
  window.setClock([] { return kscgen::testing::kToday; });
  std::cout << "date " << kscgen::ShortDateText(kscgen::testing::kToday) << std::endl;
  QTest::mouseClick(window.ControlsForTest().runButton, Qt::LeftButton);
  const bool ended = QTest::qWaitFor([&] { return !window.IsRunning(); }, 120000);
  return ended && information == 1 && errors == 0 ? 0 : 1;
}
