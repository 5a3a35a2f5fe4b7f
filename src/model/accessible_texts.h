// What a screen reader says for each control of the program's windows: a
// Japanese name, and for buttons and inputs a short description of what the
// control does or what to enter. The control's key stays its object name.
#pragma once

#include "model/control.h"

#include <QString>

#include <utility>
#include <vector>

namespace quilo {

struct AccessibleText {
  QString name;
  QString description;  // empty where none
};

// The Japanese name and description a screen reader gives a control of a window
// (form "Form1", key as Control::key(): "Combo8", "Label1(37)"), or of the window
// itself (key empty). An unknown key is named by the key itself, so that nothing
// is ever left without a name.
AccessibleText accessible_text(const QString& form, const QString& key);

// The captions that stand beside inputs of a window, each with the input it
// names (caption key, input key): a screen reader reads the input as labelled
// by its caption.
std::vector<std::pair<QString, QString>> captioned_inputs(const QString& form);

// A chart's figures in words, for those who cannot see it: per line, the
// balance at its last day and its highest and lowest points.
QString chart_in_words(const std::vector<ChartSeries>& series);

}  // namespace quilo
