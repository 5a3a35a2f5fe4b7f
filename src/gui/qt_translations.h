// Qt's own texts (the context menu of a text box, the print and file
// dialogs, the buttons of its standard boxes) in the user's language: the
// translations that Qt installs for it, when there are any; English
// otherwise.
#pragma once

#include <QLocale>

namespace quilo {

// Loads and installs Qt's translations for `locale` into the application;
// false when Qt has none for it (the texts then stay English).
bool install_qt_translations(const QLocale& locale = QLocale::system());

}  // namespace quilo
