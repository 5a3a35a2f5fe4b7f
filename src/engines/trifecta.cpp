// The trifecta prediction (３連単): lucky digits by the race date, four bets
// from the left panel with one lucky digit, a background scene by chance level.
#include "app/app.h"
#include "engines/engine_support.h"
#include "presentation/ticket.h"

namespace quilo {

namespace {

// The first favourite's odds at or below each of these add one to the chance level.
constexpr float kTrifectaThresholds[] = {3.4f, 2.8f, 1.9f, 1.6f};

}  // namespace

void App::Command8_Click() {
  if (!check_odds_entered() || !odds_or_message(1)) return;
  c(form1::Image2).visible = true;
  load_gf_background(QStringLiteral("kihonfuremu.bmp"));
  load_gf_picture(form1::Image2, QStringLiteral("PIRUPIRUoff.bmp"));
  load_gf_picture(form1::Image1, QStringLiteral("3renbaken.bmp"));
  s.yosou_mode = 1;
  show_ticket(TicketKind::Trifecta);
  play_se(QStringLiteral("voice047.wav"));
  advance_reveal_stage();
  if (!run_preparation(*this, &App::yosou_loto6_Q)) return;
  yosou_loto6_crt();
}

void App::yosou_loto6_Q() {
  if (s.yosou_mode == 0 || s.yosou_mode == 1) s.yosou_keta = 8;
  draw_lucky_values(*this, {s.yosou_keta, 1, 9, false, date_row});
  WaitTimer(2);
}

void App::yosou_loto6_crt() {
  set_result_list_colours(*this);
  write_result_heading(*this, "  ■■■■  Quilo ピルピルθK ３連単 予想結果 ■■■■");
  set_result_line(2, QStringLiteral(" "));
  store_panel_numbers(*this);
  count_chance_level(kTrifectaThresholds);
  show_background(s.chance_level, true);

  const QString third = text(form1::Combo1);
  finish_ticket(*this, TicketKind::Trifecta,
                {text(form1::Combo2),
                 {text(form1::Combo14), text(form1::Combo13),
                  text(form1::Combo5), s.yosou_num[6]},
                 {third, third, third, third}});
}

}  // namespace quilo
