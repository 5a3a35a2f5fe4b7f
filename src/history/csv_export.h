// The history as a CSV file for spreadsheets: one row per bet (a run without
// bets gets one row of its own), with the race, the run, the result and the
// return. Every cell stays text as written: combinations are written with
// arrows ("5→2→12", not "5-2-12", which a spreadsheet reads as a date), and a
// cell that a spreadsheet would take for a formula (=, +, -, @, tab, CR at
// its start) begins with an apostrophe. Windows-31J for the spreadsheets
// Japanese users have, or UTF-8 with a byte-order mark.
#pragma once

#include "history/race_result.h"

#include <QByteArray>
#include <QString>

#include <optional>
#include <vector>

namespace quilo {

enum class CsvEncoding { Windows31J, Utf8WithBom };

// A cell as the file writes it, before quoting: a plain number as a
// spreadsheet would write it back ("04" is 4), a formula's start neutralised.
QString csv_cell(const QString& text);

// The name a run's command is listed under ("３連単" for "Command8"); the
// commands' own table knows it, which lives above the history.
using CommandName = QString (*)(const QString& control);

// The whole file as bytes, lines ending in CR LF.
QByteArray history_csv(const std::vector<RunRecord>& runs, const ResultsByRace& results, CsvEncoding encoding,
                       CommandName command_name);

// Writes the file whole or not at all (a file that is there stays as it was
// when the write fails). Returns what went wrong, in Japanese, or nullopt.
std::optional<QString> write_history_csv(const QString& path, const std::vector<RunRecord>& runs,
                                         const ResultsByRace& results, CsvEncoding encoding,
                                         CommandName command_name);

}  // namespace quilo
