// The headless scenario mode: the program driven by a script of user actions,
// without a window, against the headless platform.
#pragma once

#include "app/app.h"
#include "media/headless_platform.h"

#include <QJsonObject>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <optional>

namespace quilo {

class ScenarioRunner {
 public:
  // history_file: the history file; empty keeps the history in memory.
  explicit ScenarioRunner(const QString& history_file = {});

  // Runs one line of a script. Returns an error text when the line cannot be
  // understood. Start-up runs before the first action that needs the window.
  std::optional<QString> run_line(const QString& line);
  // Runs a whole script; stops at the first line that cannot be understood
  // and returns its error ("line N: ...").
  std::optional<QString> run_script(const QString& script);
  // Ends the script: runs start-up when no action has needed it yet.
  void finish();

  // The state as one JSON object; takes the events logged since the last dump.
  QJsonObject dump();
  // The same as one line of compact JSON text (without the line end); the
  // events go into it as text, however many there are.
  QByteArray dump_line();

  App& app() { return *app_; }
  HeadlessPlatform& platform() { return platform_; }
  bool started() const { return started_; }
  void start();

  // Lines printed by "dump" actions, in order, when no sink takes them.
  QStringList output;
  // Takes each dump line as it is made (nothing is kept then); returns false
  // when the line could not be written, which stops the script.
  std::function<bool(const QByteArray&)> sink;

 private:
  std::optional<QString> run_action(const QString& verb, const QString& rest);

  HeadlessPlatform platform_;
  std::unique_ptr<App> app_;
  bool started_ = false;
  int line_no_ = 0;
};

// Runs a script read from a file ("-" for standard input), printing each dump
// as one line on standard output. Returns the process exit code. A non-empty
// output_folder is where the output window opens (as the "folder" action);
// history_file is the history file (empty: in memory).
int run_scenario_file(const QString& path, const QString& output_folder = {},
                      const QString& history_file = {});

}  // namespace quilo
