// The trifecta prediction (３連単): lucky digits by the race date, four bets
// from the left panel with one lucky digit, a background scene by chance level.
#include "engines/engine_support.h"
#include "engines/engines.h"
#include "presentation/effects.h"
#include "presentation/shell_commands.h"
#include "presentation/ticket.h"

namespace quilo {

namespace {

// The first favourite's odds at or below each of these add one to the chance level.
constexpr float kTrifectaThresholds[] = {3.4f, 2.8f, 1.9f, 1.6f};

}  // namespace

std::optional<Prediction> Command8_Click(MainWindow& m) {
  if (!m.check_odds_entered() || !m.odds_or_message(1) || !check_ticket_inputs(m)) return std::nullopt;
  m.c(form1::Image2).visible = true;
  m.load_gf_background(QStringLiteral("kihonfuremu.bmp"));
  m.load_gf_picture(form1::Image2, QStringLiteral("PIRUPIRUoff.bmp"));
  m.load_gf_picture(form1::Image1, QStringLiteral("3renbaken.bmp"));
  m.s.yosou_mode = 1;
  show_ticket(m, TicketKind::Trifecta);
  m.play_se(QStringLiteral("voice047.wav"));
  advance_reveal_stage(m);
  if (!run_preparation(m, yosou_loto6_Q)) return std::nullopt;
  return yosou_loto6_crt(m);
}

void yosou_loto6_Q(MainWindow& m) {
  m.s.yosou_keta = 8;
  draw_lucky_values(m, {m.s.yosou_keta, 1, 9, false, date_row});
  m.WaitTimer(2);
}

std::optional<Prediction> yosou_loto6_crt(MainWindow& m) {
  set_result_list_colours(m);
  write_result_heading(m, "  ■■■■  Quilo ピルピルθK ３連単 予想結果 ■■■■");
  m.set_result_line(2, QStringLiteral(" "));
  store_panel_numbers(m);
  count_chance_level(m, kTrifectaThresholds);
  show_background(m, m.s.chance_level, true);

  const QString third = m.text(form1::Combo1);
  return finish_ticket(
      m, form1::Command8, TicketKind::Trifecta,
      {m.text(form1::Combo2),
       {m.text(form1::Combo14), m.text(form1::Combo13), m.text(form1::Combo5), m.s.yosou_num[6]},
       {third, third, third, third}});
}

}  // namespace quilo
