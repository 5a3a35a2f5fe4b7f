// Qt's own texts follow the user's language: Japanese on a Japanese desktop,
// English where Qt has no translation.
#include "gui/qt_translations.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QLineEdit>
#include <QMenu>
#include <QTest>

#include <memory>

using namespace quilo;

TEST(QtTranslations, TheContextMenuOfATextBoxSpeaksTheUsersLanguage) {
  auto undo_text = [] {
    QLineEdit box;
    std::unique_ptr<QMenu> menu(box.createStandardContextMenu());
    return menu->actions().value(0) ? menu->actions()[0]->text() : QString();
  };
  // No translation for a language Qt does not carry: English stays.
  EXPECT_FALSE(install_qt_translations(QLocale(QLocale::Esperanto)));
  EXPECT_EQ(undo_text(), "&Undo\tCtrl+Z");
  ASSERT_TRUE(install_qt_translations(QLocale(QLocale::Japanese, QLocale::Japan)));
  EXPECT_TRUE(undo_text().startsWith("元に戻す")) << undo_text().toStdString();
  EXPECT_EQ(QCoreApplication::translate("QPrintDialog", "Print"), "印刷");
}
