// The prediction commands in one table: the button, its name as the 成績
// window and the CSV show it, the bet type its ticket holds, whether it
// rates the race with a chance level, the handler and the pictures it shows
// at once. The dispatch, the history and the tests all read this table: a
// new prediction command is one row, its engine and its art.
#pragma once

#include "history/records.h"
#include "model/control_names.h"
#include "state/main_window.h"

#include <QStringList>

#include <optional>
#include <span>

namespace quilo {

struct PredictionCommand {
  ControlName control;
  const char* name;  // ３連単, 魔界3連単
  BetType type;
  bool rates;                                           // counts a chance level (複勝 and 枠連 do not)
  std::optional<Prediction> (*run)(MainWindow&);        // the prediction it completed, if any
  QStringList (*opening)(const MainWindow&) = nullptr;  // pictures to get ready as it is approached
};

std::span<const PredictionCommand> prediction_commands();
// The row of a command ("Command8"); nullptr for a command that predicts nothing.
const PredictionCommand* prediction_command(const QString& control);
// The command's name as the history shows it: "３連単"; the key itself for an unknown one.
QString prediction_name(const QString& control);

}  // namespace quilo
