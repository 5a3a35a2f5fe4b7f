// What the history keeps: a completed prediction (the race as its inputs
// show it, the odds, the chance level, the bets and the output lines), the
// official result of a race, and the hit and return of a bet against it.
#pragma once

#include <QDate>
#include <QDateTime>
#include <QString>

#include <array>
#include <limits>
#include <optional>
#include <vector>

namespace quilo {

enum class BetType { Exacta, Trifecta, Bracket, Place };
inline constexpr BetType kBetTypes[] = {BetType::Exacta, BetType::Trifecta, BetType::Bracket, BetType::Place};

// How a bet type wins, read from the finishing order.
enum class WinRule {
  InOrder,    // the first horses in order (馬単, ３連単)
  Unordered,  // the first horses in any order
  Brackets,   // the brackets of the first two in any order (枠連)
  Placed,     // one horse within the places paid (複勝)
};

// What the program knows of a bet type: one row per type (records.cpp). A
// new bet type is a row here, its payout box in the 成績 window, its engine
// and its art; the history file keeps it by key with no change of schema.
struct BetTypeInfo {
  BetType type;
  const char* key;        // "exacta": the name the file and the dump use
  const char* name;       // 馬単
  std::size_t positions;  // numbers in a bet
  WinRule rule;
  int smallest_field;  // sold in races of this many runners or more
  int special_yen;     // 特払い: yen paid per 100 when nobody hit
  const char* joiner;  // between the numbers as shown: "→" or "-"
  bool ordered() const { return rule == WinRule::InOrder; }
  bool brackets() const { return rule == WinRule::Brackets; }
};
const BetTypeInfo& bet_type_info(BetType type);

// "exacta", "trifecta", "bracket", "place": the names the file and the dump use.
QString bet_type_key(BetType type);
std::optional<BetType> bet_type_from_key(const QString& key);
// 馬単, ３連単, 枠連, 複勝.
QString bet_type_name(BetType type);
// The numbers of a bet as a fan writes them: "5→2→12", "3-5", "7".
QString combination_text(BetType type, const std::vector<int>& numbers);

struct Bet {
  BetType type;
  std::vector<int> numbers;  // horse numbers in order; bracket numbers for 枠連
  int stake = 0;             // yen
  // A bet that no window sells (a horse twice, a horse that does not run) is
  // kept as drawn but never bought: it has no stake in the figures and never hits.
  bool buyable = true;
  QString why;  // why it cannot be bought
  friend bool operator==(const Bet&, const Bet&) = default;
};

// The race inputs as the main window showed them.
struct RaceInputs {
  QString year, month, day, racecourse, race, field_size;
  friend bool operator==(const RaceInputs&, const RaceInputs&) = default;
};

// What makes two runs the same race: the date, the racecourse and the race
// number, read from the inputs ("01" and "1" are the same month).
QString race_key(const RaceInputs& race);
// The race date, when the inputs make one.
std::optional<QDate> race_date(const RaceInputs& race);

// The chance level of a run whose command rates no race.
inline constexpr int kNoLevel = -1;

// A completed run of a prediction command.
struct Prediction {
  QString command;  // the button: "Command8"
  RaceInputs race;
  QString odds1, odds2;  // as typed
  int chance_level = 0;  // kNoLevel: the command rates no race (複勝, 枠連)
  std::vector<Bet> bets;
  std::array<QString, 5> lines;  // the five lines an output writes
};

// A recorded run.
struct RunRecord {
  qint64 id = 0;
  // When it was recorded, as the clock showed it: "2010-04-10T09:30:00".
  QString when;
  Prediction prediction;
  // Worked out once from the above (see recorded_run): the race it was on,
  // and the day it counts on in a period and the chart: the race date, or the
  // day it was recorded when the inputs make no date.
  QString race;
  QDate day;
  // Whether the user bought it, and at how many yen a bet (nullopt: the
  // amounts of the ticket).
  bool bought = false;
  std::optional<int> bought_stake;
};

RunRecord recorded_run(qint64 id, const QString& when, Prediction prediction);

// A time as the history keeps it.
QString history_time(const QDateTime& time);
// "2010-04-10T09:30:00" shown as "2010/04/10 09:30" (seconds: with them).
QString shown_time(const QString& when, bool seconds = false);

// What a value read back from the history file may be. The program never
// records anything outside these ranges; they stand far above any real race
// so that no genuine record is ever refused, and a row holding a value
// outside its range (a file edited or spoilt by something else) is left out
// rather than read as a number it cannot be.
inline constexpr int kLargestField = 20;           // the most runners the field-size box offers
inline constexpr int kLargestBracket = 8;          // brackets 1 to 8
inline constexpr int kMaxStake = 100'000'000;      // yen on one bet
inline constexpr int kMaxPayout = 1'000'000'000;   // yen per 100 yen
inline constexpr int kMaxBetNumber = 999'999'999;  // a horse or bracket number of a bet: nine digits as typed
inline constexpr int kMaxChanceLevel = 100;
// Whether a bet read back is within the ranges above.
bool plausible(const Bet& bet);

// Yen figures (returns, sums, balances) stop at kYenLimit instead of wrapping
// round: a figure past it in either direction is kYenOver, stays so whatever
// is added, and is shown as such.
inline constexpr qint64 kYenLimit = 999'999'999'999'999'999;
inline constexpr qint64 kYenOver = std::numeric_limits<qint64>::max();
qint64 add_yen(qint64 a, qint64 b);

}  // namespace quilo
