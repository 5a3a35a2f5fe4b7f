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
        f->stake = add_yen(f->stake, bet.stake);
        f->payback = add_yen(f->payback, o.payback);
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
  if (whole <= 0 || part == kYenOver || whole == kYenOver) return QStringLiteral("－");
  // Tenths of a percent, half up (away from zero), in whole numbers: no
  // floating-point ties. 128 bits hold any 64-bit share times 2000.
  const bool negative = part < 0;
  const unsigned __int128 size = negative ? -static_cast<__int128>(part) : static_cast<__int128>(part);
  unsigned __int128 tenths =
      (size * 2000 + static_cast<unsigned __int128>(whole)) / (2 * static_cast<unsigned __int128>(whole));
  const int last = int(tenths % 10);
  QString digits;
  tenths /= 10;
  do {
    digits.prepend(QLatin1Char(char('0' + int(tenths % 10))));
    tenths /= 10;
  } while (tenths > 0);
  const QString sign =
      negative && (last > 0 || digits != QLatin1String("0")) ? QStringLiteral("-") : QString();
  return QStringLiteral("%1%2.%3%").arg(sign, digits).arg(last);
}

QString yen_text(qint64 yen) {
  if (yen == kYenOver) return QStringLiteral("上限超過");
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
      qint64& day = by_day[date];
      day = add_yen(add_yen(day, settle(bet, *result).payback), -qint64(bet.stake));
    }
  }
  // A balance past the limit is no number to draw: the line ends before it.
  std::vector<BalancePoint> out;
  qint64 balance = 0;
  for (const auto& [date, change] : by_day) {
    balance = add_yen(balance, change);
    if (balance == kYenOver) break;
    out.push_back({date, balance});
  }
  return out;
}

}  // namespace quilo
