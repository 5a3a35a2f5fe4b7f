// The figures of the history, as the store sums them: per bet type, month,
// year, racecourse or chance level, for every prediction (予想成績) or for
// the runs the user bought (収支); the balance over time; the longest losing
// run and the largest drawdown; and how figures are shown.
#pragma once

#include "history/records.h"

#include <QDate>
#include <QString>

#include <optional>
#include <vector>

namespace quilo {

// A period of race dates, both ends included; an end left open is unbounded.
struct Period {
  std::optional<QDate> from, to;
  bool contains(const QDate& date) const { return (!from || date >= *from) && (!to || date <= *to); }
};

// Every prediction as if bought at its ticket amounts, or only the runs the
// user marked as bought, at the amounts bought.
enum class Ledger { Predictions, Bought };

enum class Grouping { BetType, Month, Year, Racecourse, ChanceLevel };

// The figures of a group. Only bets on races whose result is entered count,
// and of them only what was staked: a refunded bet (返還) is counted apart,
// a bet that could not be bought not at all.
struct Figures {
  int races = 0;      // races with a staked bet
  int race_hits = 0;  // of them, races with a hit
  int bets = 0;
  int hits = 0;
  int refunds = 0;
  qint64 refunded = 0;  // yen given back, in neither stake nor return
  qint64 stake = 0;     // yen; kYenOver past the limit
  qint64 payback = 0;
  qint64 hit_yen = 0;   // the payouts per 100 yen of the hits, summed (for the average)
  int largest_yen = 0;  // the largest payout per 100 yen of a hit
  friend bool operator==(const Figures&, const Figures&) = default;
};

// One row of a table of figures: its group ("2010-04", "東京", a chance
// level) and, grouped by bet type or chance level, the type.
struct FigureRow {
  QString group;
  std::optional<BetType> type;
  std::optional<int> level;  // grouped by chance level: the level, nullopt for none (複勝, 枠連)
  Figures figures;
};

// A share as a percentage with one decimal, rounded half up: 1 of 3 is
// "33.3%", 2 of 3 "66.7%", -1 of 3 "-33.3%"; "－" when there is nothing to
// divide by or either figure is past the limit.
QString percent_text(qint64 part, qint64 whole);
// Yen with thousands commas: "12,340"; "上限超過" for a figure past the limit.
QString yen_text(qint64 yen);
// The average payout per 100 yen of the hits, whole yen; "－" without a hit.
QString average_payout_text(const Figures& f);

// The cumulative balance (payback minus stake) after each race day, with
// the day's own change; it ends before a balance past the limit.
struct BalancePoint {
  QDate date;
  qint64 balance = 0;
  qint64 change = 0;
  friend bool operator==(const BalancePoint&, const BalancePoint&) = default;
};

// A settled race in the order it ran, as the streak figures read it.
struct RaceOutcome {
  QDate day;
  bool hit = false;
  qint64 balance = 0;  // its payback minus its stake
};

struct Streaks {
  int longest_losing = 0;  // races in a row without a hit
  qint64 drawdown = 0;     // the largest fall of the cumulative balance from a high
  friend bool operator==(const Streaks&, const Streaks&) = default;
};

// Folds races, oldest first, into the daily balance and the streaks.
class RaceFold {
 public:
  void add(const RaceOutcome& race);
  std::vector<BalancePoint> balance() const { return points_; }
  Streaks streaks() const { return streaks_; }

 private:
  std::vector<BalancePoint> points_;
  Streaks streaks_;
  int losing_ = 0;
  qint64 total_ = 0, high_ = 0;
  bool over_ = false;
};

}  // namespace quilo
