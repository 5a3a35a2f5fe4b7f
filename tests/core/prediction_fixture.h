// Small reference tables for the prediction tests, and a few readers of the
// dumped state.
#pragma once

#include "test_support.h"

#include <QStringList>

#include <vector>

namespace quilo::test {

// crt_1.txt .. crt_8.txt as columns 1..8: every row holds the column's fill
// value unless set. Rows after the last written one read 0.
struct CrtTables {
  explicit CrtTables(int fill = 0, int rows = 200) : cols(9, std::vector<int>(rows, fill)) {}

  CrtTables& fill(int col, int value) {
    for (int& v : cols[col]) v = value;
    return *this;
  }
  CrtTables& set(int col, int row, int value) {
    if (row >= int(cols[col].size())) cols[col].resize(row + 1, 0);
    cols[col][row] = value;
    return *this;
  }
  // Columns 1..n of one row.
  CrtTables& row(int row, const std::vector<int>& values) {
    for (std::size_t i = 0; i < values.size(); ++i) set(int(i) + 1, row, values[i]);
    return *this;
  }
  void write(Session& s) const {
    for (int c = 1; c <= 8; ++c) s.write_table(QString("crt_%1.txt").arg(c), cols[c]);
  }

  std::vector<std::vector<int>> cols;
};

// Five different horses that run in the designed 5頭 race: 1人気 1,
// 2～6人気 2, 3 and 4, 3人気 5.
inline const QString kBuyablePanel =
    "select Combo14 0\nselect Combo2 1\nselect Combo13 2\nselect Combo5 3\nselect Combo1 4";

// Five different horses typed, not picked (no list position), in an 18頭 race.
inline const QString kTypedPanel =
    "select Combo7 13\ntype Combo14 10\ntype Combo2 11\ntype Combo13 12\ntype Combo5 13\ntype Combo1 15";

inline QStringList label_captions(const QJsonObject& d, const QString& name, int from, int to) {
  QStringList out;
  for (int i = from; i <= to; ++i) out << caption(d, QString("%1(%2)").arg(name).arg(i));
  return out;
}

inline QStringList yosou_slots(const QJsonObject& d, int from, int to) {
  return strings(state(d)["yosou_num"]).mid(from, to - from + 1);
}

inline QStringList result_lines(const QJsonObject& d) { return strings(control(d, "List1")["lines"]); }

inline QStringList output_lines(const QJsonObject& d, int count = 4) {
  return strings(state(d)["output_lines"]).mid(0, count);
}

inline QStringList messages(const QJsonObject& d) {
  QStringList out;
  for (const auto& e : events_of(d, "message")) out << e.toObject().value("text").toString();
  return out;
}

}  // namespace quilo::test
