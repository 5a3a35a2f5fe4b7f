#include "presentation/shell_commands.h"

#include "state/explanation_window.h"

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

void Command5_Click(MainWindow& m) {
  m.play_se(QStringLiteral("gasha.wav"));
  m.close_midi();
  m.form.open = false;
}

void form1_closed_by_user(MainWindow& m) {
  m.close_midi();
  m.form.open = false;
}

void Command2_Click(MainWindow& m, ExplanationWindow& explanation) {
  SharedState& s = m.s;
  m.load_gf_picture(form1::Image1, QStringLiteral("usermane.bmp"));
  for (int i = 1; i <= 44; ++i) m.label(form1::Label1, i).visible = false;
  for (int i = 0; i <= 7; ++i) m.label(form1::Label3, i).visible = false;
  for (int i = 0; i <= 3; ++i) m.label(form1::unbuyable_mark, i).visible = false;
  m.c(form1::Label14).visible = false;
  m.c(form1::Label7).visible = false;

  // The press counter stops at its largest value instead of overflowing.
  if (s.reveal_press_count < std::numeric_limits<std::int16_t>::max()) ++s.reveal_press_count;
  if (s.reveal_stage == kRevealStageThreshold) {
    s.reveal_press_count = 0;
    s.reveal_stage = 0;
    for (int i = 0; i <= 15; ++i) m.label(form1::Label4, i).visible = true;
  }

  for (int i = 0; i <= 5; ++i) m.set_result_line(i, QString());
  m.play_se(QStringLiteral("fm009.wav"));
  for (int i = 0; i <= 4; ++i) m.set_result_line(i, QString::fromUtf8(kFeatures[i]));

  if (!explanation.form.open) explanation.Form_Load();
}

void advance_reveal_stage(MainWindow& m) {
  SharedState& s = m.s;
  if (s.reveal_press_count == kRevealPressThreshold) {
    s.reveal_press_count = 0;
    if (s.reveal_stage < std::numeric_limits<std::int16_t>::max()) ++s.reveal_stage;
  }
}

}  // namespace quilo
