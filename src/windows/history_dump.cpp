// The history as the scenario mode's dump shows it.
#include "windows/history_dump.h"

#include <QJsonArray>

namespace quilo {
namespace {

// Yen as a number, or as the text a figure past the limit shows.
QJsonValue yen_json(qint64 yen) { return yen == kYenOver ? QJsonValue(yen_text(yen)) : QJsonValue(yen); }

QJsonObject figures_json(const Figures& f) {
  return {{"races", f.races},
          {"race_hits", f.race_hits},
          {"race_hit_rate", percent_text(f.race_hits, f.races)},
          {"bets", f.bets},
          {"hits", f.hits},
          {"hit_rate", percent_text(f.hits, f.bets)},
          {"refunds", f.refunds},
          {"refunded", yen_json(f.refunded)},
          {"stake", yen_json(f.stake)},
          {"payback", yen_json(f.payback)},
          {"return_rate", percent_text(f.payback, f.stake)},
          {"average_payout", average_payout_text(f)},
          {"largest_payout", f.largest_yen}};
}

}  // namespace

QJsonObject history_json(const HistoryStore& s, const HistoryStore::Contents& contents, const Period& dates) {
  const ResultsByRace& results = contents.results;
  QJsonArray runs_json;
  for (const RunRecord& run : contents.runs) {
    const Prediction& p = run.prediction;
    const auto result = results.constFind(run.race);
    QJsonArray bets;
    for (const Bet& bet : p.bets) {
      QJsonArray numbers;
      for (int n : bet.numbers) numbers.append(n);
      QJsonObject b{{"type", bet_type_key(bet.type)}, {"numbers", numbers}, {"stake", bet.stake}};
      if (!bet.buyable) {
        b.insert("buyable", false);
        b.insert("why", bet.why);
      }
      if (result != results.constEnd()) {
        const Settlement o = settle(bet, *result);
        const bool pays = o.outcome == Outcome::Hit || o.outcome == Outcome::Special;
        b.insert("outcome", outcome_name(o.outcome));
        b.insert("hit", o.outcome == Outcome::Hit);
        b.insert("payback", yen_json(pays ? paid(bet.stake, o.yen) : 0));
      }
      bets.append(b);
    }
    QJsonArray lines;
    for (const QString& line : p.lines) lines.append(line);
    QJsonObject o{
        {"id", run.id},
        {"when", run.when},
        {"command", p.command},
        {"race", QJsonObject{{"year", p.race.year},
                             {"month", p.race.month},
                             {"day", p.race.day},
                             {"racecourse", p.race.racecourse},
                             {"race", p.race.race},
                             {"field_size", p.race.field_size}}},
        {"race_key", run.race},
        {"odds", QJsonArray{p.odds1, p.odds2}},
        {"chance_level", p.chance_level == kNoLevel ? QJsonValue() : QJsonValue(p.chance_level)},
        {"bought", run.bought},
        {"bets", bets},
        {"lines", lines},
    };
    if (run.bought_stake) o.insert("bought_stake", *run.bought_stake);
    runs_json.append(o);
  }
  QJsonArray results_json;
  QStringList keys = results.keys();
  keys.sort();
  for (const QString& key : keys) {
    const RaceResult& r = results[key];
    QJsonArray payouts, scratched;
    for (const Payout& p : r.payouts) {
      QJsonArray numbers;
      for (int n : p.numbers) numbers.append(n);
      payouts.append(QJsonObject{{"type", bet_type_key(p.type)}, {"numbers", numbers}, {"yen", p.yen}});
    }
    for (int h : r.scratched) scratched.append(h);
    QJsonArray special, unsold;
    for (BetType t : r.special) special.append(bet_type_key(t));
    for (BetType t : kBetTypes)
      if (!sold(t, r)) unsold.append(bet_type_key(t));
    results_json.append(QJsonObject{{"race_key", key},
                                    {"field", r.field},
                                    {"finish", finish_text(r)},
                                    {"scratched", scratched},
                                    {"payouts", payouts},
                                    {"special", special},
                                    {"not_sold", unsold}});
  }
  auto summary = [&](Ledger l, const Period& period) {
    QJsonObject o;
    if (const auto rows = s.figures(l, Grouping::BetType, period))
      for (const FigureRow& row : *rows) o.insert(bet_type_key(*row.type), figures_json(row.figures));
    if (const auto all = s.overall(l, period)) o.insert("overall", figures_json(*all));
    RaceFold fold;
    if (s.fold_races(l, period, std::nullopt, fold))
      o.insert("streaks", QJsonObject{{"longest_losing", fold.streaks().longest_losing},
                                      {"drawdown", yen_json(fold.streaks().drawdown)}});
    return o;
  };
  QJsonObject period = summary(Ledger::Predictions, dates);
  period.insert("from", dates.from ? dates.from->toString(Qt::ISODate) : QString());
  period.insert("to", dates.to ? dates.to->toString(Qt::ISODate) : QString());
  QJsonObject levels;
  if (const auto rows = s.figures(Ledger::Predictions, Grouping::ChanceLevel, {}))
    for (const FigureRow& row : *rows)
      levels.insert(bet_type_key(*row.type) + QLatin1Char(' ') +
                        (row.level ? QString::number(*row.level) : QStringLiteral("none")),
                    figures_json(row.figures));
  return {{"file", s.file()},
          {"runs", runs_json},
          {"results", results_json},
          {"summary", QJsonObject{{"all", summary(Ledger::Predictions, {})},
                                  {"period", period},
                                  {"bought", summary(Ledger::Bought, {})},
                                  {"levels", levels}}}};
}

}  // namespace quilo
