// Helpers for headless tests: a working folder with tables, a scenario runner
// in it, and easy access to the dumped state.
#pragma once

#include "scenario/scenario.h"

#include <QJsonArray>
#include <QJsonObject>
#include <QString>
#include <QTemporaryDir>

#include <map>
#include <ostream>
#include <vector>

// Readable QStrings in test failures.
inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }

namespace quilo::test {

// A fresh working folder, made current, holding the committed tables unless
// told otherwise, and a scenario runner that starts there.
class Session {
 public:
  enum class Tables { Committed, None };
  explicit Session(Tables tables = Tables::Committed);
  ~Session();

  // Writes a file into the working folder (before start-up, to shape tables).
  void write_file(const QString& name, const QByteArray& bytes);
  // Writes a table column from values, one per line.
  void write_table(const QString& name, const std::vector<int>& values);
  QString path(const QString& name) const { return dir_.filePath(name); }

  // Runs script lines; fails the test on a line that cannot be understood.
  void run(const QString& script);
  // Runs the script, then dumps; returns the dump.
  QJsonObject dump(const QString& script = {});

  App& app() { return runner_.app(); }
  HeadlessPlatform& platform() { return runner_.platform(); }
  ScenarioRunner& runner() { return runner_; }

 private:
  QTemporaryDir dir_;
  QString previous_dir_;
  ScenarioRunner runner_;
};

// A table column holding the given rows (row -> value); every row before the
// last one given that is not named holds 0, which every engine rejects.
std::vector<int> table_rows(const std::map<int, int>& values);

// The folder of the built program, which holds the generated media.
QString program_folder();

// Accessors for a dump.
QJsonObject control(const QJsonObject& dump, const QString& key);
QString caption(const QJsonObject& dump, const QString& key);
bool visible(const QJsonObject& dump, const QString& key);
QJsonObject state(const QJsonObject& dump);
QJsonArray events(const QJsonObject& dump);
// Events of one kind, e.g. "message".
QJsonArray events_of(const QJsonObject& dump, const QString& kind);
// The events as compact one-line texts: "se fm009.wav", "pause 2",
// "picture Image2 PIRUPIRUoff.bmp", "background x.bmp", "message TEXT", ...
QStringList event_lines(const QJsonObject& dump);
// The texts of the message boxes among the events, in order.
QStringList messages(const QJsonObject& dump);
QStringList strings(const QJsonValue& array);

}  // namespace quilo::test
