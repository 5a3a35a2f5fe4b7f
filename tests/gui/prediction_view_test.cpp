// A prediction pressed in the real window fills the ticket on screen.
#include "desktop_fixture.h"
#include "scenario/scenario.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QComboBox>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QTest>

using namespace quilo;

TEST(PredictionView, TrifectaButtonFillsTheTicketCells) {
  test::Desktop d;
  DesktopShell& shell = d.shell;
  FormView& v = shell.view(1);

  QTest::keyClicks(v.findChild<QLineEdit*>("Text1"), "1.5");
  QTest::keyClicks(v.findChild<QLineEdit*>("Text2"), "4.0");
  emit v.findChild<QComboBox*>("Combo2")->activated(2);   // " 3"
  emit v.findChild<QComboBox*>("Combo14")->activated(4);  // " 5"
  emit v.findChild<QComboBox*>("Combo1")->activated(11);  // "12"
  emit v.findChild<QComboBox*>("Combo13")->activated(5);  // " 6"
  emit v.findChild<QComboBox*>("Combo5")->activated(7);   // " 8"
  emit v.findChild<QComboBox*>("Combo7")->activated(13);  // "18頭"

  auto cell = [&](int i) { return v.findChild<QLabel*>(QString("Label1(%1)").arg(i)); };
  EXPECT_EQ(cell(8)->text(), "1");
  EXPECT_FALSE(cell(37)->isVisible());
  EXPECT_TRUE(cell(9)->isVisible());

  QElapsedTimer clock;
  clock.start();
  QTest::mouseClick(v.findChild<QAbstractButton*>("Command8"), Qt::LeftButton);
  EXPECT_GE(clock.elapsed(), 1900);  // the preparation pause really waits

  EXPECT_EQ(cell(8)->text().trimmed(), "3");
  EXPECT_EQ(cell(12)->text().trimmed(), "3");
  EXPECT_EQ(cell(37)->text().trimmed(), "5");
  EXPECT_EQ(cell(41)->text().trimmed(), "12");
  EXPECT_EQ(cell(44)->text().trimmed(), "12");
  EXPECT_EQ(cell(40)->text(), shell.app().main().s.yosou_num[6]);
  for (int i : {8, 10, 11, 12, 37, 38, 39, 40, 41, 42, 43, 44}) EXPECT_TRUE(cell(i)->isVisible()) << i;
  for (int i : {9, 18, 19, 20}) EXPECT_FALSE(cell(i)->isVisible()) << i;
  EXPECT_EQ(v.findChild<QLabel*>("Label14")->text(), shell.app().main().text("Label14"));
  EXPECT_EQ(shell.app().main().result_line(0), "  ■■■■  Quilo ピルピルθK ３連単 予想結果 ■■■■");
  EXPECT_FALSE(shell.app().busy());
}

// The window's combos hold what the headless mode holds: nothing picked at
// start but the month and day, and a typed text stays typed when the box
// loses the focus (Qt would pick the entry that matches it).
TEST(PredictionView, CombosStartAndStayAsInTheHeadlessMode) {
  test::Desktop d;
  FormView& v = d.shell.view(1);
  const Form& form = d.shell.app().main().form;
  for (const Control& c : form.controls()) {
    if (c.design.kind != Kind::Combo) continue;
    const bool month_or_day = c.key() == "Combo3" || c.key() == "Combo4";
    EXPECT_EQ(c.selected, month_or_day ? 0 : -1) << c.key().toStdString();
  }
  auto* year = v.findChild<QComboBox*>("Combo6");
  year->lineEdit()->setFocus();
  QTest::keyClicks(year->lineEdit(), "x");
  QTest::keyClick(year->lineEdit(), Qt::Key_Backspace);
  QTest::keyClick(year->lineEdit(), Qt::Key_Return);
  v.findChild<QLineEdit*>("Text1")->setFocus();
  auto* horse = v.findChild<QComboBox*>("Combo2");
  horse->lineEdit()->setFocus();
  horse->lineEdit()->selectAll();
  QTest::keyClicks(horse->lineEdit(), "12");
  v.findChild<QLineEdit*>("Text1")->setFocus();
  QCoreApplication::processEvents();
  EXPECT_EQ(form[QStringLiteral("Combo6")].selected, -1);
  EXPECT_EQ(form[QStringLiteral("Combo6")].text, "2010");
  EXPECT_EQ(form[QStringLiteral("Combo2")].selected, -1);
  EXPECT_EQ(form[QStringLiteral("Combo2")].text, "12");

  // A pick from a list, then the whole window against the headless mode after
  // the same actions: every input's text and pick, every caption.
  emit v.findChild<QComboBox*>("Combo7")->activated(13);
  ScenarioRunner headless;
  for (const char* line : {"type Combo2 12", "select Combo7 13"}) ASSERT_FALSE(headless.run_line(line));
  const Form& same = headless.app().main().form;
  for (const Control& c : form.controls()) {
    const Control& h = same[c.key()];
    const std::string key = c.key().toStdString();
    if (c.design.kind == Kind::Combo || c.design.kind == Kind::Text) {
      EXPECT_EQ(c.text, h.text) << key;
      EXPECT_EQ(c.selected, h.selected) << key;
    }
    if (c.design.kind == Kind::Label) {
      EXPECT_EQ(c.text, h.text) << key;
    }
    EXPECT_EQ(c.visible, h.visible) << key;
  }
}
