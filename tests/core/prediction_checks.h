// What a finished prediction run shows, checked in one place for every engine.
#pragma once

#include "prediction_fixture.h"
#include "presentation/ticket.h"

#include <gtest/gtest.h>

namespace quilo::test {

struct RunResult {
  QStringList lines;   // result lines 0..3, also output_lines 0..3
  QStringList cells;   // bet cells row by row, position by position
  QStringList yosou;   // yosou_num slots 1..8
  QStringList label4;  // Label4(0)..Label4(15)
  int crt_row = 0;
  int chance_level = 0;
};

inline void expect_run(const QJsonObject& d, TicketKind kind, const RunResult& r) {
  EXPECT_EQ(result_lines(d).mid(0, 4), r.lines);
  EXPECT_EQ(output_lines(d), r.lines);
  QStringList cells;
  for (int row = 1; row <= 4; ++row)
    for (int pos = 1; pos <= ticket_positions(kind); ++pos) {
      const QString key = ticket_cell(kind, row, pos);
      cells << caption(d, key);
      EXPECT_TRUE(visible(d, key)) << key.toStdString();
    }
  EXPECT_EQ(cells, r.cells);
  // The other variant's second-position cells are hidden.
  const TicketKind other = kind == TicketKind::Trifecta ? TicketKind::Exacta : TicketKind::Trifecta;
  for (int row = 1; row <= 4; ++row) EXPECT_FALSE(visible(d, ticket_cell(other, row, 2))) << row;
  EXPECT_EQ(yosou_slots(d, 1, 8), r.yosou);
  EXPECT_EQ(label_captions(d, "Label4", 0, 15), r.label4);
  EXPECT_EQ(state(d)["crt_row"].toInt(), r.crt_row);
  EXPECT_EQ(state(d)["chance_level"].toInt(), r.chance_level);
  EXPECT_EQ(control(d, "List1")["back"].toString(), "#004040");
  EXPECT_EQ(control(d, "List1")["fore"].toString(), "#C0C0C0");
  EXPECT_FALSE(visible(d, "List1"));
}

// The panel as a user picks it: entry i of a panel combo is horse i + 1.
inline QString panel_script(int combo14, int combo2, int combo13, int combo5, int combo1) {
  return QString(
             "select Combo14 %1\nselect Combo2 %2\nselect Combo13 %3\nselect Combo5 %4\n"
             "select Combo1 %5")
      .arg(combo14 - 1)
      .arg(combo2 - 1)
      .arg(combo13 - 1)
      .arg(combo5 - 1)
      .arg(combo1 - 1);
}

inline QStringList repeated(const QString& s, int n) { return QStringList(n, s); }

}  // namespace quilo::test
