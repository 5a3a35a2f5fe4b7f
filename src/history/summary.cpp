// Settling every recorded bet and summing the figures per bet type.
#include "history/summary.h"

#include <QSet>

#include <map>

namespace quilo {

Summary summarize(const std::vector<RunRecord>& runs, const ResultsByRace& results, const Period& period) {
  constexpr int kTypes = int(std::size(kBetTypes));
  Figures figures[kTypes];
  QSet<QString> races[kTypes];
  QSet<QString> all_races;
  Summary out;
  for (const RunRecord& run : runs) {
    const QString& key = run.race;
    const auto result = results.constFind(key);
    if (result == results.constEnd() || !period.contains(run.day)) continue;
    for (const Bet& bet : run.prediction.bets) {
      // A bet that could not be bought was never staked.
      if (!bet.buyable) continue;
      const int t = int(bet.type);
      const BetOutcome o = settle(bet, *result);
      for (Figures* f : {&figures[t], &out.overall}) {
        ++f->bets;
        f->hits += o.hit;
        f->stake += bet.stake;
        f->payback += o.payback;
      }
      races[t].insert(key);
      all_races.insert(key);
    }
  }
  for (BetType type : kBetTypes) {
    figures[int(type)].races = int(races[int(type)].size());
    out.by_type.emplace_back(type, figures[int(type)]);
  }
  out.overall.races = int(all_races.size());
  return out;
}

QString percent_text(qint64 part, qint64 whole) {
  if (whole <= 0) return QStringLiteral("－");
  // Tenths of a percent, half up, in whole numbers: no floating-point ties.
  const qint64 tenths = (part * 2000 + whole) / (2 * whole);
  return QStringLiteral("%1.%2%").arg(tenths / 10).arg(tenths % 10);
}

QString yen_text(qint64 yen) {
  QString digits = QString::number(yen < 0 ? -yen : yen);
  for (qsizetype i = digits.size() - 3; i > 0; i -= 3) digits.insert(i, QLatin1Char(','));
  return yen < 0 ? QLatin1Char('-') + digits : digits;
}

std::vector<BalancePoint> balance_over_time(const std::vector<RunRecord>& runs, const ResultsByRace& results,
                                            std::optional<BetType> type, const Period& period) {
  std::map<QDate, qint64> by_day;
  for (const RunRecord& run : runs) {
    const auto result = results.constFind(run.race);
    const QDate& date = run.day;
    if (result == results.constEnd() || !period.contains(date)) continue;
    for (const Bet& bet : run.prediction.bets) {
      if ((type && bet.type != *type) || !bet.buyable) continue;
      by_day[date] += settle(bet, *result).payback - bet.stake;
    }
  }
  std::vector<BalancePoint> out;
  qint64 balance = 0;
  for (const auto& [date, change] : by_day) out.push_back({date, balance += change});
  return out;
}

}  // namespace quilo
