// What the window remembers between starts, offscreen: options, folder and
// places kept, a damaged settings file, a remembered folder that is gone.
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDesktopServices>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QListWidget>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTableWidget>
#include <QTextEdit>
#include <QTimer>
#include <QToolButton>
#include <QTreeView>
#include <QtTest>
#include <cstdlib>
#include <filesystem>

#include "app/engine/short_date.h"
#include "app/gui/folder_dialog.h"
#include "app/gui/folder_tree_model.h"
#include "app/gui/main_window.h"
#include "app/gui/native_path.h"
#include "app/gui/preview_dialog.h"
#include "app/gui/translations.h"
#include "os/file_system.h"
#include "text/encoding.h"
#include "window_fixture.h"

using kscgen::gui::FolderDialog;
using kscgen::gui::MainWindow;
using kscgen::testing::Q;
using kscgen::testing::ReadKsc;

class SettingsTest : public kscgen::testing::WindowTest {
  Q_OBJECT

 private slots:
  void settingsSurviveARestart() {
    Touch("a.mpg");
    QDir().mkpath(folder_ + "/sub");
    Touch("sub/b.mpg");
    form_->ChooseFolder(folder_);
    Click(Ui().recursiveCheck);
    Ui().roleButtons->button(3)->click();
    Ui().templateButtons->button(2)->click();
    Click(Ui().numberingCheck);
    Click(Ui().startNumberCheck);
    QTest::keyClicks(Ui().startNumberEdit, "100");
    Click(Ui().uniformCheck);
    Ui().kindBox->setCurrentIndex(3);  // 歌曲声道
    Ui().valueBox->setEditText(Q(u8"左"));
    Click(Ui().addUniformButton);
    QCOMPARE(Ui().uniformList->count(), 1);
    const QString entry = Ui().uniformList->item(0)->text();
    form_->close();
    form_ = NewForm();

    QCOMPARE(Ui().folderEdit->text(), folder_);
    QVERIFY(Ui().recursiveCheck->isChecked());
    QCOMPARE(Ui().countLabel->text(), Q(u8"歌曲总数：　2"));
    QCOMPARE(Ui().roleButtons->checkedId(), 3);
    QCOMPARE(Ui().templateButtons->checkedId(), 2);
    QVERIFY(Ui().numberingCheck->isChecked());
    QVERIFY(Ui().startNumberCheck->isChecked() && Ui().startNumberCheck->isEnabled());
    QCOMPARE(Ui().startNumberEdit->text(), Q("100"));
    QVERIFY(Ui().startNumberEdit->isEnabled());
    QVERIFY(Ui().uniformCheck->isChecked());
    QVERIFY(Ui().kindBox->isEnabled());
    QCOMPARE(Ui().uniformList->count(), 1);
    QCOMPARE(Ui().uniformList->item(0)->text(), entry);
    QString error;
    std::optional<kscgen::BatchRequest> request = form_->BuildRequest(true, &error);
    QVERIFY(request);
    QCOMPARE(request->start_number.value_or(-1), 100);
    QCOMPARE(request->uniform.channel.value_or(""), std::string("2"));
    QVERIFY(messages_.isEmpty());

    // A remembered folder that is gone leaves the path empty.
    form_->close();
    QDir(folder_).removeRecursively();
    form_ = NewForm();
    QCOMPARE(Ui().folderEdit->text(), QString());
    QCOMPARE(Ui().templateButtons->checkedId(), 2);
    QVERIFY(messages_.isEmpty());
  }

  // Each folder role is remembered as chosen.
  void everyFolderRoleSurvivesARestart_data() {
    QTest::addColumn<int>("role");
    for (int role = 0; role < kscgen::kRoleCount; ++role) {
      QTest::newRow(std::to_string(role).c_str()) << role;
    }
  }

  void everyFolderRoleSurvivesARestart() {
    QFETCH(int, role);
    Ui().roleButtons->button(role)->click();
    form_->close();
    form_ = NewForm();
    QCOMPARE(Ui().roleButtons->checkedId(), role);
  }

  // A settings file that cannot be written is told once; the run goes on.
  void settingsThatCannotBeSavedAreTold() {
    form_.reset();
    Touch("not-a-folder");
    settings_ = folder_ + "/not-a-folder/settings.ini";
    form_ = NewForm();
    Touch("a.mpg");
    form_->ChooseFolder(folder_);
    Ui().templateButtons->button(0)->click();
    Run();
    QCOMPARE(messages_.size(), 2);
    QCOMPARE(messages_[0].text, Q(u8"无法保存设置：“") + settings_ + Q(u8"”\n本次的选择在下次启动时不会恢复。"));
    QVERIFY(Exists("a.KSC"));
    form_->close();
    QCOMPARE(messages_.size(), 2);  // told once
  }

  // A damaged or meddled-with settings file gives the first start.
  void damagedSettingsGiveTheFirstStart_data() {
    QTest::addColumn<QByteArray>("content");
    QTest::newRow("binary") << QByteArray("\x00\xFF[\x01=\x02\n\xD4\xC1", 9);
    QTest::newRow("out of range") << QByteArray(
        "[General]\nfolderRole=9\ntemplate=-7\nnumbering=maybe\nuniform=2\n"
        "uniformEntries\\1\\kind=@ByteArray(nonsense)\n"
        "uniformEntries\\1\\value=@ByteArray(\"  \")\nuniformEntries\\size=1\n"
        "folder=@ByteArray(/no/such/folder)\n");
  }

  void damagedSettingsGiveTheFirstStart() {
    QFETCH(QByteArray, content);
    form_.reset();
    QFile file(settings_);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(content);
    file.close();
    form_ = NewForm();
    QCOMPARE(Ui().folderEdit->text(), QString());
    QCOMPARE(Ui().roleButtons->checkedId(), 0);
    QCOMPARE(Ui().templateButtons->checkedId(), -1);
    QVERIFY(!Ui().numberingCheck->isChecked());
    QVERIFY(!Ui().startNumberCheck->isEnabled());
    QVERIFY(!Ui().uniformCheck->isChecked());
    QVERIFY(!Ui().kindBox->isEnabled());
    QCOMPARE(Ui().uniformList->count(), 0);
    QCOMPARE(form_->ListedFolder(), QDir::currentPath().toStdString());
  }

  // A remembered 包含子目录 with a folder that is gone must not turn the
  // working folder's whole tree into the list a run writes into.
  void aMissingRememberedFolderListsOnlyTheWorkingFoldersOwnVideos() {
    form_.reset();
    QFile file(settings_);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("[General]\nrecursive=true\nfolder=@ByteArray(/no/such/folder)\n");
    file.close();
    QDir().mkpath(folder_ + "/sub");
    Touch("sub/deep.mpg");
    const QString cwd = QDir::currentPath();
    QDir::setCurrent(folder_);
    form_ = NewForm();
    QDir::setCurrent(cwd);
    QCOMPARE(Ui().folderEdit->text(), QString());
    QCOMPARE(Ui().countLabel->text(), Q(u8"歌曲总数：　0"));
    QVERIFY(messages_.isEmpty());  // nothing to say about a folder nobody chose
  }
};

QTEST_MAIN(SettingsTest)
#include "settings_test.moc"
