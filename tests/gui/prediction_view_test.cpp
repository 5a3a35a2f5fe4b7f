// A prediction pressed in the real window fills the ticket on screen.
#include "desktop_fixture.h"
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
  EXPECT_EQ(v.findChild<QLabel*>("Label14")->text(), "合計★★★１００枚★★★１,０００円");
  EXPECT_EQ(shell.app().main().result_line(0), "  ■■■■  Quilo ピルピルθK ３連単 予想結果 ■■■■");
  EXPECT_FALSE(shell.app().busy());
}
