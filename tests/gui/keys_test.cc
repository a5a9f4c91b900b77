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
    Ui().runButton->setFocus();
    QTest::keyClick(Ui().runButton, Qt::Key_Return);
    WaitForRunEnd();
    QCOMPARE(messages_.size(), 1);  // no template: the run asked for one
    QCOMPARE(messages_[0].text, Q(u8"\n　请选择歌曲命名模板！ "));
    Ui().videoList->setCurrentIndex(Ui().videoList->model()->index(0, 0));
    Ui().removeVideoButton->setFocus();
    QTest::keyClick(Ui().removeVideoButton, Qt::Key_Enter, Qt::KeypadModifier);
    QCOMPARE(Ui().countLabel->text(), Q(u8"歌曲总数：　1"));
    // A check box keeps Enter to itself: it is ticked with the space bar.
    Ui().numberingCheck->setFocus();
    QTest::keyClick(Ui().numberingCheck, Qt::Key_Return);
    QVERIFY(!Ui().numberingCheck->isChecked());

    // A mnemonic clicks its button a moment later, as a click looks.
    auto wait_for = [](const std::function<bool()>& done) {
      while (!done()) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    };
    Ui().templateButtons->button(0)->click();
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
    Ui().roleButtons->button(2)->click();
    Ui().templateButtons->button(3)->click();
    QAbstractButton* role = Ui().roleButtons->button(2);
    role->setFocus(Qt::TabFocusReason);
    QTest::keyClick(role, Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), Ui().templateButtons->button(3));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
    QCOMPARE(Ui().templateButtons->checkedId(), 3);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QVERIFY(!Ui().templateButtons->buttons().contains(
        qobject_cast<QAbstractButton*>(QApplication::focusWidget())));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
    QCOMPARE(QApplication::focusWidget(), Ui().templateButtons->button(3));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
    QCOMPARE(QApplication::focusWidget(), role);

    QTest::keyClick(form_.get(), Qt::Key_D, Qt::AltModifier);
    QCOMPARE(QApplication::focusWidget(), Ui().folderEdit);
    const struct {
      Qt::Key key;
      QCheckBox* check;
    } letters[] = {{Qt::Key_N, Ui().numberingCheck},
                   {Qt::Key_T, Ui().startNumberCheck},  // enabled by 歌曲自动编号
                   {Qt::Key_F, Ui().numberFromNameCheck},
                   {Qt::Key_U, Ui().uniformCheck}};
    for (const auto& letter : letters) {
      QVERIFY(!letter.check->isChecked());
      QTest::keyClick(form_.get(), letter.key, Qt::AltModifier);
      // A mnemonic clicks its box a moment later, as a click looks.
      while (!letter.check->isChecked()) {
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
      }
      QCOMPARE(QApplication::focusWidget(), letter.check);
    }
    QCOMPARE(Ui().recursiveCheck->text(), Q(u8"包含子目录(&R)"));  // a mnemonic of its own
  }

  // 歌名 reads no numbers: 编号取自文件名 is taken off, saying why, as soon as
  // 歌名 is chosen, and cannot be ticked again until another template is.
  void numbersFromNamesAreRefusedUnderTheTitleTemplateAtOnce() {
    Ui().templateButtons->button(1)->click();
    Click(Ui().numberFromNameCheck);
    QVERIFY(Ui().numberFromNameCheck->isChecked());
    Ui().templateButtons->button(0)->click();
    QVERIFY(!Ui().numberFromNameCheck->isChecked());
    QVERIFY(!Ui().numberFromNameCheck->isEnabled());
    QCOMPARE(messages_.size(), 1);
    QCOMPARE(messages_[0].text, Q(u8"模板“歌名”不从文件名读取编号，不能用编号取自文件名"));
    Ui().templateButtons->button(2)->click();
    QVERIFY(Ui().numberFromNameCheck->isEnabled());
    QVERIFY(!Ui().numberFromNameCheck->isChecked());
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
    Ui().videoList->setFocus();
    QAbstractItemModel* model = Ui().videoList->model();
    Ui().videoList->selectionModel()->select(model->index(0, 0), QItemSelectionModel::Select);
    Ui().videoList->selectionModel()->select(model->index(2, 0), QItemSelectionModel::Select);
    QTest::keyClick(Ui().videoList, Qt::Key_Delete);
    QCOMPARE(Ui().countLabel->text(), Q(u8"歌曲总数：　1"));
    QCOMPARE(model->index(0, 0).data().toString(), Q("b.mpg"));
    QVERIFY(Exists("a.mpg"));

    // Enter in an unchanged path box keeps the list as it is; F5 reads it again.
    Ui().folderEdit->setFocus();
    QTest::keyClick(Ui().folderEdit, Qt::Key_Return);
    QCOMPARE(Ui().countLabel->text(), Q(u8"歌曲总数：　1"));
    Touch("d.mpg");
    QTest::keyClick(form_.get(), Qt::Key_F5);
    QCOMPARE(Ui().countLabel->text(), Q(u8"歌曲总数：　4"));
    // Enter in a changed path box reads the new folder.
    const QString other = QString::fromStdString(*root_ / "other");
    QDir().mkpath(other);
    Ui().folderEdit->setText(other);
    QTest::keyClick(Ui().folderEdit, Qt::Key_Return);
    QCOMPARE(Ui().countLabel->text(), Q(u8"歌曲总数：　0"));

    // Typed text never grows the drop-downs; Enter in the value box adds.
    Click(Ui().uniformCheck);
    Ui().kindBox->lineEdit()->selectAll();
    Ui().kindBox->lineEdit()->insert(Q(u8"歌手"));
    QTest::keyClick(Ui().kindBox->lineEdit(), Qt::Key_Return);
    QCOMPARE(Ui().kindBox->count(), 4);
    Ui().kindBox->setCurrentIndex(2);  // 歌曲语种
    const int offered = Ui().valueBox->count();
    Ui().valueBox->lineEdit()->insert(Q(u8"粤语"));
    QTest::keyClick(Ui().valueBox->lineEdit(), Qt::Key_Return);
    QCOMPARE(Ui().valueBox->count(), offered);
    QCOMPARE(Ui().uniformList->count(), 1);
    QCOMPARE(Ui().uniformList->item(0)->text(), Q(u8"歌曲语种 --> 粤语; "));
    QCOMPARE(Ui().valueBox->currentText(), QString());
  }
};

QTEST_MAIN(KeysTest)
#include "keys_test.moc"
