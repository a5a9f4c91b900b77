// kscgen-gui: the window a KTV library keeper starts.
//
//   kscgen-gui [FOLDER] [--screenshot FILE.png]
//
// FOLDER is chosen at start as if picked in the folder dialog; --screenshot
// saves a picture of the screen once the window is up and quits (it makes
// the README's picture).
#include <QApplication>
#include <QCommandLineParser>
#include <QScreen>
#include <QTimer>
#include <clocale>

#include "app/gui/folder_dialog.h"
#include "app/gui/main_window.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(u8"霁川 KSC文件批量生成器");
  std::setlocale(LC_TIME, "");  // today's date in the user's short date format

  QCommandLineParser args;
  QCommandLineOption screenshot("screenshot", "Save a picture of the window and quit.", "file");
  args.addOption(screenshot);
  args.addPositionalArgument("folder", "The folder to list at start.");
  args.process(app);

  kscgen::gui::TForm1 form1;
  kscgen::gui::TForm2 form2(&form1);
  form1.setFolderDialog(&form2);
  if (!args.positionalArguments().isEmpty()) form1.ChooseFolder(args.positionalArguments()[0]);
  form1.show();

  if (args.isSet(screenshot)) {
    QTimer::singleShot(1000, [&] {
      QScreen* screen = form1.screen();
      QRect frame = form1.frameGeometry().adjusted(-10, -10, 10, 10);
      screen->grabWindow(0, frame.x(), frame.y(), frame.width(), frame.height())
          .save(args.value(screenshot));
      QApplication::quit();
    });
  }
  return app.exec();
}
