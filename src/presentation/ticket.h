// The mock betting ticket on the main window: which label holds which bet,
// and the bets read back as one line.
#pragma once

#include "history/records.h"
#include "model/ticket_design.h"
#include "state/main_window.h"

#include <QString>

#include <optional>
#include <vector>

namespace quilo {

// Positions on a ticket row: three for the trifecta, two for the exacta.
int ticket_positions(TicketKind kind);

// The key of the bet cell of a row (1..4) and position ("Label1(37)").
QString ticket_cell(TicketKind kind, int row, int position);

// The four bets read back from the ticket cells: positions joined by "⇒"
// (trifecta) or "◆" (exacta), rows by " , ".
QString ticket_bets_line(const MainWindow& m, TicketKind kind);

// The bets the ticket shows, one per row: the row's horses in order (a cell
// that is no horse number reads 0), at the row's amount, and whether a window
// would sell it in a race of this field size (nullopt: not checked).
std::vector<Bet> ticket_bets(const MainWindow& m, TicketKind kind, std::optional<int> field);

// The total line for these bets: the buyable rows' amounts in yen and in
// 100-yen tickets, in full-width digits ("合計★★★１０枚★★★１,０００円").
QString ticket_total(const std::vector<Bet>& bets);

// Marks the rows whose bet cannot be bought and writes the total of the rest.
void mark_ticket_rows(MainWindow& m, const std::vector<Bet>& bets);

// Prepares the ticket of a prediction: its header from the race inputs, the
// labels of its face and the total line.
void show_ticket(MainWindow& m, TicketKind kind);

}  // namespace quilo
