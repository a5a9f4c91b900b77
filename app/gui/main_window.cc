#include "app/gui/main_window.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QListWidget>
#include <QMessageBox>
#include <QMimeData>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextEdit>
#include <QToolButton>

#include "app/engine/messages.h"
#include "app/engine/short_date.h"
#include "app/engine/start_number.h"
#include "app/gui/folder_dialog.h"
#include "app/gui/preview_dialog.h"
#include "app/gui/qt_text.h"
#include "app/gui/video_list_model.h"
#include "tagging/pinyin.h"
#include "tagging/uniform_values.h"

namespace kscgen::gui {
namespace {

const QStringList kFolderRoles = {u8"无作用", u8"歌手名", u8"语种名", u8"类别名", u8"加入日期"};
const QStringList kTemplates = {u8"歌名", u8"歌手－歌名", u8"歌手－歌名(语种)",
                                u8"歌手－歌名(语种－类别)", u8"歌手－歌名(语种－类别－声道)"};

const char kInstructions[] =
    u8"使用本工具前，你必须已经将你的歌曲已经格式化命名，命名格式如下：\n"
    u8"　　　　　　　　歌手－歌名(语种－类别－声道) .后缀名\n"
    u8"当然，也可以将歌曲所在的目录名作为格式中的一项，系统会自动处理。\n"
    u8"缺省情况为：语种：国语，类别为：（空），声道为伴唱";

// Every control bears its designer's name and fixed place, so tests and
// tools find it by that name.
template <typename W>
W* Place(const char* name, W* w, int left, int top, int width, int height) {
  w->setObjectName(name);
  w->setGeometry(left, top, width, height);
  return w;
}

QLabel* NavyLabel(QLabel* label) {
  QPalette p = label->palette();
  p.setColor(QPalette::WindowText, QColor(0, 0, 128));
  label->setPalette(p);
  return label;
}

// A radio group: a frame of radio buttons, filled column by column.
QGroupBox* RadioGroup(QWidget* parent, const QStringList& items, int columns,
                      QButtonGroup** buttons) {
  auto* box = new QGroupBox(parent);
  auto* grid = new QGridLayout(box);
  grid->setContentsMargins(8, 4, 4, 4);
  grid->setVerticalSpacing(0);
  *buttons = new QButtonGroup(box);
  int rows = (static_cast<int>(items.size()) + columns - 1) / columns;
  for (int i = 0; i < items.size(); ++i) {
    auto* radio = new QRadioButton(items[i], box);
    grid->addWidget(radio, i % rows, i / rows);
    (*buttons)->addButton(radio, i);
  }
  return box;
}

// Keeps painting the progress bar while the batch holds the window's thread;
// input waits until the run ends.
class ProgressObserver : public BatchObserver {
 public:
  explicit ProgressObserver(QProgressBar* bar) : bar_(bar) {}
  void OnStart(std::size_t) override { Show(0); }
  void OnVideo(const VideoReport&, std::size_t done, std::size_t total) override {
    Show(static_cast<int>(done * 100 / total));
  }

 private:
  void Show(int percent) {
    if (percent == bar_->value()) return;
    bar_->setValue(percent);
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
  }
  QProgressBar* bar_;
};

}  // namespace

TForm1::TForm1(QWidget* parent) : QWidget(parent), videos_(new VideoListModel(this)) {
  setObjectName("TForm1");
  setWindowTitle(u8"霁川KSC文件批量生成器");
  setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                 Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                 Qt::WindowCloseButtonHint);
  setFixedSize(440, 498);
  move(490, 88);
  QFont font(u8"宋体");
  font.setPixelSize(12);
  setFont(font);
  setAcceptDrops(true);
  setStyleSheet("QCheckBox { spacing: 2px; }");  // room for "编号始于:" in its 81 pixels
  message_sink_ = [this](MessageKind kind, const QString& text) {
    if (kind == MessageKind::kError) {
      QMessageBox::critical(this, windowTitle(), text);
    } else {
      QMessageBox::information(this, windowTitle(), text);
    }
  };
  BuildControls();
  ReadFolder(QDir::currentPath());  // the working folder, until one is chosen
}

TForm1::~TForm1() = default;

void TForm1::BuildControls() {
  Memo1 = Place("Memo1", new QTextEdit(this), 14, 8, 417, 65);
  Memo1->setPlainText(QString::fromUtf8(kInstructions));
  Memo1->setReadOnly(true);
  Memo1->setLineWrapMode(QTextEdit::NoWrap);
  Memo1->document()->setDocumentMargin(2);
  // Four lines fit the box with a Song face; CJK fallback faces run taller,
  // so the lines are held to a fixed height.
  QTextCursor all(Memo1->document());
  all.select(QTextCursor::Document);
  QTextBlockFormat lines;
  lines.setLineHeight(14, QTextBlockFormat::FixedHeight);
  all.mergeBlockFormat(lines);

  Label1 = Place("Label1", new QLabel(u8"1. 请选择歌曲所在目录：", this), 16, 82, 145, 17);
  Edit3 = Place("Edit3", new QLineEdit(this), 8, 99, 177, 21);
  SpeedButton1 = Place("SpeedButton1", new QToolButton(this), 192, 97, 19, 22);
  SpeedButton1->setText("...");
  SpeedButton1->setAutoRaise(true);

  FileListBox1 = Place("FileListBox1", new QListView(this), 7, 123, 206, 201);
  FileListBox1->setModel(videos_);
  FileListBox1->setSelectionMode(QAbstractItemView::ExtendedSelection);
  FileListBox1->setUniformItemSizes(true);  // lays out 20,000 rows without measuring each
  FileListBox1->setIconSize(QSize(16, 16));

  Label5 = Place("Label5", new QLabel(this), 10, 335, 191, 17);
  SpeedButton2 = Place("SpeedButton2", new QToolButton(this), 141, 332, 52, 21);
  SpeedButton2->setText(u8"<< 移除");
  SpeedButton2->setAutoRaise(true);

  Label3 = Place("Label3", new QLabel(u8"2. 目录名在增加歌库时的作用：", this), 222, 83, 183, 13);
  RadioGroup2 = Place("RadioGroup2", RadioGroup(this, kFolderRoles, 2, &RadioGroup2Buttons), 224,
                      95, 205, 69);
  RadioGroup2Buttons->button(0)->setChecked(true);
  Label2 = Place("Label2", new QLabel(u8"3. 选择模版：", this), 223, 170, 78, 12);
  Label4 = Place("Label4", NavyLabel(new QLabel(u8"( 即歌曲命名方式 )", this)), 298, 171, 108, 12);
  RadioGroup1 = Place("RadioGroup1", RadioGroup(this, kTemplates, 1, &RadioGroup1Buttons), 224, 184,
                      211, 105);

  CheckBox2 = Place("CheckBox2", new QCheckBox(u8"歌曲自动编号", this), 222, 310, 105, 17);
  CheckBox3 = Place("CheckBox3", new QCheckBox(u8"编号始于:", this), 321, 309, 81, 17);
  CheckBox3->setToolTip(u8"如果不确定编号是否重号，请勿选择此项");
  CheckBox3->setEnabled(false);
  Edit4 = Place("Edit4", new QLineEdit(this), 392, 305, 41, 21);
  Edit4->setMaxLength(5);
  Edit4->setToolTip(u8"如果不确定是否与原库编号重号，请不要更改");
  Edit4->setEnabled(false);
  ProgressBar1 = Place("ProgressBar1", new QProgressBar(this), 225, 334, 208, 16);
  ProgressBar1->setRange(0, 100);
  ProgressBar1->setValue(0);
  ProgressBar1->setTextVisible(false);

  GroupBox1 =
      Place("GroupBox1", new QGroupBox(QString(13, QLatin1Char(' ')), this), 8, 362, 298, 117);
  CheckBox1 = Place("CheckBox1", new QCheckBox(u8"统一设定值", this), 25, 360, 85, 17);
  CheckBox1->raise();  // sits over the group box's top edge as its caption
  Label9 = Place("Label9", NavyLabel(new QLabel(u8"  注:统一设定值高于默认值", GroupBox1)), 126, 0,
                 162, 13);
  Label6 = Place("Label6", new QLabel(u8"类别：", GroupBox1), 10, 28, 36, 12);
  ComboBox1 = Place("ComboBox1", new QComboBox(GroupBox1), 47, 24, 80, 20);
  ComboBox1->setEditable(true);
  for (int k = 0; k < kUniformKindCount; ++k) ComboBox1->addItem(FromGbk(UniformKindLabel(k)));
  ComboBox1->setCurrentIndex(-1);
  Label7 = Place("Label7", new QLabel(u8"值：", GroupBox1), 136, 28, 36, 12);
  ComboBox2 = Place("ComboBox2", new QComboBox(GroupBox1), 159, 24, 82, 21);
  ComboBox2->setEditable(true);
  SpeedButton3 = Place("SpeedButton3", new QToolButton(GroupBox1), 247, 24, 39, 23);
  SpeedButton3->setText(u8"加入");
  SpeedButton3->setAutoRaise(true);
  Label8 = Place("Label8", new QLabel(u8"结果：", GroupBox1), 9, 52, 36, 12);
  ListBox1 = Place("ListBox1", new QListWidget(GroupBox1), 46, 48, 195, 59);
  SpeedButton4 = Place("SpeedButton4", new QToolButton(GroupBox1), 247, 85, 42, 22);
  SpeedButton4->setText(u8"移除");
  SpeedButton4->setAutoRaise(true);

  BitBtn2 = Place(
      "BitBtn2",
      new QPushButton(style()->standardIcon(QStyle::SP_FileDialogContentsView), u8"预览", this),
      332, 364, 87, 34);
  BitBtn1 =
      Place("BitBtn1",
            new QPushButton(style()->standardIcon(QStyle::SP_DialogOkButton), u8" 批量KSC", this),
            331, 402, 87, 34);
  BitBtn3 =
      Place("BitBtn3",
            new QPushButton(style()->standardIcon(QStyle::SP_DialogCloseButton), u8"退出", this),
            332, 441, 87, 34);

  Edit1 = new QLineEdit(this);
  Edit1->setObjectName("Edit1");
  Edit1->hide();
  Edit2 = new QLineEdit("Edit2", this);
  Edit2->setObjectName("Edit2");
  Edit2->hide();

  // The group box itself starts enabled; its controls wait for CheckBox1.
  for (QWidget* w : UniformControls()) w->setEnabled(w == GroupBox1);

  connect(SpeedButton1, &QToolButton::clicked, this, &TForm1::SpeedButton1Click);
  connect(FileListBox1->selectionModel(), &QItemSelectionModel::currentChanged, this,
          &TForm1::FileListBox1Change);
  connect(SpeedButton2, &QToolButton::clicked, this, &TForm1::SpeedButton2Click);
  connect(CheckBox1, &QCheckBox::clicked, this, &TForm1::CheckBox1Click);
  connect(CheckBox2, &QCheckBox::clicked, this, &TForm1::CheckBox2Click);
  connect(CheckBox3, &QCheckBox::clicked, this, &TForm1::CheckBox3Click);
  connect(ComboBox1, &QComboBox::currentTextChanged, this, &TForm1::ComboBox1Change);
  connect(SpeedButton3, &QToolButton::clicked, this, &TForm1::SpeedButton3Click);
  connect(SpeedButton4, &QToolButton::clicked, this, &TForm1::SpeedButton4Click);
  connect(Edit1, &QLineEdit::textChanged, this, &TForm1::Edit1Change);
  connect(Edit3, &QLineEdit::editingFinished, this, &TForm1::Edit3EditingFinished);
  connect(BitBtn1, &QPushButton::clicked, this, &TForm1::BitBtn1Click);
  connect(BitBtn2, &QPushButton::clicked, this, &TForm1::BitBtn2Click);
  connect(BitBtn3, &QPushButton::clicked, this, &QWidget::close);
}

void TForm1::ChooseFolder(const QString& path) {
  Edit3->setText(path);
  if (!path.isEmpty()) ReadFolder(path);
}

void TForm1::ReadFolder(const QString& path) {
  QString error;
  if (!videos_->ReadFolder(ToNative(path), false, &error)) ShowMessage(MessageKind::kError, error);
  FileListBox1Change();
}

const std::vector<VideoFolder>& TForm1::ListedFolders() const { return videos_->folders(); }

// Each uniform entry keeps its GBK kind text and value beside the text shown.
constexpr int kKindRole = Qt::UserRole;
constexpr int kValueRole = Qt::UserRole + 1;

std::vector<UniformEntry> TForm1::UniformEntries() const {
  std::vector<UniformEntry> entries;
  for (int i = 0; i < ListBox1->count(); ++i) {
    const QListWidgetItem* item = ListBox1->item(i);
    UniformEntry e;
    e.kind_text = item->data(kKindRole).toByteArray().toStdString();
    e.kind = UniformKindOf(e.kind_text);
    e.value = item->data(kValueRole).toByteArray().toStdString();
    entries.push_back(std::move(e));
  }
  return entries;
}

std::optional<BatchRequest> TForm1::BuildRequest(bool dry_run, QString* error) const {
  BatchRequest r;
  if (int t = RadioGroup1Buttons->checkedId(); t >= 0)
    r.naming_template = static_cast<NamingTemplate>(t);
  r.folder_role = static_cast<FolderRole>(std::max(0, RadioGroup2Buttons->checkedId()));
  // Numbering only while both boxes say so.
  const QString start = Edit4->text().trimmed();
  if (CheckBox2->isChecked() && CheckBox3->isChecked() && !start.isEmpty()) {
    std::optional<std::int32_t> n = ParseStartNumber(start.toStdString());
    if (!n) {
      *error = FromMessage(messages::BadStartNumber(start.toStdString()));
      return std::nullopt;
    }
    r.start_number = *n;
  }
  if (CheckBox1->isChecked()) r.uniform = CollectUniformValues(UniformEntries());
  r.date_text = TodayShortDate();
  r.dry_run = dry_run;
  return r;
}

void TForm1::ShowMessage(MessageKind kind, const QString& text) { message_sink_(kind, text); }

void TForm1::SpeedButton1Click() {
  if (folder_dialog_) folder_dialog_->Browse(Edit3->text());
}

void TForm1::FileListBox1Change() {
  Label5->setText(u8"歌曲总数：　" + QString::number(videos_->rowCount()));
}

void TForm1::SpeedButton2Click() {
  QModelIndex current = FileListBox1->currentIndex();
  if (current.isValid()) videos_->Remove(current.row());
  FileListBox1Change();
}

std::vector<QWidget*> TForm1::UniformControls() const {
  return {GroupBox1,    ComboBox1, ComboBox2, ListBox1, SpeedButton3,
          SpeedButton4, Label6,    Label7,    Label8};
}

void TForm1::CheckBox1Click() {
  for (QWidget* w : UniformControls()) w->setEnabled(CheckBox1->isChecked());
}

void TForm1::CheckBox2Click() {
  CheckBox3->setEnabled(CheckBox2->isChecked());
  Edit4->setEnabled(CheckBox2->isChecked());
}

void TForm1::CheckBox3Click() { Edit4->setEnabled(CheckBox3->isChecked()); }

void TForm1::ComboBox1Change() {
  // The typed value stays while the offered values follow the kind.
  const QString typed = ComboBox2->currentText();
  ComboBox2->clear();
  for (const std::string& v : UniformValuesOffered(ComboBox1->findText(ComboBox1->currentText()))) {
    ComboBox2->addItem(FromGbk(v));
  }
  ComboBox2->setCurrentIndex(-1);
  ComboBox2->setEditText(typed);
}

void TForm1::SpeedButton3Click() {
  std::optional<std::string> kind = ToGbk(ComboBox1->currentText());
  std::optional<std::string> value = ToGbk(ComboBox2->currentText());
  if (!kind || !value) {
    // The KSC file is GBK: such a value could only reach it damaged.
    ShowMessage(MessageKind::kError, FromMessage(messages::NotInGbk(
                                         u8"统一设定值", ComboBox2->currentText().toStdString())));
    return;
  }
  UniformEntryParse parse = ParseUniformEntry(*kind, *value);
  if (parse.error == UniformEntryError::kBadChannel) {
    // The typed text stays, to be corrected.
    ShowMessage(MessageKind::kError,
                FromMessage(messages::BadChannel(ComboBox2->currentText().toStdString())));
    return;
  }
  if (parse.error == UniformEntryError::kNone) {
    auto* item = new QListWidgetItem(FromGbk(UniformEntryText(parse.entry)));
    item->setData(kKindRole, QByteArray::fromStdString(parse.entry.kind_text));
    item->setData(kValueRole, QByteArray::fromStdString(parse.entry.value));
    ListBox1->addItem(item);
  }
  ComboBox2->setEditText(QString());
}

void TForm1::SpeedButton4Click() {
  QListWidgetItem* item = ListBox1->currentItem();
  if (item && item->isSelected()) delete ListBox1->takeItem(ListBox1->row(item));
}

void TForm1::Edit1Change() {
  Edit2->setText(FromGbk(HiddenPairInitials(ToGbk(Edit1->text()).value_or(std::string()))));
}

void TForm1::Edit3EditingFinished() {
  // The list and the folder the KSC files go to must not silently disagree.
  if (!Edit3->text().isEmpty() && QFileInfo(Edit3->text()).isDir()) ReadFolder(Edit3->text());
}

bool TForm1::ReportFailure(const BatchResult& result) {
  if (result.status == BatchStatus::kDone) return false;
  ShowMessage(MessageKind::kError, FromMessage(messages::BatchReport(result, 10).summary));
  return true;
}

void TForm1::BitBtn1Click() {
  QString error;
  std::optional<BatchRequest> request = BuildRequest(false, &error);
  if (!request) {
    ShowMessage(MessageKind::kError, error);
    return;
  }
  ProgressObserver progress(ProgressBar1);
  BatchResult result = RunBatch(*request, ListedFolders(), &progress);
  if (ReportFailure(result)) return;
  ProgressBar1->setValue(100);
  ShowMessage(MessageKind::kInformation, FromMessage(messages::BatchReport(result, 10).summary));
}

void TForm1::BitBtn2Click() {
  QString error;
  std::optional<BatchRequest> request = BuildRequest(true, &error);
  if (!request) {
    ShowMessage(MessageKind::kError, error);
    return;
  }
  PreviewCollector rows;
  BatchResult result = RunBatch(*request, ListedFolders(), &rows);
  if (ReportFailure(result)) return;
  PreviewDialog dialog(rows, ListedFolders().size() > 1, this);
  dialog.exec();
}

void TForm1::dragEnterEvent(QDragEnterEvent* event) {
  const QList<QUrl> urls = event->mimeData()->urls();
  if (urls.size() == 1 && urls[0].isLocalFile() && QFileInfo(urls[0].toLocalFile()).isDir()) {
    event->acceptProposedAction();
  }
}

void TForm1::dropEvent(QDropEvent* event) {
  ChooseFolder(event->mimeData()->urls().value(0).toLocalFile());
  event->acceptProposedAction();
}

}  // namespace kscgen::gui
