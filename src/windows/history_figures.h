// The 成績 window's figures: the table of all time by bet type (Grid3), the
// table of the period by the grouping chosen (Grid4), the captions of the
// ledger and the streaks, the lowest chance level that paid, and the chart;
// and the period as typed into its two date boxes.
#pragma once

#include "history/history_store.h"
#include "media/platform.h"
#include "model/form.h"

#include <optional>

namespace quilo {

// Fills the figures of the ledger chosen (Combo2), grouped as chosen
// (Combo3), charted as chosen (Combo1); false when the store cannot be read
// (what was filled by then stays).
bool show_history_figures(Form& form, const HistoryStore& store, const Period& dates);

// The period the two date boxes give (an empty box is an open end); nullopt,
// after telling the user, when a date cannot be read or the ends are reversed.
std::optional<Period> period_from_inputs(const Form& form, Platform& platform);

}  // namespace quilo
