// The 成績 window's lists: the recorded races, newest first, with their
// count (Grid1), and the runs and bets of the race picked there (Grid2). The
// race and the run picked stay picked across refreshes while they are listed.
#pragma once

#include "history/history_store.h"
#include "model/form.h"

#include <QString>

#include <vector>

namespace quilo {

// The races the list shows: the newest; a period narrows the figures, not the list.
inline constexpr int kListedRaces = 1000;

// A race as the window names it: its date, racecourse and race.
QString race_title(const RaceInputs& race);

class RaceList {
 public:
  // The races as the file lists them, and how many it has in all.
  void set_races(std::vector<HistoryStore::RaceRow> races, int total);
  // A run just recorded on race `key`: its race goes to the top of the list.
  void add_run(const QString& key, const RaceInputs& race);
  void set_bets(std::vector<HistoryStore::BetRow> bets) { bets_ = std::move(bets); }
  bool empty() const { return races_.empty(); }

  const HistoryStore::RaceRow* picked_race() const;
  const QString& picked_key() const { return picked_key_; }
  // The picked run (0: none) and its first bet row (nullptr: none listed).
  qint64 picked_run() const { return picked_run_; }
  const HistoryStore::BetRow* picked_run_row() const;
  void forget_picks();
  void forget_run() { picked_run_ = 0; }

  // Picks race `index` (its bets are read by show_bets) or the run of bet row
  // `index`, whose bought stake goes into 1点の購入額; false when there is no
  // such row.
  bool pick_race(Form& form, int index);
  bool pick_bet(Form& form, int index);

  // The races into Grid1 and their count; a picked race no longer listed is
  // forgotten.
  void show_races(Form& form);
  // The picked race's heading and bets, read from the store; false when they
  // cannot be read.
  bool show_bets(Form& form, const HistoryStore& store);
  // The bets as last read into Grid2.
  void show_bet_rows(Form& form);

 private:
  std::vector<HistoryStore::RaceRow> races_;
  int race_total_ = 0;
  std::vector<HistoryStore::BetRow> bets_;  // of the picked race
  QString picked_key_;
  qint64 picked_run_ = 0;
};

}  // namespace quilo
