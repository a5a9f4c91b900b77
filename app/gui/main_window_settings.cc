// What the main window remembers between starts, in the user's INI file:
// the folder and the options, and the window's size and place.
#include <QButtonGroup>
#include <QCheckBox>
#include <QLineEdit>
#include <QScreen>
#include <QSettings>

#include "app/engine/messages.h"
#include "app/gui/main_window.h"
#include "app/gui/native_path.h"
#include "app/gui/qt_text.h"
#include "tagging/uniform_values.h"

namespace kscgen::gui {
namespace {

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
const char kNamePattern[] = "namePattern";
const char kNumberFromName[] = "numberFromName";
const char kUniformOn[] = "uniform";
const char kUniformEntries[] = "uniformEntries";  // kind and value, GBK bytes
const char kKind[] = "kind";
const char kValue[] = "value";
const char kGeometry[] = "geometry";  // QWidget::saveGeometry
const char kPreviewGeometry[] = "previewGeometry";
}  // namespace key

}  // namespace

QString MainWindow::DefaultSettingsFile() {
  return QSettings(QSettings::IniFormat, QSettings::UserScope, "kscgen", "kscgen-gui").fileName();
}

void MainWindow::SaveSettings() {
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
  s.setValue(key::kNamePattern, patternEdit->text());
  s.setValue(key::kNumberFromName, numberFromNameCheck->isChecked());
  s.setValue(key::kUniformOn, uniformCheck->isChecked());
  s.beginWriteArray(key::kUniformEntries);
  int i = 0;
  for (const UniformEntry& e : UniformEntries()) {
    s.setArrayIndex(i++);
    s.setValue(key::kKind, QByteArray::fromStdString(e.kind_text));
    s.setValue(key::kValue, QByteArray::fromStdString(e.value));
  }
  s.endArray();
  s.setValue(key::kGeometry, saveGeometry());
  if (!preview_geometry_.isEmpty()) s.setValue(key::kPreviewGeometry, preview_geometry_);
  s.sync();
  if (s.status() != QSettings::NoError && !told_settings_unsaved_) {
    told_settings_unsaved_ = true;
    ShowMessage(MessageKind::kError,
                FromMessage(messages::SettingsNotSaved(settings_file_.toStdString())));
  }
}

namespace {

// A remembered number, or `fallback` when it is missing or out of range.
int NumberIn(const QSettings& s, const char* name, int low, int high, int fallback) {
  bool ok = false;
  const int n = s.value(name).toInt(&ok);
  return ok && n >= low && n <= high ? n : fallback;
}

bool FlagIn(const QSettings& s, const char* name) {
  const QVariant v = s.value(name);
  return v.typeId() == QMetaType::Bool ? v.toBool() : v.toString() == QLatin1String("true");
}

}  // namespace

void MainWindow::RestoreOptions(QSettings& s) {
  recursiveCheck->setChecked(FlagIn(s, key::kRecursive));
  // Read as if typed again: a text the parser refuses gives the five alone.
  VideoExtensionsParse ext = ParseVideoExtensions(s.value(key::kExtensions).toString().toStdString());
  if (ext.error.empty()) extensions_ = std::move(ext.extensions);
  extensionsEdit->setText(QString::fromStdString(VideoExtensionsText(extensions_)));
  roleButtons->button(NumberIn(s, key::kFolderRole, 0, roleButtons->buttons().size() - 1, 0))
      ->setChecked(true);
  if (int t = NumberIn(s, key::kTemplate, 0, templateButtons->buttons().size() - 1, -1); t >= 0) {
    templateButtons->button(t)->setChecked(true);
  }
  numberingCheck->setChecked(FlagIn(s, key::kNumbering));
  startNumberCheck->setChecked(FlagIn(s, key::kStartNumberOn));
  startNumberEdit->setText(s.value(key::kStartNumber).toString());
  numberingToggled();
  if (numberingCheck->isChecked()) startNumberToggled();
  patternEdit->setText(s.value(key::kNamePattern).toString());
  numberFromNameCheck->setChecked(FlagIn(s, key::kNumberFromName) &&
                                  !numberingCheck->isChecked());
  FollowTemplate(false);
}

void MainWindow::RestoreUniformEntries(QSettings& s) {
  // Each entry is read as if typed again: what the parser refuses goes.
  const int entries = s.beginReadArray(key::kUniformEntries);
  for (int i = 0; i < entries; ++i) {
    s.setArrayIndex(i);
    UniformEntryParse parse = ParseUniformEntry(s.value(key::kKind).toByteArray().toStdString(),
                                                s.value(key::kValue).toByteArray().toStdString());
    if (parse.error == UniformEntryError::kNone) AppendUniformEntry(parse.entry);
  }
  s.endArray();
  uniformCheck->setChecked(FlagIn(s, key::kUniformOn));
  uniformToggled();
}

void MainWindow::RestoreSettings() {
  std::string folder;
  if (!settings_file_.isEmpty()) {
    QSettings s(settings_file_, QSettings::IniFormat);
    // A damaged file gives the first start; so does any value out of range,
    // each on its own.
    if (s.status() == QSettings::NoError) {
      RestoreOptions(s);
      RestoreUniformEntries(s);
      folder = s.value(key::kFolder).toByteArray().toStdString();
      // Qt keeps a place that is off every screen now on one; a size below
      // the layout's minimum grows to it.
      preview_geometry_ = s.value(key::kPreviewGeometry).toByteArray();
      const QByteArray geometry = s.value(key::kGeometry).toByteArray();
      if (!geometry.isEmpty() && restoreGeometry(geometry)) {
        resize(size().expandedTo(minimumSizeHint()));
      }
    }
  }
  // A remembered folder that is gone leaves the path empty, as at a first
  // start, when the list shows the working folder: only its own videos
  // (never a tree the user did not choose), and without a word should it
  // not be readable.
  if (IsFolder(folder, FileSystem())) {
    ChooseNativeFolder(folder);
  } else {
    ListWorkingFolder();
  }
}

}  // namespace kscgen::gui
