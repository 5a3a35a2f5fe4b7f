// The program's behaviour as a whole: its four windows and the dispatch of
// a button press to the command it runs; a prediction a command completes
// goes into the history. Behaviour works only on the window
// model and the platform seam.
#pragma once

#include "state/explanation_window.h"
#include "state/main_window.h"
#include "windows/history_window.h"
#include "windows/output_window.h"

#include <QString>
#include <QStringList>

#include <vector>

namespace quilo {

class App {
 public:
  // history_file: the history file; empty keeps the history in memory.
  explicit App(Platform& platform, const QString& history_file = {});
  App(const App&) = delete;
  App& operator=(const App&) = delete;

  MainWindow& main() { return main_; }
  const MainWindow& main() const { return main_; }
  ExplanationWindow& explanation() { return explanation_; }
  const ExplanationWindow& explanation() const { return explanation_; }
  OutputWindow& output() { return output_; }
  const OutputWindow& output() const { return output_; }
  HistoryWindow& history() { return history_; }
  const HistoryWindow& history() const { return history_; }
  // A window's form by name ("Form1" .. "Form4"); nullptr for none.
  Form* form(const QString& name);
  const Form* form(const QString& name) const;

  // The main window's load, at start-up. The history file opens when first
  // needed: a start costs no database.
  void start();

  // Presses a button (or option) of a window, as a user does. Returns false
  // when there is no such control. While a command runs (inside its pauses)
  // the buttons of the main window other than THE END do nothing, so that two
  // runs never interleave.
  bool click(const QString& form, const QString& control);
  // Every button and option of every window, in the order of the dispatch
  // table: what a test or a fuzzer presses to reach every command.
  struct ButtonId {
    QString form, control;
  };
  static std::vector<ButtonId> buttons();
  // True when the window has such a button (or option).
  bool has_button(const QString& form, const QString& control) const;
  // Picks entry `index` of a control (a list, a table, a choice) of a window
  // that follows its own picks, as a user's click does: the output window's
  // drive, folder and file lists, the history window's tables and choices.
  // False when there is no such entry, or the window follows no picks.
  bool pick(const QString& form, const QString& control, int index);
  // True when the window follows its own picks (see pick()); the others'
  // choices keep what is picked in them as it is.
  static bool follows_picks(const QString& form);
  // True when the control is a button that a press would run now.
  bool accepts_click(const QString& form, const QString& control) const;
  bool busy() const { return busy_ > 0; }
  // The pictures the button's command would show at once if it were pressed
  // now (none for most buttons, and none while the press would not run).
  QStringList opening_pictures(const QString& form, const QString& control) const;

  // The running command goes on without waiting: each of its later pauses
  // returns at once, so every remaining step still happens, in order. Does
  // nothing while no command runs.
  void skip_staging();
  // The next command runs as if skip_staging() came at its first pause.
  void skip_next_command() { skip_next_ = true; }
  bool skipping() const { return main_.skipping; }

  // The main window closed by the window system instead of THE END.
  void main_window_closed();

 private:
  MainWindow main_;
  ExplanationWindow explanation_;
  OutputWindow output_;
  HistoryWindow history_;
  QString history_file_;
  int busy_ = 0;
  bool skip_next_ = false;
};

}  // namespace quilo
