// What the window tests share: a main window on a fresh folder 粤语金曲 with
// its own settings file, its errors and information taken instead of shown,
// and its listings and runs going through a test file system, so that a test
// can hold a run at a known step.
#pragma once

#include <QAbstractButton>
#include <QDir>
#include <QObject>
#include <QUrl>
#include <QList>
#include <QString>
#include <functional>
#include <memory>
#include <string>

#include "app/gui/main_window.h"
#include "app/gui/preview_dialog.h"
#include "test_file_system.h"
#include "test_support.h"

namespace kscgen::testing {

QString Q(const char* utf8);

// A KSC file's text, converted from GBK for comparison with readable text.
QString ReadKsc(const std::string& path);

class WindowFixture {
 public:
  using Kind = gui::MainWindow::MessageKind;

  // For a test class's init() and cleanup().
  void SetUpWindow();
  void TearDownWindow();

  // A window as the program opens it, on the settings file of this test.
  std::unique_ptr<gui::MainWindow> NewForm();
  // The controls of form_, which a test drives as a user would.
  const gui::MainWindowControls& Ui() const { return form_->ControlsForTest(); }
  void Touch(const QString& name);  // in folder_
  bool Exists(const QString& name);
  int KscFiles(const QString& folder);
  static void Click(QAbstractButton* b);
  // Clicks 批量KSC and waits for the run to end (as long as it takes).
  void Run();
  // Waits for a run to end.
  void WaitForRunEnd();
  // Clicks 预览, hands the dialog to `inspect` and closes it.
  void Preview(const std::function<void(gui::PreviewDialog*)>& inspect);

  std::unique_ptr<TempFolder> root_;
  std::unique_ptr<TestFileSystem> fs_;
  std::unique_ptr<gui::MainWindow> form_;
  QString folder_;
  QString settings_;
  QList<gui::MainWindow::Message> messages_;
};

// The base of the window's test classes: a window for each test, and the
// URLs it hands to the file manager taken instead of opened.
class WindowTest : public QObject, public WindowFixture {
  Q_OBJECT

 public slots:
  void openUrl(const QUrl& url) { opened_.append(url); }

 protected:
  QList<QUrl> opened_;
  static std::string Native(const QString& path) {
    return QDir::toNativeSeparators(path).toStdString();
  }

 private slots:
  void init() {
    opened_.clear();
    SetUpWindow();
  }
  void cleanup() { TearDownWindow(); }
};

}  // namespace kscgen::testing
