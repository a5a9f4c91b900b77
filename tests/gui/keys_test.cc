// The window by keyboard, offscreen: Enter and the Alt letters, Tab through
// the radio groups, the keys of the list and the boxes, and the options a
// key press must not leave in a state no run can use.
#include <QAbstractButton>
#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QListWidget>
#include <QPushButton>
#include <QToolButton>
#include <QtTest>
#include <functional>

#include "app/gui/main_window.h"
#include "window_fixture.h"

using kscgen::testing::Q;

class KeysTest : public kscgen::testing::WindowTest {
  Q_OBJECT

 private slots:
  // Enter clicks the button with the focus; Alt and the underlined letter
  // click the main buttons.
  void enterAndAltKeysClickButtons() {
    Touch("a.mpg");
    Touch("b.mpg");
    form_->ChooseFolder(folder_);
    form_->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(form_.get()));
    form_->runButton->setFocus();
    QTest::keyClick(form_->runButton, Qt::Key_Return);
    WaitForRunEnd();
    QCOMPARE(messages_.size(), 1);  // no template: the run asked for one
    QCOMPARE(messages_[0].text, Q(u8"\n　请选择歌曲命名模板！ "));
    form_->videoList->setCurrentIndex(form_->videoList->model()->index(0, 0));
    form_->removeVideoButton->setFocus();
    QTest::keyClick(form_->removeVideoButton, Qt::Key_Enter, Qt::KeypadModifier);
    QCOMPARE(form_->countLabel->text(), Q(u8"歌曲总数：　1"));
    // A check box keeps Enter to itself: it is ticked with the space bar.
    form_->numberingCheck->setFocus();
    QTest::keyClick(form_->numberingCheck, Qt::Key_Return);
    QVERIFY(!form_->numberingCheck->isChecked());

    // A mnemonic clicks its button a moment later, as a click looks.
    auto wait_for = [](const std::function<bool()>& done) {
      while (!done()) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    };
    form_->templateButtons->button(0)->click();
    QTest::keyClick(form_.get(), Qt::Key_B, Qt::AltModifier);
    wait_for([&] { return messages_.size() == 2; });
    QVERIFY(Exists("b.KSC"));
    QTest::keyClick(form_.get(), Qt::Key_X, Qt::AltModifier);
    wait_for([&] { return !form_->isVisible(); });
  }

  // Tab reaches a group of radio buttons at its checked button, so that the
  // space bar there changes nothing, and leaves it at the next Tab; Alt and
  // a letter reach the path box and tick each check box.
  void theKeyboardReachesEveryOption() {
    form_->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(form_.get()));
    form_->roleButtons->button(2)->click();
    form_->templateButtons->button(3)->click();
    QAbstractButton* role = form_->roleButtons->button(2);
    role->setFocus(Qt::TabFocusReason);
    QTest::keyClick(role, Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), form_->templateButtons->button(3));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
    QCOMPARE(form_->templateButtons->checkedId(), 3);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QVERIFY(!form_->templateButtons->buttons().contains(
        qobject_cast<QAbstractButton*>(QApplication::focusWidget())));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
    QCOMPARE(QApplication::focusWidget(), form_->templateButtons->button(3));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
    QCOMPARE(QApplication::focusWidget(), role);

    QTest::keyClick(form_.get(), Qt::Key_D, Qt::AltModifier);
    QCOMPARE(QApplication::focusWidget(), form_->folderEdit);
    const struct {
      Qt::Key key;
      QCheckBox* check;
    } letters[] = {{Qt::Key_N, form_->numberingCheck},
                   {Qt::Key_T, form_->startNumberCheck},  // enabled by 歌曲自动编号
                   {Qt::Key_F, form_->numberFromNameCheck},
                   {Qt::Key_U, form_->uniformCheck}};
    for (const auto& letter : letters) {
      QVERIFY(!letter.check->isChecked());
      QTest::keyClick(form_.get(), letter.key, Qt::AltModifier);
      // A mnemonic clicks its box a moment later, as a click looks.
      while (!letter.check->isChecked()) {
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
      }
      QCOMPARE(QApplication::focusWidget(), letter.check);
    }
    QCOMPARE(form_->recursiveCheck->text(), Q(u8"包含子目录(&R)"));  // a mnemonic of its own
  }

  // 歌名 reads no numbers: 编号取自文件名 is taken off, saying why, as soon as
  // 歌名 is chosen, and cannot be ticked again until another template is.
  void numbersFromNamesAreRefusedUnderTheTitleTemplateAtOnce() {
    form_->templateButtons->button(1)->click();
    Click(form_->numberFromNameCheck);
    QVERIFY(form_->numberFromNameCheck->isChecked());
    form_->templateButtons->button(0)->click();
    QVERIFY(!form_->numberFromNameCheck->isChecked());
    QVERIFY(!form_->numberFromNameCheck->isEnabled());
    QCOMPARE(messages_.size(), 1);
    QCOMPARE(messages_[0].text, Q(u8"模板“歌名”不从文件名读取编号，不能用编号取自文件名"));
    form_->templateButtons->button(2)->click();
    QVERIFY(form_->numberFromNameCheck->isEnabled());
    QVERIFY(!form_->numberFromNameCheck->isChecked());
    QCOMPARE(messages_.size(), 1);
  }

  void keysDoWhatTheButtonsDo() {
    Touch("a.mpg");
    Touch("b.mpg");
    Touch("c.mpg");
    form_->ChooseFolder(folder_);
    form_->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(form_.get()));

    // Delete takes the selected videos off the list.
    form_->videoList->setFocus();
    QAbstractItemModel* model = form_->videoList->model();
    form_->videoList->selectionModel()->select(model->index(0, 0), QItemSelectionModel::Select);
    form_->videoList->selectionModel()->select(model->index(2, 0), QItemSelectionModel::Select);
    QTest::keyClick(form_->videoList, Qt::Key_Delete);
    QCOMPARE(form_->countLabel->text(), Q(u8"歌曲总数：　1"));
    QCOMPARE(model->index(0, 0).data().toString(), Q("b.mpg"));
    QVERIFY(Exists("a.mpg"));

    // Enter in an unchanged path box keeps the list as it is; F5 reads it again.
    form_->folderEdit->setFocus();
    QTest::keyClick(form_->folderEdit, Qt::Key_Return);
    QCOMPARE(form_->countLabel->text(), Q(u8"歌曲总数：　1"));
    Touch("d.mpg");
    QTest::keyClick(form_.get(), Qt::Key_F5);
    QCOMPARE(form_->countLabel->text(), Q(u8"歌曲总数：　4"));
    // Enter in a changed path box reads the new folder.
    const QString other = QString::fromStdString(*root_ / "other");
    QDir().mkpath(other);
    form_->folderEdit->setText(other);
    QTest::keyClick(form_->folderEdit, Qt::Key_Return);
    QCOMPARE(form_->countLabel->text(), Q(u8"歌曲总数：　0"));

    // Typed text never grows the drop-downs; Enter in the value box adds.
    Click(form_->uniformCheck);
    form_->kindBox->lineEdit()->selectAll();
    form_->kindBox->lineEdit()->insert(Q(u8"歌手"));
    QTest::keyClick(form_->kindBox->lineEdit(), Qt::Key_Return);
    QCOMPARE(form_->kindBox->count(), 4);
    form_->kindBox->setCurrentIndex(2);  // 歌曲语种
    const int offered = form_->valueBox->count();
    form_->valueBox->lineEdit()->insert(Q(u8"粤语"));
    QTest::keyClick(form_->valueBox->lineEdit(), Qt::Key_Return);
    QCOMPARE(form_->valueBox->count(), offered);
    QCOMPARE(form_->uniformList->count(), 1);
    QCOMPARE(form_->uniformList->item(0)->text(), Q(u8"歌曲语种 --> 粤语; "));
    QCOMPARE(form_->valueBox->currentText(), QString());
  }
};

QTEST_MAIN(KeysTest)
#include "keys_test.moc"
