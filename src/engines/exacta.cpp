// The exacta prediction (馬単): the 1st favourite to win with each other panel
// horse second, and the chance lamp from lucky digits drawn by the race date.
#include "app/app.h"
#include "engines/engine_support.h"
#include "presentation/ticket.h"

namespace quilo {

namespace {

// The first favourite's odds at or below each of these add one to the chance level.
constexpr float kExactaThresholds[] = {2.1f, 1.7f};

}  // namespace

void App::Command3_Click() {
  if (!check_odds_entered() || !odds_or_message(1)) return;
  c(form1::Image2).visible = true;
  load_gf_background(QStringLiteral("kihonfuremu.bmp"));
  load_gf_picture(form1::Image1, QStringLiteral("umatanbaken.bmp"));
  load_gf_picture(form1::Image2, QStringLiteral("PIRUPIRUoff.bmp"));
  s.yosou_mode = 0;
  show_ticket(TicketKind::Exacta);
  play_se(QStringLiteral("voice047.wav"));
  advance_reveal_stage();
  if (!run_preparation(*this, &App::yosou_numbers_mini_Q)) return;
  yosou_numbers_mini_crt();
}

void App::yosou_numbers_mini_Q() {
  if (s.yosou_mode == 0 || s.yosou_mode == 1) s.yosou_keta = 7;
  draw_lucky_values(*this, {s.yosou_keta + 1, 0, 9, true, date_row});
  WaitTimer(2);
}

void App::yosou_numbers_mini_crt() {
  set_result_list_colours(*this);
  store_panel_numbers(*this);
  write_result_heading(*this, "  ■■■■ Quilo ピルピルθK 馬単 予想結果 ■■■■");
  count_chance_level(kExactaThresholds);
  show_exacta_chance(s.chance_level);

  finish_ticket(*this, TicketKind::Exacta,
                {text(form1::Combo14),
                 {text(form1::Combo2), text(form1::Combo13),
                  text(form1::Combo5), text(form1::Combo1)},
                 {}});
}

}  // namespace quilo
