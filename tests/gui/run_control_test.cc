// A run from the window while it goes on: its count, stopping it, quitting
// during it, and what the window refuses meanwhile. Each run is held at a
// known KSC file through the test file system, so that nothing depends on
// how fast the machine is.
#include <QAbstractButton>
#include <QAbstractItemView>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QListWidget>
#include <QMessageBox>
#include <QMimeData>
#include <QProgressBar>
#include <QPushButton>
#include <QToolButton>
#include <QtTest>
#include <filesystem>

#include "app/gui/main_window.h"
#include "os/file_system.h"
#include "window_fixture.h"

using kscgen::gui::MainWindow;
using kscgen::testing::Q;
using kscgen::testing::ReadKsc;
using kscgen::testing::Step;

class RunControlTest : public QObject, public kscgen::testing::WindowFixture {
  Q_OBJECT

 private:
  // `videos` videos v0.mpg, v1.mpg, ... listed with a template chosen; the
  // run they get is held before it writes its `nth` KSC file.
  void Prepare(int videos, int nth) {
    for (int i = 0; i < videos; ++i) Touch(QString("v%1.mpg").arg(i));
    form_->ChooseFolder(folder_);
    Ui().templateButtons->button(0)->click();
    fs_->HoldAt(Step::kReplace, nth);
  }
  // Starts the run and returns once it waits at the hold, with what it
  // reported so far delivered to the window.
  void StartHeld() {
    Click(Ui().runButton);
    fs_->WaitUntilHeld();
    QCoreApplication::processEvents();
  }
  void ActivateWindow() {
    form_->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(form_.get()));
  }

  // The controls of the folder, the list and every option, each made usable
  // before the run: a pattern under 自定义, numbering from 100, uniform values.
  QList<QWidget*> UsableOptionControls() {
    Ui().templateButtons->button(5)->click();
    Ui().patternEdit->setText(Q(u8"{歌名}"));
    Click(Ui().numberingCheck);
    Click(Ui().startNumberCheck);
    QTest::keyClicks(Ui().startNumberEdit, "100");
    Click(Ui().uniformCheck);
    QList<QWidget*> controls;
    controls << Ui().folderEdit << Ui().browseButton << Ui().recursiveCheck << Ui().extensionsEdit
             << Ui().videoList << Ui().removeVideoButton << Ui().patternEdit << Ui().numberingCheck
             << Ui().startNumberCheck << Ui().startNumberEdit << Ui().numberFromNameCheck
             << Ui().replaceEditsCheck << Ui().uniformCheck << Ui().kindBox << Ui().valueBox
             << Ui().addUniformButton << Ui().uniformList << Ui().removeUniformButton
             << Ui().previewButton;
    for (QAbstractButton* b : Ui().roleButtons->buttons()) controls.append(b);
    for (QAbstractButton* b : Ui().templateButtons->buttons()) controls.append(b);
    return controls;
  }

 private slots:
  void init() { SetUpWindow(); }
  void cleanup() { TearDownWindow(); }

  void theBarCountsTheVideosDone() {
    Prepare(5, 3);
    StartHeld();
    QCOMPARE(Ui().progressBar->text(), Q(u8"已处理 2 / 5"));
    QCOMPARE(Ui().progressBar->value(), 2);
    QCOMPARE(Ui().progressBar->maximum(), 5);
    fs_->Release();
    WaitForRunEnd();
    QCOMPARE(Ui().progressBar->text(), Q(u8"已处理 5 / 5"));
  }

  // 停止 and Esc end the run after the file being written; every file is
  // whole and the message counts them.
  void aStopEndsTheRunAfterTheFileBeingWritten_data() {
    QTest::addColumn<bool>("byKey");
    QTest::newRow("停止") << false;
    QTest::newRow("Esc") << true;
  }
  void aStopEndsTheRunAfterTheFileBeingWritten() {
    QFETCH(bool, byKey);
    Prepare(5, 3);
    ActivateWindow();
    StartHeld();
    QVERIFY(form_->IsRunning());
    QCOMPARE(Ui().runButton->text(), Q(u8" 停止(&S)"));  // Alt+S
    if (byKey) {
      QTest::keyClick(form_.get(), Qt::Key_Escape);
    } else {
      Click(Ui().runButton);
    }
    QVERIFY(!Ui().runButton->isEnabled());  // stopping
    QVERIFY(form_->IsRunning());              // until the held file is written
    fs_->Release();
    WaitForRunEnd();

    QCOMPARE(KscFiles(folder_), 3);
    for (const auto& e :
         std::filesystem::directory_iterator(kscgen::testing::U8Path(folder_.toStdString()))) {
      const std::string name = e.path().filename().u8string();
      QVERIFY2(!kscgen::os::IsTemporaryName(name), name.c_str());
      if (e.path().extension() != ".KSC") continue;
      const QString video = QString::fromStdString(e.path().stem().u8string()) + ".mpg";
      QVERIFY(ReadKsc(e.path().u8string()).endsWith("karaoke.CommonVideo := '" + video + "';\r\n"));
    }
    QCOMPARE(messages_.size(), 1);
    QCOMPARE(messages_[0].kind, Kind::kInformation);
    QCOMPARE(messages_[0].text,
             Q(u8"批量任务已停止。\n本次已写入 3 个KSC文件，另有 2 个视频未处理。"));
    QCOMPARE(Ui().progressBar->text(), Q(u8"已处理 3 / 5"));
    QCOMPARE(Ui().runButton->text(), Q(u8" 批量KSC(&B)"));
    QVERIFY(Ui().runButton->isEnabled());
  }

  void quitDuringARunAsksWhetherToStop() {
    Prepare(5, 2);
    StartHeld();
    Click(Ui().quitButton);
    QPointer<QMessageBox> question = form_->StopQuestion();
    QVERIFY(question && question->isVisible());
    QCOMPARE(question->text(), Q(u8"批量任务正在进行，要停止并退出吗？\n（正在写入的文件会写完）"));
    QCOMPARE(question->button(QMessageBox::No)->text(), Q(u8"否(&N)"));
    Click(question->button(QMessageBox::No));
    QVERIFY(!question || !question->isVisible());
    QVERIFY(form_->isVisible());
    QVERIFY(form_->IsRunning());

    Click(Ui().quitButton);
    question = form_->StopQuestion();
    QVERIFY(question && question->isVisible());
    Click(question->button(QMessageBox::Yes));
    QVERIFY(form_->isVisible());  // until the file being written is whole
    fs_->Release();
    WaitForRunEnd();
    QVERIFY(!form_->isVisible());
    QVERIFY(messages_.isEmpty());  // no completion box after quitting
    QCOMPARE(KscFiles(folder_), 2);
  }

  // The question asks about a run; once the run has ended it goes away, and
  // the run says how it went.
  void theQuestionClosesWhenTheRunEnds() {
    Prepare(3, 2);
    StartHeld();
    Click(Ui().quitButton);
    QPointer<QMessageBox> question = form_->StopQuestion();
    QVERIFY(question && question->isVisible());
    fs_->Release();
    WaitForRunEnd();
    QVERIFY(!question || !question->isVisible());
    QVERIFY(form_->isVisible());
    QCOMPARE(messages_.size(), 1);
    QCOMPARE(messages_[0].kind, Kind::kInformation);
    QCOMPARE(KscFiles(folder_), 3);
    // A later quit closes at once.
    Click(Ui().quitButton);
    QVERIFY(!form_->isVisible());
  }

  // While a run goes on, nothing that could change its folder, its list or
  // its options takes input: each such control is greyed, and so is every
  // other button, box and list the window shows but 停止 and 退出. After the
  // run each is usable again.
  void everyOptionIsHeldWhileARunGoesOn() {
    Prepare(3, 2);
    const QList<QWidget*> controls = UsableOptionControls();
    for (QWidget* w : controls) QVERIFY2(w->isEnabled(), qPrintable(w->objectName()));
    StartHeld();
    QVERIFY(form_->IsRunning());
    for (QWidget* w : controls) QVERIFY2(!w->isEnabled(), qPrintable(w->objectName()));
    for (QWidget* w : form_->findChildren<QWidget*>()) {
      const bool input = qobject_cast<QAbstractButton*>(w) || qobject_cast<QLineEdit*>(w) ||
                         qobject_cast<QComboBox*>(w) || qobject_cast<QAbstractItemView*>(w);
      if (!input || !w->isVisibleTo(form_.get())) continue;
      if (w == Ui().runButton || w == Ui().quitButton) continue;
      QVERIFY2(!w->isEnabled(), qPrintable(w->objectName() + " " + w->metaObject()->className()));
    }
    QVERIFY(Ui().runButton->isEnabled());  // 停止
    QVERIFY(Ui().quitButton->isEnabled());
    fs_->Release();
    WaitForRunEnd();
    QCOMPARE(messages_.size(), 1);
    QCOMPARE(messages_[0].kind, Kind::kInformation);
    for (QWidget* w : controls) QVERIFY2(w->isEnabled(), qPrintable(w->objectName()));
  }

  // A drop, clicks and keys while a run goes on change nothing: the run
  // writes all of A's videos, in A, with A's options, and nothing in B.
  void dropsClicksAndKeysDuringARunChangeNothing() {
    const QString other = QString::fromStdString(*root_ / "B");
    QDir().mkpath(other);
    kscgen::testing::Touch((other + "/b.mpg").toStdString());
    Prepare(5, 2);
    Ui().roleButtons->button(1)->click();  // the folder name is the singer
    ActivateWindow();
    StartHeld();
    QCOMPARE(form_->cursor().shape(), Qt::BusyCursor);
    // Every control that is held looks so, labels too; an empty box shows no
    // placeholder words that could be taken for typed ones.
    QVERIFY(!Ui().extensionsLabel->isEnabled());
    QVERIFY(!Ui().folderLabel->isEnabled());
    QCOMPARE(Ui().extensionsEdit->placeholderText(), QString());

    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(other)});
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(form_.get(), &enter);
    QVERIFY(!enter.isAccepted());
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(form_.get(), &drop);
    QTest::mouseClick(Ui().templateButtons->button(2), Qt::LeftButton);
    Ui().videoList->setCurrentIndex(Ui().videoList->model()->index(0, 0));
    Click(Ui().removeVideoButton);
    QTest::keyClicks(Ui().folderEdit, "x");
    QTest::keyClick(Ui().folderEdit, Qt::Key_Return);
    QTest::keyClick(Ui().videoList, Qt::Key_Delete);
    QTest::keyClick(form_.get(), Qt::Key_F5);
    QVERIFY(form_->IsRunning());  // all of the above reached a running batch
    fs_->Release();
    WaitForRunEnd();

    QCOMPARE(messages_.size(), 1);
    QCOMPARE(messages_[0].text,
             Q(u8"\n5　首歌曲生成KSC文件完毕！\n\n如果需要加入歌库，请手动到歌曲管理器中进行扫描！"
               u8"\n\n新建 5 个，更新 0 个，未变 0 个"));
    QCOMPARE(KscFiles(folder_), 5);
    QVERIFY(ReadKsc((folder_ + "/v4.KSC").toStdString())
                .contains(Q(u8"karaoke.tag('歌手', '粤语金曲');\r\n")));
    QCOMPARE(KscFiles(other), 0);
    // The window is as it was before the run, and usable again.
    QCOMPARE(Ui().folderEdit->text(), folder_);
    QCOMPARE(Ui().templateButtons->checkedId(), 0);
    QCOMPARE(Ui().countLabel->text(), Q(u8"歌曲总数：　5"));
    QVERIFY(Ui().folderEdit->isEnabled());
    QVERIFY(Ui().templateGroup->isEnabled());
    QVERIFY(!Ui().startNumberCheck->isEnabled());  // held, then back as it was
    QVERIFY(Ui().extensionsLabel->isEnabled());
    QCOMPARE(Ui().extensionsEdit->placeholderText(), Q("mkv,mp4"));
    QCOMPARE(Ui().runButton->text(), Q(u8" 批量KSC(&B)"));
    QCOMPARE(form_->cursor().shape(), Qt::ArrowCursor);
  }
};

QTEST_MAIN(RunControlTest)
#include "run_control_test.moc"
