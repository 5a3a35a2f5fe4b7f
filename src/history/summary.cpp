// How figures are shown, and the daily balance and streaks folded from races.
#include "history/summary.h"

#include <algorithm>

namespace quilo {

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

QString average_payout_text(const Figures& f) {
  if (f.hits <= 0 || f.hit_yen == kYenOver) return QStringLiteral("－");
  return yen_text((f.hit_yen + f.hits / 2) / f.hits);
}

void RaceFold::add(const RaceOutcome& race) {
  losing_ = race.hit ? 0 : losing_ + 1;
  streaks_.longest_losing = std::max(streaks_.longest_losing, losing_);
  // A balance past the limit is no number to draw: the line ends before it.
  if (over_) return;
  const qint64 total = add_yen(total_, race.balance);
  if (total == kYenOver) {
    over_ = true;
    return;
  }
  total_ = total;
  high_ = std::max(high_, total_);
  streaks_.drawdown = std::max(streaks_.drawdown, high_ - total_);
  if (!points_.empty() && points_.back().date == race.day) {
    points_.back().balance = total_;
    points_.back().change = add_yen(points_.back().change, race.balance);
  } else {
    points_.push_back({race.day, total_, race.balance});
  }
}

}  // namespace quilo
