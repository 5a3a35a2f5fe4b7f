// The prediction engines and the advice command of the main window: each
// command is a click handler, each engine a preparation stage (…_Q) and a
// result stage (…_crt), all functions over the main window. A command and
// its result stage return the prediction they completed, for the history; a
// run that a message ends, or that has no bet to buy, returns none.
#pragma once

#include "history/records.h"
#include "state/main_window.h"

#include <optional>

namespace quilo {

// Trifecta (３連単).
std::optional<Prediction> Command8_Click(MainWindow& m);
void yosou_loto6_Q(MainWindow& m);
std::optional<Prediction> yosou_loto6_crt(MainWindow& m);

// Makai trifecta (魔界3連単).
std::optional<Prediction> Command1_Click(MainWindow& m);
void yosou_numbers3_Q(MainWindow& m);
std::optional<Prediction> yosou_numbers3_crt(MainWindow& m);

// Exacta (馬単).
std::optional<Prediction> Command3_Click(MainWindow& m);
void yosou_numbers_mini_Q(MainWindow& m);
std::optional<Prediction> yosou_numbers_mini_crt(MainWindow& m);

// Onibaku exacta (鬼爆馬単).
std::optional<Prediction> Command6_Click(MainWindow& m);
void yosou_numbers4_Q(MainWindow& m);
std::optional<Prediction> yosou_numbers4_crt(MainWindow& m);

// Advice (上位設定決定) and the course and field-size pick table.
void Command4_Click(MainWindow& m);
void apply_course_picks(MainWindow& m, const QString& context);

// Place (複勝).
std::optional<Prediction> Command11_Click(MainWindow& m);
std::optional<Prediction> place_command(MainWindow& m);
void yosou_mini_loto_Q(MainWindow& m);
std::optional<Prediction> yosou_mini_loto_crt(MainWindow& m);

// Bracket (枠連). The preparation stage returns false when it ran out of
// table rows before it drew every bracket; the result stage is then skipped.
std::optional<Prediction> Command12_Click(MainWindow& m);
bool yosou_WAKU_Q(MainWindow& m);
std::optional<Prediction> yosou_WAKU_crt(MainWindow& m);

}  // namespace quilo
