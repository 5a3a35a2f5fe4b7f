// The onibaku exacta prediction (鬼爆馬単): a background scene counted from the
// previous run's digits, a staging chosen by the two favourites' odds, then
// the Combo1 horse to win with each other panel horse second.
#include "engines/engine_support.h"
#include "engines/engines.h"
#include "presentation/effects.h"
#include "presentation/shell_commands.h"
#include "presentation/ticket.h"

namespace quilo {
namespace {

// The month and three panel horses choose the row; an unpicked horse counts
// as entry -1.
int month_and_panel_row(const MainWindow& app) {
  return 3 * app.selected(form1::Combo5) + 4 * app.selected(form1::Combo3) + 2 * app.selected(form1::Combo2) +
         2 * app.selected(form1::Combo14) + 18;
}

// The first favourite's odds at or below each of these add one to the chance level.
constexpr float kOnibakuThresholds[] = {3.5f, 2.7f, 2.3f, 1.7f};

}  // namespace

std::optional<Prediction> Command6_Click(MainWindow& m) {
  // The staging compares both odds: both must be numbers.
  if (!m.check_odds_entered() || !m.odds_or_message(1) || !m.odds_or_message(2) || !check_ticket_inputs(m))
    return std::nullopt;
  m.load_gf_picture(form1::Image2, QStringLiteral("PIRUPIRUoff.bmp"));
  m.load_gf_picture(form1::Image1, QStringLiteral("umatanbaken.bmp"));
  m.c(form1::Image2).visible = false;
  // The count reads yosou_num as the previous prediction left it.
  count_chance_level(m, kOnibakuThresholds);
  show_background(m, m.s.chance_level, false);
  play_onibaku_staging(m);
  m.s.yosou_mode = 0;
  show_ticket(m, TicketKind::Exacta);
  advance_reveal_stage(m);
  if (!run_preparation(m, yosou_numbers4_Q)) return std::nullopt;
  return yosou_numbers4_crt(m);
}

void yosou_numbers4_Q(MainWindow& m) {
  m.s.yosou_keta = 7;
  draw_lucky_values(m, {m.s.yosou_keta + 1, 0, 9, true, month_and_panel_row});
  m.WaitTimer(2);
  m.close_midi();
}

std::optional<Prediction> yosou_numbers4_crt(MainWindow& m) {
  set_result_list_colours(m);
  write_result_heading(m, "  ■■■■  Quilo ピルピルθK 鬼爆馬単 予想結果 ■■■■");
  m.set_result_line(2, QStringLiteral(" "));
  store_panel_numbers(m);

  return finish_ticket(
      m, form1::Command6, TicketKind::Exacta,
      {m.text(form1::Combo1),
       {m.text(form1::Combo2), m.text(form1::Combo13), m.text(form1::Combo5), m.text(form1::Combo14)},
       {}});
}

}  // namespace quilo
