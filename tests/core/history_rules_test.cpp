// The official payout table of real kinds of race (small fields, dead heats,
// scratches, 特払い, types not sold) as a fan enters it, the settling of bets
// against it, the brackets of a field, and how figures are shown.
#include "history/result_entry.h"
#include "history/summary.h"
#include "test_support.h"
#include "text/whole_numbers.h"

#include <gtest/gtest.h>

using namespace quilo;

namespace quilo {
// A payout table as the window would show it (for every test of the history).
void PrintTo(const RaceResult& r, std::ostream* os) {
  const ResultTexts t = texts_of(r);
  *os << t.field.toStdString() << " | " << t.scratched.toStdString();
  for (const QString& p : t.places) *os << " | " << p.toStdString();
  for (const QString& p : t.payouts) *os << " | " << p.toStdString();
}
}  // namespace quilo

namespace {

// The boxes of the result as a fan fills them from the payout page:
// field, scratched, 1st, 2nd, 3rd, then 馬単, ３連単, 枠連, 複勝.
ResultTexts boxes_of(std::initializer_list<const char*> boxes) {
  const std::vector<const char*> b(boxes);
  ResultTexts t;
  t.field = QString::fromUtf8(b.at(0));
  t.scratched = QString::fromUtf8(b.at(1));
  for (int i = 0; i < 3; ++i) t.places[i] = QString::fromUtf8(b.at(2 + i));
  for (int i = 0; i < 4; ++i) t.payouts[i] = QString::fromUtf8(b.at(5 + i));
  return t;
}

RaceResult entered(std::initializer_list<const char*> boxes) {
  const ParsedResult parsed = result_from_texts(boxes_of(boxes));
  EXPECT_TRUE(parsed.result) << parsed.problem.toStdString();
  if (!parsed.result) return {};
  // What the window shows back reads as the same table.
  const ParsedResult again = result_from_texts(texts_of(*parsed.result));
  EXPECT_EQ(again.result, parsed.result) << again.problem.toStdString();
  return *parsed.result;
}

QString problem(std::initializer_list<const char*> boxes) {
  const ParsedResult parsed = result_from_texts(boxes_of(boxes));
  EXPECT_FALSE(parsed.result);
  return parsed.problem;
}

struct BetCase {
  Bet bet;
  Outcome outcome;
  int yen;
};

void expect_settled(const RaceResult& r, const std::vector<BetCase>& cases, const char* race) {
  for (const BetCase& c : cases) {
    const Settlement s = settle(c.bet, r);
    EXPECT_EQ(outcome_name(s.outcome), outcome_name(c.outcome))
        << race << ": " << combination_text(c.bet.type, c.bet.numbers).toStdString();
    EXPECT_EQ(s.yen, c.yen) << race << ": " << combination_text(c.bet.type, c.bet.numbers).toStdString();
  }
}

Bet ex(int a, int b) { return {BetType::Exacta, {a, b}, 100}; }
Bet tri(int a, int b, int c) { return {BetType::Trifecta, {a, b, c}, 100}; }
Bet br(int a, int b) { return {BetType::Bracket, {a, b}, 100}; }
Bet pl(int a) { return {BetType::Place, {a}, 100}; }

}  // namespace

TEST(HistoryRules, BracketsFollowTheFieldAndNeverCloseUp) {
  const struct {
    int field;
    std::vector<int> brackets;  // of horses 1..field
  } cases[] = {
      {8, {1, 2, 3, 4, 5, 6, 7, 8}},
      {10, {1, 2, 3, 4, 5, 6, 7, 7, 8, 8}},
      {16, {1, 1, 2, 2, 3, 3, 4, 4, 5, 5, 6, 6, 7, 7, 8, 8}},
      {17, {1, 1, 2, 2, 3, 3, 4, 4, 5, 5, 6, 6, 7, 7, 8, 8, 8}},
      {18, {1, 1, 2, 2, 3, 3, 4, 4, 5, 5, 6, 6, 7, 7, 7, 8, 8, 8}},
  };
  for (const auto& c : cases)
    for (int h = 1; h <= c.field; ++h)
      EXPECT_EQ(bracket_of(h, c.field), c.brackets[h - 1]) << c.field << " " << h;
  EXPECT_EQ(bracket_of(0, 10), 0);
  EXPECT_EQ(bracket_of(11, 10), 0);
}

TEST(HistoryRules, RealRacesSettleAsTheirPayoutTablesSay) {
  // 7 runners: 複勝 pays on the first two only, 枠連 is not sold.
  const RaceResult seven =
      entered({"7", "", "3", "5", "1", "3-5 1,020円", "3-5-1 4,510", "", "3 120 / 5 150"});
  expect_settled(seven,
                 {{pl(3), Outcome::Hit, 120},
                  {pl(5), Outcome::Hit, 150},
                  {pl(1), Outcome::Miss, 0},
                  {br(3, 5), Outcome::NotBought, 0},
                  {ex(3, 5), Outcome::Hit, 1020},
                  {ex(5, 3), Outcome::Miss, 0},
                  {tri(3, 5, 1), Outcome::Hit, 4510}},
                 "7頭");
  // A dead heat for 1st: both orders win, each at its own payout.
  const RaceResult first = entered({"16", "", "5 2", "", "12", "5-2 1230 / 2-5 980",
                                    "5-2-12 8800 / 2-5-12 7600", "1-3 450", "150 130 420"});
  expect_settled(first,
                 {{ex(5, 2), Outcome::Hit, 1230},
                  {ex(2, 5), Outcome::Hit, 980},
                  {ex(5, 12), Outcome::Miss, 0},
                  {tri(2, 5, 12), Outcome::Hit, 7600},
                  {tri(5, 12, 2), Outcome::Miss, 0},
                  {br(3, 1), Outcome::Hit, 450},
                  {pl(2), Outcome::Hit, 130},
                  {pl(12), Outcome::Hit, 420}},
                 "1着同着");
  // A dead heat for 2nd: two exactas, two trifectas, 複勝 on three.
  const RaceResult second =
      entered({"12", "", "7", "3 11", "", "7-3 640 / 7-11 1,880", "7→3→11 9,990 / 7→11→3 12,010",
               "3-6 300 / 6-8 700", "7 110 / 3 160 / 11 290"});
  expect_settled(second,
                 {{ex(7, 11), Outcome::Hit, 1880},
                  {tri(7, 11, 3), Outcome::Hit, 12010},
                  {br(6, 3), Outcome::Hit, 300},
                  {br(8, 6), Outcome::Hit, 700},
                  {pl(11), Outcome::Hit, 290}},
                 "2着同着");
  // A dead heat for 3rd in a full field: four 複勝 payouts.
  const RaceResult third = entered({"18", "", "1", "2", "3 17", "1-2 500", "1-2-3 3000 / 1-2-17 9000",
                                    "1-1 2000", "1 110 / 2 120 / 3 200 / 17 800"});
  expect_settled(
      third,
      {{pl(17), Outcome::Hit, 800}, {tri(1, 2, 17), Outcome::Hit, 9000}, {br(1, 1), Outcome::Hit, 2000}},
      "3着同着");
  // Scratches: a bet on a horse that did not run is refunded; 枠連 only when
  // its bracket has nobody left, its pair of one bracket when one horse is left.
  const RaceResult scratched =
      entered({"10", "3 9", "1", "4", "10", "1-4 800", "1-4-10 5000", "1-4 600", "1 100 / 4 130 / 10 170"});
  expect_settled(scratched,
                 {{ex(3, 1), Outcome::Refund, 0},
                  {tri(1, 9, 4), Outcome::Refund, 0},
                  {pl(3), Outcome::Refund, 0},
                  {br(3, 5), Outcome::Refund, 0},     // bracket 3 held horse 3 alone
                  {br(8, 1), Outcome::Miss, 0},       // horse 10 still runs in bracket 8
                  {br(8, 8), Outcome::Refund, 0},     // one horse left in bracket 8
                  {br(7, 7), Outcome::Miss, 0},       // 7 and 8 both ran
                  {br(2, 2), Outcome::NotBought, 0},  // bracket 2 holds one horse
                  {ex(1, 4), Outcome::Hit, 800}},
                 "取消");
  // 特払い: nobody hit, every ticket of the type gets 70 (80 for 複勝) per 100.
  const RaceResult special = entered({"9", "", "9", "8", "7", "9-8 21,000", "特払い", "8-8 5,000", "80"});
  expect_settled(
      special,
      {{tri(1, 2, 3), Outcome::Special, 70}, {pl(1), Outcome::Special, 80}, {ex(9, 8), Outcome::Hit, 21000}},
      "特払い");
  // A type the race did not sell (発売なし) counts nowhere.
  const RaceResult unsold =
      entered({"12", "", "1", "2", "3", "1-2 300", "発売なし", "1-2 300", "1 100 / 2 110 / 3 120"});
  expect_settled(unsold, {{tri(1, 2, 3), Outcome::NotBought, 0}}, "発売なし");
  // A bet the ticket marked unbuyable never counts, whatever the result.
  Bet unbuyable = ex(1, 2);
  unbuyable.buyable = false;
  expect_settled(unsold, {{unbuyable, Outcome::NotBought, 0}, {ex(1, 13), Outcome::NotBought, 0}}, "対象外");
  EXPECT_EQ(paid(300, 1230), 3690);
  EXPECT_EQ(paid(100'000'000, 1'000'000'000), 1'000'000'000'000'000);
}

TEST(HistoryRules, WhatNoPayoutTableCanHoldIsRefusedWithItsReason) {
  const struct {
    std::initializer_list<const char*> boxes;
    const char* says;
  } cases[] = {
      {{"7", "", "3", "5", "1", "3-5 1020", "3-5-1 4510", "", "3 120 / 5 150 / 1 200"},
       "複勝 1 は的中の組み合わせではありません"},
      {{"8", "", "3", "5", "1", "3-5 1020", "3-5-1 4510", "3-5 700", "3 120 / 5 150 / 1 200"},
       "8頭立てのこのレースでは枠連は発売されていません"},
      {{"4", "", "3", "1", "2", "3-1 300", "3-1-2 900", "", "100 100"},
       "4頭立てのこのレースでは複勝は発売されていません"},
      {{"16", "", "17", "5", "1", "", "", "", ""}, "1着の 17 番は 16頭立てのレースにいません"},
      {{"16", "5", "5", "2", "1", "", "", "", ""}, "5 番は取消・除外の馬なので着順に入れられません"},
      {{"16", "", "5 2", "3", "1", "", "", "", ""}, "2着は同着の馬で埋まっています"},
      {{"16", "", "5", "", "1", "", "", "", ""}, "2着の馬番を入力して下さい"},
      {{"16", "", "5", "2", "1", "5-2 60", "5-2-1 900", "3-1 300", "100 100 100"}, "100 円以上"},
      {{"16", "", "5", "2", "1", "2-5 600", "5-2-1 900", "3-1 300", "100 100 100"},
       "馬単 2→5 は的中の組み合わせではありません"},
      {{"16", "", "5 2", "", "12", "1230", "", "", ""}, "「馬単」の的中は 2 通りです"},
      {{"16", "", "5", "2", "1", "", "5-2-1 900", "3-1 300", "100 100 100"},
       "「馬単」の払戻金を入力して下さい"},
      {{"16", "", "5", "2", "1", "5-2 600", "5-2-1 900", "1-3 300", "100 100 100"}, nullptr},
      {{"30", "", "5", "2", "1", "", "", "", ""}, "頭数は 2 から 20 まで"},
  };
  for (const auto& c : cases) {
    if (!c.says) {
      entered(c.boxes);
      continue;
    }
    EXPECT_TRUE(problem(c.boxes).contains(QString::fromUtf8(c.says))) << problem(c.boxes).toStdString();
  }
}

TEST(HistoryRules, DailyBalanceStreaksAndDrawdownFoldFromRaces) {
  RaceFold fold;
  for (const RaceOutcome& r : std::vector<RaceOutcome>{{QDate(2010, 4, 10), true, 800},
                                                       {QDate(2010, 4, 10), false, -300},
                                                       {QDate(2010, 4, 11), false, -400},
                                                       {QDate(2010, 4, 11), false, -400},
                                                       {QDate(2010, 4, 17), true, 2000},
                                                       {QDate(2010, 4, 18), false, -100}})
    fold.add(r);
  EXPECT_EQ(fold.balance(), (std::vector<BalancePoint>{{QDate(2010, 4, 10), 500, 500},
                                                       {QDate(2010, 4, 11), -300, -800},
                                                       {QDate(2010, 4, 17), 1700, 2000},
                                                       {QDate(2010, 4, 18), 1600, -100}}));
  EXPECT_EQ(fold.streaks(), (Streaks{3, 1100}));
  // A balance past the limit ends the line; the streaks still count.
  RaceFold over;
  over.add({QDate(2010, 4, 10), false, -100});
  over.add({QDate(2010, 4, 11), true, kYenOver});
  over.add({QDate(2010, 4, 12), false, -100});
  EXPECT_EQ(over.balance(), (std::vector<BalancePoint>{{QDate(2010, 4, 10), -100, -100}}));
  EXPECT_EQ(over.streaks().longest_losing, 1);
  EXPECT_EQ(add_yen(kYenOver, -kYenLimit), kYenOver);
  EXPECT_EQ(add_yen(kYenLimit, 1), kYenOver);
  EXPECT_EQ(add_yen(kYenLimit, -1), kYenLimit - 1);
}

TEST(HistoryRules, SharesAreRoundedHalfUpToATenth) {
  const struct {
    qint64 part, whole;
    const char* text;
  } cases[] = {
      {1, 3, "33.3%"},
      {2, 3, "66.7%"},
      {1, 8, "12.5%"},  // 12.5 exactly
      {1, 16, "6.3%"},
      {1, 1600, "0.1%"},
      {1, 2001, "0.0%"},
      {0, 5, "0.0%"},
      {4920, 700, "702.9%"},
      {5, 5, "100.0%"},
      {1, 0, "－"},
      // A negative balance and figures far past any real one: never a wrapped number.
      {-1, 3, "-33.3%"},
      {-1, 8, "-12.5%"},
      {-1, 3000, "0.0%"},
      {-16553633, 1000, "-1655363.3%"},
      {kYenLimit, 1, "99999999999999999900.0%"},
      {-kYenLimit, 7, "-14285714285714285700.0%"},
      {kYenOver, 100, "－"},
      {100, kYenOver, "－"},
      {1, -5, "－"},
  };
  for (const auto& c : cases) EXPECT_EQ(percent_text(c.part, c.whole), c.text) << c.part << "/" << c.whole;
  EXPECT_EQ(yen_text(1234567), "1,234,567");
  EXPECT_EQ(yen_text(-1200), "-1,200");
  EXPECT_EQ(yen_text(100), "100");
  EXPECT_EQ(yen_text(kYenOver), "上限超過");
}

TEST(HistoryRules, NumbersAsTypedOrPicked) {
  const struct {
    const char* text;
    std::optional<int> whole, leading;
  } cases[] = {
      {" 7", 7, 7},
      {"１２", 12, 12},
      {"1,230", 1230, 1},
      {"１，２３０", 1230, 1},
      {"01Ｒ", std::nullopt, 1},
      {"16頭", std::nullopt, 16},
      {"", std::nullopt, std::nullopt},
      {"1.5", std::nullopt, 1},
      {",5", std::nullopt, std::nullopt},
      {"5,", std::nullopt, 5},
      {"9999999999", std::nullopt, std::nullopt},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(whole_number(QString::fromUtf8(c.text)), c.whole) << c.text;
    EXPECT_EQ(leading_whole(QString::fromUtf8(c.text)), c.leading) << c.text;
  }
}
