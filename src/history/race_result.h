// The official result of a race as its payout table lists it: the field,
// the horses that did not run, the finishing order with dead heats, and for
// each bet type its winning combinations with their payouts, or 特払い, or
// not sold. Settling a bet is a lookup in that table.
#pragma once

#include "history/records.h"

#include <QHash>
#include <QString>

#include <optional>
#include <vector>

namespace quilo {

// One row of the payout table: a winning combination of a bet type and what
// it pays per 100 yen. Bracket pairs are kept smaller bracket first.
struct Payout {
  BetType type;
  std::vector<int> numbers;
  int yen = 0;
  friend bool operator==(const Payout&, const Payout&) = default;
};

struct RaceResult {
  int field = 0;               // runners entered (頭数); the brackets follow from it
  std::vector<int> scratched;  // horses that did not run (取消・除外)
  // The finishing order: one group per place, several horses in a group
  // after a dead heat; the group after a dead heat of two takes the place
  // after the next ("5=2-12": 5 and 2 first, 12 third).
  std::vector<std::vector<int>> finish;
  std::vector<Payout> payouts;
  std::vector<BetType> special;   // 特払い
  std::vector<BetType> not_sold;  // types not sold although the field allows them
  friend bool operator==(const RaceResult&, const RaceResult&) = default;
};

// The results entered so far, by race key.
using ResultsByRace = QHash<QString, RaceResult>;

// The bracket (1 to 8) of a horse in a field: one horse a bracket up to
// eight runners; from nine on, the outer brackets take a second horse first
// and, past sixteen, a third (17: bracket 8 holds 15 to 17; 18: bracket 7
// holds 13 to 15 and bracket 8 16 to 18). Brackets never close up after a
// scratch. 0 for a number outside the field.
int bracket_of(int horse, int field);
// The horses of a bracket in a field.
std::vector<int> horses_of_bracket(int bracket, int field);

// Horses that ran: the field less the scratched.
int runners(const RaceResult& result);
// How many places 複勝 pays on: three from eight runners on, two from five
// to seven.
int paid_places(int runners);
// Whether the type was sold: the field allows it and it was not marked unsold.
bool sold(BetType type, const RaceResult& result);
// The combinations that won, from the finishing order: every order of tied
// horses wins; 複勝 pays on every horse within the paid places.
std::vector<std::vector<int>> winning_combinations(BetType type, const RaceResult& result);
// The number each place of the finish takes: {1, 1, 3} for "5=2-12".
int place_of(const RaceResult& result, int horse);

// The order as a fan writes it: "5-2-12", dead heats joined by "=" ("5=2-12");
// `between` goes between the places.
QString finish_text(const RaceResult& result, const QString& between = QStringLiteral("-"));

// What cannot be, in Japanese: a horse outside the field, a scratched horse
// placed, a place left out, a combination that did not win, a payout missing
// or below 100 yen, a payout for a type that was not sold. nullopt when the
// table is whole.
std::optional<QString> result_problem(const RaceResult& result);

enum class Outcome {
  Miss,
  Hit,
  Refund,     // 返還: a horse (or a whole bracket) did not run; out of stake and return
  Special,    // 特払い: nobody hit, every ticket of the type gets a share back
  NotBought,  // the ticket could not hold it, or the type was not sold
};

struct Settlement {
  Outcome outcome = Outcome::Miss;
  int yen = 0;  // paid per 100 yen
};
Settlement settle(const Bet& bet, const RaceResult& result);

// What a bet of `stake` yen paid at `yen` per 100; kYenOver past the limit.
qint64 paid(qint64 stake, int yen);

// 的中, －, 返還, 特払い, 対象外.
QString outcome_name(Outcome outcome);

}  // namespace quilo
