// The commands of the main window that do not predict: the odds check, exit,
// how to use with its explanation window, and the reveal of the diagnostic column.
#include "app/app.h"

#include "app/numbers.h"

#include <limits>

namespace quilo {
namespace {

const char* const kFeatures[] = {
    "「競馬予想 Quilo ピルピルθKの特徴」",
    "",
    " ① 効果の有る電卓予想",
    " ② 高配当も狙える出目",
    " ③ 本命鉄板レース判断",
};

}  // namespace

bool App::check_odds_entered() {
  if (trim_blanks(text(form1::Text1)).isEmpty()) {
    platform_.message(QStringLiteral("1番人気のオッズが入力されていません"), kOddsTitle, Buttons::OK);
    return false;
  }
  if (trim_blanks(text(form1::Text2)).isEmpty()) {
    platform_.message(QStringLiteral("2番人気のオッズが入力されていません"), kOddsTitle, Buttons::OK);
    return false;
  }
  return true;
}

std::optional<float> App::odds(int which) const {
  return parse_odds(text(which == 1 ? form1::Text1 : form1::Text2));
}

std::optional<float> App::odds_or_message(int which) {
  auto v = odds(which);
  if (!v)
    platform_.message(QStringLiteral("%1番人気のオッズが数値ではありません").arg(which), kOddsTitle,
                      Buttons::OK);
  return v;
}

void App::Command5_Click() {
  play_se(QStringLiteral("gasha.wav"));
  close_midi();
  form1.open = false;
}

void App::form1_closed_by_user() {
  close_midi();
  form1.open = false;
}

void App::Command2_Click() {
  load_gf_picture(form1::Image1, QStringLiteral("usermane.bmp"));
  for (int i = 1; i <= 44; ++i) label(form1::Label1, i).visible = false;
  for (int i = 0; i <= 7; ++i) label(form1::Label3, i).visible = false;
  c(form1::Label14).visible = false;
  c(form1::Label7).visible = false;

  // The press counter stops at its largest value instead of overflowing.
  if (s.reveal_press_count < std::numeric_limits<std::int16_t>::max()) ++s.reveal_press_count;
  if (s.reveal_stage == kRevealStageThreshold) {
    s.reveal_press_count = 0;
    s.reveal_stage = 0;
    for (int i = 0; i <= 15; ++i) label(form1::Label4, i).visible = true;
  }

  for (int i = 0; i <= 5; ++i) set_result_line(i, QString());
  play_se(QStringLiteral("fm009.wav"));
  for (int i = 0; i <= 4; ++i) set_result_line(i, QString::fromUtf8(kFeatures[i]));

  if (!form2.open) Form2_Form_Load();
}

void App::advance_reveal_stage() {
  if (s.reveal_press_count == kRevealPressThreshold) {
    s.reveal_press_count = 0;
    if (s.reveal_stage < std::numeric_limits<std::int16_t>::max()) ++s.reveal_stage;
  }
}

void App::Form2_Form_Load() { form2.open = true; }

void App::Form2_Command2_Click() { form2.open = false; }

}  // namespace quilo
