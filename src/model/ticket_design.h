// The two faces of the mock betting ticket as data: which Label1 cells hold
// the bets of each row and position, which labels each face shows, and its
// total line. The ticket code and the picture checks read them from here.
#pragma once

#include <QString>

#include <array>
#include <initializer_list>

namespace quilo {

enum class TicketKind { Trifecta, Exacta };

struct TicketDesign {
  TicketKind kind;
  // Label1 indexes of the bet cells by row, then position (0: no such position).
  std::array<std::array<int, 3>, 4> cells;
  // Label1 indexes of the amounts (yen) of rows 1..4.
  std::array<int, 4> stake_cells;
  int positions;                  // bet positions on a row
  const char* between_positions;  // joins a row's positions in the result line
  // Label1 cells hidden on this face; every other one of 1..44 shows.
  std::initializer_list<int> hidden;
  bool markers_visible;  // the "◆" labels Label3(0)..Label3(7)
};

const TicketDesign& ticket_design(TicketKind kind);

// Whether the face shows the main window's control `key` ("Label1(9)",
// "Label3(2)"); controls that are no part of a face count as shown.
bool ticket_shows(TicketKind kind, const QString& key);

}  // namespace quilo
