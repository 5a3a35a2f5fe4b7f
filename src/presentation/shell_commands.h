// The commands of the main window that do not predict: exit, how to use, and
// the reveal of the diagnostic column.
#pragma once

#include "state/main_window.h"

#include <cstdint>

namespace quilo {

class ExplanationWindow;

// Reveal thresholds: how many how-to-use presses a prediction must find,
// and how many such predictions open the diagnostic column.
constexpr std::int16_t kRevealPressThreshold = 3;
constexpr std::int16_t kRevealStageThreshold = 2;

void Command5_Click(MainWindow& m);  // THE END
// How to use: the manual picture, the features list and the explanation window.
void Command2_Click(MainWindow& m, ExplanationWindow& explanation);
// Called by each ticket prediction before its preparation stage.
void advance_reveal_stage(MainWindow& m);
// The main window closed by the window system instead of THE END.
void form1_closed_by_user(MainWindow& m);

}  // namespace quilo
