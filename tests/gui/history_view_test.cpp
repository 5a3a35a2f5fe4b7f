// The 成績 window on screen: its tables follow the history, a row picked
// with the mouse picks the race, a result typed and saved shows in the
// figures, and the chart draws its lines.
#include "desktop_fixture.h"
#include "history/race_result.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QComboBox>
#include <QLineEdit>
#include <QTableView>
#include <QTest>
#include <QtCharts/QAreaSeries>
#include <QtCharts/QChartView>
#include <QtCharts/QLineSeries>

using namespace quilo;

namespace {

QStringList row_texts(QTableView* table, int row) {
  QStringList out;
  for (int c = 0; c < table->model()->columnCount(); ++c)
    out << table->model()->index(row, c).data().toString();
  return out;
}

// The texts of the table that its columns cut short ("37,0…" for 37,020).
QStringList cut_texts(QTableView* table) {
  QStringList out;
  const QFontMetrics metrics(table->font());
  for (int r = 0; r < table->model()->rowCount(); ++r)
    for (int c = 0; c < table->model()->columnCount(); ++c) {
      const QString text = table->model()->index(r, c).data().toString();
      if (metrics.horizontalAdvance(text) + 6 > table->columnWidth(c)) out << text;
    }
  return out;
}

// How many pixels of the image are close to the colour.
int pixels_near(const QImage& image, const QColor& colour) {
  int n = 0;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) {
      const QColor p = image.pixelColor(x, y);
      if (std::abs(p.red() - colour.red()) + std::abs(p.green() - colour.green()) +
              std::abs(p.blue() - colour.blue()) <
          40)
        ++n;
    }
  return n;
}

}  // namespace

TEST(HistoryView, ResultEnteredOnScreenShowsInTheFiguresAndTheChart) {
  test::Desktop d;
  FormView& main = d.view(1);
  QTest::keyClicks(main.findChild<QLineEdit*>("Text1"), "1.5");
  QTest::keyClicks(main.findChild<QLineEdit*>("Text2"), "4.0");
  // Two place predictions (no pause) on two days.
  QTest::mouseClick(main.findChild<QAbstractButton*>("Command11"), Qt::LeftButton);
  emit main.findChild<QComboBox*>("Combo4")->activated(1);
  QTest::mouseClick(main.findChild<QAbstractButton*>("Command11"), Qt::LeftButton);
  QTest::mouseClick(main.findChild<QAbstractButton*>("Command14"), Qt::LeftButton);

  FormView& window = d.view(4);
  ASSERT_TRUE(window.isVisible());
  EXPECT_EQ(window.windowTitle(), "成績");
  auto* races = window.findChild<QTableView*>("Grid1");
  ASSERT_NE(races, nullptr);
  ASSERT_EQ(races->model()->rowCount(), 2);
  EXPECT_EQ(races->model()->headerData(5, Qt::Horizontal).toString(), "着順");
  EXPECT_EQ(row_texts(races, 0)[0], "2010/01/02");
  EXPECT_EQ(races->currentIndex().row(), 0);

  // The older race, picked with the mouse.
  races->show();
  QTest::mouseClick(races->viewport(), Qt::LeftButton, {},
                    races->visualRect(races->model()->index(1, 1)).center());
  EXPECT_EQ(d.shell.app().history().form["Grid1"].selected, 1);
  auto* bets = window.findChild<QTableView*>("Grid2");
  ASSERT_GE(bets->model()->rowCount(), 1);
  const int horse = row_texts(bets, 0)[5].toInt();  // the first place pick

  // The payout page of a 16-runner race that the first pick won.
  const int second = horse == 1 ? 2 : 1, third = horse == 3 ? 4 : 3;
  const QString order = QString("%1-%2").arg(horse).arg(second);
  const std::pair<const char*, QString> result[] = {
      {"Text4", "16"},
      {"Text5", ""},
      {"Text1", QString::number(horse)},
      {"Text2", QString::number(second)},
      {"Text3", QString::number(third)},
      {"Text6", order + " 500"},
      {"Text7", order + QString("-%1 3000").arg(third)},
      {"Text8", QString("%1-%2 400").arg(bracket_of(horse, 16)).arg(bracket_of(second, 16))},
      {"Text9", "150 200 300"},
  };
  for (const auto& [name, text] : result) {
    auto* box = window.findChild<QLineEdit*>(name);
    box->clear();
    QTest::keyClicks(box, text);
  }
  QTest::mouseClick(window.findChild<QAbstractButton*>("Command1"), Qt::LeftButton);
  EXPECT_EQ(row_texts(races, 1)[5], QString("%1-%2-%3").arg(horse).arg(second).arg(third));
  EXPECT_EQ(row_texts(bets, 0)[7], "的中");
  auto* summary = window.findChild<QTableView*>("Grid3");
  EXPECT_EQ(row_texts(summary, 3)[0], "複勝");
  EXPECT_EQ(row_texts(summary, 3)[5], "1");
  // Figures line up on their last digit.
  EXPECT_TRUE(summary->model()->index(3, 8).data(Qt::TextAlignmentRole).value<Qt::Alignment>() &
              Qt::AlignRight);
  for (const char* grid : {"Grid1", "Grid2", "Grid3", "Grid4"})
    EXPECT_EQ(cut_texts(window.findChild<QTableView*>(grid)), QStringList()) << grid;

  auto* chart = window.findChild<QChartView*>("Chart1");
  ASSERT_NE(chart, nullptr);
  // The day's change as a bar, the balance as a line.
  ASSERT_EQ(chart->chart()->series().size(), 2);
  EXPECT_NE(qobject_cast<QAreaSeries*>(chart->chart()->series()[0]), nullptr);
  auto* line = qobject_cast<QLineSeries*>(chart->chart()->series()[1]);
  ASSERT_NE(line, nullptr);
  EXPECT_EQ(line->count(), 1);
  // Drawn: the line's colour is on the picture, and its name in the legend.
  QTest::qWait(50);  // the chart lays itself out in the event loop
  const QImage drawn = chart->grab().toImage();
  EXPECT_GT(pixels_near(drawn, line->color()), 20);

  // By bet type: the chart follows the pick at once; its choice is picked, not typed.
  EXPECT_FALSE(window.findChild<QComboBox*>("Combo1")->isEditable());
  emit window.findChild<QComboBox*>("Combo1")->activated(1);
  ASSERT_EQ(chart->chart()->series().size(), 1);
  EXPECT_EQ(chart->chart()->series()[0]->name(), "複勝");

  // Enter in a 期間 box sums the period, as 集計 does: a period before the
  // races leaves its table without figures.
  auto* from = window.findChild<QLineEdit*>("Text12");
  from->clear();
  QTest::keyClicks(from, "2009/1/1");
  auto* to = window.findChild<QLineEdit*>("Text13");
  to->clear();
  QTest::keyClicks(to, "2009/12/31");
  QTest::keyClick(to, Qt::Key_Return);
  auto* period = window.findChild<QTableView*>("Grid4");
  EXPECT_EQ(row_texts(period, 3)[5], "0");
  EXPECT_EQ(row_texts(summary, 3)[5], "1");

  QTest::keyClick(&window, Qt::Key_Escape);
  EXPECT_FALSE(window.isVisible());
  EXPECT_FALSE(d.shell.app().history().form.open);
}
