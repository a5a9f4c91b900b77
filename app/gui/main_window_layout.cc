// The main window's controls: layouts rather than pixels, so that the window
// can be resized and reads the same at any scale. Where each group goes, in
// two columns or three, is main_window_arrange.cc's.
// The groups, top down and left to right: the instructions; the folder and
// its videos; the folder role, the template, numbering and progress; the
// uniform values; the buttons. Each control's object name is its member's.
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QShortcut>
#include <QStyle>
#include <QStyleOptionGroupBox>
#include <QStyledItemDelegate>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextEdit>
#include <QToolButton>
#include <QVBoxLayout>
#include <utility>

#include "app/gui/main_window.h"

#include "app/engine/messages.h"
#include "app/gui/layout_blocks.h"
#include "app/gui/qt_text.h"
#include "app/gui/screen_fit.h"
#include "app/gui/video_list_model.h"
#include "tagging/uniform_values.h"

namespace kscgen::gui {
namespace {

// Every song gets 国语, 流行 and channel 0 (伴唱) unless its name, its folder or
// a uniform value says otherwise.
const char kInstructions[] =
    u8"使用本工具前，你必须已经将你的歌曲已经格式化命名，命名格式如下：\n"
    u8"　　　　　　　　歌手－歌名(语种－类别－声道) .后缀名\n"
    u8"当然，也可以将歌曲所在的目录名作为格式中的一项，系统会自动处理。\n"
    u8"缺省情况为：语种：国语，类别为：流行，声道为伴唱";

constexpr int kInstructionLineHeight = 14;

const char kExtensionsPlaceholder[] = "mkv,mp4";

}  // namespace

void MainWindow::BuildControls() {
  BuildInstructions();
  BuildFolderColumn();
  BuildChoiceColumn();
  BuildNumberingColumn();
  BuildUniformGroup();
  BuildButtonColumn();
  // The group box stays enabled, its frame and note as at the first start;
  // its controls wait for uniformCheck.
  for (QWidget* w : UniformControls()) w->setEnabled(false);

  grid_ = new QGridLayout(this);
  grid_->setContentsMargins(8, 8, 8, 8);
  grid_->setHorizontalSpacing(6);
  grid_->setVerticalSpacing(6);
  for (QWidget* w : {static_cast<QWidget*>(instructions), folder_column_, choice_column_,
                     numbering_column_, static_cast<QWidget*>(uniformGroup), button_column_}) {
    grid_->addWidget(w, 0, 0);
  }
  FitToFont();
  Arrange(false);
}

// The instructions above everything.
void MainWindow::BuildInstructions() {
  instructions = Named("instructions", new QTextEdit);
  instructions->setPlainText(QString::fromUtf8(kInstructions));
  instructions->setReadOnly(true);
  instructions->setLineWrapMode(QTextEdit::NoWrap);
  instructions->document()->setDocumentMargin(2);
  // Four lines with a Song face; CJK fallback faces run taller, so the lines
  // are held to a fixed height, and the box to four of them.
  QTextCursor all(instructions->document());
  all.select(QTextCursor::Document);
  QTextBlockFormat lines;
  lines.setLineHeight(kInstructionLineHeight, QTextBlockFormat::FixedHeight);
  all.mergeBlockFormat(lines);
  instructions->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  instructions->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
}

// 1. The folder and its videos.
void MainWindow::BuildFolderColumn() {
  // Alt+D goes to the path box, as in a file manager's address bar; Enter
  // or the space bar on "..." browses.
  folderLabel = Named("folderLabel", new QLabel(u8"1. 请选择歌曲所在目录(&D)："));
  folderEdit = Named("folderEdit", new QLineEdit);
  browseButton = Named("browseButton", new QToolButton);
  browseButton->setText("...");
  browseButton->setAutoRaise(true);
  folderLabel->setBuddy(folderEdit);
  // Each check box has its letter, as the buttons have: R as kscgen -R.
  recursiveCheck = Named("recursiveCheck", new QCheckBox(u8"包含子目录(&R)"));
  extensionsLabel = Named("extensionsLabel", new QLabel(u8"后缀:"));
  extensionsEdit = Named("extensionsEdit", new QLineEdit);
  extensionsEdit->setPlaceholderText(kExtensionsPlaceholder);
  // It takes what the row leaves, so that it never widens the column.
  extensionsEdit->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
  extensionsEdit->setToolTip(
      u8"除 mpg、dat、wmv、rmvb、avi 外，另外列出这些后缀名的视频，"
      u8"用逗号分开，如 mkv,mp4,vob,ts");
  videoList = Named("videoList", new QListView);
  videoList->setModel(videos_);
  videoList->setSelectionMode(QAbstractItemView::ExtendedSelection);
  videoList->setUniformItemSizes(true);  // lays out 20,000 rows without measuring each
  videoList->setIconSize(QSize(16, 16));
  videoList->setItemDelegate(new ViewWideNames(videoList));
  videoList->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  countLabel = Named("countLabel", new QLabel);
  WrapInColumn(countLabel);
  removeVideoButton = Named("removeVideoButton", new QToolButton);
  removeVideoButton->setText(u8"<< 移除");
  removeVideoButton->setAutoRaise(true);
  // The run's progress under the videos it goes through.
  progressBar = Named("progressBar", new QProgressBar);
  progressBar->setTextVisible(false);
  progressBar->setAlignment(Qt::AlignCenter);
  recursive_row_ = Row({recursiveCheck, extensionsLabel, extensionsEdit});
  extensions_row_ = Row({});  // 后缀 on a row of its own, in three columns
  folder_column_ = Column({folderLabel, Row({folderEdit, browseButton}), recursive_row_,
                           extensions_row_, videoList, progressBar,
                           Row({countLabel, removeVideoButton})});
}

// 2. and 3. What the folder's name stands for, and the naming template or
// the user's own pattern.
void MainWindow::BuildChoiceColumn() {
  roleLabel = Named("roleLabel", new QLabel(u8"2. 目录名在增加歌库时的作用："));
  roleGroup = RadioGroup("roleGroup", Labels(messages::kFolderRoleLabels), 3, &roleButtons);
  roleButtons->button(0)->setChecked(true);
  TabToCheckedButton(roleButtons);
  templateLabel = Named("templateLabel", new QLabel(u8"3. 选择模版："));
  templateHint = Named("templateHint", NavyLabel(new QLabel(u8"( 即歌曲命名方式 )")));
  templateGroup = RadioGroup("templateGroup", Labels(messages::kTemplateLabels), 1,
                             &templateButtons);
  templateButtons->button(kTemplateAuto)
      ->setToolTip(
          u8"名称写法不一（如视频网站的视频）时选用：名称中各项不论先后都按其含义读取，\n"
          u8"歌手与歌名的先后按歌库中已有的歌手判断，每个判断都在预览的备注中说明");
  TabToCheckedButton(templateButtons);
  patternEdit = Named("patternEdit", new QLineEdit);
  patternEdit->setPlaceholderText(u8"例：{歌名} - {歌手}");
  patternEdit->setToolTip(
      u8"自定义命名格式：{歌手} {歌名} {语种} {类别} {声道} {编号}，{*} 跳过任意文字，\n"
      u8"其间写上名称中的分隔文字，如 {编号}_{歌手}_{歌名}、{歌手}《{歌名}》");
  patternEdit->setEnabled(false);
  patternError = Named("patternError", new QLabel);
  WrapInColumn(patternError);
  patternError->setStyleSheet("color: #b00000");
  patternError->hide();
  QHBoxLayout* template_row = Row({templateLabel, templateHint}, true);
  choice_column_ = Column(
      {roleLabel, roleGroup, template_row, templateGroup, patternEdit, patternError, nullptr});
}

// Numbering.
void MainWindow::BuildNumberingColumn() {
  numberingCheck = Named("numberingCheck", new QCheckBox(u8"歌曲自动编号(&N)"));
  numberFromNameCheck = Named("numberFromNameCheck", new QCheckBox(u8"编号取自文件名(&F)"));
  numberFromNameCheck->setToolTip(
      u8"以文件名末尾四位以上的数字为歌曲编号，如 后来-国语-103962 的 103962");
  replaceEditsCheck = Named("replaceEditsCheck", new QCheckBox(u8"替换手工修改"));
  replaceEditsCheck->setToolTip(
      u8"KSC文件中手工改过的值（如风格）默认保留；选中后改为本次生成的值，歌词等其他内容仍保留");
  // No room for "(&T)" beside it at 200 % on a laptop: Alt+T, as its
  // tooltip says, ticks it all the same.
  startNumberCheck = Named("startNumberCheck", new QCheckBox(u8"编号始于:"));
  startNumberCheck->setToolTip(u8"如果不确定编号是否重号，请勿选择此项（Alt+T）");
  startNumberCheck->setEnabled(false);
  startNumberEdit = Named("startNumberEdit", new QLineEdit);
  startNumberEdit->setMaxLength(5);
  startNumberEdit->setValidator(new StartNumberValidator(startNumberEdit));
  startNumberEdit->setToolTip(u8"如果不确定是否与原库编号重号，请不要更改");
  startNumberEdit->setEnabled(false);
  numbering_column_ = new QWidget;
  numbering_grid_ = new QGridLayout(numbering_column_);
  numbering_grid_->setContentsMargins(0, 0, 0, 0);
  numbering_grid_->setSpacing(4);
}

// Uniform values: a frame whose caption is the check box that turns them on.
void MainWindow::BuildUniformGroup() {
  uniformGroup = Named("uniformGroup", new QGroupBox);
  auto* caption = new QWidget(uniformGroup);
  // As 编号始于, no room for "(&U)": Alt+U, as its tooltip says.
  uniformCheck = Named("uniformCheck", new QCheckBox(u8"统一设定值"));
  uniformCheck->setToolTip(u8"统一设定值高于文件名和目录名给出的值（Alt+U）");
  uniformNote = Named("uniformNote", NavyLabel(new QLabel(u8"  注:统一设定值高于默认值")));
  auto* caption_row = Row({uniformCheck, uniformNote});
  caption_row->setSpacing(0);
  caption->setLayout(caption_row);
  kindLabel = Named("kindLabel", new QLabel(u8"类别："));
  kindBox = Named("kindBox", new QComboBox);
  kindBox->setEditable(true);
  kindBox->setInsertPolicy(QComboBox::NoInsert);  // typed text never becomes an item
  for (int k = 0; k < kUniformKindCount; ++k) kindBox->addItem(FromGbk(UniformKindLabel(k)));
  kindBox->setCurrentIndex(-1);
  valueLabel = Named("valueLabel", new QLabel(u8"值："));
  valueBox = Named("valueBox", new QComboBox);
  valueBox->setEditable(true);
  valueBox->setInsertPolicy(QComboBox::NoInsert);
  for (QComboBox* box : {kindBox, valueBox}) {
    box->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    box->setMinimumContentsLength(2);
  }
  addUniformButton = Named("addUniformButton", new QToolButton);
  addUniformButton->setText(u8"加入");
  addUniformButton->setAutoRaise(true);
  uniformListLabel = Named("uniformListLabel", new QLabel(u8"结果："));
  uniformList = Named("uniformList", new QListWidget);
  removeUniformButton = Named("removeUniformButton", new QToolButton);
  removeUniformButton->setText(u8"移除");
  removeUniformButton->setAutoRaise(true);
  uniform_grid_ = new QGridLayout(uniformGroup);
  uniform_grid_->setContentsMargins(8, 4, 6, 6);
  uniform_grid_->setSpacing(4);
  new CaptionOnEdge(uniformGroup, caption);
}

// The buttons, and the hidden pair that gives pinyin initials.
void MainWindow::BuildButtonColumn() {
  previewButton = Named(
      "previewButton",
      new QPushButton(style()->standardIcon(QStyle::SP_FileDialogContentsView), u8"预览(&P)"));
  runButton = Named("runButton", new QPushButton);
  quitButton =
      Named("quitButton",
            new QPushButton(style()->standardIcon(QStyle::SP_DialogCloseButton), u8"退出(&X)"));
  button_column_ = Column({previewButton, runButton, quitButton, nullptr});

  initialsInput = Named("initialsInput", new QLineEdit(this));
  initialsInput->hide();
  initialsOutput = Named("initialsOutput", new QLineEdit(this));
  initialsOutput->hide();
}

void MainWindow::FitToFont() {
  // Sizes that follow the text, now that every control has the window's font.
  const int line = fontMetrics().height();
  instructions->setFixedHeight(4 * kInstructionLineHeight + 4 + 2 * instructions->frameWidth() + 2);
  instructions->setMinimumWidth(static_cast<int>(instructions->document()->idealWidth()) +
                                2 * instructions->frameWidth());
  for (QButtonGroup* group : {roleButtons, templateButtons}) {
    for (QAbstractButton* b : group->buttons()) b->setFixedHeight(line + 2);
  }
  for (QCheckBox* c :
       {numberingCheck, startNumberCheck, numberFromNameCheck, replaceEditsCheck, uniformCheck}) {
    c->setFixedHeight(line + 2);
  }
  // Room for a name's singer and title, some fourteen characters, before
  // the extension that ends its row; less and names read alike.
  const int name = videoList->fontMetrics().horizontalAdvance(QString(14, QChar(0x6B4C)) +
                                                              QChar(0x2026) + ".mpg");
  videoList->setMinimumSize(name + videoList->iconSize().width() + 16, 4 * line);
  startNumberEdit->setFixedWidth(startNumberEdit->fontMetrics().horizontalAdvance("00000") + 12);
  progressBar->setFixedHeight(line);
  // The first entry of each of the four kinds counts: a few rows suffice.
  uniformList->setMinimumHeight(2 * line);
  uniformList->setMaximumHeight(5 * line);
  for (QPushButton* b : {previewButton, runButton, quitButton}) {
    b->setMinimumSize(87, line + 10);
  }
}

void MainWindow::ConnectControls() {
  connect(browseButton, &QToolButton::clicked, this, &MainWindow::browseFolder);
  connect(videoList->selectionModel(), &QItemSelectionModel::currentChanged, this,
          &MainWindow::updateCount);
  connect(removeVideoButton, &QToolButton::clicked, this, &MainWindow::removeCurrentVideo);
  connect(recursiveCheck, &QCheckBox::clicked, this, &MainWindow::recursiveToggled);
  connect(uniformCheck, &QCheckBox::clicked, this, &MainWindow::uniformToggled);
  connect(numberingCheck, &QCheckBox::clicked, this, &MainWindow::numberingToggled);
  connect(startNumberCheck, &QCheckBox::clicked, this, &MainWindow::startNumberToggled);
  connect(numberFromNameCheck, &QCheckBox::clicked, this, &MainWindow::numberFromNameToggled);
  connect(templateButtons, &QButtonGroup::idClicked, this, &MainWindow::templateChosen);
  connect(patternEdit, &QLineEdit::textChanged, this, &MainWindow::patternEdited);
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

  auto* enter_clicks = new EnterClicks(this);
  for (QAbstractButton* b : findChildren<QAbstractButton*>()) {
    if (!b->isCheckable()) b->installEventFilter(enter_clicks);
  }

  auto* remove = new QShortcut(QKeySequence::Delete, videoList);
  remove->setContext(Qt::WidgetShortcut);
  connect(remove, &QShortcut::activated, this, &MainWindow::removeSelectedVideos);
  // The check boxes without room for an underlined letter take theirs so.
  for (auto [key, check] : {std::pair{Qt::Key_T, startNumberCheck}, {Qt::Key_U, uniformCheck}}) {
    auto* tick = new QShortcut(QKeySequence(Qt::ALT | key), this);
    connect(tick, &QShortcut::activated, check, [check] {
      if (!check->isEnabled()) return;
      check->setFocus(Qt::ShortcutFocusReason);
      check->click();
    });
  }
  auto* reread = new QShortcut(QKeySequence(Qt::Key_F5), this);
  connect(reread, &QShortcut::activated, this, &MainWindow::rereadFolder);
  auto* stop = new QShortcut(QKeySequence(Qt::Key_Escape), this);
  connect(stop, &QShortcut::activated, this, &MainWindow::stopRun);
}

}  // namespace kscgen::gui
