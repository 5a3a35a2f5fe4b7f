// What a screen reader says for each control of the program's windows: a
// Japanese name, and for buttons and inputs a short description of what the
// control does or what to enter. The control's key stays its object name.
#pragma once

#include <QString>

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

}  // namespace quilo
