// kscgen-gui: the window a KTV library keeper starts.
//
//   kscgen-gui [FOLDER] [--screenshot FILE.png] [--preview-screenshot FILE.png]
//              [--run-screenshot FILE.png]
//
// FOLDER is chosen at start as if picked in the folder dialog: on Windows,
// a folder dropped on the program's icon arrives so; a file stands for its
// folder. --screenshot saves a picture of the window once it is up,
// --preview-screenshot one of the preview opened from it, --run-screenshot
// one of the message a run (批量KSC) ends with, and the program then quits
// (they make the README's pictures). Options are remembered in the user's settings file.
#include <QApplication>
#include <QCommandLineParser>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <clocale>
#include <string>

#include "app/gui/folder_dialog.h"
#include "app/gui/main_window.h"
#include "app/gui/native_path.h"
#include "app/gui/qt_text.h"

namespace {

void Grab(QWidget* w, const QString& file) {
  QRect frame = w->frameGeometry().adjusted(-10, -10, 10, 10);
  w->screen()->grabWindow(0, frame.x(), frame.y(), frame.width(), frame.height()).save(file);
}

// Grabs the message box a run ends with once it is up (a run takes as long
// as it takes), then quits.
void GrabRunMessage(const QString& file) {
  QTimer::singleShot(500, [file] {
    QWidget* box = QApplication::activeModalWidget();
    if (!qobject_cast<QMessageBox*>(box)) {
      GrabRunMessage(file);
      return;
    }
    Grab(box, file);
    QApplication::quit();
  });
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(u8"霁川 KSC文件批量生成器");

  QCommandLineParser args;
  QCommandLineOption screenshot("screenshot", "Save a picture of the window and quit.", "file");
  QCommandLineOption preview_shot("preview-screenshot", "Save a picture of the preview and quit.",
                                  "file");
  QCommandLineOption run_shot("run-screenshot", "Run, save a picture of its message and quit.",
                              "file");
  args.addOption(screenshot);
  args.addOption(preview_shot);
  args.addOption(run_shot);
  args.addPositionalArgument("folder", "The folder to list at start.");
  args.process(app);

  kscgen::gui::MainWindow form1(kscgen::gui::MainWindow::DefaultSettingsFile());
  kscgen::gui::FolderDialog form2(&form1);
  form1.setFolderDialog(&form2);
  if (!args.positionalArguments().isEmpty()) {
    const QString folder = args.positionalArguments()[0];
    const std::string native = kscgen::gui::NativeArgument(argc, argv, folder);
    // A video dropped on the program (or on its icon) stands for its folder.
    const std::string stood = kscgen::gui::FolderStoodFor(native, kscgen::os::SystemFileSystem());
    if (!stood.empty() && stood != native) {
      form1.ChooseNativeFolder(stood);
    } else if (kscgen::gui::ToNative(folder) == native) {
      form1.ChooseFolder(folder);  // shown as given
    } else {
      form1.ChooseNativeFolder(native);
    }
  }
  form1.show();

  if (args.isSet(run_shot)) {
    QTimer::singleShot(1000, [&] {
      GrabRunMessage(args.value(run_shot));
      form1.runOrStop();
    });
  } else if (args.isSet(screenshot) || args.isSet(preview_shot)) {
    QTimer::singleShot(1000, [&] {
      if (args.isSet(screenshot)) Grab(&form1, args.value(screenshot));
      if (!args.isSet(preview_shot)) {
        QApplication::quit();
        return;
      }
      // The preview is modal: it is grabbed from inside its own loop.
      QTimer::singleShot(1000, [&] {
        if (QWidget* dialog = QApplication::activeModalWidget()) {
          Grab(dialog, args.value(preview_shot));  // with its frame: where it lies on the screen
        }
        QApplication::quit();
      });
      form1.preview();
    });
  }
  return app.exec();
}
