// Bet types, race identity and the ranges of what the history reads back.
#include "history/records.h"

#include "text/whole_numbers.h"

#include <QStringList>

#include <algorithm>

namespace quilo {
namespace {

const BetTypeInfo kBetTypeRows[] = {
    // 馬単 and ３連単 pay on the finishing order; 枠連 on the pair of brackets
    // of the first two, sold from nine runners on; 複勝 on one of the placed
    // horses, sold from five runners on. 特払い pays 70 yen per 100, 80 on
    // the types that return 80 per cent (複勝).
    {BetType::Exacta, "exacta", "馬単", 2, WinRule::InOrder, 2, 70, "→"},
    {BetType::Trifecta, "trifecta", "３連単", 3, WinRule::InOrder, 3, 70, "→"},
    {BetType::Bracket, "bracket", "枠連", 2, WinRule::Brackets, 9, 70, "-"},
    {BetType::Place, "place", "複勝", 1, WinRule::Placed, 5, 80, "-"},
};

}  // namespace

const BetTypeInfo& bet_type_info(BetType type) {
  for (const auto& row : kBetTypeRows)
    if (row.type == type) return row;
  return kBetTypeRows[0];
}

QString bet_type_key(BetType type) { return QString::fromLatin1(bet_type_info(type).key); }

std::optional<BetType> bet_type_from_key(const QString& key) {
  for (const auto& row : kBetTypeRows)
    if (key == QLatin1String(row.key)) return row.type;
  return std::nullopt;
}

QString bet_type_name(BetType type) { return QString::fromUtf8(bet_type_info(type).name); }

QString combination_text(BetType type, const std::vector<int>& numbers) {
  QStringList parts;
  for (int n : numbers) parts << QString::number(n);
  return parts.join(QString::fromUtf8(bet_type_info(type).joiner));
}

QString race_key(const RaceInputs& race) {
  auto number = [](const QString& text) {
    const auto n = leading_whole(text);
    return n ? QString::number(*n) : text.trimmed();
  };
  return QStringList{number(race.year), number(race.month), number(race.day), race.racecourse.trimmed(),
                     number(race.race)}
      .join(QLatin1Char('|'));
}

std::optional<QDate> race_date(const RaceInputs& race) {
  const auto y = leading_whole(race.year), m = leading_whole(race.month), d = leading_whole(race.day);
  if (!y || !m || !d) return std::nullopt;
  const QDate date(*y, *m, *d);
  if (!date.isValid()) return std::nullopt;
  return date;
}

QString history_time(const QDateTime& time) { return time.toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss")); }

QString shown_time(const QString& when, bool seconds) {
  QString shown = when.left(seconds ? 19 : 16);
  shown.replace(QLatin1Char('-'), QLatin1Char('/')).replace(QLatin1Char('T'), QLatin1Char(' '));
  return shown;
}

RunRecord recorded_run(qint64 id, const QString& when, Prediction prediction) {
  RunRecord run{id, when, std::move(prediction), {}, {}};
  run.race = race_key(run.prediction.race);
  run.day = race_date(run.prediction.race).value_or(QDate::fromString(when.left(10), Qt::ISODate));
  return run;
}

bool plausible(const Bet& bet) {
  if (bet.stake < 0 || bet.stake > kMaxStake || bet.numbers.size() != bet_type_info(bet.type).positions)
    return false;
  return std::all_of(bet.numbers.begin(), bet.numbers.end(),
                     [](int n) { return n >= 0 && n <= kMaxBetNumber; });
}

qint64 add_yen(qint64 a, qint64 b) {
  qint64 sum = 0;
  if (a == kYenOver || b == kYenOver || __builtin_add_overflow(a, b, &sum) || sum > kYenLimit ||
      sum < -kYenLimit)
    return kYenOver;
  return sum;
}

}  // namespace quilo
