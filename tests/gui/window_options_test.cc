// The window's controls and their rules, offscreen: the first start, the
// check boxes, uniform values and numbering (its keys are in keys_test).
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

class OptionsTest : public kscgen::testing::WindowTest {
  Q_OBJECT

 private slots:
  void startsInItsInitialState() {
    // The version as the build gives it to kscgen --version too.
    QCOMPARE(form_->windowTitle(), Q(u8"霁川KSC文件批量生成器 ") + KSCGEN_TEST_VERSION);
    QCOMPARE(form_->instructions->toPlainText().split('\n').size(), 4);
    QVERIFY(form_->instructions->toPlainText().split('\n')[1].startsWith(
        Q(u8"　　　　　　　　歌手－歌名")));
    // What a song gets when nothing says otherwise.
    QCOMPARE(form_->instructions->toPlainText().split('\n')[3],
             Q(u8"缺省情况为：语种：国语，类别为：流行，声道为伴唱"));
    QCOMPARE(form_->folderEdit->text(), QString());
    QCOMPARE(form_->browseButton->text(), Q("..."));
    QCOMPARE(form_->removeVideoButton->text(), Q(u8"<< 移除"));
    QCOMPARE(form_->roleButtons->checkedId(), 0);
    QCOMPARE(form_->templateButtons->checkedId(), -1);
    QCOMPARE(form_->templateButtons->button(4)->text(), Q(u8"歌手－歌名(语种－类别－声道)"));
    QCOMPARE(form_->templateButtons->button(kscgen::kTemplateAuto)->text(), Q(u8"自动识别"));
    QVERIFY(form_->templateButtons->button(kscgen::kTemplateAuto)
                ->toolTip()
                .contains(Q(u8"按歌库中已有的歌手判断")));
    QCOMPARE(form_->roleButtons->button(4)->text(), Q(u8"加入日期"));
    QCOMPARE(form_->runButton->text(), Q(u8" 批量KSC(&B)"));  // Alt+B, shown underlined
    QCOMPARE(form_->previewButton->text(), Q(u8"预览(&P)"));
    QCOMPARE(form_->quitButton->text(), Q(u8"退出(&X)"));
    QCOMPARE(form_->folderLabel->text(), Q(u8"1. 请选择歌曲所在目录(&D)："));
    QCOMPARE(form_->folderLabel->buddy(), form_->folderEdit);  // Alt+D: the path box
    // Each check box has its letter too.
    QCOMPARE(form_->recursiveCheck->text(), Q(u8"包含子目录(&R)"));
    QCOMPARE(form_->uniformCheck->text(), Q(u8"统一设定值"));  // Alt+U, as its tooltip says
    QCOMPARE(form_->numberingCheck->text(), Q(u8"歌曲自动编号(&N)"));
    QCOMPARE(form_->startNumberCheck->text(), Q(u8"编号始于:"));  // Alt+T, as its tooltip says
    QCOMPARE(form_->numberFromNameCheck->text(), Q(u8"编号取自文件名(&F)"));
    QVERIFY(form_->uniformGroup->isAncestorOf(form_->uniformList));
    QVERIFY(form_->uniformGroup->isAncestorOf(form_->uniformCheck));  // its caption
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
    QCOMPARE(form_->initialsOutput->text(), QString());  // hidden, it holds no words
    QCOMPARE(form_->initialsOutput->placeholderText(), QString());
    QCOMPARE(form_->findChild<QLabel*>("uniformNote")->text(), Q(u8"  注:统一设定值高于默认值"));
    QVERIFY(form_->countLabel->text().startsWith(Q(u8"歌曲总数：　")));
    QVERIFY(!form_->progressBar->isTextVisible());
  }

  // Nothing chosen: the box stays empty and shows the folder a run would
  // write into, the one the list shows.
  void withNoFolderChosenThePathBoxShowsTheFolderInUse() {
    QCOMPARE(form_->folderEdit->text(), QString());
    QCOMPARE(form_->folderEdit->placeholderText(), QDir::toNativeSeparators(QDir::currentPath()));
    QCOMPARE(form_->ListedFolder(), QDir::currentPath().toStdString());
  }

  // Qt's own buttons and dialogs speak Chinese too.
  void standardButtonsAreInChinese() {
    QVERIFY2(kscgen::gui::HaveQtTranslations(), "Qt's Chinese translations are not built in");
    MainWindow::Message question;
    question.kind = Kind::kQuestion;
    question.text = Q("?");
    std::unique_ptr<QMessageBox> box(form_->MakeMessageBox(question));
    QCOMPARE(box->button(QMessageBox::Yes)->text(), Q(u8"是(&Y)"));
    QCOMPARE(box->button(QMessageBox::No)->text(), Q(u8"否(&N)"));
    std::unique_ptr<QMessageBox> plain(form_->MakeMessageBox({Kind::kError, Q("!"), {}, {}}));
    plain->show();  // its OK button is made when shown
    QCOMPARE(plain->buttons().size(), 1);
    QCOMPARE(plain->buttons()[0]->text(), Q(u8"确定"));
  }

  void checkBoxesFollowTheirEnablingRules() {
    Click(form_->numberingCheck);
    QVERIFY(form_->startNumberCheck->isEnabled());
    // The number can be typed only while it counts: both boxes ticked.
    QVERIFY(!form_->startNumberEdit->isEnabled());
    Click(form_->startNumberCheck);
    QVERIFY(form_->startNumberCheck->isChecked());
    QVERIFY(form_->startNumberEdit->isEnabled());
    Click(form_->startNumberCheck);
    QVERIFY(!form_->startNumberEdit->isEnabled());
    Click(form_->startNumberCheck);
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

  // The box takes only keys that keep it a start number or the beginning of
  // one; what it holds otherwise (nothing, or a text remembered from
  // before) is refused at the run, never read as 0.
  void badStartNumberWritesNothing() {
    Touch("a.mpg");
    form_->ChooseFolder(folder_);
    form_->templateButtons->button(0)->click();
    Click(form_->numberingCheck);
    Click(form_->startNumberCheck);
    const struct {
      const char* typed;
      const char* held;
    } rows[] = {
        {"1x2", "12"},  {"-1a2b", "12"}, {"abc", ""},    {"$1f", "$1f"}, {"0x1F", "0x1F"},
        {"+7", "+7"},   {"99999", "99999"}, {"1.5", "15"}, {" 2", " 2"},
    };
    for (const auto& row : rows) {
      form_->startNumberEdit->clear();
      QTest::keyClicks(form_->startNumberEdit, row.typed);
      QCOMPARE(form_->startNumberEdit->text(), QString(row.held));
    }
    form_->startNumberEdit->clear();
    Run();
    QCOMPARE(messages_.size(), 1);
    QCOMPARE(messages_[0].kind, Kind::kError);
    QCOMPARE(messages_[0].text, Q(u8"编号起始值必须是不小于 0 的整数：“”"));
    form_->startNumberEdit->setText("1x2");  // as a remembered text may be
    Run();
    QCOMPARE(messages_.size(), 2);
    QCOMPARE(messages_[1].text, Q(u8"编号起始值必须是不小于 0 的整数：“1x2”"));
    QVERIFY(!Exists("a.KSC"));
  }

  // 歌曲自动编号 alone numbers from 00001; 编号始于 gives another start, and
  // counts only while 歌曲自动编号 is ticked.
  void numbering_data() {
    QTest::addColumn<bool>("numbering");
    QTest::addColumn<bool>("startOn");
    QTest::addColumn<QString>("start");
    QTest::addColumn<QString>("first");
    QTest::addColumn<QString>("second");
    QTest::newRow("numbering alone") << true << false << ""
                                     << "00001"
                                     << "00002";
    QTest::newRow("a start of 0") << true << true << "0"
                                  << "00001"
                                  << "00002";
    QTest::newRow("a start of 100") << true << true << "100"
                                    << "00101"
                                    << "00102";
    QTest::newRow("a start typed, not ticked") << true << false << "100"
                                               << "00001"
                                               << "00002";
    QTest::newRow("start ticked, numbering off") << false << true << "100"
                                                 << ""
                                                 << "";
    QTest::newRow("nothing ticked") << false << false << ""
                                    << ""
                                    << "";
  }

  void numbering() {
    QFETCH(bool, numbering);
    QFETCH(bool, startOn);
    QFETCH(QString, start);
    QFETCH(QString, first);
    QFETCH(QString, second);
    Touch("a.mpg");
    Touch("b.mpg");
    form_->ChooseFolder(folder_);
    form_->templateButtons->button(0)->click();
    Click(form_->numberingCheck);
    if (startOn) Click(form_->startNumberCheck);
    QTest::keyClicks(form_->startNumberEdit, start);
    if (!numbering) Click(form_->numberingCheck);  // 编号始于 stays as it is, disabled
    Run();
    QCOMPARE(messages_.size(), 1);
    QCOMPARE(messages_[0].kind, Kind::kInformation);
    QVERIFY(ReadKsc((folder_ + "/a.KSC").toStdString())
                .contains(Q(u8"karaoke.internalnumber :=") + first + " ;\r\n"));
    QVERIFY(ReadKsc((folder_ + "/b.KSC").toStdString())
                .contains(Q(u8"karaoke.internalnumber :=") + second + " ;\r\n"));
  }

  // 自定义 takes a pattern, checked as it is typed; 编号取自文件名 and
  // 歌曲自动编号 exclude each other; both are remembered.
  void aPatternOfTheUsersOwnAndNumbersFromTheNames() {
    Touch(Q(u8"0153_梁静茹_勇气[粤语].mpg"));
    form_->ChooseFolder(folder_);
    QVERIFY(!form_->patternEdit->isEnabled());
    QCOMPARE(form_->patternEdit->placeholderText(), Q(u8"例：{歌名} - {歌手}"));
    form_->templateButtons->button(5)->click();
    QVERIFY(form_->patternEdit->isEnabled());
    form_->patternEdit->setText(Q(u8"{编号}{歌手}"));
    QVERIFY(!form_->patternError->isHidden());
    QCOMPARE(form_->patternError->text(), Q(u8"命名格式中“{编号}{歌手}”两项之间没有分隔的文字"));
    Run();  // refused, nothing written
    QCOMPARE(messages_.size(), 1);
    QCOMPARE(messages_[0].kind, Kind::kError);
    QVERIFY(!Exists(Q(u8"0153_梁静茹_勇气[粤语].KSC")));
    messages_.clear();
    form_->patternEdit->setText(Q(u8"{编号}_{歌手}_{歌名}"));
    QVERIFY(form_->patternError->isHidden());
    Click(form_->numberingCheck);
    Click(form_->numberFromNameCheck);
    QVERIFY(!form_->numberingCheck->isChecked());
    Run();
    QCOMPARE(messages_.size(), 1);
    QCOMPARE(messages_[0].kind, Kind::kInformation);
    const QString ksc = ReadKsc((folder_ + Q(u8"/0153_梁静茹_勇气[粤语].KSC")).toStdString());
    QVERIFY(ksc.contains(Q(u8"karaoke.internalnumber :=00153 ;\r\n")));
    QVERIFY(ksc.contains(Q(u8"karaoke.tag('歌手', '梁静茹');\r\n")));
    QVERIFY(ksc.contains(Q(u8"karaoke.tag('语种', '粤语');\r\n")));

    form_->close();
    form_ = NewForm();
    QCOMPARE(form_->templateButtons->checkedId(), 5);
    QVERIFY(form_->patternEdit->isEnabled());
    QCOMPARE(form_->patternEdit->text(), Q(u8"{编号}_{歌手}_{歌名}"));
    QVERIFY(form_->numberFromNameCheck->isChecked());
    Click(form_->numberingCheck);
    QVERIFY(!form_->numberFromNameCheck->isChecked());
    form_->templateButtons->button(1)->click();
    QVERIFY(!form_->patternEdit->isEnabled());
  }

  void aChannelThatNamesNoneIsRefusedAndKeptForCorrection() {
    Click(form_->uniformCheck);
    form_->kindBox->setCurrentIndex(3);  // 歌曲声道
    form_->valueBox->setEditText(Q(u8"伴唱"));
    Click(form_->addUniformButton);
    QCOMPARE(messages_.size(), 1);
    QCOMPARE(messages_[0].kind, Kind::kError);
    QVERIFY(messages_[0].text.startsWith(Q(u8"歌曲声道的值“伴唱”无法识别")));
    QCOMPARE(form_->valueBox->currentText(), Q(u8"伴唱"));
    QCOMPARE(form_->uniformList->count(), 0);
    form_->valueBox->setEditText(Q(u8"左声道"));
    Click(form_->addUniformButton);
    QCOMPARE(form_->uniformList->count(), 1);
    QCOMPARE(form_->uniformList->item(0)->text(), Q(u8"歌曲声道 --> 左声道; "));
  }

  // The same rule as kscgen -u: a kind is one of the four, named in the
  // window's own words.
  void aKindThatNamesNoneIsRefusedInTheWindowsWords() {
    Click(form_->uniformCheck);
    form_->kindBox->setEditText(Q(u8"类型"));
    form_->valueBox->setEditText(Q("y"));
    Click(form_->addUniformButton);
    QCOMPARE(form_->uniformList->count(), 0);
    QCOMPARE(messages_.size(), 1);
    QCOMPARE(messages_[0].kind, Kind::kError);
    QCOMPARE(messages_[0].text,
             Q(u8"统一设定值的种类应为歌 手 名（歌手）、歌曲类别（类别、风格）、歌曲语种（语种）"
               u8"或歌曲声道（声道）：类型=y"));
    QCOMPARE(form_->kindBox->currentText(), Q(u8"类型"));  // kept for correction
    QCOMPARE(form_->valueBox->currentText(), Q("y"));
    // A kind whose text holds a label counts as that kind, as in kscgen.
    form_->kindBox->setEditText(Q(u8"新歌曲类别"));
    form_->valueBox->setEditText(Q(u8"儿歌"));
    Click(form_->addUniformButton);
    QCOMPARE(form_->uniformList->count(), 1);
    // And so does the preview's name of the column.
    form_->kindBox->setEditText(Q(u8"风格"));
    form_->valueBox->setEditText(Q(u8"戏曲"));
    Click(form_->addUniformButton);
    QCOMPARE(form_->uniformList->count(), 2);
  }

  // A style the song manager does not know would be written as 流行 over
  // every song's own: refused, with the styles it knows.
  void aStyleThatNamesNoneIsRefusedAndKeptForCorrection() {
    Click(form_->uniformCheck);
    form_->kindBox->setCurrentIndex(1);  // 歌曲类别
    form_->valueBox->setEditText(Q(u8"摇滚"));
    Click(form_->addUniformButton);
    QCOMPARE(form_->uniformList->count(), 0);
    QCOMPARE(messages_.size(), 1);
    QCOMPARE(messages_[0].kind, Kind::kError);
    QCOMPARE(messages_[0].text,
             Q(u8"歌曲类别的值“摇滚”不是歌曲管理器的类别：应为流行、舞曲、戏曲、民歌、儿歌、"
               u8"生日歌、革命歌、怀旧歌、迪斯科、情侣对唱、影视插曲之一，或含有其中的关键字"));
    QCOMPARE(form_->valueBox->currentText(), Q(u8"摇滚"));
    // A language likewise, which would be written as 国语, as kscgen -u refuses it.
    form_->kindBox->setCurrentIndex(2);  // 歌曲语种
    form_->valueBox->setEditText(Q(u8"火星语"));
    Click(form_->addUniformButton);
    QCOMPARE(form_->uniformList->count(), 0);
    QCOMPARE(messages_.size(), 2);
    QCOMPARE(messages_[1].text,
             Q(u8"歌曲语种的值“火星语”不是歌曲管理器的语种：应为国语、粤语、台语、英语、日语、韩语、"
               u8"其它之一，或含有其中的关键字"));
    QCOMPARE(form_->valueBox->currentText(), Q(u8"火星语"));
  }
};

QTEST_MAIN(OptionsTest)
#include "window_options_test.moc"
