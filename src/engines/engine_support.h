// What the four ticket predictions share: drawing lucky values from
// crt_table, the result heading, the panel numbers and the output copy.
#pragma once

#include "history/records.h"
#include "model/ticket_design.h"
#include "state/main_window.h"

#include <array>
#include <optional>
#include <vector>

namespace quilo {

// A preparation stage found no acceptable value in a column before the last
// row of crt_table: the command ends with a message.
struct TableRunOut {
  int column;
};

// How a preparation stage draws its lucky values.
struct LuckyDraw {
  int positions;                       // positions 1..positions, position j reads column j
  int lowest, highest;                 // accepted values
  bool distinct_2_to_6;                // positions 2..6 must differ from every earlier one
  int (*base_row)(const MainWindow&);  // the row before the offset, from the inputs
};

// The row of the race date before the offset: 1 January reads row 18, each
// day moves 3 rows, each month 4 (a typed month or day counts as entry -1).
int date_row(const MainWindow& app);

// Fills yosou_num slots 1..positions (slots 1..8 emptied first), the
// diagnostic captions Label4(j-1) (row) and Label4(j+7) (value) and crt_row.
// Each rejected value, and each row above the table's first row, moves the
// row of this and every later position down by one. Throws TableRunOut when a
// position needs a row past the end of the table.
void draw_lucky_values(MainWindow& app, const LuckyDraw& draw);

// Runs a preparation stage; false (after telling the user) when the table ran out.
bool run_preparation(MainWindow& app, void (*stage)(MainWindow&));

// The hidden result list's colours.
void set_result_list_colours(MainWindow& app);
// Result lines 0 (the title) and 1 (date, racecourse and race from the ticket).
void write_result_heading(MainWindow& app, const char* title);
// yosou_num slots 1..5: the panel horse numbers as plain decimal text.
void store_panel_numbers(MainWindow& app);
// output_lines 0..3 from result lines 0..3.
void copy_result_lines_to_output(MainWindow& app);

// The four bets of a ticket: the horse first in every row, and each row's
// second and (trifecta only) third horse, as texts for the cells.
struct Bets {
  QString first;
  std::array<QString, 4> second;
  std::array<QString, 4> third;
};
// Writes the bets into the ticket's cells, result line 3 read back from the
// cells, then output_lines 0..3 from result lines 0..3, and hands the
// prediction of `command` with the ticket's bets.
std::optional<Prediction> finish_ticket(MainWindow& app, ControlName command, TicketKind kind,
                                        const Bets& bets);

// The completed prediction of `command`: the race inputs, the odds, the
// chance level and the output lines as they stand now, with these bets. A run
// with no bet that can be bought is not recorded: nullopt then.
std::optional<Prediction> complete_prediction(MainWindow& app, ControlName command, std::vector<Bet> bets);

// The checks every ticket prediction makes after the odds, before anything
// shows: the race date exists and the panel holds different running horses.
bool check_ticket_inputs(MainWindow& app);

}  // namespace quilo
