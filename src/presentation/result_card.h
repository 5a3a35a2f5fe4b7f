// The result card over the ticket: the place, bracket and teaching commands
// show their result on it, every other command of the main window clears it.
#pragma once

#include "state/main_window.h"

namespace quilo {

// Shows result lines 0, 2 and 4 on the card.
void show_result_card(MainWindow& m);
void hide_result_card(MainWindow& m);
// Adds a line to the card saying that the run holds no bet to buy and so
// went into no history.
void note_nothing_recorded(MainWindow& m);

}  // namespace quilo
