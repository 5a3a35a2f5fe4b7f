// The table of prediction commands.
#include "engines/prediction_commands.h"

#include "engines/engines.h"
#include "presentation/effects.h"

namespace quilo {
namespace {

const PredictionCommand kPredictionCommands[] = {
    {form1::Command3, "馬単", BetType::Exacta, true, Command3_Click},
    {form1::Command8, "３連単", BetType::Trifecta, true, Command8_Click},
    {form1::Command6, "鬼爆馬単", BetType::Exacta, true, Command6_Click, onibaku_opening_pictures},
    {form1::Command1, "魔界3連単", BetType::Trifecta, true, Command1_Click, makai_opening_pictures},
    {form1::Command11, "複勝", BetType::Place, false, Command11_Click},
    {form1::Command12, "枠連", BetType::Bracket, false, Command12_Click},
};

}  // namespace

std::span<const PredictionCommand> prediction_commands() { return kPredictionCommands; }

const PredictionCommand* prediction_command(const QString& control) {
  for (const auto& row : kPredictionCommands)
    if (control == QLatin1String(row.control.key)) return &row;
  return nullptr;
}

QString prediction_name(const QString& control) {
  const PredictionCommand* row = prediction_command(control);
  return row ? QString::fromUtf8(row->name) : control;
}

}  // namespace quilo
