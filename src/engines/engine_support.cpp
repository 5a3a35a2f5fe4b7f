#include "engines/engine_support.h"

#include "engines/prediction_commands.h"

#include "presentation/ticket.h"

#include "files/output_file.h"
#include "files/table_files.h"
#include "state/race_checks.h"
#include "text/numbers.h"

#include <algorithm>

namespace quilo {

int date_row(const MainWindow& app) {
  return 3 * app.selected(form1::Combo4) + 4 * app.selected(form1::Combo3) + 18;
}

void draw_lucky_values(MainWindow& app, const LuckyDraw& draw) {
  SharedState& s = app.s;
  for (int j = 1; j <= 8; ++j) s.yosou_num[j].clear();
  // Position j reads column j; the table has eight.
  const int positions = std::min(draw.positions, kCrtColumns - 1);
  int offset = 0;
  for (int j = 1; j <= positions; ++j) {
    for (;; ++offset) {
      const int row = offset + draw.base_row(app);
      if (row < 0) continue;
      if (row >= kCrtRows) throw TableRunOut{j};
      s.crt_row = row;
      const int v = s.crt_table[j][row];
      if (v < draw.lowest || v > draw.highest) continue;
      const QString value = QString::number(v);
      if (draw.distinct_2_to_6 && j >= 2 && j <= 6) {
        bool repeat = false;
        for (int k = 1; k < j; ++k) repeat = repeat || s.yosou_num[k] == value;
        if (repeat) continue;
      }
      s.yosou_num[j] = value;
      app.label(form1::Label4, j - 1).text = QString::number(row);
      app.label(form1::Label4, j + 7).text = value;
      break;
    }
  }
}

bool run_preparation(MainWindow& app, void (*stage)(MainWindow&)) {
  try {
    stage(app);
    return true;
  } catch (const TableRunOut& e) {
    app.platform().message(crt_file_name(e.column) + QStringLiteral(" に使える値が足りません"), kAppTitle,
                           Buttons::OK);
    return false;
  }
}

void set_result_list_colours(MainWindow& app) {
  app.c(form1::List1).back = Rgb::from_bgr(0x404000);
  app.c(form1::List1).fore = Rgb::from_bgr(0xC0C0C0);
}

void write_result_heading(MainWindow& app, const char* title) {
  app.set_result_line(0, QString::fromUtf8(title));
  app.set_result_line(1, QStringLiteral(" ") + app.text(form1::Label1.key(3)) + QStringLiteral(" ") +
                             app.text(form1::Label1.key(1)) + app.text(form1::Combo9));
}

void store_panel_numbers(MainWindow& app) {
  const ControlName panel[] = {form1::Combo14, form1::Combo2, form1::Combo13, form1::Combo5, form1::Combo1};
  for (int k = 1; k <= 5; ++k) app.s.yosou_num[k] = number_text(leading_number(app.text(panel[k - 1])));
}

void copy_result_lines_to_output(MainWindow& app) {
  for (int i = 0; i <= 3; ++i) app.s.output_lines[i] = app.result_line(i);
}

bool check_ticket_inputs(MainWindow& app) { return check_race_date(app) && check_panel_horses(app); }

std::optional<Prediction> complete_prediction(MainWindow& app, ControlName command, std::vector<Bet> bets) {
  if (std::none_of(bets.begin(), bets.end(), [](const Bet& b) { return b.buyable; })) return std::nullopt;
  Prediction p;
  p.command = command.text();
  p.race = {app.text(form1::Combo6), app.text(form1::Combo3), app.text(form1::Combo4),
            app.text(form1::Combo8), app.text(form1::Combo9), app.text(form1::Combo7)};
  p.odds1 = app.text(form1::Text1);
  p.odds2 = app.text(form1::Text2);
  // A command that rates no race keeps none, never the level of the run before.
  const PredictionCommand* row = prediction_command(p.command);
  p.chance_level = row && !row->rates ? kNoLevel : app.s.chance_level;
  p.bets = std::move(bets);
  const QStringList lines = output_entry(app.s.output_lines);
  for (int i = 0; i < 5; ++i) p.lines[i] = lines.value(i);
  return p;
}

std::optional<Prediction> finish_ticket(MainWindow& app, ControlName command, TicketKind kind,
                                        const Bets& bets) {
  for (int row = 1; row <= 4; ++row) {
    app.c(ticket_cell(kind, row, 1)).text = bets.first;
    app.c(ticket_cell(kind, row, 2)).text = bets.second[row - 1];
    if (kind == TicketKind::Trifecta) app.c(ticket_cell(kind, row, 3)).text = bets.third[row - 1];
  }
  app.set_result_line(3, ticket_bets_line(app, kind));
  copy_result_lines_to_output(app);
  std::vector<Bet> rows = ticket_bets(app, kind, field_size(app));
  mark_ticket_rows(app, rows);
  return complete_prediction(app, command, std::move(rows));
}

}  // namespace quilo
