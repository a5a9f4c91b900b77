// Drives the real main window and folder dialog, offscreen. Message boxes
// are taken by the window's message sink instead of being shown.
#include "app/gui/main_window.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
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
#include <chrono>
#include <cstdlib>
#include <filesystem>

#include "app/engine/short_date.h"
#include "app/gui/batch_runner.h"
#include "app/gui/folder_dialog.h"
#include "app/gui/folder_tree_model.h"
#include "app/gui/native_path.h"
#include "app/gui/preview_dialog.h"
#include "os/file_system.h"
#include "test_support.h"
#include "text/encoding.h"

using kscgen::gui::MainWindow;
using kscgen::gui::FolderDialog;
using Kind = MainWindow::MessageKind;

namespace {

QString Q(const char* utf8) { return QString::fromUtf8(utf8); }

// A KSC file's text, converted from GBK for comparison with readable text.
QString ReadKsc(const std::string& path) {
  auto utf8 = kscgen::text::GbkToUtf8(kscgen::testing::ReadFile(path));
  return utf8 ? QString::fromStdString(*utf8) : QString();
}

}  // namespace

class MainWindowTest : public QObject {
  Q_OBJECT

 private:
  std::unique_ptr<MainWindow> form_;
  std::unique_ptr<kscgen::testing::TempFolder> root_;
  QString folder_;
  QString settings_;
  QList<QPair<Kind, QString>> messages_;
  QStringList details_;
  bool answer_ = false;  // to questions
  std::chrono::steady_clock::time_point last_message_at_;

  void Touch(const QString& name) { kscgen::testing::Touch((folder_ + "/" + name).toStdString()); }
  bool Exists(const QString& name) {
    return std::filesystem::exists(kscgen::testing::U8Path((folder_ + "/" + name).toStdString()));
  }
  void Click(QAbstractButton* b) { QTest::mouseClick(b, Qt::LeftButton); }
  std::string Native(const QString& path) { return QDir::toNativeSeparators(path).toStdString(); }
  std::unique_ptr<MainWindow> NewForm() {
    auto form = std::make_unique<MainWindow>(settings_);
    form->setMessageSink([this](Kind k, const QString& t, const QString& d) {
      messages_.append({k, t});
      details_.append(d);
      last_message_at_ = std::chrono::steady_clock::now();
      return answer_;
    });
    form->show();
    return form;
  }
  // Runs the batch from its button and waits for its end.
  void Run() {
    Click(form_->runButton);
    QTRY_VERIFY_WITH_TIMEOUT(!form_->IsRunning(), 60000);
  }

 private slots:
  void init() {
    root_ = std::make_unique<kscgen::testing::TempFolder>();
    folder_ = QString::fromStdString(root_->path()) + Q(u8"/粤语金曲");
    QDir().mkpath(folder_);
    settings_ = QString::fromStdString(*root_ / "settings.ini");
    messages_.clear();
    details_.clear();
    answer_ = false;
    form_ = NewForm();
  }
  void cleanup() {
    form_.reset();
    root_.reset();
  }

  void startsInItsInitialState() {
    QCOMPARE(form_->windowTitle(), Q(u8"霁川KSC文件批量生成器"));
    QCOMPARE(form_->size(), QSize(440, 498));
    QCOMPARE(form_->minimumSize(), form_->maximumSize());
    QVERIFY(!(form_->windowFlags() & Qt::WindowMaximizeButtonHint));
    QCOMPARE(form_->instructions->toPlainText().split('\n').size(), 4);
    QVERIFY(form_->instructions->toPlainText().split('\n')[1].startsWith(
        Q(u8"　　　　　　　　歌手－歌名")));
    QCOMPARE(form_->folderEdit->text(), QString());
    QCOMPARE(form_->browseButton->text(), Q("..."));
    QCOMPARE(form_->removeVideoButton->text(), Q(u8"<< 移除"));
    QCOMPARE(form_->roleButtons->checkedId(), 0);
    QCOMPARE(form_->templateButtons->checkedId(), -1);
    QCOMPARE(form_->templateButtons->button(4)->text(), Q(u8"歌手－歌名(语种－类别－声道)"));
    QCOMPARE(form_->roleButtons->button(4)->text(), Q(u8"加入日期"));
    QCOMPARE(form_->runButton->text(), Q(u8" 批量KSC"));
    QCOMPARE(form_->runButton->geometry(), QRect(331, 402, 87, 34));
    QCOMPARE(form_->uniformList->geometry(), QRect(46, 48, 195, 59));  // inside the group box
    QCOMPARE(form_->kindBox->count(), 4);
    QCOMPARE(form_->kindBox->itemText(0), Q(u8"歌 手 名"));
    QCOMPARE(form_->kindBox->currentText(), QString());
    QCOMPARE(form_->startNumberEdit->maxLength(), 5);
    QVERIFY(!form_->startNumberCheck->isEnabled());
    QVERIFY(!form_->startNumberEdit->isEnabled());
    QVERIFY(!form_->kindBox->isEnabled());
    QVERIFY(!form_->uniformList->isEnabled());
    QVERIFY(form_->uniformGroup->isEnabled());  // only its controls wait for uniformCheck
    QVERIFY(!form_->initialsInput->isVisible());
    QCOMPARE(form_->initialsOutput->text(), Q("Edit2"));
    QCOMPARE(form_->findChild<QLabel*>("Label9")->text(), Q(u8"  注:统一设定值高于默认值"));
    QVERIFY(form_->countLabel->text().startsWith(Q(u8"歌曲总数：　")));
  }

  void choosingAFolderListsItsVideosAndCount() {
    Touch(Q(u8"合唱团－小河水.mpg"));
    Touch("b.AVI");
    Touch("a.rmvb");
    Touch("notes.txt");
    form_->ChooseFolder(folder_);
    QCOMPARE(form_->folderEdit->text(), folder_);
    QCOMPARE(form_->countLabel->text(), Q(u8"歌曲总数：　3"));
    QAbstractItemModel* model = form_->videoList->model();
    QCOMPARE(model->index(0, 0).data().toString(), Q("a.rmvb"));
    QCOMPARE(model->index(2, 0).data().toString(), Q(u8"合唱团－小河水.mpg"));
    QVERIFY(!model->index(0, 0).data(Qt::DecorationRole).value<QIcon>().isNull());
  }

  void removeTakesOnlyTheCurrentEntryFromTheList() {
    Touch("a.mpg");
    Touch("b.mpg");
    form_->ChooseFolder(folder_);
    Click(form_->removeVideoButton);  // no current entry: nothing goes
    QCOMPARE(form_->countLabel->text(), Q(u8"歌曲总数：　2"));
    form_->videoList->setCurrentIndex(form_->videoList->model()->index(0, 0));
    Click(form_->removeVideoButton);
    QCOMPARE(form_->countLabel->text(), Q(u8"歌曲总数：　1"));
    QCOMPARE(form_->videoList->model()->index(0, 0).data().toString(), Q("b.mpg"));
    QVERIFY(Exists("a.mpg"));
  }

  void checkBoxesFollowTheirEnablingRules() {
    Click(form_->numberingCheck);
    QVERIFY(form_->startNumberCheck->isEnabled());
    QVERIFY(form_->startNumberEdit->isEnabled());
    Click(form_->startNumberCheck);
    QVERIFY(form_->startNumberCheck->isChecked());
    Click(form_->numberingCheck);  // disables but does not clear
    QVERIFY(!form_->startNumberCheck->isEnabled());
    QVERIFY(form_->startNumberCheck->isChecked());
    QVERIFY(!form_->startNumberEdit->isEnabled());

    Click(form_->uniformCheck);
    for (QWidget* w :
         {static_cast<QWidget*>(form_->kindBox), static_cast<QWidget*>(form_->uniformList),
          static_cast<QWidget*>(form_->addUniformButton)}) {
      QVERIFY(w->isEnabled());
    }
    Click(form_->uniformCheck);
    QVERIFY(!form_->removeUniformButton->isEnabled());
    QVERIFY(!form_->kindLabel->isEnabled());
  }

  // The frame and its note look after ticking and unticking as at the start.
  void uniformGroupLooksAsAtTheStartAfterTickingAndUnticking() {
    QImage first = form_->uniformGroup->grab().toImage();
    Click(form_->uniformCheck);
    QVERIFY(form_->uniformGroup->grab().toImage() != first);  // its controls light up
    Click(form_->uniformCheck);
    QVERIFY(form_->uniformNote->isEnabled());
    QCOMPARE(form_->uniformGroup->grab().toImage(), first);
  }

  void uniformEntriesAreAddedAndRemoved() {
    Click(form_->uniformCheck);
    form_->valueBox->setEditText(Q(u8"合唱团"));
    form_->kindBox->setCurrentIndex(2);  // 歌曲语种
    QCOMPARE(form_->valueBox->count(), 7);
    QCOMPARE(form_->valueBox->currentText(), Q(u8"合唱团"));  // the typed value stays
    form_->valueBox->setEditText(Q(u8" 粤语 "));
    Click(form_->addUniformButton);
    QCOMPARE(form_->uniformList->count(), 1);
    QCOMPARE(form_->uniformList->item(0)->text(), Q(u8"歌曲语种 --> 粤语; "));
    QCOMPARE(form_->valueBox->currentText(), QString());
    form_->valueBox->setEditText(Q("  "));
    Click(form_->addUniformButton);  // a blank value adds nothing
    QCOMPARE(form_->uniformList->count(), 1);
    form_->kindBox->setCurrentIndex(0);
    QCOMPARE(form_->valueBox->count(), 0);
    form_->valueBox->setEditText(Q(u8"歌手😀"));
    Click(form_->addUniformButton);  // no GBK form: refused with a message
    QCOMPARE(form_->uniformList->count(), 1);
    QCOMPARE(messages_.size(), 1);

    form_->uniformList->clearSelection();
    form_->uniformList->setCurrentRow(-1);
    Click(form_->removeUniformButton);  // nothing selected: nothing removed
    QCOMPARE(form_->uniformList->count(), 1);
    form_->uniformList->setCurrentRow(0);
    Click(form_->removeUniformButton);
    QCOMPARE(form_->uniformList->count(), 0);
  }

  void hiddenPairGivesInitials() {
    form_->initialsInput->setText(Q(u8"歌名"));
    QCOMPARE(form_->initialsOutput->text(), Q("GM"));
  }

  void batchWithoutTemplateOnlySaysSo() {
    Touch("a.mpg");
    form_->ChooseFolder(folder_);
    Run();
    QCOMPARE(messages_.size(), 1);
    QCOMPARE(messages_[0].first, Kind::kError);
    QCOMPARE(messages_[0].second, Q(u8"\n　请选择歌曲命名模板！ "));
    QVERIFY(!Exists("a.KSC"));
  }

  void batchWritesTheFilesFromTheButton() {
    Touch(Q(u8"张三－小河水.mpg"));
    Touch("b.avi");
    form_->ChooseFolder(folder_);
    form_->templateButtons->button(1)->click();
    form_->roleButtons->button(2)->click();
    Click(form_->numberingCheck);
    Click(form_->startNumberCheck);
    QTest::keyClicks(form_->startNumberEdit, "100");
    Click(form_->uniformCheck);
    form_->kindBox->setCurrentIndex(0);
    form_->valueBox->setEditText(Q(u8"合唱团"));
    Click(form_->addUniformButton);
    Run();

    QCOMPARE(messages_.size(), 1);
    QCOMPARE(messages_[0].first, Kind::kInformation);
    QCOMPARE(messages_[0].second,
             Q(u8"\n2　首歌曲生成KSC文件完毕！\n\n如果需要加入歌库，请手动到歌曲管理器中进行扫描！"
               u8"\n\n新建 2 个，更新 0 个，未变 0 个"));
    QCOMPARE(form_->progressBar->value(), 100);
    QString ksc = ReadKsc((folder_ + Q(u8"/张三－小河水.KSC")).toStdString());
    QVERIFY(ksc.contains(Q(u8"karaoke.internalnumber :=00102 ;\r\n")));
    QVERIFY(ksc.contains(Q(u8"karaoke.tag('歌手', '合唱团');\r\n")));
    QVERIFY(ksc.contains(Q(u8"karaoke.tag('歌星拼音', 'HCT');\r\n")));
    QVERIFY(ksc.contains(Q(u8"karaoke.tag('语种', '粤语');\r\n")));
    QVERIFY(Exists("b.KSC"));
  }

  void badStartNumberWritesNothing() {
    Touch("a.mpg");
    form_->ChooseFolder(folder_);
    form_->templateButtons->button(0)->click();
    Click(form_->numberingCheck);
    Click(form_->startNumberCheck);
    QTest::keyClicks(form_->startNumberEdit, "1x2");
    Run();
    QCOMPARE(messages_.size(), 1);
    QCOMPARE(messages_[0].second, Q(u8"编号起始值必须是不小于 0 的整数：“1x2”"));
    QVERIFY(!Exists("a.KSC"));
  }

  void numbersOnlyWhileBothNumberingBoxesAreTicked() {
    Touch("a.mpg");
    form_->ChooseFolder(folder_);
    form_->templateButtons->button(0)->click();
    Click(form_->numberingCheck);
    Click(form_->startNumberCheck);
    QTest::keyClicks(form_->startNumberEdit, "0");
    Click(form_->numberingCheck);  // off again: 编号始于 stays ticked but disabled
    Run();
    QVERIFY(ReadKsc((folder_ + "/a.KSC").toStdString())
                .contains(Q(u8"karaoke.internalnumber := ;\r\n")));
    Click(form_->numberingCheck);
    Run();
    QVERIFY(ReadKsc((folder_ + "/a.KSC").toStdString())
                .contains(Q(u8"karaoke.internalnumber :=00001 ;\r\n")));
  }

  void aChannelThatNamesNoneIsRefusedAndKeptForCorrection() {
    Click(form_->uniformCheck);
    form_->kindBox->setCurrentIndex(3);  // 歌曲声道
    form_->valueBox->setEditText(Q(u8"伴唱"));
    Click(form_->addUniformButton);
    QCOMPARE(messages_.size(), 1);
    QCOMPARE(messages_[0].first, Kind::kError);
    QVERIFY(messages_[0].second.startsWith(Q(u8"歌曲声道的值“伴唱”无法识别")));
    QCOMPARE(form_->valueBox->currentText(), Q(u8"伴唱"));
    QCOMPARE(form_->uniformList->count(), 0);
    form_->valueBox->setEditText(Q(u8"左声道"));
    Click(form_->addUniformButton);
    QCOMPARE(form_->uniformList->count(), 1);
    QCOMPARE(form_->uniformList->item(0)->text(), Q(u8"歌曲声道 --> 左声道; "));
  }

  void writeFailureLeavesTheWindowUsable() {
    Touch("a.mpg");
    Touch("b.mpg");
    QDir().mkdir(folder_ + "/a.KSC");
    form_->ChooseFolder(folder_);
    form_->templateButtons->button(0)->click();
    form_->progressBar->setValue(50);
    Run();
    QCOMPARE(form_->progressBar->value(), 0);  // a run starts from 0; this one wrote nothing
    QCOMPARE(messages_.size(), 1);
    QCOMPARE(messages_[0].first, Kind::kError);
    QCOMPARE(messages_[0].second, Q(u8"无法写入KSC文件：“") +
                                      QDir::toNativeSeparators(folder_ + "/a.KSC") +
                                      Q(u8"”（是一个文件夹）\n本次已写入 0 个KSC文件，另有 2 "
                                        u8"个视频未处理。"));
    QVERIFY(!Exists("b.KSC"));
    QVERIFY(form_->isEnabled());
    QDir().rmdir(folder_ + "/a.KSC");
    Run();
    QCOMPARE(messages_.last().first, Kind::kInformation);
    QVERIFY(Exists("a.KSC"));
    QVERIFY(Exists("b.KSC"));
  }

  void typedFolderIsReadWhenEditingFinishes() {
    Touch("a.mpg");
    form_->folderEdit->setText(folder_);
    emit form_->folderEdit->editingFinished();
    QCOMPARE(form_->countLabel->text(), Q(u8"歌曲总数：　1"));
  }

  void folderDialogHandsTheFolderToTheWindow() {
    Touch("a.mpg");
    FolderDialog dialog(form_.get());
    QCOMPARE(dialog.windowTitle(), Q(u8"浏览文件夹"));
    QCOMPARE(dialog.okButton->text(), Q(u8"确定"));
    dialog.SelectFolder(Native(folder_));
    QCOMPARE(dialog.SelectedPath(), Native(folder_));
    dialog.chooseSelected();
    QCOMPARE(form_->folderEdit->text(), QDir::toNativeSeparators(folder_));
    QCOMPARE(form_->countLabel->text(), Q(u8"歌曲总数：　1"));

    FolderDialog cancelled(form_.get());
    cancelled.SelectFolder(root_->path());
    cancelled.cancel();
    QCOMPARE(form_->folderEdit->text(), QDir::toNativeSeparators(folder_));

    FolderDialog empty(form_.get());
    empty.SelectFolder(std::string());  // nothing selected
    empty.chooseSelected();
    QCOMPARE(form_->folderEdit->text(), QString());
    QCOMPARE(form_->countLabel->text(), Q(u8"歌曲总数：　1"));
  }

  // Opens the preview, hands the dialog to `inspect` and closes it.
  void Preview(const std::function<void(kscgen::gui::PreviewDialog*)>& inspect) {
    bool seen = false;
    QTimer::singleShot(0, [&] {
      auto* dialog = qobject_cast<kscgen::gui::PreviewDialog*>(QApplication::activeModalWidget());
      if (dialog) {
        seen = true;
        inspect(dialog);
        dialog->accept();
      }
    });
    Click(form_->previewButton);
    QVERIFY(seen);
  }

  void previewShowsWhatTheBatchThenWrites() {
#ifdef _WIN32
    QSKIP("one of its videos has a control character in its name, which Windows refuses");
#endif
    Touch(Q(u8"合唱团－小河水(粤语－怀旧－左声道).mpg"));
    Touch(Q(u8"Beyond－海阔天空.avi"));
    Touch("a.mpg");
    Touch("a.dat");
    Touch(QString("bad") + QChar(1) + ".mpg");
    form_->ChooseFolder(folder_);
    form_->templateButtons->button(4)->click();
    Click(form_->numberingCheck);
    Click(form_->startNumberCheck);
    QTest::keyClicks(form_->startNumberEdit, "7");

    QStringList texts;
    QStringList remarks;
    Preview([&](kscgen::gui::PreviewDialog* dialog) {
      QTableWidget* table = dialog->table();
      QCOMPARE(table->rowCount(), 5);
      QCOMPARE(dialog->findChild<QLabel*>("PreviewSummary")->text(),
               Q(u8"共 5 个视频：将生成 3 个KSC文件，跳过 1 个（红色），1 "
                 u8"个与后面的视频同名（黄色）。"));
      QCOMPARE(table->horizontalHeaderItem(2)->text(), Q(u8"编号"));
      for (int r = 0; r < table->rowCount(); ++r) {
        table->selectRow(r);
        texts << dialog->kscText()->toPlainText();
        remarks << table->item(r, table->columnCount() - 2)->text();
      }
      QCOMPARE(table->item(4, 2)->text(), Q("00011"));
      QCOMPARE(table->item(4, 7)->text(), Q(u8"粤语"));
      QCOMPARE(table->item(4, 9)->text(), Q("2"));
    });
    QVERIFY(messages_.isEmpty());
    QVERIFY(!Exists("a.KSC"));  // the preview writes nothing

    Run();
    QCOMPARE(messages_.size(), 1);
    // Rows in list order: a.dat, a.mpg, bad, Beyond, 合唱团.
    QVERIFY(remarks[1].contains(Q(u8"与第 1 行同名")));
    QVERIFY(remarks[2].startsWith(Q(u8"跳过：")));
    QCOMPARE(texts[1], ReadKsc((folder_ + "/a.KSC").toStdString()).remove('\r'));
    QCOMPARE(texts[3],
             ReadKsc((folder_ + Q(u8"/Beyond－海阔天空.KSC")).toStdString()).remove('\r'));
    QCOMPARE(texts[4],
             ReadKsc((folder_ + Q(u8"/合唱团－小河水(粤语－怀旧－左声道).KSC")).toStdString())
                 .remove('\r'));
    QVERIFY(texts[4].contains(Q(u8"karaoke.tag('风格', '怀旧歌');")));
  }

  void previewChecksTheTemplateAndShowsAnEmptyList() {
    form_->ChooseFolder(folder_);
    Click(form_->previewButton);
    QCOMPARE(messages_.size(), 1);
    QCOMPARE(messages_[0].second, Q(u8"\n　请选择歌曲命名模板！ "));
    form_->templateButtons->button(0)->click();
    Preview([](kscgen::gui::PreviewDialog* dialog) { QCOMPARE(dialog->table()->rowCount(), 0); });
  }

  void droppedFolderIsChosen() {
#ifdef _WIN32
    QSKIP("under Wine the offscreen window refuses this drag; not yet looked into");
#endif
    Touch("a.mpg");
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(folder_)});
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(form_.get(), &enter);
    QVERIFY(enter.isAccepted());
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(form_.get(), &drop);
    QCOMPARE(form_->folderEdit->text(), folder_);
    QCOMPARE(form_->countLabel->text(), Q(u8"歌曲总数：　1"));
  }

  // A run with a drop, clicks and typing delivered while it runs writes what
  // it writes without them: all of A's videos, in A, and nothing in B.
  void dropsAndClicksDuringARunChangeNothing() {
#ifdef _WIN32
    QSKIP("under Wine this case ends in an exception inside Qt Test; not yet looked into");
#endif
    const int kVideos = 2000;
    for (int i = 0; i < kVideos; ++i) Touch(QString("v%1.mpg").arg(i, 4, 10, QChar('0')));
    const QString other = QString::fromStdString(*root_ / "B");
    QDir().mkpath(other);
    kscgen::testing::Touch((other + "/b.mpg").toStdString());
    form_->ChooseFolder(folder_);
    form_->templateButtons->button(0)->click();
    form_->roleButtons->button(1)->click();  // the folder name is the singer
    form_->activateWindow();                 // so that its keys are live
    QVERIFY(QTest::qWaitForWindowActive(form_.get()));

    Click(form_->runButton);
    QVERIFY(form_->IsRunning());
    QCOMPARE(form_->runButton->text(), Q(u8" 停止"));
    QCOMPARE(form_->cursor().shape(), Qt::BusyCursor);
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(other)});
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(form_.get(), &enter);
    QVERIFY(!enter.isAccepted());
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(form_.get(), &drop);
    QTest::mouseClick(form_->templateButtons->button(2), Qt::LeftButton);
    form_->videoList->setCurrentIndex(form_->videoList->model()->index(0, 0));
    Click(form_->removeVideoButton);
    QTest::keyClicks(form_->folderEdit, "x");
    QTest::keyClick(form_->folderEdit, Qt::Key_Return);
    QTest::keyClick(form_->videoList, Qt::Key_Delete);
    QTest::keyClick(form_.get(), Qt::Key_F5);
    QVERIFY(form_->IsRunning());  // all of the above reached a running batch
    QTRY_VERIFY_WITH_TIMEOUT(!form_->IsRunning(), 60000);

    QCOMPARE(messages_.size(), 1);
    QCOMPARE(messages_[0].first, Kind::kInformation);
    QCOMPARE(
        messages_[0].second,
        Q(u8"\n2000　首歌曲生成KSC文件完毕！\n\n如果需要加入歌库，请手动到歌曲管理器中进行扫描！"
          u8"\n\n新建 2000 个，更新 0 个，未变 0 个"));
    int ksc = 0;
    for (const auto& e : std::filesystem::directory_iterator(folder_.toStdString())) {
      ksc += e.path().extension() == ".KSC";
    }
    QCOMPARE(ksc, kVideos);
    QVERIFY(ReadKsc((folder_ + "/v1999.KSC").toStdString())
                .contains(Q(u8"karaoke.tag('歌手', '粤语金曲');\r\n")));
    QVERIFY(!std::filesystem::exists((other + "/b.KSC").toStdString()));
    // The window is as it was before the run, and usable again.
    QCOMPARE(form_->folderEdit->text(), folder_);
    QCOMPARE(form_->templateButtons->checkedId(), 0);
    QCOMPARE(form_->countLabel->text(), Q(u8"歌曲总数：　2000"));
    QVERIFY(form_->folderEdit->isEnabled());
    QVERIFY(form_->templateGroup->isEnabled());
    QVERIFY(!form_->startNumberCheck->isEnabled());  // held, then back as it was
    QCOMPARE(form_->runButton->text(), Q(u8" 批量KSC"));
    QCOMPARE(form_->cursor().shape(), Qt::ArrowCursor);
    QCOMPARE(form_->progressBar->value(), 100);
  }

  // Also measures how soon a stop takes effect on 20,000 videos (printed,
  // not asserted: the machine's load decides it).
  void stopMidRunLeavesWholeFilesAndTheRightCount() {
#ifdef _WIN32
    QSKIP("under Wine this case ends in an exception inside Qt Test; not yet looked into");
#endif
    const int kVideos = 20000;
    for (int i = 0; i < kVideos; ++i) Touch(QString("v%1.mpg").arg(i, 5, 10, QChar('0')));
    form_->ChooseFolder(folder_);
    form_->templateButtons->button(0)->click();
    form_->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(form_.get()));
    Click(form_->runButton);
    QTRY_VERIFY_WITH_TIMEOUT(form_->progressBar->value() >= 2, 60000);
    const auto stop_pressed = std::chrono::steady_clock::now();
    QTest::keyClick(form_.get(), Qt::Key_Escape);
    QVERIFY(!form_->runButton->isEnabled());  // stopping
    QTRY_VERIFY_WITH_TIMEOUT(!messages_.isEmpty(), 60000);

    int whole = 0;
    for (const auto& e : std::filesystem::directory_iterator(folder_.toStdString())) {
      const std::string name = e.path().filename().string();
      QVERIFY2(!kscgen::os::IsTemporaryName(name), name.c_str());
      if (e.path().extension() != ".KSC") continue;
      const QString video = QString::fromStdString(e.path().stem().string()) + ".mpg";
      QVERIFY(ReadKsc(e.path().string()).endsWith("karaoke.CommonVideo := '" + video + "';\r\n"));
      ++whole;
    }
    const auto* runner = form_->findChild<kscgen::gui::BatchRunner*>();
    const double last_video_ms =
        std::chrono::duration<double, std::milli>(runner->LastVideoDone() - stop_pressed).count();
    const double reported_ms =
        std::chrono::duration<double, std::milli>(last_message_at_ - stop_pressed).count();
    qInfo(
        "stop on %d videos: the last video was done %.2f ms after Esc; the run reported "
        "after %.1f ms, its flush to disk included",
        kVideos, last_video_ms, reported_ms);
    QVERIFY(whole > 0 && whole < kVideos);
    QCOMPARE(messages_[0].first, Kind::kInformation);
    QCOMPARE(messages_[0].second, Q(u8"批量任务已停止。\n本次已写入 %1 个KSC文件，另有 %2 "
                                    u8"个视频未处理。")
                                      .arg(whole)
                                      .arg(kVideos - whole));
    QCOMPARE(form_->runButton->text(), Q(u8" 批量KSC"));
    QVERIFY(form_->runButton->isEnabled());
  }

  void stopButtonEndsTheRun() {
#ifdef _WIN32
    QSKIP("under Wine this case ends in an exception inside Qt Test; not yet looked into");
#endif
    for (int i = 0; i < 2000; ++i) Touch(QString("v%1.mpg").arg(i, 4, 10, QChar('0')));
    form_->ChooseFolder(folder_);
    form_->templateButtons->button(0)->click();
    Click(form_->runButton);
    QTRY_VERIFY_WITH_TIMEOUT(form_->progressBar->value() >= 1, 60000);
    Click(form_->runButton);  // now 停止
    QTRY_VERIFY_WITH_TIMEOUT(!form_->IsRunning(), 60000);
    int written = 0;
    for (const auto& e : std::filesystem::directory_iterator(folder_.toStdString())) {
      written += e.path().extension() == ".KSC";
    }
    QVERIFY(written < 2000);
    QCOMPARE(messages_.size(), 1);
    QVERIFY2(messages_[0].second.startsWith(
                 Q(u8"批量任务已停止。\n本次已写入 %1 个KSC文件").arg(written)),
             qPrintable(messages_[0].second));
    QVERIFY(form_->progressBar->value() < 100);
  }

  void quitDuringARunAsksWhetherToStop() {
    for (int i = 0; i < 2000; ++i) Touch(QString("v%1.mpg").arg(i, 4, 10, QChar('0')));
    form_->ChooseFolder(folder_);
    form_->templateButtons->button(0)->click();
    Click(form_->runButton);
    answer_ = false;
    Click(form_->quitButton);
    QCOMPARE(messages_.size(), 1);
    QCOMPARE(messages_[0].first, Kind::kQuestion);
    QVERIFY(form_->isVisible());
    QVERIFY(form_->IsRunning());
    answer_ = true;
    Click(form_->quitButton);
    QTRY_VERIFY_WITH_TIMEOUT(!form_->isVisible(), 60000);
    QVERIFY(!form_->IsRunning());
    QCOMPARE(messages_.size(), 2);  // no completion box after quitting
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
    QCOMPARE(form_->folderEdit->text(), QString::fromStdString(root_->path()) + Q(u8"/粤语"));
    QCOMPARE(form_->ListedFolder(), gbk_folder);
    QCOMPARE(form_->countLabel->text(), Q(u8"歌曲总数：　1"));
    QVERIFY(messages_.isEmpty());

    form_->templateButtons->button(1)->click();
    form_->roleButtons->button(2)->click();  // the folder name gives the language
    Run();
    QCOMPARE(messages_.size(), 1);
    QCOMPARE(messages_[0].first, Kind::kInformation);
    const std::string ksc_path = gbk_folder + u8"/合唱团－小河水.KSC";
    const std::string from_window = kscgen::testing::ReadFile(ksc_path);
    QVERIFY(from_window.find("karaoke.tag('\xD3\xEF\xD6\xD6', '\xD4\xC1\xD3\xEF');\r\n") !=
            std::string::npos);  // 语种 粤语
    std::filesystem::remove(ksc_path);

    const std::string date = kscgen::TodayShortDate();  // ASCII digits and separators
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
    QCOMPARE(form_->countLabel->text(), Q(u8"歌曲总数：　1"));

    form_->ChooseFolder(folder_);
    QCOMPARE(form_->countLabel->text(), Q(u8"歌曲总数：　0"));
    form_->folderEdit->setText(QString::fromStdString(root_->path()) + Q(u8"/粤语"));  // pasted
    emit form_->folderEdit->editingFinished();
    QCOMPARE(form_->ListedFolder(), gbk_folder);
    QCOMPARE(form_->countLabel->text(), Q(u8"歌曲总数：　1"));
    QVERIFY(messages_.isEmpty());

    // From the command line, as main() takes it.
    const char* argv[] = {"kscgen-gui", gbk_folder.c_str(), "--screenshot", "x.png"};
    const QString decoded = QFile::decodeName(gbk_folder.c_str());  // replacement characters
    QCOMPARE(kscgen::gui::NativeArgument(4, argv, decoded), gbk_folder);
    form_->ChooseFolder(folder_);
    form_->ChooseNativeFolder(kscgen::gui::NativeArgument(4, argv, decoded));
    QCOMPARE(form_->folderEdit->text(), QString::fromStdString(root_->path()) + Q(u8"/粤语"));
    QCOMPARE(form_->countLabel->text(), Q(u8"歌曲总数：　1"));

    // And remembered as its bytes.
    form_->close();
    form_ = NewForm();
    QCOMPARE(form_->ListedFolder(), gbk_folder);
    QCOMPARE(form_->countLabel->text(), Q(u8"歌曲总数：　1"));
  }

  void unreadableFolderEmptiesTheList() {
    Touch("a.mpg");
    Touch("b.mpg");
    form_->ChooseFolder(folder_);
    QCOMPARE(form_->countLabel->text(), Q(u8"歌曲总数：　2"));
    const QString missing = QString::fromStdString(*root_ / "missing");
    form_->folderEdit->setText(missing);
    emit form_->folderEdit->editingFinished();
    QCOMPARE(form_->videoList->model()->rowCount(), 0);
    QCOMPARE(form_->countLabel->text(), Q(u8"歌曲总数：　0"));
    QCOMPARE(messages_.size(), 1);
    QCOMPARE(messages_[0].first, Kind::kError);
    QVERIFY2(messages_[0].second.contains(QDir::toNativeSeparators(missing)),
             qPrintable(messages_[0].second));

    // A folder that vanishes after it was listed: F5 finds it gone.
    const QString gone = QString::fromStdString(*root_ / "gone");
    QDir().mkpath(gone);
    kscgen::testing::Touch((gone + "/c.mpg").toStdString());
    form_->ChooseFolder(gone);
    QCOMPARE(form_->countLabel->text(), Q(u8"歌曲总数：　1"));
    QDir(gone).removeRecursively();
    form_->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(form_.get()));
    QTest::keyClick(form_.get(), Qt::Key_F5);
    QCOMPARE(form_->countLabel->text(), Q(u8"歌曲总数：　0"));
    QCOMPARE(messages_.size(), 2);

    // A path typed without Enter is read before a run: nothing is written
    // into a folder the list did not come from.
    form_->ChooseFolder(folder_);
    form_->templateButtons->button(0)->click();
    form_->folderEdit->setText(missing);
    Run();
    QVERIFY(!Exists("a.KSC"));
    QCOMPARE(form_->countLabel->text(), Q(u8"歌曲总数：　0"));
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

  void completionBoxListsTenNamesAndDetailsTheRest() {
#ifdef _WIN32
    QSKIP("its videos have control characters in their names, which Windows refuses");
#endif
    for (int i = 0; i < 25; ++i)
      Touch(QString("bad%1").arg(i, 2, 10, QChar('0')) + QChar(1) + ".mpg");
    Touch("good.mpg");
    form_->ChooseFolder(folder_);
    form_->templateButtons->button(0)->click();
    Run();
    QCOMPARE(messages_.size(), 1);
    const QString summary = messages_[0].second;
    QCOMPARE(summary.count(Q(u8"（文件名含有控制字符）")), 10);
    QVERIFY(summary.contains(Q(u8"bad09")));
    QVERIFY(!summary.contains(Q(u8"bad10")));
    QVERIFY(summary.endsWith(Q(u8"……另有 15 个")));
    QCOMPARE(details_[0].count(Q(u8"（文件名含有控制字符）")), 15);
    QVERIFY(details_[0].contains(Q(u8"bad10")) && details_[0].contains(Q(u8"bad24")));
    QVERIFY(!details_[0].contains(Q(u8"bad09")));

    // The box itself offers the rest under its own words.
    std::unique_ptr<QMessageBox> box(
        form_->MakeMessageBox(Kind::kInformation, summary, details_[0]));
    box->show();
    QStringList buttons;
    for (QAbstractButton* b : box->buttons()) buttons << b->text();
    QVERIFY2(buttons.contains(Q(u8"显示详细信息")), qPrintable(buttons.join('|')));
    QCOMPARE(box->detailedText(), details_[0]);
  }

  void settingsSurviveARestart() {
#ifdef _WIN32
    QSKIP("under Wine the remembered folder does not come back; not yet looked into");
#endif
    Touch("a.mpg");
    QDir().mkpath(folder_ + "/sub");
    Touch("sub/b.mpg");
    form_->ChooseFolder(folder_);
    Click(form_->recursiveCheck);
    form_->roleButtons->button(3)->click();
    form_->templateButtons->button(2)->click();
    Click(form_->numberingCheck);
    Click(form_->startNumberCheck);
    QTest::keyClicks(form_->startNumberEdit, "100");
    Click(form_->uniformCheck);
    form_->kindBox->setCurrentIndex(3);  // 歌曲声道
    form_->valueBox->setEditText(Q(u8"左"));
    Click(form_->addUniformButton);
    QCOMPARE(form_->uniformList->count(), 1);
    const QString entry = form_->uniformList->item(0)->text();
    form_->close();
    form_ = NewForm();

    QCOMPARE(form_->folderEdit->text(), folder_);
    QVERIFY(form_->recursiveCheck->isChecked());
    QCOMPARE(form_->countLabel->text(), Q(u8"歌曲总数：　2"));
    QCOMPARE(form_->roleButtons->checkedId(), 3);
    QCOMPARE(form_->templateButtons->checkedId(), 2);
    QVERIFY(form_->numberingCheck->isChecked());
    QVERIFY(form_->startNumberCheck->isChecked() && form_->startNumberCheck->isEnabled());
    QCOMPARE(form_->startNumberEdit->text(), Q("100"));
    QVERIFY(form_->startNumberEdit->isEnabled());
    QVERIFY(form_->uniformCheck->isChecked());
    QVERIFY(form_->kindBox->isEnabled());
    QCOMPARE(form_->uniformList->count(), 1);
    QCOMPARE(form_->uniformList->item(0)->text(), entry);
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
    QCOMPARE(form_->folderEdit->text(), QString());
    QCOMPARE(form_->templateButtons->checkedId(), 2);
    QVERIFY(messages_.isEmpty());
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
    QCOMPARE(form_->folderEdit->text(), QString());
    QCOMPARE(form_->roleButtons->checkedId(), 0);
    QCOMPARE(form_->templateButtons->checkedId(), -1);
    QVERIFY(!form_->numberingCheck->isChecked());
    QVERIFY(!form_->startNumberCheck->isEnabled());
    QVERIFY(!form_->uniformCheck->isChecked());
    QVERIFY(!form_->kindBox->isEnabled());
    QCOMPARE(form_->uniformList->count(), 0);
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
    QCOMPARE(form_->folderEdit->text(), QString());
    QCOMPARE(form_->countLabel->text(), Q(u8"歌曲总数：　0"));
    QVERIFY(messages_.isEmpty());  // nothing to say about a folder nobody chose
  }

  // 包含子目录: every video below the folder, the preview's folder column,
  // and the same files as kscgen -R.
  void subfoldersAreListedPreviewedAndRunAsKscgenDoes() {
    QDir().mkpath(folder_ + Q(u8"/张三"));
    Touch(Q(u8"合唱团－小河水.mpg"));
    Touch(Q(u8"张三/张三－歌.avi"));
    form_->ChooseFolder(folder_);
    QCOMPARE(form_->countLabel->text(), Q(u8"歌曲总数：　1"));
    Click(form_->recursiveCheck);
    QCOMPARE(form_->countLabel->text(), Q(u8"歌曲总数：　2"));
    QCOMPARE(form_->videoList->model()->index(1, 0).data().toString(), Q(u8"张三/张三－歌.avi"));
    form_->templateButtons->button(1)->click();
    form_->roleButtons->button(2)->click();
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
                            kscgen::TodayShortDate() + "' '" + folder_.toStdString() +
                            "' >/dev/null 2>&1";
    QCOMPARE(std::system(cmd.c_str()), 0);
    QCOMPARE(kscgen::testing::ReadFile(first), window_first);
    QCOMPARE(kscgen::testing::ReadFile(second), window_second);
#endif
  }
};

QTEST_MAIN(MainWindowTest)
#include "main_window_test.moc"
