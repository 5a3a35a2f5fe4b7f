// The Qt windows project the model: every control under its name at its
// place, edits reach the model, model changes reach the widgets.
#include "desktop_fixture.h"
#include "model/accessible_texts.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QComboBox>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QTest>

using namespace quilo;

namespace {

using test::Desktop;

}  // namespace

TEST(Views, EveryControlAtItsPixelPlace) {
  Desktop d;
  for (int n : {1, 2, 3, 4}) {
    Form& form = *d.shell.app().form(QString("Form%1").arg(n));
    FormView& view = d.shell.view(n);
    EXPECT_EQ(view.objectName(), form.name());
    EXPECT_EQ(view.accessibleName(), accessible_text(form.name(), {}).name);
    EXPECT_EQ(view.size(), QSize(form.design().client_width / 15, form.design().client_height / 15));
    for (const Control& c : form.controls()) {
      QWidget* w = view.findChild<QWidget*>(c.key());
      ASSERT_NE(w, nullptr) << c.key().toStdString();
      // Found by its key; a screen reader says its Japanese name.
      const AccessibleText spoken = accessible_text(form.name(), c.key());
      EXPECT_EQ(w->accessibleName(), spoken.name) << c.key().toStdString();
      EXPECT_NE(w->accessibleName(), c.key());
      if (!spoken.description.isEmpty()) {
        EXPECT_EQ(w->accessibleDescription(), spoken.description);
      }
      if (c.design.kind == Kind::Label) {
        EXPECT_EQ(w->accessibleDescription(), c.text);
      }
      EXPECT_EQ(w->geometry(),
                QRect(c.design.left / 15, c.design.top / 15, c.design.width / 15, c.design.height / 15))
          << c.key().toStdString();
    }
  }
  EXPECT_EQ(d.shell.view(1).windowTitle(), "競馬予想 Quilo ピルピル THETA K");
  EXPECT_TRUE(d.shell.view(1).isVisible());
  EXPECT_FALSE(d.shell.view(1).findChild<QWidget*>("List1")->isVisible());
  EXPECT_FALSE(d.shell.view(1).findChild<QWidget*>("Label1(37)")->isVisible());
}

TEST(Views, UserEditsReachTheModel) {
  Desktop d;
  FormView& v = d.shell.view(1);
  auto* text1 = v.findChild<QLineEdit*>("Text1");
  QTest::keyClicks(text1, "1.5");
  EXPECT_EQ(d.shell.app().main().text("Text1"), "1.5");

  auto* combo = v.findChild<QComboBox*>("Combo2");
  emit combo->activated(4);  // the user picks " 5"
  EXPECT_EQ(d.shell.app().main().c("Combo2").selected, 4);
  EXPECT_EQ(d.shell.app().main().text("Combo2"), " 5");
  combo->lineEdit()->selectAll();
  QTest::keyClicks(combo->lineEdit(), "7");
  EXPECT_EQ(d.shell.app().main().c("Combo2").selected, -1);
  EXPECT_EQ(d.shell.app().main().text("Combo2"), "7");
}

TEST(Views, ModelChangesReachTheWidgets) {
  Desktop d;
  App& app = d.shell.app();
  app.main().label("Label1", 8).text = "17";
  app.main().c("Combo3").selected = 4;
  app.main().c("Combo3").text = "05";
  app.main().c("Label4(3)").visible = true;
  d.shell.refresh_all();
  FormView& v = d.shell.view(1);
  EXPECT_EQ(v.findChild<QLabel*>("Label1(8)")->text(), "17");
  EXPECT_EQ(v.findChild<QLabel*>("Label1(8)")->accessibleDescription(), "17");  // read out with its name
  EXPECT_EQ(v.findChild<QComboBox*>("Combo3")->currentIndex(), 4);
  EXPECT_EQ(v.findChild<QComboBox*>("Combo3")->currentText(), "05");
  EXPECT_TRUE(v.findChild<QWidget*>("Label4(3)")->isVisible());
}

TEST(Views, ButtonsRunCommandsAndOpenWindows) {
  Desktop d;
  auto* how_to = d.shell.view(1).findChild<QAbstractButton*>("Command2");
  QTest::mouseClick(how_to, Qt::LeftButton);
  EXPECT_TRUE(d.shell.view(2).isVisible());
  EXPECT_FALSE(d.shell.view(1).findChild<QWidget*>("Label14")->isVisible());
  EXPECT_EQ(d.shell.view(1).findChild<QLabel*>("Image1")->property("picture").toString(), "usermane.bmp");
  QTest::mouseClick(d.shell.view(2).findChild<QAbstractButton*>("Command2"), Qt::LeftButton);
  EXPECT_FALSE(d.shell.view(2).isVisible());
  QTest::mouseClick(d.shell.view(1).findChild<QAbstractButton*>("Command5"), Qt::LeftButton);
  EXPECT_FALSE(d.shell.view(1).isVisible());
}
