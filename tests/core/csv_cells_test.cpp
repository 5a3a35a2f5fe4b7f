// Every cell of the CSV stays text as written when a spreadsheet reads it:
// nothing that begins like a formula, no combination or order that reads as
// a date, Japanese names for commands and bet types.
#include "engines/prediction_commands.h"
#include "history/csv_export.h"
#include "text/windows31j.h"

#include <gtest/gtest.h>

#include <QRegularExpression>

using namespace quilo;

namespace {

// The cells of a CSV text, quotes undone.
std::vector<QStringList> cells_of(const QString& text) {
  std::vector<QStringList> rows(1);
  QString cell;
  bool quoted = false;
  for (qsizetype i = 0; i < text.size(); ++i) {
    const QChar c = text[i];
    if (quoted) {
      if (c == '"' && i + 1 < text.size() && text[i + 1] == '"') {
        cell += '"';
        ++i;
      } else if (c == '"') {
        quoted = false;
      } else {
        cell += c;
      }
    } else if (c == '"') {
      quoted = true;
    } else if (c == ',') {
      rows.back() << cell;
      cell.clear();
    } else if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
      rows.back() << cell;
      cell.clear();
      rows.emplace_back();
      ++i;
    } else {
      cell += c;
    }
  }
  if (rows.back().isEmpty()) rows.pop_back();
  return rows;
}

}  // namespace

TEST(CsvCells, EveryCellStaysTextAsWritten) {
  // A run whose typed texts an attacker chose, and a race with a dead heat.
  Prediction p;
  p.command = "Command12";
  p.race = {"2010", "04", "10", "=HYPERLINK(\"http://x\",\"y\")", "+1R", "-9頭"};
  p.odds1 = "@SUM(A1)";
  p.odds2 = "\t=1+1";
  p.chance_level = kNoLevel;
  p.bets = {{BetType::Bracket, {3, 5}, 100}, {BetType::Bracket, {1, 3}, 100}};
  p.lines = {"a", "b", "c", "d", "e"};
  Prediction q = p;
  q.command = "Command8";
  q.race.racecourse = "\r=cmd";
  q.chance_level = 4;
  q.bets = {{BetType::Trifecta, {5, 2, 12}, 100}, {BetType::Exacta, {2, 5}, 100}};
  RunRecord bought = recorded_run(2, "2010-04-10T09:31:00", q);
  bought.bought = true;
  bought.bought_stake = 300;
  const std::vector<RunRecord> runs = {recorded_run(1, "2010-04-10T09:30:00", p), bought};
  RaceResult r;
  r.field = 16;
  r.finish = {{5, 2}, {12}};
  r.payouts = {{BetType::Exacta, {5, 2}, 1230},
               {BetType::Exacta, {2, 5}, 980},
               {BetType::Trifecta, {5, 2, 12}, 8800},
               {BetType::Trifecta, {2, 5, 12}, 7600},
               {BetType::Bracket, {1, 3}, 450},
               {BetType::Place, {5}, 150},
               {BetType::Place, {2}, 130},
               {BetType::Place, {12}, 420}};
  ResultsByRace results;
  for (const RunRecord& run : runs) results.insert(run.race, r);

  for (const CsvEncoding encoding : {CsvEncoding::Windows31J, CsvEncoding::Utf8WithBom}) {
    const QByteArray bytes = history_csv(runs, results, encoding, prediction_name);
    const QString text =
        encoding == CsvEncoding::Windows31J ? decode_windows31j(bytes) : QString::fromUtf8(bytes.mid(3));
    const auto rows = cells_of(text);
    ASSERT_EQ(rows.size(), 5u);
    static const QRegularExpression formula(QStringLiteral("^[=+\\-@\\t\\r＝＋－＠]"));
    static const QRegularExpression date(QStringLiteral("^\\d{1,4}[-/.]\\d{1,2}([-/.]\\d{1,4})?$"));
    for (const QStringList& row : rows) {
      ASSERT_EQ(row.size(), rows[0].size());
      for (int c = 0; c < row.size(); ++c) {
        EXPECT_FALSE(formula.match(row[c]).hasMatch()) << row[c].toStdString();
        // The time of recording is the one cell meant as a date.
        if (c > 0) {
          EXPECT_FALSE(date.match(row[c]).hasMatch()) << row[c].toStdString();
        }
      }
    }
    EXPECT_EQ(rows[1].mid(0, 12), (QStringList{"2010/04/10 09:30:00", "枠連", "2010", "4", "10",
                                               "'=HYPERLINK(\"http://x\",\"y\")", "'+1R", "'-9頭",
                                               "'@SUM(A1)", "'\t=1+1", "なし", ""}));
    EXPECT_EQ(rows[1].mid(12), (QStringList{"枠連", "3・5", "100", "5=2→12", "", "不的中", "0"}));
    EXPECT_EQ(rows[2].mid(12), (QStringList{"枠連", "1・3", "100", "5=2→12", "", "的中", "450"}));
    // Bought at 300 a bet: the stake and the return are the bought ones.
    EXPECT_EQ(rows[3].mid(1, 1) + rows[3].mid(5, 1) + rows[3].mid(10),
              (QStringList{"３連単", "'\r=cmd", "4", "購入", "３連単", "5→2→12", "300", "5=2→12", "", "的中",
                           "26400"}));
    EXPECT_EQ(rows[4].mid(12), (QStringList{"馬単", "2→5", "300", "5=2→12", "", "的中", "2940"}));
  }
}
