#include "gui/qt_translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

namespace quilo {

bool install_qt_translations(const QLocale& locale) {
  // One translator for the life of the program: qtbase holds every text of
  // the widgets and dialogs that the program shows.
  static QTranslator* translator = nullptr;
  auto* loaded = new QTranslator(QCoreApplication::instance());
  if (!loaded->load(locale, QStringLiteral("qtbase"), QStringLiteral("_"),
                    QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
    delete loaded;
    return false;
  }
  if (translator) {
    QCoreApplication::removeTranslator(translator);
    delete translator;
  }
  translator = loaded;
  return QCoreApplication::installTranslator(translator);
}

}  // namespace quilo
