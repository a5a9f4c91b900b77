#include "app/gui/translations.h"

#include <QCoreApplication>
#include <QTranslator>

// Outside any namespace, as Qt wants it: the resource lives in a static
// library, whose linker keeps it only when something calls for it.
static void LoadTranslationResource() {
#ifdef KSCGEN_QT_TRANSLATIONS_BUILT_IN
  Q_INIT_RESOURCE(qt_translations);
#endif
}

namespace kscgen::gui {
namespace {

// Built in by CMake from Qt's own translation files.
const char kQtTranslations[] = ":/i18n/qtbase_zh_CN.qm";

// Texts that Qt's translations give otherwise than this program says them.
class OwnTexts : public QTranslator {
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

bool installed = false;
bool have_qt = false;

}  // namespace

void InstallTranslations() {
  if (installed || !QCoreApplication::instance()) return;
  installed = true;
  LoadTranslationResource();
  auto* qt = new QTranslator(QCoreApplication::instance());
  have_qt = qt->load(QString::fromLatin1(kQtTranslations));
  if (have_qt) {
    QCoreApplication::installTranslator(qt);
  } else {
    delete qt;
  }
  // Installed last, so asked first.
  QCoreApplication::installTranslator(new OwnTexts(QCoreApplication::instance()));
}

bool HaveQtTranslations() { return have_qt; }

}  // namespace kscgen::gui
