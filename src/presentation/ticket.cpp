// The mock betting ticket: its header from the race inputs, the labels of
// the chosen variant, the total line and the bet cells.
#include "presentation/ticket.h"

#include "history/summary.h"
#include "model/ticket_design.h"
#include "state/race_checks.h"
#include "text/numbers.h"
#include "text/whole_numbers.h"

namespace quilo {

int ticket_positions(TicketKind kind) { return ticket_design(kind).positions; }

QString ticket_cell(TicketKind kind, int row, int position) {
  if (row < 1 || row > 4 || position < 1 || position > ticket_positions(kind)) return {};
  return form1::Label1.key(ticket_design(kind).cells[row - 1][position - 1]);
}

QString ticket_bets_line(const MainWindow& app, TicketKind kind) {
  const TicketDesign& v = ticket_design(kind);
  QStringList bets;
  for (int row = 1; row <= 4; ++row) {
    QStringList numbers;
    for (int pos = 1; pos <= ticket_positions(kind); ++pos) numbers << app.text(ticket_cell(kind, row, pos));
    bets << numbers.join(QString::fromUtf8(v.between_positions));
  }
  return bets.join(QStringLiteral(" , "));
}

std::vector<Bet> ticket_bets(const MainWindow& m, TicketKind kind, std::optional<int> field) {
  const TicketDesign& v = ticket_design(kind);
  const BetType type = kind == TicketKind::Trifecta ? BetType::Trifecta : BetType::Exacta;
  std::vector<Bet> bets;
  for (int row = 1; row <= 4; ++row) {
    Bet bet{type, {}, whole_number(m.text(form1::Label1.key(v.stake_cells[row - 1]))).value_or(0)};
    for (int pos = 1; pos <= v.positions; ++pos)
      bet.numbers.push_back(whole_number(m.text(ticket_cell(kind, row, pos))).value_or(0));
    bet.why = unbuyable_reason(bet.numbers, field);
    bet.buyable = bet.why.isEmpty();
    bets.push_back(std::move(bet));
  }
  return bets;
}

QString ticket_total(const std::vector<Bet>& bets) {
  int yen = 0;
  for (const Bet& bet : bets)
    if (bet.buyable) yen += bet.stake;
  auto full_width = [](QString digits) {
    for (QChar& c : digits)
      if (c.isDigit()) c = QChar(char16_t(u'０' + c.digitValue()));
    return digits;
  };
  return QStringLiteral("合計★★★") + full_width(QString::number(yen / 100)) + QStringLiteral("枚★★★") +
         full_width(yen_text(yen)) + QStringLiteral("円");
}

void mark_ticket_rows(MainWindow& m, const std::vector<Bet>& bets) {
  for (int row = 0; row < 4; ++row)
    m.label(form1::unbuyable_mark, row).visible = row < int(bets.size()) && !bets[row].buyable;
  m.c(form1::Label14).text = ticket_total(bets);
}

void show_ticket(MainWindow& m, TicketKind kind) {
  const QString year = m.text(form1::Combo6);
  const QString month = m.text(form1::Combo3);
  const QString day = m.text(form1::Combo4);
  // The code numbers are decoration: a year or month that is no number reads as 0.
  const double year_value = leading_number(year);
  const double year_number = whole_number_or_zero(year);
  const double month_value = leading_number(month);
  const double month_number = whole_number_or_zero(month);
  auto set = [&m](int index, const QString& caption) { m.label(form1::Label1, index).text = caption; };

  set(1, m.text(form1::Combo8));
  set(2, m.text(form1::Combo9).left(2));
  set(3, year + QStringLiteral("年") + month + QStringLiteral("月") + day + QStringLiteral("日"));
  set(4, month + QStringLiteral("月") + day + QStringLiteral("日"));
  set(14, (QStringLiteral("0") + number_text(year_value * 1000) + QStringLiteral("1000") +
           number_text(month_number * 100) + QStringLiteral("0010") + day + month)
              .left(13));
  set(5, (QStringLiteral("0") + number_text(year_value * 500) + QStringLiteral("1010") +
          number_text(month_number * 10))
             .left(13));
  set(6, (number_text(month_value * 200) + QStringLiteral("100") + number_text(year_number * 10)).left(8));
  set(7, (number_text(month_value * 105) + QStringLiteral("1") + number_text(year_number * 10)).left(6));

  const TicketDesign& v = ticket_design(kind);
  for (int i = 1; i <= 44; ++i) m.label(form1::Label1, i).visible = true;
  for (int i : v.hidden) m.label(form1::Label1, i).visible = false;
  for (int i = 0; i <= 7; ++i) m.label(form1::Label3, i).visible = v.markers_visible;
  m.c(form1::Label14).visible = true;
  m.c(form1::Label7).visible = true;
  // Until the bets are drawn: every row, none marked.
  std::vector<Bet> rows = ticket_bets(m, kind, std::nullopt);
  for (Bet& bet : rows) bet.buyable = true;
  mark_ticket_rows(m, rows);
}

}  // namespace quilo
