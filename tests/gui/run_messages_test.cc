// Runs from 批量KSC and what the window then says, offscreen: the files
// written, the template and start-number checks, failures, a run with
// nothing to do, the completion box and its 打开文件夹, and the progress.
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

class RunMessagesTest : public kscgen::testing::WindowTest {
  Q_OBJECT

 private slots:
  void batchWithoutTemplateOnlySaysSo() {
    Touch("a.mpg");
    form_->ChooseFolder(folder_);
    Run();
    QCOMPARE(messages_.size(), 1);
    QCOMPARE(messages_[0].kind, Kind::kError);
    QCOMPARE(messages_[0].text, Q(u8"\n　请选择歌曲命名模板！ "));
    // Its box is as wide as its title, which the title bar would otherwise cut.
    std::unique_ptr<QMessageBox> box(form_->MakeMessageBox(messages_[0]));
    box->show();
    QCOMPARE(box->windowTitle(), Q(u8"霁川KSC文件批量生成器"));
    // The title and a title bar's icon and close button (about 96 pixels).
    QVERIFY2(box->width() >= box->fontMetrics().horizontalAdvance(box->windowTitle()) + 96,
             qPrintable(QString::number(box->width())));
    QVERIFY(!Exists("a.KSC"));
  }

  // Under 编号取自文件名 the summary counts the videos left without a number
  // and those whose number an earlier video's name gave, as kscgen's does.
  void theSummaryCountsNumbersFromNamesMissingOrGivenTwice() {
    for (const char* name : {"a-x-0153.mpg", "b-y-00153.mpg", "c-z.mpg", "d-w-0200.mpg"}) {
      Touch(name);
    }
    form_->ChooseFolder(folder_);
    Ui().templateButtons->button(4)->click();
    Click(Ui().numberFromNameCheck);
    Run();
    QCOMPARE(messages_.size(), 1);
    QVERIFY2(messages_[0].text.endsWith(
                 Q(u8"\n\n新建 4 个，更新 0 个，未变 0 个"
                   u8"\n\n编号取自文件名：1 个视频没有编号，1 个视频的编号与前面的视频相同"
                   u8"\n\n2 个视频有备注（文件名与模板不符之处等），可在预览中查看（命令行用 kscgen -n）")),
             qPrintable(messages_[0].text));
  }

  void batchWritesTheFilesFromTheButton() {
    Touch(Q(u8"张三－小河水.mpg"));
    Touch("b.avi");
    form_->ChooseFolder(folder_);
    Ui().templateButtons->button(1)->click();
    Ui().roleButtons->button(2)->click();
    Click(Ui().numberingCheck);
    Click(Ui().startNumberCheck);
    QTest::keyClicks(Ui().startNumberEdit, "100");
    Click(Ui().uniformCheck);
    Ui().kindBox->setCurrentIndex(0);
    Ui().valueBox->setEditText(Q(u8"合唱团"));
    Click(Ui().addUniformButton);
    Run();

    QCOMPARE(messages_.size(), 1);
    QCOMPARE(messages_[0].kind, Kind::kInformation);
    QCOMPARE(messages_[0].text,
             Q(u8"\n2　首歌曲生成KSC文件完毕！\n\n如果需要加入歌库，请手动到歌曲管理器中进行扫描！"
               u8"\n\n新建 2 个，更新 0 个，未变 0 个"
               // b.avi has no separator: the preview notes it.
               u8"\n\n1 个视频有备注（文件名与模板不符之处等），可在预览中查看（命令行用 kscgen -n）"));
    QCOMPARE(Ui().progressBar->text(), Q(u8"已处理 2 / 2"));
    QCOMPARE(Ui().progressBar->value(), Ui().progressBar->maximum());
    QCOMPARE(messages_[0].folder, form_->ListedFolder());  // 打开文件夹 opens it
    QString ksc = ReadKsc((folder_ + Q(u8"/张三－小河水.KSC")).toStdString());
    QVERIFY(ksc.contains(Q(u8"karaoke.internalnumber :=00102 ;\r\n")));
    QVERIFY(ksc.contains(Q(u8"karaoke.tag('歌手', '合唱团');\r\n")));
    QVERIFY(ksc.contains(Q(u8"karaoke.tag('歌星拼音', 'HCT');\r\n")));
    QVERIFY(ksc.contains(Q(u8"karaoke.tag('语种', '粤语');\r\n")));
    QVERIFY(Exists("b.KSC"));
  }

  void writeFailureLeavesTheWindowUsable() {
    Touch("a.mpg");
    Touch("b.mpg");
    // A folder that takes no new file, even from root: the run cannot write there.
    const std::string folder = folder_.toStdString();
    if (std::system(("chattr +i '" + folder + "' 2>/dev/null").c_str()) != 0) {
      QSKIP("chattr +i needs root and a file system that keeps it");
    }
    form_->ChooseFolder(folder_);
    Ui().templateButtons->button(0)->click();
    Ui().progressBar->setValue(50);
    Run();
    std::system(("chattr -i '" + folder + "'").c_str());
    QCOMPARE(Ui().progressBar->text(), Q(u8"已处理 0 / 2"));  // stopped at the first
    QCOMPARE(messages_.size(), 1);
    QCOMPARE(messages_[0].kind, Kind::kError);
    QCOMPARE(messages_[0].text, Q(u8"无法在文件夹中写入文件：“") +
                                    QDir::toNativeSeparators(folder_) +
                                    Q(u8"”（被设为不可更改）\n本次已写入 0 个KSC文件，另有 2 "
                                      u8"个视频未处理。"));
    QVERIFY(!Exists("a.KSC"));
    QVERIFY(form_->isEnabled());
    Run();
    QCOMPARE(messages_.last().kind, Kind::kInformation);
    QVERIFY(Exists("a.KSC"));
    QVERIFY(Exists("b.KSC"));
  }

  // 批量KSC says why it has nothing to do rather than report a success.
  void aRunWithNothingToDoSaysWhy() {
    Click(Ui().runButton);  // no folder chosen: the list is the working folder's
    QCOMPARE(messages_.size(), 1);
    QCOMPARE(messages_[0].text, Q(u8"请先选择歌曲所在目录。"));
    form_->ChooseFolder(folder_);  // empty
    Ui().templateButtons->button(0)->click();
    Run();
    QCOMPARE(messages_.size(), 2);
    QCOMPARE(messages_[1].text, Q(u8"没有找到视频文件\n\n文件夹：“") + folder_ +
                                    Q(u8"”\n查找的是：*.mpg;*.dat;*.wmv;*.rmvb;*.avi\n\n"
                                      u8"其他格式的视频（如 .mkv、.mp4）可在“后缀”中加入。"));
    Touch("a.mpg");
    form_->rereadFolder();
    Ui().videoList->setCurrentIndex(Ui().videoList->model()->index(0, 0));
    Click(Ui().removeVideoButton);
    Run();
    QCOMPARE(messages_.size(), 3);
    QCOMPARE(messages_[2].text, Q(u8"列表中的视频都已移除：按 F5 重新列出文件夹中的视频。"));
    QVERIFY(!Exists("a.KSC"));
  }

  // 打开文件夹 with no file manager to open the folder says so, and gives the
  // path to copy.
  void openFolderThatOpensNothingSaysSo() {
    Touch("a.mpg");
    form_->ChooseFolder(folder_);
    Ui().templateButtons->button(0)->click();
    Run();
    QCOMPARE(messages_.size(), 1);
    QList<QUrl> handed;
    form_->setFolderOpener([&handed](const QUrl& url) {
      handed << url;
      return false;
    });
    std::unique_ptr<QMessageBox> box(form_->MakeMessageBox(messages_[0]));
    box->show();
    QVERIFY(box->textInteractionFlags() & Qt::TextSelectableByMouse);
    Click(box->findChild<QPushButton*>("OpenFolderButton"));
    QCOMPARE(handed.size(), 1);
    QCOMPARE(Native(handed[0].toLocalFile()), Native(folder_));  // a URL's path has "/"
    QCOMPARE(messages_.size(), 2);
    QCOMPARE(messages_[1].kind, Kind::kError);
#ifdef _WIN32  // the path as Windows spells the folder it lists
    QVERIFY(messages_[1].text.startsWith(
        Q(u8"无法打开文件夹（没有可用的文件管理器）。请复制下面的路径自行打开：\n\n")));
    QVERIFY(messages_[1].text.endsWith(Q(u8"粤语金曲")));
#else
    QCOMPARE(messages_[1].text,
             Q(u8"无法打开文件夹（没有可用的文件管理器）。请复制下面的路径自行打开：\n\n") +
                 QDir::toNativeSeparators(folder_));
#endif
  }

  void completionBoxListsTenNamesAndDetailsEveryName() {
#ifdef _WIN32
    QSKIP("its videos have control characters in their names, which Windows refuses");
#endif
    for (int i = 0; i < 25; ++i)
      Touch(QString("bad%1").arg(i, 2, 10, QChar('0')) + QChar(1) + ".mpg");
    Touch("good.mpg");
    form_->ChooseFolder(folder_);
    Ui().templateButtons->button(0)->click();
    Run();
    QCOMPARE(messages_.size(), 1);
    const MainWindow::Message done = messages_[0];
    // Not every video got its KSC file: a warning, its heading counting one.
    QCOMPARE(done.kind, Kind::kWarning);
    QVERIFY(done.text.startsWith(Q(u8"\n1　首歌曲生成KSC文件完毕！")));
    QCOMPARE(done.text.count(Q(u8"（文件名含有控制字符）")), 10);
    QVERIFY(done.text.contains(Q(u8"bad09")));
    QVERIFY(!done.text.contains(Q(u8"bad10")));
    QVERIFY(done.text.endsWith(Q(u8"……另有 15 个")));
    // The details, headed as the list is, list all 25.
    QVERIFY(done.details.startsWith(Q(u8"以下 25 个视频未生成KSC文件：\nbad00")));
    QCOMPARE(done.details.count(Q(u8"（文件名含有控制字符）")), 25);
    QVERIFY(done.details.contains(Q(u8"bad09")) && done.details.contains(Q(u8"bad24")));

    // The box itself offers them under its own words, and the folder.
    std::unique_ptr<QMessageBox> box(form_->MakeMessageBox(done));
    box->show();
    QStringList buttons;
    for (QAbstractButton* b : box->buttons()) buttons << b->text();
    QVERIFY2(buttons.contains(Q(u8"显示详细信息")), qPrintable(buttons.join('|')));
    QCOMPARE(box->detailedText(), done.details);
    auto* open = box->findChild<QPushButton*>("OpenFolderButton");
    QVERIFY(open);
    QCOMPARE(open->text(), Q(u8"打开文件夹"));
    QDesktopServices::setUrlHandler("file", this, "openUrl");
    Click(open);
    QDesktopServices::unsetUrlHandler("file");
    QCOMPARE(opened_.size(), 1);
    QCOMPARE(opened_[0].toLocalFile(), folder_);
    QCOMPARE(box->icon(), QMessageBox::Warning);
    // Escape closes it, as 确定 does.
    box->show();
    QVERIFY(QTest::qWaitForWindowExposed(box.get()));
    QTest::keyClick(box.get(), Qt::Key_Escape);
    QVERIFY(!box->isVisible());
  }

  // A run that changes nothing says so instead of 完毕.
  void aRunThatChangesNothingSaysSo() {
    Touch("a.mpg");
    Touch("b.mpg");
    form_->ChooseFolder(folder_);
    Ui().templateButtons->button(0)->click();
    Run();
    Run();
    QCOMPARE(messages_.size(), 2);
    QCOMPARE(messages_[1].kind, Kind::kInformation);
    QCOMPARE(messages_[1].text, Q(u8"\n2 个KSC文件都已是最新，没有改动"));
  }

  // The count on the bar belongs to the folder it was counted in.
  void progressIsCountedAndClearedWhenTheFolderChanges() {
    Touch("a.mpg");
    Touch("b.mpg");
    Touch("c.mpg");
    form_->ChooseFolder(folder_);
    Ui().templateButtons->button(0)->click();
    Run();
    QCOMPARE(Ui().progressBar->text(), Q(u8"已处理 3 / 3"));
    form_->rereadFolder();  // the same folder again: the count stands
    QCOMPARE(Ui().progressBar->text(), Q(u8"已处理 3 / 3"));
    // A list of another length, read again or cut short, is not what was counted.
    Touch("d.mpg");
    form_->rereadFolder();
    QVERIFY(!Ui().progressBar->isTextVisible());
    form_->rereadFolder();
    Run();
    QCOMPARE(Ui().progressBar->text(), Q(u8"已处理 4 / 4"));
    Ui().videoList->setCurrentIndex(Ui().videoList->model()->index(0, 0));
    Click(Ui().removeVideoButton);
    QVERIFY(!Ui().progressBar->isTextVisible());
    Run();
    const QString other = QString::fromStdString(*root_ / "other");
    QDir().mkpath(other);
    form_->ChooseFolder(other);
    QVERIFY(!Ui().progressBar->isTextVisible());
    QCOMPARE(Ui().progressBar->value(), 0);
  }
};

QTEST_MAIN(RunMessagesTest)
#include "run_messages_test.moc"
