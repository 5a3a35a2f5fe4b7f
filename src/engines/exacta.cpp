// The exacta prediction (馬単): the 1st favourite to win with each other panel
// horse second, and the chance lamp from lucky digits drawn by the race date.
#include "engines/engine_support.h"
#include "engines/engines.h"
#include "presentation/effects.h"
#include "presentation/shell_commands.h"
#include "presentation/ticket.h"

namespace quilo {

namespace {

// The first favourite's odds at or below each of these add one to the chance level.
constexpr float kExactaThresholds[] = {2.1f, 1.7f};

}  // namespace

std::optional<Prediction> Command3_Click(MainWindow& m) {
  if (!m.check_odds_entered() || !m.odds_or_message(1) || !check_ticket_inputs(m)) return std::nullopt;
  m.c(form1::Image2).visible = true;
  m.load_gf_background(QStringLiteral("kihonfuremu.bmp"));
  m.load_gf_picture(form1::Image1, QStringLiteral("umatanbaken.bmp"));
  m.load_gf_picture(form1::Image2, QStringLiteral("PIRUPIRUoff.bmp"));
  m.s.yosou_mode = 0;
  show_ticket(m, TicketKind::Exacta);
  m.play_se(QStringLiteral("voice047.wav"));
  advance_reveal_stage(m);
  if (!run_preparation(m, yosou_numbers_mini_Q)) return std::nullopt;
  return yosou_numbers_mini_crt(m);
}

void yosou_numbers_mini_Q(MainWindow& m) {
  m.s.yosou_keta = 7;
  draw_lucky_values(m, {m.s.yosou_keta + 1, 0, 9, true, date_row});
  m.WaitTimer(2);
}

std::optional<Prediction> yosou_numbers_mini_crt(MainWindow& m) {
  set_result_list_colours(m);
  store_panel_numbers(m);
  write_result_heading(m, "  ■■■■ Quilo ピルピルθK 馬単 予想結果 ■■■■");
  count_chance_level(m, kExactaThresholds);
  show_exacta_chance(m, m.s.chance_level);

  return finish_ticket(
      m, form1::Command3, TicketKind::Exacta,
      {m.text(form1::Combo14),
       {m.text(form1::Combo2), m.text(form1::Combo13), m.text(form1::Combo5), m.text(form1::Combo1)},
       {}});
}

}  // namespace quilo
