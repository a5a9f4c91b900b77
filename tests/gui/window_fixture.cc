#include "window_fixture.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QPushButton>
#include <QTimer>
#include <QtTest>
#include <filesystem>

#include "test_support.h"
#include "text/encoding.h"

namespace kscgen::testing {

QString Q(const char* utf8) { return QString::fromUtf8(utf8); }

QString ReadKsc(const std::string& path) {
  auto utf8 = text::GbkToUtf8(ReadFile(path));
  return utf8 ? QString::fromStdString(*utf8) : QString();
}

void WindowFixture::SetUpWindow() {
  root_ = std::make_unique<TempFolder>();
  folder_ = QString::fromStdString(root_->path()) + Q(u8"/粤语金曲");
  QDir().mkpath(folder_);
  settings_ = QString::fromStdString(*root_ / "settings.ini");
  messages_.clear();
  fs_ = std::make_unique<TestFileSystem>();
  form_ = NewForm();
}

void WindowFixture::TearDownWindow() {
  if (fs_) fs_->Release();  // a run still held must not keep the window from closing
  form_.reset();
  fs_.reset();
  root_.reset();
}

std::unique_ptr<gui::MainWindow> WindowFixture::NewForm() {
  auto form = std::make_unique<gui::MainWindow>(settings_);
  form->setFileSystem(fs_.get());
  form->setMessageSink([this](const gui::MainWindow::Message& m) { messages_.append(m); });
  form->setClock([] { return kToday; });
  form->show();
  return form;
}

void WindowFixture::Touch(const QString& name) {
  testing::Touch((folder_ + "/" + name).toStdString());
}

bool WindowFixture::Exists(const QString& name) {
  return std::filesystem::exists(kscgen::testing::U8Path((folder_ + "/" + name).toStdString()));
}

int WindowFixture::KscFiles(const QString& folder) {
  int n = 0;
  for (const auto& e :
       std::filesystem::directory_iterator(kscgen::testing::U8Path(folder.toStdString()))) {
    n += e.path().extension() == ".KSC";
  }
  return n;
}

void WindowFixture::Click(QAbstractButton* b) { QTest::mouseClick(b, Qt::LeftButton); }

void WindowFixture::Run() {
  Click(Ui().runButton);
  WaitForRunEnd();
}

void WindowFixture::WaitForRunEnd() {
  // The run's end is an event posted to this thread: wait for events until
  // it has come, however long the machine takes.
  while (form_->IsRunning()) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
}

void WindowFixture::Preview(const std::function<void(gui::PreviewDialog*)>& inspect) {
  bool seen = false;
  QTimer::singleShot(0, [&] {
    auto* dialog = qobject_cast<gui::PreviewDialog*>(QApplication::activeModalWidget());
    if (dialog) {
      seen = true;
      inspect(dialog);
      dialog->accept();
    }
  });
  Click(Ui().previewButton);
  QVERIFY(seen);
}

}  // namespace kscgen::testing
