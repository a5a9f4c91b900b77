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
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTableWidget>
#include <QTextEdit>
#include <QTimer>
#include <QToolButton>
#include <QtTest>
#include <filesystem>

#include "app/gui/folder_dialog.h"
#include "app/gui/preview_dialog.h"
#include "test_support.h"
#include "text/encoding.h"

using kscgen::gui::TForm1;
using kscgen::gui::TForm2;
using Kind = TForm1::MessageKind;

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
  std::unique_ptr<TForm1> form_;
  std::unique_ptr<kscgen::testing::TempFolder> root_;
  QString folder_;
  QList<QPair<Kind, QString>> messages_;

  void Touch(const QString& name) { kscgen::testing::Touch((folder_ + "/" + name).toStdString()); }
  bool Exists(const QString& name) {
    return std::filesystem::exists((folder_ + "/" + name).toStdString());
  }
  void Click(QAbstractButton* b) { QTest::mouseClick(b, Qt::LeftButton); }

 private slots:
  void init() {
    root_ = std::make_unique<kscgen::testing::TempFolder>();
    folder_ = QString::fromStdString(root_->path()) + Q(u8"/粤语金曲");
    QDir().mkpath(folder_);
    form_ = std::make_unique<TForm1>();
    messages_.clear();
    form_->setMessageSink([this](Kind k, const QString& t) { messages_.append({k, t}); });
    form_->show();
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
    QVERIFY(!form_->uniformGroup->isEnabled());
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
    Click(form_->runButton);
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
    Click(form_->runButton);

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
    Click(form_->runButton);
    QCOMPARE(messages_.size(), 1);
    QCOMPARE(messages_[0].second, Q(u8"编号起始值必须是不小于 0 的整数：“1x2”"));
    QVERIFY(!Exists("a.KSC"));
  }

  void writeFailureLeavesTheWindowUsable() {
    Touch("a.mpg");
    Touch("b.mpg");
    QDir().mkdir(folder_ + "/a.KSC");
    form_->ChooseFolder(folder_);
    form_->templateButtons->button(0)->click();
    form_->progressBar->setValue(50);
    Click(form_->runButton);
    QCOMPARE(form_->progressBar->value(), 0);  // a run starts from 0; this one wrote nothing
    QCOMPARE(messages_.size(), 1);
    QCOMPARE(messages_[0].first, Kind::kError);
    QCOMPARE(messages_[0].second, Q(u8"无法写入KSC文件：“") + folder_ +
                                      Q(u8"/a.KSC”（是一个文件夹）\n本次已写入 0 个KSC文件，另有 2 "
                                        u8"个视频未处理。"));
    QVERIFY(!Exists("b.KSC"));
    QVERIFY(form_->isEnabled());
    QDir().rmdir(folder_ + "/a.KSC");
    Click(form_->runButton);
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
    TForm2 dialog(form_.get());
    QCOMPARE(dialog.windowTitle(), Q(u8"浏览文件夹"));
    QCOMPARE(dialog.okButton->text(), Q(u8"确定"));
    dialog.SelectFolder(folder_);
    QCOMPARE(dialog.SelectedPath(), folder_);
    dialog.chooseSelected();
    QCOMPARE(form_->folderEdit->text(), folder_);
    QCOMPARE(form_->countLabel->text(), Q(u8"歌曲总数：　1"));

    TForm2 cancelled(form_.get());
    cancelled.SelectFolder(QString::fromStdString(root_->path()));
    cancelled.cancel();
    QCOMPARE(form_->folderEdit->text(), folder_);

    TForm2 empty(form_.get());
    empty.SelectFolder(QString());  // nothing selected
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

    Click(form_->runButton);
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
};

QTEST_MAIN(MainWindowTest)
#include "main_window_test.moc"
