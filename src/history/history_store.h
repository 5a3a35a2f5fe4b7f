// The history file: the one class that talks to SQLite (through Qt SQL).
// Runs, their bets and the results of races live in one database file in
// write-ahead-log mode, so that several instances of the program record into
// it at once; a schema version and a list of migrations bring an older file
// up to date. Before anything writes to it, the file is looked at read-only:
// only the program's own history (or an empty or missing file) is used; any
// other file is left exactly as it is, and a damaged history is moved aside
// under a dated name, its logs with it, and a new one is started.
#pragma once

#include "history/race_result.h"
#include "history/records.h"
#include "history/summary.h"

#include <QDateTime>
#include <QHash>
#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace quilo {

class HistoryStore {
 public:
  // The schema as steps: step n brings a file at version n-1 to version n.
  struct Migration {
    int version;
    QStringList statements;
    // Work that SQL alone cannot do, run after the statements in the same
    // transaction on the named connection; false (with `error`) undoes the step.
    bool (*fill)(const QString& connection, QString& error) = nullptr;
  };
  static const std::vector<Migration>& migrations();

  // Opens the history file at `path`, making it (and its folder) when
  // missing; an empty path keeps the history in memory. `now` names a
  // damaged file that is moved aside. Whatever happens, the store can
  // record: when the file cannot be used, the history goes to memory and
  // notice() says why.
  explicit HistoryStore(const QString& path, const QDateTime& now = QDateTime::currentDateTime(),
                        const std::vector<Migration>& steps = migrations());
  ~HistoryStore();
  HistoryStore(const HistoryStore&) = delete;
  HistoryStore& operator=(const HistoryStore&) = delete;

  // The file in use; empty while the history is kept in memory.
  QString file() const { return file_; }
  // What the user should be told about the opening, in Japanese; empty when
  // all went well.
  QString notice() const { return notice_; }
  int schema_version() const;
  // Whether this opening read the file whole to check it (at most once a week).
  bool checked_at_opening() const { return checked_; }

  // Records a completed run (settled at once when its race has a result);
  // false (the error in last_error()) when the file could not take it.
  bool record(const Prediction& prediction, const QDateTime& when);
  // Every run, oldest first, each with its bets, and the results, read at
  // one moment; nullopt (the error in last_error()) when the file cannot be
  // read. A row holding a value outside its range (see plausible()) is left
  // out and counted, and so are the bets of a run left out.
  struct Contents {
    std::vector<RunRecord> runs;
    ResultsByRace results;
    int left_out = 0;
  };
  std::optional<Contents> read() const;
  int run_count() const;
  // Enters or corrects the result of a race and settles its bets.
  bool save_result(const QString& race, const RaceResult& result, const QDateTime& when);
  bool remove_result(const QString& race);
  std::optional<RaceResult> result_of(const QString& race) const;
  // Marks a run as bought (at `stake` yen a bet; nullopt: the ticket's
  // amounts) or not bought.
  bool set_bought(qint64 run, bool bought, std::optional<int> stake);
  // Removes a run and its bets: it counts nowhere any more.
  bool remove_run(qint64 run);

  // What the 成績 window shows, summed by the database rather than read row
  // by row, so that opening the window costs the same at any size.
  struct RaceRow {
    QString key;
    RaceInputs race;  // as its newest run showed it
    int runs = 0;
    int bets = 0;  // staked bets, once settled
    int hits = 0;
    qint64 payback = 0;
    std::optional<QString> finish;  // the result's order, once entered
  };
  // A number that changes whenever another connection (another instance of
  // the program) has written to the file; nullopt when it cannot be read.
  std::optional<qint64> data_version() const;
  // How many rows read() would leave out, counted by the database.
  std::optional<int> left_out() const;
  // The newest `limit` races (of race day, then of recording) and how many there are.
  std::optional<std::vector<RaceRow>> races(int limit, int* total) const;
  struct BetRow {
    qint64 run = 0;
    QString when, command;
    int chance_level = kNoLevel;
    bool bought = false;
    std::optional<int> bought_stake;
    Bet bet;
    std::optional<Settlement> settled;  // once the race has a result
  };
  // The bets of a race's runs, newest run first.
  std::optional<std::vector<BetRow>> race_bets(const QString& race) const;
  // The figures of a ledger over a period, one row per group, and the
  // figures of the whole period.
  std::optional<std::vector<FigureRow>> figures(Ledger ledger, Grouping grouping, const Period& period) const;
  std::optional<Figures> overall(Ledger ledger, const Period& period, std::optional<BetType> type = {}) const;
  // The settled races of a ledger (of one type or all), oldest first, into `fold`.
  bool fold_races(Ledger ledger, const Period& period, std::optional<BetType> type, RaceFold& fold) const;
  QString last_error() const { return error_; }

 private:
  // What a file is, found without writing to it (history_file_check.cpp).
  enum class Kind { Missing, Own, Newer, Damaged, OtherDatabase, NotDatabase, Unreadable };
  Kind inspect(const QString& path, int latest, const QDate& today);
  enum class Opening { Ready, Newer, NotMigrated, Failed };
  Opening open_file(const QString& path, const std::vector<Migration>& steps);
  // Moves a damaged file aside with its logs; the new name, or empty.
  QString move_aside(const QString& file, const QDateTime& now);
  void open_memory(const std::vector<Migration>& steps);
  bool migrate(const std::vector<Migration>& steps);
  // Notes in the file that it was checked whole today.
  void note_checked(const QDate& today);
  void close();
  QString connection_;
  QString file_;
  QString notice_;
  bool checked_ = false;  // the opening read the file whole to check it
  mutable QString error_;
};

}  // namespace quilo
