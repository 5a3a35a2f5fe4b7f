// Bet types, race identity and the hit and return of a bet.
#include "history/records.h"

#include "history/whole_numbers.h"

#include <QStringList>

#include <algorithm>

namespace quilo {
namespace {

struct BetTypeRow {
  BetType type;
  const char* key;
  const char* name;
  std::size_t positions;  // numbers in a bet
};

const BetTypeRow kBetTypeRows[] = {
    {BetType::Exacta, "exacta", "馬単", 2},
    {BetType::Trifecta, "trifecta", "３連単", 3},
    {BetType::Bracket, "bracket", "枠連", 2},
    {BetType::Place, "place", "複勝", 1},
};

// The fields of a result with the range each may hold.
struct ResultRange {
  int (*value)(const RaceResult&);
  int low, high;
};

const ResultRange kResultRanges[] = {
    {[](const RaceResult& r) { return r.first; }, 1, kLargestField},
    {[](const RaceResult& r) { return r.second; }, 1, kLargestField},
    {[](const RaceResult& r) { return r.third; }, 1, kLargestField},
    {[](const RaceResult& r) { return r.bracket1; }, 1, kLargestBracket},
    {[](const RaceResult& r) { return r.bracket2; }, 1, kLargestBracket},
    {[](const RaceResult& r) { return r.exacta; }, 0, kMaxPayout},
    {[](const RaceResult& r) { return r.trifecta; }, 0, kMaxPayout},
    {[](const RaceResult& r) { return r.bracket; }, 0, kMaxPayout},
    {[](const RaceResult& r) { return r.place[0]; }, 0, kMaxPayout},
    {[](const RaceResult& r) { return r.place[1]; }, 0, kMaxPayout},
    {[](const RaceResult& r) { return r.place[2]; }, 0, kMaxPayout},
};

const BetTypeRow& row_of(BetType type) {
  for (const auto& row : kBetTypeRows)
    if (row.type == type) return row;
  return kBetTypeRows[0];
}

// Does the bet's horse order match the first finishers?
bool in_order(const std::vector<int>& numbers, std::initializer_list<int> finish) {
  return numbers.size() == finish.size() && std::equal(numbers.begin(), numbers.end(), finish.begin());
}

}  // namespace

QString bet_type_key(BetType type) { return QString::fromLatin1(row_of(type).key); }

std::optional<BetType> bet_type_from_key(const QString& key) {
  for (const auto& row : kBetTypeRows)
    if (key == QLatin1String(row.key)) return row.type;
  return std::nullopt;
}

QString bet_type_name(BetType type) { return QString::fromUtf8(row_of(type).name); }

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
  if (bet.stake < 0 || bet.stake > kMaxStake || bet.numbers.size() != row_of(bet.type).positions)
    return false;
  return std::all_of(bet.numbers.begin(), bet.numbers.end(),
                     [](int n) { return n >= 0 && n <= kMaxBetNumber; });
}

bool plausible(const RaceResult& result) {
  return std::all_of(std::begin(kResultRanges), std::end(kResultRanges), [&](const ResultRange& range) {
    const int v = range.value(result);
    return v >= range.low && v <= range.high;
  });
}

qint64 add_yen(qint64 a, qint64 b) {
  qint64 sum = 0;
  if (a == kYenOver || b == kYenOver || __builtin_add_overflow(a, b, &sum) || sum > kYenLimit ||
      sum < -kYenLimit)
    return kYenOver;
  return sum;
}

BetOutcome settle(const Bet& bet, const RaceResult& r) {
  if (!bet.buyable) return {};
  const auto& n = bet.numbers;
  int payout = 0;
  switch (bet.type) {
    case BetType::Exacta:
      if (in_order(n, {r.first, r.second})) payout = r.exacta;
      break;
    case BetType::Trifecta:
      if (in_order(n, {r.first, r.second, r.third})) payout = r.trifecta;
      break;
    case BetType::Bracket:
      if (in_order(n, {r.bracket1, r.bracket2}) || in_order(n, {r.bracket2, r.bracket1})) payout = r.bracket;
      break;
    case BetType::Place:
      if (n.size() == 1) {
        const int finish[] = {r.first, r.second, r.third};
        for (int i = 0; i < 3; ++i)
          if (n[0] == finish[i]) payout = r.place[i];
      }
      break;
  }
  if (payout <= 0) return {};
  qint64 paid = 0;
  if (__builtin_mul_overflow(qint64(bet.stake), qint64(payout), &paid) || paid / 100 > kYenLimit ||
      paid / 100 < -kYenLimit)
    return {true, kYenOver};
  return {true, paid / 100};
}

}  // namespace quilo
