// The folder and its list, offscreen: choosing, typing, dropping and
// browsing a folder, removing videos, more kinds of video, GBK folder names,
// folders that cannot be read or are gone, and folder trees.
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

class FolderListTest : public kscgen::testing::WindowTest {
  Q_OBJECT

 private slots:
  void choosingAFolderListsItsVideosAndCount() {
    Touch(Q(u8"合唱团－小河水.mpg"));
    Touch("b.AVI");
    Touch("a.rmvb");
    Touch("notes.txt");
    form_->ChooseFolder(folder_);
    QCOMPARE(Ui().folderEdit->text(), folder_);
    QCOMPARE(Ui().countLabel->text(), Q(u8"歌曲总数：　3"));
    QAbstractItemModel* model = Ui().videoList->model();
    QCOMPARE(model->index(0, 0).data().toString(), Q("a.rmvb"));
    QCOMPARE(model->index(2, 0).data().toString(), Q(u8"合唱团－小河水.mpg"));
    QVERIFY(!model->index(0, 0).data(Qt::DecorationRole).value<QIcon>().isNull());
  }

  void removeTakesOnlyTheCurrentEntryFromTheList() {
    Touch("a.mpg");
    Touch("b.mpg");
    form_->ChooseFolder(folder_);
    Click(Ui().removeVideoButton);  // no current entry: nothing goes
    QCOMPARE(Ui().countLabel->text(), Q(u8"歌曲总数：　2"));
    Ui().videoList->setCurrentIndex(Ui().videoList->model()->index(0, 0));
    Click(Ui().removeVideoButton);
    QCOMPARE(Ui().countLabel->text(), Q(u8"歌曲总数：　1"));
    QCOMPARE(Ui().videoList->model()->index(0, 0).data().toString(), Q("b.mpg"));
    QVERIFY(Exists("a.mpg"));
  }

  void typedFolderIsReadWhenEditingFinishes() {
    Touch("a.mpg");
    Ui().folderEdit->setText(folder_);
    emit Ui().folderEdit->editingFinished();
    QCOMPARE(Ui().countLabel->text(), Q(u8"歌曲总数：　1"));
  }

  // A window closed while its path box has the focus and an edited path:
  // the box's editing ends as the window goes, and reads nothing.
  void aWindowClosedWhileAPathIsTypedReadsNothing() {
    QDir(folder_).mkdir("sub");
    form_->show();
    QVERIFY(QTest::qWaitForWindowActive(form_.get()));
    Ui().folderEdit->setFocus();
    QTest::keyClicks(Ui().folderEdit, "/sub");
    const int resolves = fs_->Calls(kscgen::testing::Step::kResolve);
    form_.reset();
    QCOMPARE(fs_->Calls(kscgen::testing::Step::kResolve), resolves);
  }

  void folderDialogHandsTheFolderToTheWindow() {
    Touch("a.mpg");
    FolderDialog dialog(form_.get());
    QCOMPARE(dialog.windowTitle(), Q(u8"浏览文件夹"));
    QCOMPARE(dialog.okButton->text(), Q(u8"确定"));
    dialog.SelectFolder(Native(folder_));
    QCOMPARE(dialog.SelectedPath(), Native(folder_));
    dialog.chooseSelected();
    QCOMPARE(Ui().folderEdit->text(), QDir::toNativeSeparators(folder_));
    QCOMPARE(Ui().countLabel->text(), Q(u8"歌曲总数：　1"));

    FolderDialog cancelled(form_.get());
    cancelled.SelectFolder(root_->path());
    cancelled.cancel();
    QCOMPARE(Ui().folderEdit->text(), QDir::toNativeSeparators(folder_));

    FolderDialog empty(form_.get());
    empty.SelectFolder(std::string());  // nothing selected
    empty.chooseSelected();
    QCOMPARE(Ui().folderEdit->text(), QString());
    QCOMPARE(Ui().countLabel->text(), Q(u8"歌曲总数：　1"));
    // The folder a run takes.
    QCOMPARE(Ui().folderEdit->placeholderText(), QDir::toNativeSeparators(folder_));
  }

  void addedExtensionsListMoreVideosAndAreRemembered() {
    Touch(Q(u8"合唱团－小河水.mkv"));
    Touch("b.MP4");
    Touch("c.mpg");
    Touch("d.ts");
    form_->ChooseFolder(folder_);
    // The kinds not listed yet are counted, with where to add them.
    const QString one =
        Q(u8"歌曲总数：　1\n另有 1 个 .mkv、1 个 .mp4、1 个 .ts 文件未列出，可在后缀中加入");
    const QString three = Q(u8"歌曲总数：　3\n另有 1 个 .ts 文件未列出，可在后缀中加入");
    // The label joins the characters of each word (U+2060), so that the
    // hint wraps between its phrases only.
    auto count = [this] { return Ui().countLabel->text().remove(QChar(0x2060)); };
    QCOMPARE(count(), one);
    Ui().extensionsEdit->setText(Q(" *.MKV; mp4 "));
    emit Ui().extensionsEdit->editingFinished();
    QCOMPARE(Ui().extensionsEdit->text(), Q("mkv,mp4"));
    QCOMPARE(count(), three);
    QVERIFY(messages_.isEmpty());

    // What cannot be an extension is refused, and the last good text returns.
    Ui().extensionsEdit->setText(Q("m/p4"));
    emit Ui().extensionsEdit->editingFinished();
    QCOMPARE(messages_.size(), 1);
    QCOMPARE(messages_[0].text,
             Q(u8"视频后缀名“m/p4”无法使用：应由 1 到 10 个英文字母或数字组成，如 mkv、mp4"));
    QCOMPARE(Ui().extensionsEdit->text(), Q("mkv,mp4"));
    QCOMPARE(count(), three);

    Ui().templateButtons->button(1)->click();
    Run();
    QVERIFY(ReadKsc((folder_ + Q(u8"/合唱团－小河水.KSC")).toStdString())
                .contains(Q(u8"karaoke.CommonVideo := '合唱团－小河水.mkv';")));
    QVERIFY(Exists("b.KSC"));
    QVERIFY(!Exists("d.KSC"));

    form_->close();
    form_ = NewForm();
    QCOMPARE(Ui().extensionsEdit->text(), Q("mkv,mp4"));
    QCOMPARE(count(), three);
    // Back to the five.
    Ui().extensionsEdit->clear();
    emit Ui().extensionsEdit->editingFinished();
    QCOMPARE(count(), one);
  }

  void droppedFolderIsChosen() {
    Touch("a.mpg");
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(folder_)});
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(form_.get(), &enter);
    QVERIFY(enter.isAccepted());
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(form_.get(), &drop);
#ifndef _WIN32  // Windows shows the dropped folder with "/" (C:/...), not as typed
    QCOMPARE(Ui().folderEdit->text(), folder_);
#endif
    QCOMPARE(Ui().countLabel->text(), Q(u8"歌曲总数：　1"));
  }

  // A video dropped on the window stands for its folder, as when it is given
  // to the program at its start.
  void droppedVideoFileChoosesItsFolder() {
    Touch("a.mpg");
    Touch("b.mpg");
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(folder_ + "/b.mpg")});
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(form_.get(), &enter);
    QVERIFY(enter.isAccepted());
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(form_.get(), &drop);
    // Windows hands a dropped file over with "/" (C:/...).
    QCOMPARE(Native(QString::fromStdString(form_->ListedFolder())), Native(folder_));
    QCOMPARE(Ui().countLabel->text(), Q(u8"歌曲总数：　2"));
    // Something that is neither is refused.
    data.setUrls({QUrl::fromLocalFile(folder_ + "/gone.mpg")});
    const int opened = fs_->Calls(kscgen::testing::Step::kOpenFolder);
    QDragEnterEvent refused(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(form_.get(), &refused);
    QVERIFY(!refused.isAccepted());
    // What stands there is asked of the window's file system.
    QVERIFY(fs_->Calls(kscgen::testing::Step::kOpenFolder) > opened);
  }

  // A folder named in GBK bytes, as copied from a Chinese system: chosen
  // from the dialog, it gets the same KSC bytes as kscgen gives it.
  void gbkFolderFromTheDialogGetsTheSameFilesAsKscgen() {
#ifdef _WIN32
    QSKIP("Windows names are UTF-16: no name on disk is GBK bytes there");
#endif
    const std::string gbk_folder = *root_ / "\xD4\xC1\xD3\xEF";  // 粤语 in GBK
    std::filesystem::create_directory(gbk_folder);
    kscgen::testing::Touch(gbk_folder + u8"/合唱团－小河水.mpg");
    FolderDialog dialog(form_.get());
    QModelIndex parent = dialog.model()->IndexOf(root_->path());
    QVERIFY(parent.isValid());
    dialog.folderTree->expand(parent);
    QModelIndex row;
    for (int r = 0; r < dialog.model()->rowCount(parent); ++r) {
      QModelIndex i = dialog.model()->index(r, 0, parent);
      if (i.data().toString() == Q(u8"粤语")) row = i;
    }
    QVERIFY(row.isValid());
    dialog.folderTree->setCurrentIndex(row);
    dialog.chooseSelected();
    QCOMPARE(Ui().folderEdit->text(), QString::fromStdString(root_->path()) + Q(u8"/粤语"));
    QCOMPARE(form_->ListedFolder(), gbk_folder);
    QCOMPARE(Ui().countLabel->text(), Q(u8"歌曲总数：　1"));
    QVERIFY(messages_.isEmpty());

    Ui().templateButtons->button(1)->click();
    Ui().roleButtons->button(2)->click();  // the folder name gives the language
    Run();
    QCOMPARE(messages_.size(), 1);
    QCOMPARE(messages_[0].kind, Kind::kInformation);
    const std::string ksc_path = gbk_folder + u8"/合唱团－小河水.KSC";
    const std::string from_window = kscgen::testing::ReadFile(ksc_path);
    QVERIFY(from_window.find("karaoke.tag('\xD3\xEF\xD6\xD6', '\xD4\xC1\xD3\xEF');\r\n") !=
            std::string::npos);  // 语种 粤语
    std::filesystem::remove(ksc_path);

    const std::string date = kscgen::ShortDateText(kscgen::testing::kToday);  // the window's
    const std::string cmd = "LC_ALL=C.UTF-8 '" KSCGEN_BIN "' -t 1 -r 2 --date '" + date + "' '" +
                            gbk_folder + "' >/dev/null 2>&1";
    QCOMPARE(std::system(cmd.c_str()), 0);
    QCOMPARE(kscgen::testing::ReadFile(ksc_path), from_window);
  }

  // The same folder dropped, typed and pasted reaches its own bytes.
  void gbkFolderDroppedOrTypedIsFound() {
#ifdef _WIN32
    QSKIP("Windows names are UTF-16: no name on disk is GBK bytes there");
#endif
    const std::string gbk_folder = *root_ / "\xD4\xC1\xD3\xEF";
    std::filesystem::create_directory(gbk_folder);
    kscgen::testing::Touch(gbk_folder + "/a.mpg");
    QMimeData data;
    data.setUrls({QUrl::fromEncoded(
        QByteArray("file://") + QByteArray::fromStdString(root_->path()).toPercentEncoding("/") +
        "/%D4%C1%D3%EF")});
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(form_.get(), &enter);
    QVERIFY(enter.isAccepted());
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(form_.get(), &drop);
    QCOMPARE(form_->ListedFolder(), gbk_folder);
    QCOMPARE(Ui().countLabel->text(), Q(u8"歌曲总数：　1"));

    form_->ChooseFolder(folder_);
    QCOMPARE(Ui().countLabel->text(), Q(u8"歌曲总数：　0"));
    Ui().folderEdit->setText(QString::fromStdString(root_->path()) + Q(u8"/粤语"));  // pasted
    emit Ui().folderEdit->editingFinished();
    QCOMPARE(form_->ListedFolder(), gbk_folder);
    QCOMPARE(Ui().countLabel->text(), Q(u8"歌曲总数：　1"));
    QVERIFY(messages_.isEmpty());

    // From the command line, as main() takes it.
    const char* argv[] = {"kscgen-gui", gbk_folder.c_str(), "--screenshot", "x.png"};
    const QString decoded = QFile::decodeName(gbk_folder.c_str());  // replacement characters
    QCOMPARE(kscgen::gui::NativeArgument(4, argv, decoded), gbk_folder);
    form_->ChooseFolder(folder_);
    form_->ChooseNativeFolder(kscgen::gui::NativeArgument(4, argv, decoded));
    QCOMPARE(Ui().folderEdit->text(), QString::fromStdString(root_->path()) + Q(u8"/粤语"));
    QCOMPARE(Ui().countLabel->text(), Q(u8"歌曲总数：　1"));

    // And remembered as its bytes.
    form_->close();
    form_ = NewForm();
    QCOMPARE(form_->ListedFolder(), gbk_folder);
    QCOMPARE(Ui().countLabel->text(), Q(u8"歌曲总数：　1"));
  }

  void unreadableFolderEmptiesTheList() {
    Touch("a.mpg");
    Touch("b.mpg");
    form_->ChooseFolder(folder_);
    QCOMPARE(Ui().countLabel->text(), Q(u8"歌曲总数：　2"));
    const QString missing = QString::fromStdString(*root_ / "missing");
    Ui().folderEdit->setText(missing);
    emit Ui().folderEdit->editingFinished();
    QCOMPARE(Ui().videoList->model()->rowCount(), 0);
    QCOMPARE(Ui().countLabel->text(), Q(u8"歌曲总数：　0"));
    QCOMPARE(messages_.size(), 1);
    QCOMPARE(messages_[0].kind, Kind::kError);
    QVERIFY2(messages_[0].text.contains(QDir::toNativeSeparators(missing)),
             qPrintable(messages_[0].text));

    // A folder that vanishes after it was listed: F5 finds it gone.
    const QString gone = QString::fromStdString(*root_ / "gone");
    QDir().mkpath(gone);
    kscgen::testing::Touch((gone + "/c.mpg").toStdString());
    form_->ChooseFolder(gone);
    QCOMPARE(Ui().countLabel->text(), Q(u8"歌曲总数：　1"));
    QDir(gone).removeRecursively();
    form_->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(form_.get()));
    QTest::keyClick(form_.get(), Qt::Key_F5);
    QCOMPARE(Ui().countLabel->text(), Q(u8"歌曲总数：　0"));
    QCOMPARE(messages_.size(), 2);

    // A path typed without Enter is read before a run: nothing is written
    // into a folder the list did not come from.
    form_->ChooseFolder(folder_);
    Ui().templateButtons->button(0)->click();
    Ui().folderEdit->setText(missing);
    Run();
    QVERIFY(!Exists("a.KSC"));
    QCOMPARE(Ui().countLabel->text(), Q(u8"歌曲总数：　0"));
  }

  // 批量KSC and 预览 run only on a folder that is listed and still there: one
  // that vanished, or a file, gives an error each time, never 完毕.
  void aRunOnAFolderThatIsNotThereSaysSo_data() {
    QTest::addColumn<QString>("how");
    QTest::newRow("vanished") << "vanished";
    QTest::newRow("vanished, then F5") << "F5";
    QTest::newRow("a file typed") << "file";
  }

  void aRunOnAFolderThatIsNotThereSaysSo() {
    QFETCH(QString, how);
    Touch("a.mpg");
    Ui().templateButtons->button(0)->click();
    QString expected;
    if (how == "file") {
      form_->ChooseFolder(folder_ + "/a.mpg");
      expected = Q(u8"不是文件夹：“") + folder_ + Q(u8"/a.mpg”");
    } else {
      form_->ChooseFolder(folder_);
      QCOMPARE(Ui().countLabel->text(), Q(u8"歌曲总数：　1"));
      QDir(folder_).removeRecursively();
      if (how == "F5") form_->rereadFolder();
      expected = Q(u8"文件夹不存在：“") + folder_ + Q(u8"”");
    }
    Run();
    Click(Ui().previewButton);
    Run();
    QVERIFY(messages_.size() >= 3);
    for (const MainWindow::Message& m : messages_) {
      QCOMPARE(m.kind, Kind::kError);
      QCOMPARE(m.text, expected);
    }
    QCOMPARE(Ui().countLabel->text(), Q(u8"歌曲总数：　0"));
    QVERIFY(!Ui().progressBar->isTextVisible());  // no run was started
  }

  // A folder that could not be read and is back by the time of the run is
  // listed first: the run never takes a list that was not read from it.
  void aFolderBackAfterAFailedReadIsListedBeforeItIsRun() {
    Ui().templateButtons->button(0)->click();
    form_->ChooseFolder(folder_);
    QDir(folder_).removeRecursively();
    form_->rereadFolder();
    QCOMPARE(messages_.size(), 1);
    QDir().mkpath(folder_);
    Touch("a.mpg");
    Run();
    QCOMPARE(messages_.size(), 1);  // no run, no 完毕
    QCOMPARE(Ui().countLabel->text(), Q(u8"歌曲总数：　1"));
    QVERIFY(!Exists("a.KSC"));
    Run();
    QCOMPARE(messages_.size(), 2);
    QCOMPARE(messages_[1].kind, Kind::kInformation);
    QVERIFY(Exists("a.KSC"));
  }

  // 包含子目录: every video below the folder, the preview's folder column,
  // and the same files as kscgen -R.
  void subfoldersAreListedPreviewedAndRunAsKscgenDoes() {
    QDir().mkpath(folder_ + Q(u8"/张三"));
    Touch(Q(u8"合唱团－小河水.mpg"));
    Touch(Q(u8"张三/张三－歌.avi"));
    form_->ChooseFolder(folder_);
    QCOMPARE(Ui().countLabel->text(), Q(u8"歌曲总数：　1"));
    Click(Ui().recursiveCheck);
    QCOMPARE(Ui().countLabel->text(), Q(u8"歌曲总数：　2"));
    QCOMPARE(Ui().videoList->model()->index(1, 0).data().toString(), Q(u8"张三/张三－歌.avi"));
    Ui().templateButtons->button(1)->click();
    Ui().roleButtons->button(2)->click();
    Preview([](kscgen::gui::PreviewDialog* dialog) {
      QCOMPARE(dialog->table()->horizontalHeaderItem(0)->text(), Q(u8"文件夹"));
      QCOMPARE(dialog->table()->item(1, 0)->text(), Q(u8"张三"));
    });
    Run();
    const std::string first = (folder_ + Q(u8"/合唱团－小河水.KSC")).toStdString();
    const std::string second = (folder_ + Q(u8"/张三/张三－歌.KSC")).toStdString();
    const std::string window_first = kscgen::testing::ReadFile(first);
    const std::string window_second = kscgen::testing::ReadFile(second);
    QVERIFY(!window_first.empty() && !window_second.empty());
#ifndef _WIN32  // on Windows, scripts/windows-test.sh compares with the Linux kscgen
    std::filesystem::remove(first);
    std::filesystem::remove(second);
    const std::string cmd = "LC_ALL=C.UTF-8 '" KSCGEN_BIN "' -R -t 1 -r 2 --date '" +
                            kscgen::ShortDateText(kscgen::testing::kToday) + "' '" + folder_.toStdString() +
                            "' >/dev/null 2>&1";
    QCOMPARE(std::system(cmd.c_str()), 0);
    QCOMPARE(kscgen::testing::ReadFile(first), window_first);
    QCOMPARE(kscgen::testing::ReadFile(second), window_second);
#endif
  }
};

QTEST_MAIN(FolderListTest)
#include "folder_list_test.moc"
