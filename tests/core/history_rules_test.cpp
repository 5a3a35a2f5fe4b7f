// The hit and return of each bet type against a race result, the figures per
// bet type over a few recorded runs, and how shares are rounded.
#include "history/summary.h"
#include "history/whole_numbers.h"
#include "test_support.h"

#include <gtest/gtest.h>

using namespace quilo;

namespace {

// 1st 7, 2nd 3, 3rd 12; brackets 5 and 2; payouts per 100 yen.
RaceResult official() {
  RaceResult r;
  r.first = 7, r.second = 3, r.third = 12;
  r.bracket1 = 5, r.bracket2 = 2;
  r.exacta = 1230, r.trifecta = 45670, r.bracket = 880;
  r.place = {150, 210, 390};
  return r;
}

RaceInputs race(const char* month, const char* day, const char* number) {
  return {"2010", month, day, "東京", number, "16頭"};
}

RunRecord run(qint64 id, const RaceInputs& r, std::vector<Bet> bets) {
  Prediction p;
  p.command = "Command8";
  p.race = r;
  p.bets = std::move(bets);
  return recorded_run(id, "2010-01-01T12:00:00", std::move(p));
}

}  // namespace

TEST(HistoryRules, EachBetTypeHitsOnlyAsItsRuleSays) {
  const struct {
    Bet bet;
    bool hit;
    qint64 payback;
    const char* why;
  } cases[] = {
      {{BetType::Exacta, {7, 3}, 100}, true, 1230, "exacta in order"},
      {{BetType::Exacta, {3, 7}, 100}, false, 0, "exacta reversed misses"},
      {{BetType::Exacta, {7, 12}, 300}, false, 0, "exacta on 1st and 3rd misses"},
      {{BetType::Exacta, {7, 3}, 400}, true, 4920, "four units pay four times"},
      {{BetType::Trifecta, {7, 3, 12}, 200}, true, 91340, "trifecta in order"},
      {{BetType::Trifecta, {7, 12, 3}, 200}, false, 0, "trifecta with 2nd and 3rd swapped misses"},
      {{BetType::Bracket, {5, 2}, 100}, true, 880, "bracket in order"},
      {{BetType::Bracket, {2, 5}, 100}, true, 880, "bracket reversed hits too"},
      {{BetType::Bracket, {5, 5}, 100}, false, 0, "a pair of the winner's bracket misses"},
      {{BetType::Place, {7}, 100}, true, 150, "place on the winner"},
      {{BetType::Place, {3}, 100}, true, 210, "place on the 2nd"},
      {{BetType::Place, {12}, 100}, true, 390, "place on the 3rd"},
      {{BetType::Place, {4}, 100}, false, 0, "place on the 4th misses"},
  };
  for (const auto& c : cases) {
    const BetOutcome o = settle(c.bet, official());
    EXPECT_EQ(o.hit, c.hit) << c.why;
    EXPECT_EQ(o.payback, c.payback) << c.why;
  }
}

TEST(HistoryRules, FiguresCountSettledRacesPerTypeAndOverall) {
  const RaceInputs a = race("04", "10", "01Ｒ"), b = race("4", "10", "1R"), c = race("04", "11", "11R");
  // Two runs on race a (the second typed differently: the same race), one on
  // a race whose result is not entered.
  const std::vector<RunRecord> runs = {
      run(1, a, {{BetType::Exacta, {7, 3}, 400}, {BetType::Exacta, {7, 12}, 300}}),
      run(2, b, {{BetType::Place, {3}, 100}, {BetType::Place, {9}, 100}}),
      run(3, c, {{BetType::Trifecta, {1, 2, 3}, 1000}}),
  };
  ASSERT_EQ(race_key(a), race_key(b));
  ResultsByRace results{{race_key(a), official()}};

  const Summary s = summarize(runs, results);
  const Figures& exacta = s.by_type[0].second;
  EXPECT_EQ(s.by_type[0].first, BetType::Exacta);
  EXPECT_EQ((std::vector<qint64>{exacta.races, exacta.bets, exacta.hits, exacta.stake, exacta.payback}),
            (std::vector<qint64>{1, 2, 1, 700, 4920}));
  const Figures& place = s.by_type[3].second;
  EXPECT_EQ((std::vector<qint64>{place.races, place.bets, place.hits, place.stake, place.payback}),
            (std::vector<qint64>{1, 2, 1, 200, 210}));
  EXPECT_EQ(s.by_type[1].second.bets, 0) << "the trifecta's race has no result yet";
  EXPECT_EQ((std::vector<qint64>{s.overall.races, s.overall.bets, s.overall.hits, s.overall.stake,
                                 s.overall.payback}),
            (std::vector<qint64>{1, 4, 2, 900, 5130}));

  // A corrected result (2nd and 3rd swapped) re-marks every bet at once.
  RaceResult corrected = official();
  std::swap(corrected.second, corrected.third);
  results[race_key(a)] = corrected;
  const Summary t = summarize(runs, results);
  EXPECT_EQ(t.by_type[0].second.hits, 1) << "7-12 now hits";
  EXPECT_EQ(t.by_type[0].second.payback, 3690);

  // The period is of race dates.
  results.insert(race_key(c), official());
  EXPECT_EQ(summarize(runs, results, {QDate(2010, 4, 11), std::nullopt}).overall.bets, 1);
  EXPECT_EQ(summarize(runs, results, {std::nullopt, QDate(2010, 4, 10)}).overall.bets, 4);
}

TEST(HistoryRules, BalanceAddsUpDayByDay) {
  const std::vector<RunRecord> runs = {
      run(1, race("04", "11", "1R"), {{BetType::Exacta, {7, 3}, 100}}),
      run(2, race("04", "10", "1R"), {{BetType::Place, {4}, 100}, {BetType::Exacta, {1, 2}, 200}}),
  };
  ResultsByRace results;
  for (const auto& r : runs) results.insert(race_key(r.prediction.race), official());
  EXPECT_EQ(balance_over_time(runs, results, std::nullopt),
            (std::vector<BalancePoint>{{QDate(2010, 4, 10), -300}, {QDate(2010, 4, 11), 830}}));
  EXPECT_EQ(balance_over_time(runs, results, BetType::Place),
            (std::vector<BalancePoint>{{QDate(2010, 4, 10), -100}}));
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

TEST(HistoryRules, FiguresPastTheLimitShowAsSuchNeverWrapped) {
  // 10,000 hits at the largest stake and payout: 10^19 yen, past 64 bits.
  RaceResult r = official();
  r.trifecta = 1'000'000'000;
  std::vector<Bet> bets(10'000, Bet{BetType::Trifecta, {7, 3, 12}, 100'000'000});
  std::vector<RunRecord> runs = {run(1, race("04", "10", "1R"), bets),
                                 run(2, race("04", "11", "1R"), {{BetType::Place, {4}, 100}})};
  ResultsByRace results;
  for (const auto& rr : runs) results.insert(race_key(rr.prediction.race), r);
  const Summary s = summarize(runs, results);
  EXPECT_EQ(s.overall.stake, qint64(10'000) * 100'000'000 + 100);
  EXPECT_EQ(s.overall.payback, kYenOver);
  EXPECT_EQ(yen_text(s.overall.payback), "上限超過");
  EXPECT_EQ(percent_text(s.overall.payback, s.overall.stake), "－");
  EXPECT_EQ(s.by_type[3].second.payback, 0) << "the place figures stay exact";
  // The chart ends before a balance it cannot draw.
  EXPECT_TRUE(balance_over_time(runs, results, std::nullopt).empty());
  EXPECT_EQ(balance_over_time(runs, results, BetType::Place),
            (std::vector<BalancePoint>{{QDate(2010, 4, 11), -100}}));
  // Adding to a figure past the limit keeps it there, either way.
  EXPECT_EQ(add_yen(kYenOver, -kYenLimit), kYenOver);
  EXPECT_EQ(add_yen(kYenLimit, 1), kYenOver);
  EXPECT_EQ(add_yen(-kYenLimit, -1), kYenOver);
  EXPECT_EQ(add_yen(kYenLimit, -1), kYenLimit - 1);
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
