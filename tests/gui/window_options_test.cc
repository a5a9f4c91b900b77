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
    QCOMPARE(Ui().instructions->toPlainText().split('\n').size(), 4);
    QVERIFY(Ui().instructions->toPlainText().split('\n')[1].startsWith(
        Q(u8"　　　　　　　　歌手－歌名")));
    // What a song gets when nothing says otherwise.
    QCOMPARE(Ui().instructions->toPlainText().split('\n')[3],
             Q(u8"缺省情况为：语种：国语，类别为：流行，声道为伴唱"));
    QCOMPARE(Ui().folderEdit->text(), QString());
    QCOMPARE(Ui().browseButton->text(), Q("..."));
    QCOMPARE(Ui().removeVideoButton->text(), Q(u8"<< 移除"));
    QCOMPARE(Ui().roleButtons->checkedId(), 0);
    QCOMPARE(Ui().templateButtons->checkedId(), -1);
    QCOMPARE(Ui().templateButtons->button(4)->text(), Q(u8"歌手－歌名(语种－类别－声道)"));
    QCOMPARE(Ui().templateButtons->button(kscgen::kTemplateAuto)->text(), Q(u8"自动识别"));
    QVERIFY(Ui().templateButtons->button(kscgen::kTemplateAuto)
                ->toolTip()
                .contains(Q(u8"按歌库中已有的歌手判断")));
    QCOMPARE(Ui().roleButtons->button(4)->text(), Q(u8"加入日期"));
    QCOMPARE(Ui().runButton->text(), Q(u8" 批量KSC(&B)"));  // Alt+B, shown underlined
    QCOMPARE(Ui().previewButton->text(), Q(u8"预览(&P)"));
    QCOMPARE(Ui().quitButton->text(), Q(u8"退出(&X)"));
    QCOMPARE(Ui().folderLabel->text(), Q(u8"1. 请选择歌曲所在目录(&D)："));
    QCOMPARE(Ui().folderLabel->buddy(), Ui().folderEdit);  // Alt+D: the path box
    // Each check box has its letter too.
    QCOMPARE(Ui().recursiveCheck->text(), Q(u8"包含子目录(&R)"));
    QCOMPARE(Ui().uniformCheck->text(), Q(u8"统一设定值"));  // Alt+U, as its tooltip says
    QCOMPARE(Ui().numberingCheck->text(), Q(u8"歌曲自动编号(&N)"));
    QCOMPARE(Ui().startNumberCheck->text(), Q(u8"编号始于:"));  // Alt+T, as its tooltip says
    QCOMPARE(Ui().numberFromNameCheck->text(), Q(u8"编号取自文件名(&F)"));
    QVERIFY(Ui().uniformGroup->isAncestorOf(Ui().uniformList));
    QVERIFY(Ui().uniformGroup->isAncestorOf(Ui().uniformCheck));  // its caption
    QCOMPARE(Ui().kindBox->count(), 4);
    QCOMPARE(Ui().kindBox->itemText(0), Q(u8"歌 手 名"));
    QCOMPARE(Ui().kindBox->currentText(), QString());
    QCOMPARE(Ui().startNumberEdit->maxLength(), 5);
    QVERIFY(!Ui().startNumberCheck->isEnabled());
    QVERIFY(!Ui().startNumberEdit->isEnabled());
    QVERIFY(!Ui().kindBox->isEnabled());
    QVERIFY(!Ui().uniformList->isEnabled());
    QVERIFY(Ui().uniformGroup->isEnabled());  // only its controls wait for uniformCheck
    QVERIFY(!Ui().initialsInput->isVisible());
    QCOMPARE(Ui().initialsOutput->text(), QString());  // hidden, it holds no words
    QCOMPARE(Ui().initialsOutput->placeholderText(), QString());
    QCOMPARE(form_->findChild<QLabel*>("uniformNote")->text(), Q(u8"  注:统一设定值高于默认值"));
    QVERIFY(Ui().countLabel->text().startsWith(Q(u8"歌曲总数：　")));
    QVERIFY(!Ui().progressBar->isTextVisible());
  }

  // Nothing chosen: the box stays empty and shows the folder a run would
  // write into, the one the list shows.
  void withNoFolderChosenThePathBoxShowsTheFolderInUse() {
    QCOMPARE(Ui().folderEdit->text(), QString());
    QCOMPARE(Ui().folderEdit->placeholderText(), QDir::toNativeSeparators(QDir::currentPath()));
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
    Click(Ui().numberingCheck);
    QVERIFY(Ui().startNumberCheck->isEnabled());
    // The number can be typed only while it counts: both boxes ticked.
    QVERIFY(!Ui().startNumberEdit->isEnabled());
    Click(Ui().startNumberCheck);
    QVERIFY(Ui().startNumberCheck->isChecked());
    QVERIFY(Ui().startNumberEdit->isEnabled());
    Click(Ui().startNumberCheck);
    QVERIFY(!Ui().startNumberEdit->isEnabled());
    Click(Ui().startNumberCheck);
    Click(Ui().numberingCheck);  // disables but does not clear
    QVERIFY(!Ui().startNumberCheck->isEnabled());
    QVERIFY(Ui().startNumberCheck->isChecked());
    QVERIFY(!Ui().startNumberEdit->isEnabled());

    Click(Ui().uniformCheck);
    for (QWidget* w :
         {static_cast<QWidget*>(Ui().kindBox), static_cast<QWidget*>(Ui().uniformList),
          static_cast<QWidget*>(Ui().addUniformButton)}) {
      QVERIFY(w->isEnabled());
    }
    Click(Ui().uniformCheck);
    QVERIFY(!Ui().removeUniformButton->isEnabled());
    QVERIFY(!Ui().kindLabel->isEnabled());
  }

  // The frame and its note look after ticking and unticking as at the start.
  void uniformGroupLooksAsAtTheStartAfterTickingAndUnticking() {
    QImage first = Ui().uniformGroup->grab().toImage();
    Click(Ui().uniformCheck);
    QVERIFY(Ui().uniformGroup->grab().toImage() != first);  // its controls light up
    Click(Ui().uniformCheck);
    QVERIFY(Ui().uniformNote->isEnabled());
    QCOMPARE(Ui().uniformGroup->grab().toImage(), first);
  }

  void uniformEntriesAreAddedAndRemoved() {
    Click(Ui().uniformCheck);
    Ui().valueBox->setEditText(Q(u8"合唱团"));
    Ui().kindBox->setCurrentIndex(2);  // 歌曲语种
    QCOMPARE(Ui().valueBox->count(), 7);
    QCOMPARE(Ui().valueBox->currentText(), Q(u8"合唱团"));  // the typed value stays
    Ui().valueBox->setEditText(Q(u8" 粤语 "));
    Click(Ui().addUniformButton);
    QCOMPARE(Ui().uniformList->count(), 1);
    QCOMPARE(Ui().uniformList->item(0)->text(), Q(u8"歌曲语种 --> 粤语; "));
    QCOMPARE(Ui().valueBox->currentText(), QString());
    Ui().valueBox->setEditText(Q("  "));
    Click(Ui().addUniformButton);  // a blank value adds nothing
    QCOMPARE(Ui().uniformList->count(), 1);
    Ui().kindBox->setCurrentIndex(0);
    QCOMPARE(Ui().valueBox->count(), 0);
    Ui().valueBox->setEditText(Q(u8"歌手😀"));
    Click(Ui().addUniformButton);  // no GBK form: refused with a message
    QCOMPARE(Ui().uniformList->count(), 1);
    QCOMPARE(messages_.size(), 1);

    Ui().uniformList->clearSelection();
    Ui().uniformList->setCurrentRow(-1);
    Click(Ui().removeUniformButton);  // nothing selected: nothing removed
    QCOMPARE(Ui().uniformList->count(), 1);
    Ui().uniformList->setCurrentRow(0);
    Click(Ui().removeUniformButton);
    QCOMPARE(Ui().uniformList->count(), 0);
  }

  void hiddenPairGivesInitials() {
    Ui().initialsInput->setText(Q(u8"歌名"));
    QCOMPARE(Ui().initialsOutput->text(), Q("GM"));
  }

  // The box takes only keys that keep it a start number or the beginning of
  // one; what it holds otherwise (nothing, or a text remembered from
  // before) is refused at the run, never read as 0.
  void badStartNumberWritesNothing() {
    Touch("a.mpg");
    form_->ChooseFolder(folder_);
    Ui().templateButtons->button(0)->click();
    Click(Ui().numberingCheck);
    Click(Ui().startNumberCheck);
    const struct {
      const char* typed;
      const char* held;
    } rows[] = {
        {"1x2", "12"},  {"-1a2b", "12"}, {"abc", ""},    {"$1f", "$1f"}, {"0x1F", "0x1F"},
        {"+7", "+7"},   {"99999", "99999"}, {"1.5", "15"}, {" 2", " 2"},
    };
    for (const auto& row : rows) {
      Ui().startNumberEdit->clear();
      QTest::keyClicks(Ui().startNumberEdit, row.typed);
      QCOMPARE(Ui().startNumberEdit->text(), QString(row.held));
    }
    Ui().startNumberEdit->clear();
    Run();
    QCOMPARE(messages_.size(), 1);
    QCOMPARE(messages_[0].kind, Kind::kError);
    QCOMPARE(messages_[0].text, Q(u8"编号起始值必须是不小于 0 的整数：“”"));
    Ui().startNumberEdit->setText("1x2");  // as a remembered text may be
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
    Ui().templateButtons->button(0)->click();
    Click(Ui().numberingCheck);
    if (startOn) Click(Ui().startNumberCheck);
    QTest::keyClicks(Ui().startNumberEdit, start);
    if (!numbering) Click(Ui().numberingCheck);  // 编号始于 stays as it is, disabled
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
    QVERIFY(!Ui().patternEdit->isEnabled());
    QCOMPARE(Ui().patternEdit->placeholderText(), Q(u8"例：{歌名} - {歌手}"));
    Ui().templateButtons->button(5)->click();
    QVERIFY(Ui().patternEdit->isEnabled());
    Ui().patternEdit->setText(Q(u8"{编号}{歌手}"));
    QVERIFY(!Ui().patternError->isHidden());
    QCOMPARE(Ui().patternError->text(), Q(u8"命名格式中“{编号}{歌手}”两项之间没有分隔的文字"));
    Run();  // refused, nothing written
    QCOMPARE(messages_.size(), 1);
    QCOMPARE(messages_[0].kind, Kind::kError);
    QVERIFY(!Exists(Q(u8"0153_梁静茹_勇气[粤语].KSC")));
    messages_.clear();
    Ui().patternEdit->setText(Q(u8"{编号}_{歌手}_{歌名}"));
    QVERIFY(Ui().patternError->isHidden());
    Click(Ui().numberingCheck);
    Click(Ui().numberFromNameCheck);
    QVERIFY(!Ui().numberingCheck->isChecked());
    Run();
    QCOMPARE(messages_.size(), 1);
    QCOMPARE(messages_[0].kind, Kind::kInformation);
    const QString ksc = ReadKsc((folder_ + Q(u8"/0153_梁静茹_勇气[粤语].KSC")).toStdString());
    QVERIFY(ksc.contains(Q(u8"karaoke.internalnumber :=00153 ;\r\n")));
    QVERIFY(ksc.contains(Q(u8"karaoke.tag('歌手', '梁静茹');\r\n")));
    QVERIFY(ksc.contains(Q(u8"karaoke.tag('语种', '粤语');\r\n")));

    form_->close();
    form_ = NewForm();
    QCOMPARE(Ui().templateButtons->checkedId(), 5);
    QVERIFY(Ui().patternEdit->isEnabled());
    QCOMPARE(Ui().patternEdit->text(), Q(u8"{编号}_{歌手}_{歌名}"));
    QVERIFY(Ui().numberFromNameCheck->isChecked());
    Click(Ui().numberingCheck);
    QVERIFY(!Ui().numberFromNameCheck->isChecked());
    Ui().templateButtons->button(1)->click();
    QVERIFY(!Ui().patternEdit->isEnabled());
  }

  // A bad pattern's message belongs to 自定义: another template takes it
  // away and runs, and 自定义 chosen again says it again.
  void aBadPatternsMessageGoesWithAnotherTemplate() {
    Touch(Q(u8"梁静茹-勇气.mpg"));
    form_->ChooseFolder(folder_);
    Ui().templateButtons->button(5)->click();
    Ui().patternEdit->setText(Q(u8"{歌名}-{歌名}"));
    const QString said = Q(u8"命名格式中“{歌名}”出现了两次");
    QVERIFY(!Ui().patternError->isHidden());
    QCOMPARE(Ui().patternError->text(), said);
    Ui().templateButtons->button(1)->click();
    QVERIFY(Ui().patternError->isHidden());
    QCOMPARE(Ui().patternError->text(), QString());
    Run();  // template 1 reads the name; the pattern left in its box is no fault of it
    QCOMPARE(messages_.size(), 1);
    QCOMPARE(messages_[0].kind, Kind::kInformation);
    QVERIFY(ReadKsc((folder_ + Q(u8"/梁静茹-勇气.KSC")).toStdString())
                .contains(Q(u8"karaoke.tag('歌手', '梁静茹');\r\n")));
    Ui().templateButtons->button(5)->click();
    QVERIFY(!Ui().patternError->isHidden());
    QCOMPARE(Ui().patternError->text(), said);
  }

  void aChannelThatNamesNoneIsRefusedAndKeptForCorrection() {
    Click(Ui().uniformCheck);
    Ui().kindBox->setCurrentIndex(3);  // 歌曲声道
    Ui().valueBox->setEditText(Q(u8"伴唱"));
    Click(Ui().addUniformButton);
    QCOMPARE(messages_.size(), 1);
    QCOMPARE(messages_[0].kind, Kind::kError);
    QVERIFY(messages_[0].text.startsWith(Q(u8"歌曲声道的值“伴唱”无法识别")));
    QCOMPARE(Ui().valueBox->currentText(), Q(u8"伴唱"));
    QCOMPARE(Ui().uniformList->count(), 0);
    Ui().valueBox->setEditText(Q(u8"左声道"));
    Click(Ui().addUniformButton);
    QCOMPARE(Ui().uniformList->count(), 1);
    QCOMPARE(Ui().uniformList->item(0)->text(), Q(u8"歌曲声道 --> 左声道; "));
  }

  // The same rule as kscgen -u: a kind is one of the four, named in the
  // window's own words.
  void aKindThatNamesNoneIsRefusedInTheWindowsWords() {
    Click(Ui().uniformCheck);
    Ui().kindBox->setEditText(Q(u8"类型"));
    Ui().valueBox->setEditText(Q("y"));
    Click(Ui().addUniformButton);
    QCOMPARE(Ui().uniformList->count(), 0);
    QCOMPARE(messages_.size(), 1);
    QCOMPARE(messages_[0].kind, Kind::kError);
    QCOMPARE(messages_[0].text,
             Q(u8"统一设定值的种类应为歌 手 名（歌手）、歌曲类别（类别、风格）、歌曲语种（语种）"
               u8"或歌曲声道（声道）：类型=y"));
    QCOMPARE(Ui().kindBox->currentText(), Q(u8"类型"));  // kept for correction
    QCOMPARE(Ui().valueBox->currentText(), Q("y"));
    // A kind whose text holds a label counts as that kind, as in kscgen.
    Ui().kindBox->setEditText(Q(u8"新歌曲类别"));
    Ui().valueBox->setEditText(Q(u8"儿歌"));
    Click(Ui().addUniformButton);
    QCOMPARE(Ui().uniformList->count(), 1);
    // And so does the preview's name of the column.
    Ui().kindBox->setEditText(Q(u8"风格"));
    Ui().valueBox->setEditText(Q(u8"戏曲"));
    Click(Ui().addUniformButton);
    QCOMPARE(Ui().uniformList->count(), 2);
  }

  // A style the song manager does not know would be written as 流行 over
  // every song's own: refused, with the styles it knows.
  void aStyleThatNamesNoneIsRefusedAndKeptForCorrection() {
    Click(Ui().uniformCheck);
    Ui().kindBox->setCurrentIndex(1);  // 歌曲类别
    Ui().valueBox->setEditText(Q(u8"摇滚"));
    Click(Ui().addUniformButton);
    QCOMPARE(Ui().uniformList->count(), 0);
    QCOMPARE(messages_.size(), 1);
    QCOMPARE(messages_[0].kind, Kind::kError);
    QCOMPARE(messages_[0].text,
             Q(u8"歌曲类别的值“摇滚”不是歌曲管理器的类别：应为流行、舞曲、戏曲、民歌、儿歌、"
               u8"生日歌、革命歌、怀旧歌、迪斯科、情侣对唱、影视插曲之一，或含有其中的关键字"));
    QCOMPARE(Ui().valueBox->currentText(), Q(u8"摇滚"));
    // A language likewise, which would be written as 国语, as kscgen -u refuses it.
    Ui().kindBox->setCurrentIndex(2);  // 歌曲语种
    Ui().valueBox->setEditText(Q(u8"火星语"));
    Click(Ui().addUniformButton);
    QCOMPARE(Ui().uniformList->count(), 0);
    QCOMPARE(messages_.size(), 2);
    QCOMPARE(messages_[1].text,
             Q(u8"歌曲语种的值“火星语”不是歌曲管理器的语种：应为国语、粤语、台语、英语、日语、韩语、"
               u8"其它之一，或含有其中的关键字"));
    QCOMPARE(Ui().valueBox->currentText(), Q(u8"火星语"));
  }
};

QTEST_MAIN(OptionsTest)
#include "window_options_test.moc"
