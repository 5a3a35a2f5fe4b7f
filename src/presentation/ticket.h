// The mock betting ticket on the main window: which label holds which bet,
// and the bets read back as one line.
#pragma once

#include "app/main_window.h"
#include "model/ticket_design.h"

#include <QString>

#include <vector>

namespace quilo {

// Positions on a ticket row: three for the trifecta, two for the exacta.
int ticket_positions(TicketKind kind);

// The key of the bet cell of a row (1..4) and position ("Label1(37)").
QString ticket_cell(TicketKind kind, int row, int position);

// The four bets read back from the ticket cells: positions joined by "⇒"
// (trifecta) or "◆" (exacta), rows by " , ".
QString ticket_bets_line(const MainWindow& m, TicketKind kind);

// The bets the ticket shows: each row's horses in order, at the row's amount.
// A row with a cell that is not a horse number is no bet.
std::vector<Bet> ticket_bets(const MainWindow& m, TicketKind kind);

// Prepares the ticket of a prediction: its header from the race inputs, the
// labels of its face and the total line.
void show_ticket(MainWindow& m, TicketKind kind);

}  // namespace quilo
