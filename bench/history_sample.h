// A made-up history for the measurements: run n of a long use of the
// program, and the official result of the race it was on. Three runs a
// race, 36 races a day on three racecourses, every command (the rating ones
// with a chance level, 複勝 and 枠連 without), four bets a run, one run in
// seven bought, and a result entered for one race in four: one result per
// twelve runs. The same n always gives the same run.
#pragma once

#include "history/race_result.h"
#include "history/records.h"

#include <QDate>
#include <QDateTime>
#include <QStringList>

#include <optional>

namespace quilo::bench {

inline constexpr int kRunsPerRace = 3;
inline constexpr int kRacesPerDay = 36;
inline constexpr int kField = 16;

inline const char* const kRacecourses[] = {"東京", "中山", "京都", "阪神", "中京",
                                           "新潟", "福島", "小倉", "札幌", "函館"};

struct SampleCommand {
  const char* key;
  BetType type;
  bool rates;
};
inline constexpr SampleCommand kSampleCommands[] = {
    {"Command8", BetType::Trifecta, true}, {"Command3", BetType::Exacta, true},
    {"Command1", BetType::Trifecta, true}, {"Command6", BetType::Exacta, true},
    {"Command11", BetType::Place, false},  {"Command12", BetType::Bracket, false},
};

inline int race_of_run(qint64 n) { return int(n / kRunsPerRace); }
inline bool race_has_result(int race) { return race % 4 == 0; }

inline QDate day_of_race(int race) { return QDate(2000, 1, 1).addDays(race / kRacesPerDay); }

inline RaceInputs race_inputs(int race) {
  const QDate day = day_of_race(race);
  const int course = (race / kRacesPerDay * 3 + race % kRacesPerDay / 12) % 10;
  return {QString::number(day.year()),
          QStringLiteral("%1").arg(day.month(), 2, 10, QChar('0')),
          QStringLiteral("%1").arg(day.day(), 2, 10, QChar('0')),
          QString::fromUtf8(kRacecourses[course]),
          QStringLiteral("%1Ｒ").arg(1 + race % 12, 2, 10, QChar('0')),
          QStringLiteral("%1頭").arg(kField)};
}

// The finishing order of a race: three different horses.
inline std::vector<int> finish_of(int race) {
  const int first = 1 + race * 7 % kField;
  const int second = 1 + (first + race % 5) % kField;
  const int third = 1 + (second + 2 + race % 3) % kField;
  return {first, second, third};
}

// The payout table of a race: every winning combination of every type.
inline RaceResult result_of_race(int race) {
  RaceResult r;
  r.field = kField;
  for (int h : finish_of(race)) r.finish.push_back({h});
  const int base[] = {1500, 23400, 700, 150};
  for (std::size_t t = 0; t < std::size(kBetTypes); ++t) {
    int k = 0;
    for (const auto& numbers : winning_combinations(kBetTypes[t], r))
      r.payouts.push_back({kBetTypes[t], numbers, base[t] + 10 * (race % 97) + 40 * k++});
  }
  return r;
}

// When run n was recorded: on its race day, a minute apart.
inline QDateTime recorded_at(qint64 n) {
  return QDateTime(day_of_race(race_of_run(n)), QTime(9, 0).addSecs(int(n % 600) * 60));
}

// Run n: its command's bets, one run in five with the winning combination first.
inline Prediction sample_run(qint64 n) {
  const int race = race_of_run(n);
  // Every command on races with a result and on races without.
  const SampleCommand& c = kSampleCommands[(n + n / 12) % std::size(kSampleCommands)];
  Prediction p;
  p.command = QString::fromLatin1(c.key);
  p.race = race_inputs(race);
  p.odds1 = QStringLiteral("%1.%2").arg(1 + n % 9).arg(n % 10);
  p.odds2 = QStringLiteral("%1.0").arg(2 + n % 30);
  p.chance_level = c.rates ? int(n % 10) : kNoLevel;
  const std::vector<int> finish = finish_of(race);
  for (int row = 0; row < 4; ++row) {
    const int a = 1 + int(n + row * 5) % kField, b = 1 + (a + 3 + row) % kField, d = 1 + (b + 5) % kField;
    Bet bet{c.type, {}, 100 * (4 - row), true, {}};
    switch (c.type) {
      case BetType::Trifecta:
        bet.numbers = row == 0 && n % 5 == 0 ? finish : std::vector<int>{a, b, d};
        break;
      case BetType::Exacta:
        bet.numbers =
            row == 0 && n % 5 == 0 ? std::vector<int>{finish[0], finish[1]} : std::vector<int>{a, b};
        break;
      case BetType::Place:
        bet.numbers = {row == 0 && n % 5 == 0 ? finish[2] : a};
        bet.stake = 100;
        break;
      case BetType::Bracket:
        bet.numbers = {1 + row, 5 + int(n % 4)};
        bet.stake = 100;
        break;
    }
    p.bets.push_back(std::move(bet));
  }
  p.lines = {QStringLiteral("  ■■■■  Quilo %1 予想結果 ■■■■").arg(p.command),
             QStringLiteral("     %1年%2月%3日 %4%5")
                 .arg(p.race.year, p.race.month, p.race.day, p.race.racecourse, p.race.race),
             QStringLiteral("    [翠甲星帝地球背景]"), QStringLiteral("     %1").arg(n),
             QStringLiteral("　")};
  return p;
}

// Whether the user bought run n, and at how many yen a bet (nullopt: as the ticket).
inline bool sample_bought(qint64 n) { return n % 7 == 3; }
inline std::optional<int> sample_bought_stake(qint64 n) {
  return n % 14 == 3 ? std::optional<int>(200) : std::nullopt;
}

}  // namespace quilo::bench
