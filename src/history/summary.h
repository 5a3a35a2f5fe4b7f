// The figures of the history: every recorded bet settled against the result
// of its race, summed per bet type and overall, and the cumulative balance
// over time for the chart.
#pragma once

#include "history/records.h"

#include <QHash>

#include <optional>
#include <vector>

namespace quilo {

// The results entered so far, by race key.
using ResultsByRace = QHash<QString, RaceResult>;

// A period of race dates, both ends included; an end left open is unbounded.
struct Period {
  std::optional<QDate> from, to;
  bool contains(const QDate& date) const { return (!from || date >= *from) && (!to || date <= *to); }
};

// The figures of one bet type (or all). Only bets on races whose result is
// entered count: a race still waiting for its result has neither won nor lost.
struct Figures {
  int races = 0;  // different races with a settled bet
  int bets = 0;
  int hits = 0;
  qint64 stake = 0;  // yen; kYenOver past the limit
  qint64 payback = 0;
};

struct Summary {
  std::vector<std::pair<BetType, Figures>> by_type;  // in the order of kBetTypes
  Figures overall;
};

Summary summarize(const std::vector<RunRecord>& runs, const ResultsByRace& results,
                  const Period& period = {});

// A share as a percentage with one decimal, rounded half up: 1 of 3 is
// "33.3%", 2 of 3 "66.7%", -1 of 3 "-33.3%"; "－" when there is nothing to
// divide by or either figure is past the limit.
QString percent_text(qint64 part, qint64 whole);
// Yen with thousands commas: "12,340"; "上限超過" for a figure past the limit.
QString yen_text(qint64 yen);

// The cumulative balance (payback minus stake) after each race day, of one
// bet type or (nullopt) of all; it ends before a balance past the limit.
struct BalancePoint {
  QDate date;
  qint64 balance = 0;
  friend bool operator==(const BalancePoint&, const BalancePoint&) = default;
};
std::vector<BalancePoint> balance_over_time(const std::vector<RunRecord>& runs, const ResultsByRace& results,
                                            std::optional<BetType> type, const Period& period = {});

}  // namespace quilo
