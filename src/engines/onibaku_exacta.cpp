// The onibaku exacta prediction (鬼爆馬単): a background scene counted from the
// previous run's digits, a staging chosen by the two favourites' odds, then
// the Combo1 horse to win with each other panel horse second.
#include "app/app.h"
#include "engines/engine_support.h"
#include "presentation/ticket.h"

namespace quilo {
namespace {

// The month and three panel horses choose the row; an unpicked horse counts
// as entry -1.
int month_and_panel_row(const App& app) {
  return 3 * app.selected(form1::Combo5) + 4 * app.selected(form1::Combo3) +
         2 * app.selected(form1::Combo2) + 2 * app.selected(form1::Combo14) +
         18;
}

// The first favourite's odds at or below each of these add one to the chance level.
constexpr float kOnibakuThresholds[] = {3.5f, 2.7f, 2.3f, 1.7f};

}  // namespace

void App::Command6_Click() {
  // The staging compares both odds: both must be numbers.
  if (!check_odds_entered() || !odds_or_message(1) || !odds_or_message(2)) return;
  load_gf_picture(form1::Image2, QStringLiteral("PIRUPIRUoff.bmp"));
  load_gf_picture(form1::Image1, QStringLiteral("umatanbaken.bmp"));
  c(form1::Image2).visible = false;
  // The count reads yosou_num as the previous prediction left it.
  count_chance_level(kOnibakuThresholds);
  show_background(s.chance_level, false);
  play_onibaku_staging();
  s.yosou_mode = 0;
  show_ticket(TicketKind::Exacta);
  advance_reveal_stage();
  if (!run_preparation(*this, &App::yosou_numbers4_Q)) return;
  yosou_numbers4_crt();
}

void App::yosou_numbers4_Q() {
  if (s.yosou_mode == 0 || s.yosou_mode == 1) s.yosou_keta = 7;
  draw_lucky_values(*this, {s.yosou_keta + 1, 0, 9, true, month_and_panel_row});
  WaitTimer(2);
  close_midi();
}

void App::yosou_numbers4_crt() {
  set_result_list_colours(*this);
  write_result_heading(*this, "  ■■■■  Quilo ピルピルθK 鬼爆馬単 予想結果 ■■■■");
  set_result_line(2, QStringLiteral(" "));
  store_panel_numbers(*this);

  finish_ticket(*this, TicketKind::Exacta,
                {text(form1::Combo1),
                 {text(form1::Combo2), text(form1::Combo13),
                  text(form1::Combo5), text(form1::Combo14)},
                 {}});
}

}  // namespace quilo
