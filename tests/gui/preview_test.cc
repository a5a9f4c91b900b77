// The preview, offscreen: what it shows is what the batch then writes, its
// notes and their filter, and the template check before it opens.
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
#include "app/engine/preview.h"
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

class PreviewTest : public kscgen::testing::WindowTest {
  Q_OBJECT

 private slots:
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
    Ui().templateButtons->button(4)->click();
    Click(Ui().numberingCheck);
    Click(Ui().startNumberCheck);
    QTest::keyClicks(Ui().startNumberEdit, "7");

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
        remarks << table->item(r, static_cast<int>(kscgen::NotesColumn(false)))->text();
      }
      // a.dat is superseded by a.mpg and takes no number: 7 + 1, 2, 3.
      QCOMPARE(table->item(0, 2)->text(), QString());
      QCOMPARE(table->item(4, 2)->text(), Q("00010"));
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

  void previewCountsAndShowsOnlyTheRowsWithNotes() {
    Touch(Q(u8"周杰伦-七里香-国语-流行.mpg"));
    Touch(Q(u8"小河水.mpg"));
    Touch(Q(u8"x－(国语).mpg"));
    Touch(Q(u8"合唱团－小河水(国语－流行－9).mpg"));
    form_->ChooseFolder(folder_);
    Ui().templateButtons->button(4)->click();
    Preview([&](kscgen::gui::PreviewDialog* dialog) {
      QTableWidget* table = dialog->table();
      QCOMPARE(dialog->windowTitle(), Q(u8"预览（3 行有备注）"));
      // Rows in list order: x, 合, 小, 周 (GBK order).
      const int notes = static_cast<int>(kscgen::NotesColumn(false));
      QCOMPARE(table->item(0, notes)->text(), Q(u8"没有歌名"));
      QCOMPARE(table->item(1, notes)->text(), Q(u8"声道“9”无法识别，按 0"));
      QCOMPARE(table->item(2, notes)->text(), Q(u8"歌手与歌名之间没有分隔符“－”或“-”"));
      QCOMPARE(table->item(3, notes)->text(), QString());
      QCOMPARE(table->item(3, 3)->text(), Q(u8"七里香"));

      QCheckBox* only = dialog->notesOnly();
      QCOMPARE(only->text(), Q(u8"只看有备注的(&B)"));  // Alt+B
      QVERIFY(only->isEnabled());
      table->selectRow(3);
      QVERIFY(dialog->kscText()->toPlainText().contains(Q(u8"karaoke.tag('歌名', '七里香');")));
      Click(only);
      for (int r = 0; r < 3; ++r) QVERIFY(!table->isRowHidden(r));
      QVERIFY(table->isRowHidden(3));
      // The row shown below is one of those left.
      QCOMPARE(table->currentRow(), 0);
      QVERIFY(dialog->kscText()->toPlainText().contains(Q(u8"karaoke.tag('歌手', 'x');")));
      Click(only);
      QVERIFY(!table->isRowHidden(3));
    });
    // A folder whose names all fit has nothing to filter.
    QFile::remove(folder_ + Q(u8"/小河水.mpg"));
    QFile::remove(folder_ + Q(u8"/x－(国语).mpg"));
    QFile::remove(folder_ + Q(u8"/合唱团－小河水(国语－流行－9).mpg"));
    form_->ChooseFolder(folder_);
    Preview([&](kscgen::gui::PreviewDialog* dialog) {
      QCOMPARE(dialog->windowTitle(), Q(u8"预览（0 行有备注）"));
      QVERIFY(!dialog->notesOnly()->isEnabled());
    });
  }

  // A lyric file's lines are in the text the preview shows; the rows the
  // run would not write can be hidden; replacing hand edits is asked first.
  void previewShowsTheLinesAFileKeepsAndOnlyTheRowsThatChange() {
    Touch("a.mpg");
    Touch("b.mpg");
    form_->ChooseFolder(folder_);
    Ui().templateButtons->button(0)->click();
    Run();
    QCOMPARE(messages_.size(), 1);
    const QString lyric = Q(u8"karaoke.add('00:01.000', '00:02.000', '我', '1000');");
    {
      QFile a(folder_ + "/a.KSC");
      QVERIFY(a.open(QIODevice::Append));
      a.write(kscgen::text::Utf8ToGbk((lyric + "\r\n").toStdString())->c_str());
    }
    const QString edited = ReadKsc((folder_ + "/b.KSC").toStdString())
                               .replace(Q(u8"'风格', '流行'"), Q(u8"'风格', '怀旧歌'"));
    {
      QFile file(folder_ + "/b.KSC");
      QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
      file.write(kscgen::text::Utf8ToGbk(edited.toStdString())->c_str());
    }
    Touch("c.mpg");
    form_->ChooseFolder(folder_);
    Preview([&](kscgen::gui::PreviewDialog* dialog) {
      QTableWidget* table = dialog->table();
      const int notes = static_cast<int>(kscgen::NotesColumn(false));
      QCOMPARE(table->item(1, notes)->text(), Q(u8"风格“怀旧歌”为手工修改，已保留"));
      table->selectRow(0);
      QVERIFY(dialog->kscText()->toPlainText().endsWith(lyric + "\n"));
      QCheckBox* changes = dialog->changesOnly();
      QCOMPARE(changes->text(), Q(u8"只看有变化的(&G)"));
      QVERIFY(changes->isEnabled());
      Click(changes);
      QVERIFY(table->isRowHidden(0));  // a.KSC and b.KSC hold what they should
      QVERIFY(table->isRowHidden(1));
      QVERIFY(!table->isRowHidden(2));  // c.KSC is new
    });
    Ui().replaceEditsCheck->setChecked(true);
    Preview([&](kscgen::gui::PreviewDialog* dialog) {
      const int notes = static_cast<int>(kscgen::NotesColumn(false));
      QCOMPARE(dialog->table()->item(1, notes)->text(), Q(u8"风格：怀旧歌→流行"));
    });
    QStringList asked;
    bool answer = false;
    form_->setConfirmer([&](const QString& question) {
      asked << question;
      return answer;
    });
    Run();
    QCOMPARE(asked.size(), 1);
    QVERIFY(asked[0].contains(Q(u8"替换手工修改")));
    QCOMPARE(ReadKsc((folder_ + "/b.KSC").toStdString()), edited);  // no: nothing written
    answer = true;
    Run();
    QVERIFY(ReadKsc((folder_ + "/b.KSC").toStdString()).contains(Q(u8"'风格', '流行'")));
    QVERIFY(ReadKsc((folder_ + "/a.KSC").toStdString()).contains(lyric));
  }

  void previewChecksTheTemplateAndShowsAnEmptyList() {
    form_->ChooseFolder(folder_);
    Click(Ui().previewButton);
    QCOMPARE(messages_.size(), 1);
    QCOMPARE(messages_[0].text, Q(u8"\n　请选择歌曲命名模板！ "));
    Ui().templateButtons->button(0)->click();
    Preview([](kscgen::gui::PreviewDialog* dialog) { QCOMPARE(dialog->table()->rowCount(), 0); });
  }
};

QTEST_MAIN(PreviewTest)
#include "preview_test.moc"
