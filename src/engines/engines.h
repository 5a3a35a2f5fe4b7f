// The prediction engines and the advice command of the main window: each
// command is a click handler, each engine a preparation stage (…_Q) and a
// result stage (…_crt), all functions over the main window.
#pragma once

#include "app/main_window.h"

namespace quilo {

// Trifecta (３連単).
void Command8_Click(MainWindow& m);
void yosou_loto6_Q(MainWindow& m);
void yosou_loto6_crt(MainWindow& m);

// Makai trifecta (魔界3連単).
void Command1_Click(MainWindow& m);
void yosou_numbers3_Q(MainWindow& m);
void yosou_numbers3_crt(MainWindow& m);

// Exacta (馬単).
void Command3_Click(MainWindow& m);
void yosou_numbers_mini_Q(MainWindow& m);
void yosou_numbers_mini_crt(MainWindow& m);

// Onibaku exacta (鬼爆馬単).
void Command6_Click(MainWindow& m);
void yosou_numbers4_Q(MainWindow& m);
void yosou_numbers4_crt(MainWindow& m);

// Advice (上位設定決定) and the course and field-size pick table.
void Command4_Click(MainWindow& m);
void apply_course_picks(MainWindow& m, const QString& context);

// Place (複勝).
void Command11_Click(MainWindow& m);
void place_command(MainWindow& m);
void yosou_mini_loto_Q(MainWindow& m);
void yosou_mini_loto_crt(MainWindow& m);

// Bracket (枠連). The preparation stage returns false when it ran out of
// table rows before it drew every bracket; the result stage is then skipped.
void Command12_Click(MainWindow& m);
bool yosou_WAKU_Q(MainWindow& m);
void yosou_WAKU_crt(MainWindow& m);

}  // namespace quilo
