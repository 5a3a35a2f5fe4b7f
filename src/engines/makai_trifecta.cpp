// The makai trifecta prediction (魔界3連単): an opening staging, lucky values
// by the date and two panel horses, the Combo1 horse first in every bet, and
// an escalation of window pictures for each odds threshold passed.
#include "app/app.h"
#include "app/numbers.h"
#include "engines/engine_support.h"
#include "presentation/ticket.h"

namespace quilo {
namespace {

// The trifecta's date row, moved by the horses picked in Combo2 and Combo5
// (a typed horse counts as entry -1).
int date_and_panel_row(const App& app) {
  return 3 * app.selected(form1::Combo4) + 4 * app.selected(form1::Combo3) +
         app.selected(form1::Combo2) + 2 * app.selected(form1::Combo5) + 18;
}

}  // namespace

void App::Command1_Click() {
  if (!check_odds_entered() || !odds_or_message(1)) return;
  load_gf_picture(form1::Image2, QStringLiteral("PIRUPIRUoff.bmp"));
  load_gf_picture(form1::Image1, QStringLiteral("3renbaken.bmp"));
  c(form1::Image2).visible = false;
  play_makai_staging();
  s.yosou_mode = 1;
  show_ticket(TicketKind::Trifecta);
  advance_reveal_stage();
  if (!run_preparation(*this, &App::yosou_numbers3_Q)) return;
  yosou_numbers3_crt();
}

void App::yosou_numbers3_Q() {
  int highest = 43;
  if (s.yosou_mode == 0) {
    s.yosou_keta = 6;
    highest = 31;
  } else if (s.yosou_mode == 1) {
    s.yosou_keta = 7;
  }
  draw_lucky_values(*this, {s.yosou_keta, 1, highest, true, date_and_panel_row});
  WaitTimer(2);
  close_midi();
}

void App::yosou_numbers3_crt() {
  set_result_list_colours(*this);
  write_result_heading(*this, "  ■■■■  Quilo ピルピルθK 魔界３連単 予想結果 ■■■■");
  set_result_line(2, QStringLiteral(" "));
  for (int k = 2; k <= 8; ++k)
    if (s.yosou_num[k].isEmpty()) s.yosou_num[k] = QStringLiteral("33");
  store_panel_numbers(*this);
  // The bets and the count use the last digit of each lucky value.
  for (int k = 6; k <= 8; ++k) s.yosou_num[k] = number_text(leading_number(s.yosou_num[k])).right(1);
  count_makai_chance_level();
  show_background(s.chance_level, false);

  const QString favourite = text(form1::Combo14);
  finish_ticket(*this, TicketKind::Trifecta,
                {text(form1::Combo1),
                 {text(form1::Combo5), text(form1::Combo13),
                  text(form1::Combo2), favourite},
                 {favourite, s.yosou_num[6], favourite, s.yosou_num[7]}});
}

}  // namespace quilo
