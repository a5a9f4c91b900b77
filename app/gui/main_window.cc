#include "app/gui/main_window.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
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
#include <QSettings>
#include <QShortcut>
#include <QStyle>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextEdit>
#include <QTimer>
#include <QToolButton>
#include <QTranslator>

#include "app/engine/messages.h"
#include "app/engine/short_date.h"
#include "app/engine/start_number.h"
#include "app/gui/batch_runner.h"
#include "app/gui/folder_dialog.h"
#include "app/gui/native_path.h"
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

const char kRunCaption[] = u8" 批量KSC";
const char kStopCaption[] = u8" 停止";
const char kStopQuestion[] = u8"批量任务正在进行，要停止并退出吗？\n（正在写入的文件会写完）";

// The names the remembered options go by in the settings file.
namespace key {
const char kFolder[] = "folder";  // native bytes
const char kRecursive[] = "recursive";
const char kExtensions[] = "extensions";  // as typed: "mkv,mp4"
const char kFolderRole[] = "folderRole";
const char kTemplate[] = "template";  // -1: none chosen
const char kNumbering[] = "numbering";
const char kStartNumberOn[] = "startNumberOn";
const char kStartNumber[] = "startNumber";
const char kUniformOn[] = "uniform";
const char kUniformEntries[] = "uniformEntries";  // kind and value, GBK bytes
const char kKind[] = "kind";
const char kValue[] = "value";
}  // namespace key

// Each uniform entry keeps its GBK kind text and value beside the text shown.
constexpr int kKindRole = Qt::UserRole;
constexpr int kValueRole = Qt::UserRole + 1;

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
  // In every colour group: a disabled parent must not grey the note.
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

// The message box's own button texts in the window's language; Qt's would
// read "Show Details...".
class MessageBoxTexts : public QTranslator {
 public:
  using QTranslator::QTranslator;
  QString translate(const char* context, const char* source, const char*, int) const override {
    if (qstrcmp(context, "QMessageBox") != 0) return {};
    if (qstrcmp(source, "Show Details...") == 0) return QString::fromUtf8(u8"显示详细信息");
    if (qstrcmp(source, "Hide Details...") == 0) return QString::fromUtf8(u8"隐藏详细信息");
    return {};
  }
  bool isEmpty() const override { return false; }
};

void InstallMessageBoxTexts() {
  static MessageBoxTexts* texts = nullptr;
  if (texts || !qApp) return;
  texts = new MessageBoxTexts(qApp);
  QCoreApplication::installTranslator(texts);
}

QIcon RunIcon(const QWidget* w) { return w->style()->standardIcon(QStyle::SP_DialogOkButton); }

}  // namespace

MainWindow::MainWindow(const QString& settings_file, QWidget* parent)
    : QWidget(parent),
      videos_(new VideoListModel(this)),
      runner_(new BatchRunner(this)),
      settings_file_(settings_file) {
  setObjectName("MainWindow");
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
  InstallMessageBoxTexts();
  message_sink_ = [this](MessageKind kind, const QString& text, const QString& details) {
    std::unique_ptr<QMessageBox> box(MakeMessageBox(kind, text, details));
    return box->exec() == QMessageBox::Yes;
  };
  BuildControls();
  connect(runner_, &BatchRunner::progress, progressBar, &QProgressBar::setValue);
  connect(runner_, &BatchRunner::finished, this, &MainWindow::RunFinished);
  RestoreSettings();
}

MainWindow::~MainWindow() = default;

QString MainWindow::DefaultSettingsFile() {
  return QSettings(QSettings::IniFormat, QSettings::UserScope, "kscgen", "kscgen-gui").fileName();
}

QMessageBox* MainWindow::MakeMessageBox(MessageKind kind, const QString& text, const QString& details) {
  auto* box = new QMessageBox(this);
  box->setWindowTitle(windowTitle());
  box->setText(text);
  switch (kind) {
    case MessageKind::kError:
      box->setIcon(QMessageBox::Critical);
      break;
    case MessageKind::kInformation:
      box->setIcon(QMessageBox::Information);
      break;
    case MessageKind::kQuestion:
      box->setIcon(QMessageBox::Question);
      box->setStandardButtons(QMessageBox::Yes | QMessageBox::No);
      box->setDefaultButton(QMessageBox::No);
      break;
  }
  if (!details.isEmpty()) box->setDetailedText(details);
  return box;
}

void MainWindow::BuildControls() {
  instructions = Place("Memo1", new QTextEdit(this), 14, 8, 417, 65);
  instructions->setPlainText(QString::fromUtf8(kInstructions));
  instructions->setReadOnly(true);
  instructions->setLineWrapMode(QTextEdit::NoWrap);
  instructions->document()->setDocumentMargin(2);
  // Four lines fit the box with a Song face; CJK fallback faces run taller,
  // so the lines are held to a fixed height.
  QTextCursor all(instructions->document());
  all.select(QTextCursor::Document);
  QTextBlockFormat lines;
  lines.setLineHeight(14, QTextBlockFormat::FixedHeight);
  all.mergeBlockFormat(lines);

  folderLabel = Place("Label1", new QLabel(u8"1. 请选择歌曲所在目录：", this), 16, 82, 145, 17);
  folderEdit = Place("Edit3", new QLineEdit(this), 8, 99, 177, 21);
  browseButton = Place("SpeedButton1", new QToolButton(this), 192, 97, 19, 22);
  browseButton->setText("...");
  browseButton->setAutoRaise(true);
  recursiveCheck = Place("CheckBox4", new QCheckBox(u8"包含子目录", this), 8, 122, 100, 17);
  extensionsLabel = Place("ExtLabel", new QLabel(u8"其他后缀:", this), 108, 123, 54, 15);
  extensionsEdit = Place("ExtEdit", new QLineEdit(this), 162, 120, 51, 19);
  extensionsEdit->setPlaceholderText("mkv");
  extensionsEdit->setToolTip(u8"除 mpg、dat、wmv、rmvb、avi 外，另外列出这些后缀名的视频，"
                             u8"用逗号分开，如 mkv,mp4,vob,ts");

  videoList = Place("FileListBox1", new QListView(this), 7, 141, 206, 183);
  videoList->setModel(videos_);
  videoList->setSelectionMode(QAbstractItemView::ExtendedSelection);
  videoList->setUniformItemSizes(true);  // lays out 20,000 rows without measuring each
  videoList->setIconSize(QSize(16, 16));

  countLabel = Place("Label5", new QLabel(this), 10, 335, 191, 17);
  removeVideoButton = Place("SpeedButton2", new QToolButton(this), 141, 332, 52, 21);
  removeVideoButton->setText(u8"<< 移除");
  removeVideoButton->setAutoRaise(true);

  roleLabel =
      Place("Label3", new QLabel(u8"2. 目录名在增加歌库时的作用：", this), 222, 83, 183, 13);
  roleGroup =
      Place("RadioGroup2", RadioGroup(this, kFolderRoles, 2, &roleButtons), 224, 95, 205, 69);
  roleButtons->button(0)->setChecked(true);
  templateLabel = Place("Label2", new QLabel(u8"3. 选择模版：", this), 223, 170, 78, 12);
  templateHint =
      Place("Label4", NavyLabel(new QLabel(u8"( 即歌曲命名方式 )", this)), 298, 171, 108, 12);
  templateGroup =
      Place("RadioGroup1", RadioGroup(this, kTemplates, 1, &templateButtons), 224, 184, 211, 105);

  numberingCheck = Place("CheckBox2", new QCheckBox(u8"歌曲自动编号", this), 222, 310, 105, 17);
  startNumberCheck = Place("CheckBox3", new QCheckBox(u8"编号始于:", this), 321, 309, 81, 17);
  startNumberCheck->setToolTip(u8"如果不确定编号是否重号，请勿选择此项");
  startNumberCheck->setEnabled(false);
  startNumberEdit = Place("Edit4", new QLineEdit(this), 392, 305, 41, 21);
  startNumberEdit->setMaxLength(5);
  startNumberEdit->setToolTip(u8"如果不确定是否与原库编号重号，请不要更改");
  startNumberEdit->setEnabled(false);
  progressBar = Place("ProgressBar1", new QProgressBar(this), 225, 334, 208, 16);
  progressBar->setRange(0, 100);
  progressBar->setValue(0);
  progressBar->setTextVisible(false);

  uniformGroup =
      Place("GroupBox1", new QGroupBox(QString(13, QLatin1Char(' ')), this), 8, 362, 298, 117);
  uniformCheck = Place("CheckBox1", new QCheckBox(u8"统一设定值", this), 25, 360, 85, 17);
  uniformCheck->raise();  // sits over the group box's top edge as its caption
  uniformNote = Place("Label9", NavyLabel(new QLabel(u8"  注:统一设定值高于默认值", uniformGroup)),
                      126, 0, 162, 13);
  kindLabel = Place("Label6", new QLabel(u8"类别：", uniformGroup), 10, 28, 36, 12);
  kindBox = Place("ComboBox1", new QComboBox(uniformGroup), 47, 24, 80, 20);
  kindBox->setEditable(true);
  kindBox->setInsertPolicy(QComboBox::NoInsert);  // typed text never becomes an item
  for (int k = 0; k < kUniformKindCount; ++k) kindBox->addItem(FromGbk(UniformKindLabel(k)));
  kindBox->setCurrentIndex(-1);
  valueLabel = Place("Label7", new QLabel(u8"值：", uniformGroup), 136, 28, 36, 12);
  valueBox = Place("ComboBox2", new QComboBox(uniformGroup), 159, 24, 82, 21);
  valueBox->setEditable(true);
  valueBox->setInsertPolicy(QComboBox::NoInsert);
  addUniformButton = Place("SpeedButton3", new QToolButton(uniformGroup), 247, 24, 39, 23);
  addUniformButton->setText(u8"加入");
  addUniformButton->setAutoRaise(true);
  uniformListLabel = Place("Label8", new QLabel(u8"结果：", uniformGroup), 9, 52, 36, 12);
  uniformList = Place("ListBox1", new QListWidget(uniformGroup), 46, 48, 195, 59);
  removeUniformButton = Place("SpeedButton4", new QToolButton(uniformGroup), 247, 85, 42, 22);
  removeUniformButton->setText(u8"移除");
  removeUniformButton->setAutoRaise(true);

  previewButton = Place(
      "BitBtn2",
      new QPushButton(style()->standardIcon(QStyle::SP_FileDialogContentsView), u8"预览", this),
      332, 364, 87, 34);
  runButton = Place("BitBtn1", new QPushButton(RunIcon(this), kRunCaption, this), 331, 402, 87, 34);
  quitButton =
      Place("BitBtn3",
            new QPushButton(style()->standardIcon(QStyle::SP_DialogCloseButton), u8"退出", this),
            332, 441, 87, 34);

  initialsInput = new QLineEdit(this);
  initialsInput->setObjectName("Edit1");
  initialsInput->hide();
  initialsOutput = new QLineEdit("Edit2", this);
  initialsOutput->setObjectName("Edit2");
  initialsOutput->hide();

  // The group box stays enabled, its frame and note as at the first start;
  // its controls wait for uniformCheck.
  for (QWidget* w : UniformControls()) w->setEnabled(false);

  connect(browseButton, &QToolButton::clicked, this, &MainWindow::browseFolder);
  connect(videoList->selectionModel(), &QItemSelectionModel::currentChanged, this,
          &MainWindow::updateCount);
  connect(removeVideoButton, &QToolButton::clicked, this, &MainWindow::removeCurrentVideo);
  connect(recursiveCheck, &QCheckBox::clicked, this, &MainWindow::recursiveToggled);
  connect(uniformCheck, &QCheckBox::clicked, this, &MainWindow::uniformToggled);
  connect(numberingCheck, &QCheckBox::clicked, this, &MainWindow::numberingToggled);
  connect(startNumberCheck, &QCheckBox::clicked, this, &MainWindow::startNumberToggled);
  connect(kindBox, &QComboBox::currentTextChanged, this, &MainWindow::kindChanged);
  connect(addUniformButton, &QToolButton::clicked, this, &MainWindow::addUniformEntry);
  connect(valueBox->lineEdit(), &QLineEdit::returnPressed, this, &MainWindow::addUniformEntry);
  connect(removeUniformButton, &QToolButton::clicked, this, &MainWindow::removeUniformEntry);
  connect(initialsInput, &QLineEdit::textChanged, this, &MainWindow::initialsInputChanged);
  connect(folderEdit, &QLineEdit::editingFinished, this, &MainWindow::folderEditFinished);
  connect(extensionsEdit, &QLineEdit::editingFinished, this, &MainWindow::extensionsEditFinished);
  connect(runButton, &QPushButton::clicked, this, &MainWindow::runOrStop);
  connect(previewButton, &QPushButton::clicked, this, &MainWindow::preview);
  connect(quitButton, &QPushButton::clicked, this, &QWidget::close);

  auto* remove = new QShortcut(QKeySequence::Delete, videoList);
  remove->setContext(Qt::WidgetShortcut);
  connect(remove, &QShortcut::activated, this, &MainWindow::removeSelectedVideos);
  auto* reread = new QShortcut(QKeySequence(Qt::Key_F5), this);
  connect(reread, &QShortcut::activated, this, &MainWindow::rereadFolder);
  auto* stop = new QShortcut(QKeySequence(Qt::Key_Escape), this);
  connect(stop, &QShortcut::activated, this, &MainWindow::stopRun);
}

void MainWindow::ChooseFolder(const QString& path) {
  if (path.isEmpty()) {
    folderEdit->clear();
    return;
  }
  folderEdit->setText(path);
  ReadFolder(NativePathOfTyped(path), path);
}

void MainWindow::ChooseNativeFolder(const std::string& native) {
  if (native.empty()) {
    folderEdit->clear();
    return;
  }
  const QString shown = ShownPath(native);
  folderEdit->setText(shown);
  ReadFolder(native, shown);
}

bool MainWindow::ReadFolder(const std::string& native, const QString& shown) {
  QString error;
  std::vector<std::string> unreadable;
  const bool ok =
      videos_->ReadFolder(native, recursiveCheck->isChecked(), &error, &unreadable, extensions_);
  folder_native_ = native;
  folder_shown_ = shown;
  listed_recursive_ = recursiveCheck->isChecked();
  updateCount();
  if (!ok) {
    ShowMessage(MessageKind::kError, error);
  } else if (!unreadable.empty()) {
    // The folders that could be read are listed; these are not.
    const messages::Report report = messages::LinesReport(unreadable, 10);
    ShowMessage(MessageKind::kError, FromMessage(report.summary), FromMessage(report.details));
  }
  return ok;
}

void MainWindow::ListWorkingFolder() {
  QString ignored;
  std::vector<std::string> unreadable;
  folder_native_ = ToNative(QDir::currentPath());
  folder_shown_ = QString();
  videos_->ReadFolder(folder_native_, false, &ignored, &unreadable, extensions_);
  listed_recursive_ = false;
  updateCount();
}

bool MainWindow::FollowPathBox() {
  const QString typed = folderEdit->text();
  if (typed.isEmpty() || typed == folder_shown_) return true;
  return ReadFolder(NativePathOfTyped(typed), typed);
}

const std::vector<VideoFolder>& MainWindow::ListedFolders() const { return videos_->folders(); }

bool MainWindow::IsRunning() const { return runner_->IsRunning(); }

std::vector<UniformEntry> MainWindow::UniformEntries() const {
  std::vector<UniformEntry> entries;
  for (int i = 0; i < uniformList->count(); ++i) {
    const QListWidgetItem* item = uniformList->item(i);
    UniformEntry e;
    e.kind_text = item->data(kKindRole).toByteArray().toStdString();
    e.kind = UniformKindOf(e.kind_text);
    e.value = item->data(kValueRole).toByteArray().toStdString();
    entries.push_back(std::move(e));
  }
  return entries;
}

std::optional<BatchRequest> MainWindow::BuildRequest(bool dry_run, QString* error) const {
  BatchRequest r;
  if (int t = templateButtons->checkedId(); t >= 0)
    r.naming_template = static_cast<NamingTemplate>(t);
  r.folder_role = static_cast<FolderRole>(std::max(0, roleButtons->checkedId()));
  // Numbering only while both boxes say so.
  const QString start = startNumberEdit->text().trimmed();
  if (numberingCheck->isChecked() && startNumberCheck->isChecked() && !start.isEmpty()) {
    std::optional<std::int32_t> n = ParseStartNumber(start.toStdString());
    if (!n) {
      *error = FromMessage(messages::BadStartNumber(start.toStdString()));
      return std::nullopt;
    }
    r.start_number = *n;
  }
  if (uniformCheck->isChecked()) r.uniform = CollectUniformValues(UniformEntries());
  r.date_text = TodayShortDate();
  r.dry_run = dry_run;
  return r;
}

bool MainWindow::ShowMessage(MessageKind kind, const QString& text, const QString& details) {
  return message_sink_(kind, text, details);
}

std::string MainWindow::PathBoxFolder() const {
  const QString typed = folderEdit->text();
  if (typed.isEmpty()) return {};
  return typed == folder_shown_ ? folder_native_ : NativePathOfTyped(typed);
}

void MainWindow::browseFolder() {
  if (folder_dialog_) folder_dialog_->Browse(PathBoxFolder());
}

void MainWindow::updateCount() {
  countLabel->setText(u8"歌曲总数：　" + QString::number(videos_->rowCount()));
}

void MainWindow::removeCurrentVideo() {
  QModelIndex current = videoList->currentIndex();
  if (current.isValid()) videos_->Remove(current.row());
  updateCount();
}

void MainWindow::removeSelectedVideos() {
  std::vector<int> rows;
  for (const QModelIndex& i : videoList->selectionModel()->selectedIndexes()) {
    rows.push_back(i.row());
  }
  videos_->RemoveRows(std::move(rows));
  updateCount();
}

std::vector<QWidget*> MainWindow::UniformControls() const {
  return {kindBox,   valueBox,   uniformList,     addUniformButton, removeUniformButton,
          kindLabel, valueLabel, uniformListLabel};
}

void MainWindow::uniformToggled() {
  for (QWidget* w : UniformControls()) w->setEnabled(uniformCheck->isChecked());
}

void MainWindow::numberingToggled() {
  startNumberCheck->setEnabled(numberingCheck->isChecked());
  startNumberEdit->setEnabled(numberingCheck->isChecked());
}

void MainWindow::startNumberToggled() { startNumberEdit->setEnabled(startNumberCheck->isChecked()); }

void MainWindow::recursiveToggled() {
  if (!folderEdit->text().isEmpty()) rereadFolder();
}

void MainWindow::kindChanged() {
  // The typed value stays while the offered values follow the kind.
  const QString typed = valueBox->currentText();
  valueBox->clear();
  for (const std::string& v : UniformValuesOffered(kindBox->findText(kindBox->currentText()))) {
    valueBox->addItem(FromGbk(v));
  }
  valueBox->setCurrentIndex(-1);
  valueBox->setEditText(typed);
}

void MainWindow::addUniformEntry() {
  std::optional<std::string> kind = ToGbk(kindBox->currentText());
  std::optional<std::string> value = ToGbk(valueBox->currentText());
  if (!kind || !value) {
    // The KSC file is GBK: such a value could only reach it damaged.
    ShowMessage(MessageKind::kError, FromMessage(messages::NotInGbk(
                                         u8"统一设定值", valueBox->currentText().toStdString())));
    return;
  }
  UniformEntryParse parse = ParseUniformEntry(*kind, *value);
  if (parse.error == UniformEntryError::kBadChannel) {
    // The typed text stays, to be corrected.
    ShowMessage(MessageKind::kError,
                FromMessage(messages::BadChannel(valueBox->currentText().toStdString())));
    return;
  }
  if (parse.error == UniformEntryError::kNone) {
    auto* item = new QListWidgetItem(FromGbk(UniformEntryText(parse.entry)));
    item->setData(kKindRole, QByteArray::fromStdString(parse.entry.kind_text));
    item->setData(kValueRole, QByteArray::fromStdString(parse.entry.value));
    uniformList->addItem(item);
  }
  valueBox->setEditText(QString());
}

void MainWindow::removeUniformEntry() {
  QListWidgetItem* item = uniformList->currentItem();
  if (item && item->isSelected()) delete uniformList->takeItem(uniformList->row(item));
}

void MainWindow::initialsInputChanged() {
  initialsOutput->setText(
      FromGbk(HiddenPairInitials(ToGbk(initialsInput->text()).value_or(std::string()))));
}

void MainWindow::folderEditFinished() {
  // Only a changed path is read again: a re-read would undo 移除.
  if (!IsRunning()) FollowPathBox();
}

void MainWindow::extensionsEditFinished() {
  if (IsRunning()) return;
  VideoExtensionsParse parse = ParseVideoExtensions(extensionsEdit->text().toStdString());
  if (!parse.error.empty()) {
    extensionsEdit->setText(QString::fromStdString(VideoExtensionsText(extensions_)));
    ShowMessage(MessageKind::kError, FromMessage(parse.error));
    return;
  }
  extensionsEdit->setText(QString::fromStdString(VideoExtensionsText(parse.extensions)));
  if (parse.extensions == extensions_) return;
  extensions_ = std::move(parse.extensions);
  if (folder_shown_.isEmpty()) {
    ListWorkingFolder();
  } else {
    ReadFolder(folder_native_, folder_shown_);
  }
}

void MainWindow::rereadFolder() {
  if (IsRunning()) return;
  const QString typed = folderEdit->text();
  if (!typed.isEmpty() && typed != folder_shown_) {
    FollowPathBox();
  } else {
    ReadFolder(folder_native_, folder_shown_);
  }
}

void MainWindow::SetRunning(bool running) {
  if (running) {
    // Everything that could change the list, the folder or the options.
    held_.clear();
    for (QWidget* w : std::initializer_list<QWidget*>{
             folderEdit, browseButton, recursiveCheck, extensionsEdit, videoList,
             removeVideoButton, roleGroup,
             templateGroup, numberingCheck, startNumberCheck, startNumberEdit, uniformCheck,
             uniformGroup, previewButton}) {
      held_.emplace_back(w, !w->testAttribute(Qt::WA_ForceDisabled));
      w->setEnabled(false);
    }
    runButton->setText(kStopCaption);
    runButton->setIcon(style()->standardIcon(QStyle::SP_BrowserStop));
    setCursor(Qt::BusyCursor);
  } else {
    for (auto [w, enabled] : held_) w->setEnabled(enabled);
    held_.clear();
    runButton->setText(kRunCaption);
    runButton->setIcon(RunIcon(this));
    runButton->setEnabled(true);
    unsetCursor();
  }
}

void MainWindow::runOrStop() {
  if (IsRunning()) {
    stopRun();
    return;
  }
  if (!FollowPathBox()) return;
  QString error;
  std::optional<BatchRequest> request = BuildRequest(false, &error);
  if (!request) {
    ShowMessage(MessageKind::kError, error);
    return;
  }
  SaveSettings();
  progressBar->setValue(0);
  SetRunning(true);
  // The run takes copies: the list and the controls may change under it
  // no more than they can, which is not at all while it runs.
  close_after_run_ = false;
  runner_->Start(std::move(*request), ListedFolders());
}

void MainWindow::stopRun() {
  if (!IsRunning()) return;
  runner_->Stop();
  runButton->setEnabled(false);  // stopping; it comes back when the run has ended
}

void MainWindow::RunFinished(const BatchResult& result) {
  SetRunning(false);
  if (close_after_run_) {
    close_after_run_ = false;
    close();
    return;
  }
  if (result.status == BatchStatus::kDone) progressBar->setValue(100);
  messages::Report report = messages::BatchReport(result, 10);
  const bool failed = result.status != BatchStatus::kDone && result.status != BatchStatus::kStopped;
  ShowMessage(failed ? MessageKind::kError : MessageKind::kInformation, FromMessage(report.summary),
              FromMessage(report.details));
}

void MainWindow::preview() {
  if (!FollowPathBox()) return;
  QString error;
  std::optional<BatchRequest> request = BuildRequest(true, &error);
  if (!request) {
    ShowMessage(MessageKind::kError, error);
    return;
  }
  PreviewCollector rows;
  BatchResult result = RunBatch(*request, ListedFolders(), &rows);
  if (result.status != BatchStatus::kDone) {
    messages::Report report = messages::BatchReport(result, 10);
    ShowMessage(MessageKind::kError, FromMessage(report.summary), FromMessage(report.details));
    return;
  }
  PreviewDialog dialog(rows, listed_recursive_, this);
  dialog.exec();
}

void MainWindow::dragEnterEvent(QDragEnterEvent* event) {
  if (IsRunning()) return;  // refused: the run's folder stays
  const QList<QUrl> urls = event->mimeData()->urls();
  if (urls.size() == 1 && IsFolder(NativePathOfUrl(urls[0]))) event->acceptProposedAction();
}

void MainWindow::dropEvent(QDropEvent* event) {
  if (IsRunning()) {
    event->ignore();
    return;
  }
  const std::string native = NativePathOfUrl(event->mimeData()->urls().value(0));
  if (!IsFolder(native)) {
    event->ignore();
    return;
  }
  ChooseNativeFolder(native);
  event->acceptProposedAction();
}

void MainWindow::closeEvent(QCloseEvent* event) {
  if (IsRunning()) {
    event->ignore();
    if (!close_after_run_ &&
        ShowMessage(MessageKind::kQuestion, QString::fromUtf8(kStopQuestion))) {
      if (IsRunning()) {
        close_after_run_ = true;
        stopRun();
      } else {
        // The run ended while the question was open: nothing left to wait for.
        QTimer::singleShot(0, this, &QWidget::close);
      }
    }
    return;
  }
  SaveSettings();
  event->accept();
}

void MainWindow::SaveSettings() const {
  if (settings_file_.isEmpty()) return;
  QSettings s(settings_file_, QSettings::IniFormat);
  s.clear();
  s.setValue(key::kFolder, QByteArray::fromStdString(PathBoxFolder()));
  s.setValue(key::kRecursive, recursiveCheck->isChecked());
  s.setValue(key::kExtensions, QString::fromStdString(VideoExtensionsText(extensions_)));
  s.setValue(key::kFolderRole, roleButtons->checkedId());
  s.setValue(key::kTemplate, templateButtons->checkedId());
  s.setValue(key::kNumbering, numberingCheck->isChecked());
  s.setValue(key::kStartNumberOn, startNumberCheck->isChecked());
  s.setValue(key::kStartNumber, startNumberEdit->text());
  s.setValue(key::kUniformOn, uniformCheck->isChecked());
  s.beginWriteArray(key::kUniformEntries);
  for (int i = 0; i < uniformList->count(); ++i) {
    s.setArrayIndex(i);
    s.setValue(key::kKind, uniformList->item(i)->data(kKindRole).toByteArray());
    s.setValue(key::kValue, uniformList->item(i)->data(kValueRole).toByteArray());
  }
  s.endArray();
}

void MainWindow::RestoreSettings() {
  std::string folder;
  if (!settings_file_.isEmpty()) {
    QSettings s(settings_file_, QSettings::IniFormat);
    // A damaged file gives the first start; so does any value out of range,
    // each on its own.
    if (s.status() == QSettings::NoError) {
      auto number = [&](const char* name, int low, int high, int fallback) {
        bool ok = false;
        int n = s.value(name).toInt(&ok);
        return ok && n >= low && n <= high ? n : fallback;
      };
      auto flag = [&](const char* name) {
        const QVariant v = s.value(name);
        return v.typeId() == QMetaType::Bool ? v.toBool() : v.toString() == QLatin1String("true");
      };
      recursiveCheck->setChecked(flag(key::kRecursive));
      // Read as if typed again: a text the parser refuses gives the five alone.
      VideoExtensionsParse ext =
          ParseVideoExtensions(s.value(key::kExtensions).toString().toStdString());
      if (ext.error.empty()) extensions_ = std::move(ext.extensions);
      extensionsEdit->setText(QString::fromStdString(VideoExtensionsText(extensions_)));
      roleButtons->button(number(key::kFolderRole, 0, kFolderRoles.size() - 1, 0))
          ->setChecked(true);
      if (int t = number(key::kTemplate, 0, kTemplates.size() - 1, -1); t >= 0) {
        templateButtons->button(t)->setChecked(true);
      }
      numberingCheck->setChecked(flag(key::kNumbering));
      startNumberCheck->setChecked(flag(key::kStartNumberOn));
      startNumberEdit->setText(s.value(key::kStartNumber).toString());
      numberingToggled();
      if (numberingCheck->isChecked()) startNumberToggled();
      // Each entry is read as if typed again: what the parser refuses goes.
      const int entries = s.beginReadArray(key::kUniformEntries);
      for (int i = 0; i < entries; ++i) {
        s.setArrayIndex(i);
        UniformEntryParse parse =
            ParseUniformEntry(s.value(key::kKind).toByteArray().toStdString(),
                              s.value(key::kValue).toByteArray().toStdString());
        if (parse.error != UniformEntryError::kNone) continue;
        auto* item = new QListWidgetItem(FromGbk(UniformEntryText(parse.entry)));
        item->setData(kKindRole, QByteArray::fromStdString(parse.entry.kind_text));
        item->setData(kValueRole, QByteArray::fromStdString(parse.entry.value));
        uniformList->addItem(item);
      }
      s.endArray();
      uniformCheck->setChecked(flag(key::kUniformOn));
      uniformToggled();
      folder = s.value(key::kFolder).toByteArray().toStdString();
    }
  }
  // A remembered folder that is gone leaves the path empty, as at a first
  // start, when the list shows the working folder: only its own videos
  // (never a tree the user did not choose), and without a word should it
  // not be readable.
  if (IsFolder(folder)) {
    ChooseNativeFolder(folder);
  } else {
    ListWorkingFolder();
  }
}

}  // namespace kscgen::gui
