// The makai trifecta prediction (魔界3連単): an opening staging, lucky values
// by the date and two panel horses, the Combo1 horse first in every bet, and
// an escalation of window pictures for each odds threshold passed.
#include "engines/engine_support.h"
#include "engines/engines.h"
#include "presentation/effects.h"
#include "presentation/shell_commands.h"
#include "presentation/ticket.h"
#include "text/numbers.h"

namespace quilo {
namespace {

// The trifecta's date row, moved by the horses picked in Combo2 and Combo5
// (a typed horse counts as entry -1).
int date_and_panel_row(const MainWindow& app) {
  return 3 * app.selected(form1::Combo4) + 4 * app.selected(form1::Combo3) + app.selected(form1::Combo2) +
         2 * app.selected(form1::Combo5) + 18;
}

}  // namespace

std::optional<Prediction> Command1_Click(MainWindow& m) {
  if (!m.check_odds_entered() || !m.odds_or_message(1) || !check_ticket_inputs(m)) return std::nullopt;
  m.load_gf_picture(form1::Image2, QStringLiteral("PIRUPIRUoff.bmp"));
  m.load_gf_picture(form1::Image1, QStringLiteral("3renbaken.bmp"));
  m.c(form1::Image2).visible = false;
  play_makai_staging(m);
  m.s.yosou_mode = 1;
  show_ticket(m, TicketKind::Trifecta);
  advance_reveal_stage(m);
  // The escalation's picture is got ready during the preparation's pause.
  makai_escalation_ahead(m);
  if (!run_preparation(m, yosou_numbers3_Q)) return std::nullopt;
  return yosou_numbers3_crt(m);
}

void yosou_numbers3_Q(MainWindow& m) {
  m.s.yosou_keta = 7;
  draw_lucky_values(m, {m.s.yosou_keta, 1, 43, true, date_and_panel_row});
  m.WaitTimer(2);
  m.close_midi();
}

std::optional<Prediction> yosou_numbers3_crt(MainWindow& m) {
  set_result_list_colours(m);
  write_result_heading(m, "  ■■■■  Quilo ピルピルθK 魔界３連単 予想結果 ■■■■");
  m.set_result_line(2, QStringLiteral(" "));
  for (int k = 2; k <= 8; ++k)
    if (m.s.yosou_num[k].isEmpty()) m.s.yosou_num[k] = QStringLiteral("33");
  store_panel_numbers(m);
  // The bets and the count use the last digit of each lucky value.
  for (int k = 6; k <= 8; ++k) m.s.yosou_num[k] = number_text(leading_number(m.s.yosou_num[k])).right(1);
  count_makai_chance_level(m);
  show_background(m, m.s.chance_level, false);

  const QString favourite = m.text(form1::Combo14);
  return finish_ticket(m, form1::Command1, TicketKind::Trifecta,
                       {m.text(form1::Combo1),
                        {m.text(form1::Combo5), m.text(form1::Combo13), m.text(form1::Combo2), favourite},
                        {favourite, m.s.yosou_num[6], favourite, m.s.yosou_num[7]}});
}

}  // namespace quilo
