// The two ways of filling a history file for the measurements.
#include "history_fill.h"

#include "history/history_store.h"
#include "history_sample.h"

#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

#include <vector>

namespace quilo::bench {
namespace {

// Numbers joined, and an empty text (never SQL's NULL) for none.
QString joined(const std::vector<int>& numbers, QChar by) {
  QStringList parts;
  for (int n : numbers) parts << QString::number(n);
  const QString text = parts.join(by);
  return text.isNull() ? QString(QLatin1String("")) : text;
}

QDateTime entered_at(int race) { return QDateTime(day_of_race(race), QTime(18, 0)); }

QString fill_through_store(const QString& file, qint64 runs) {
  HistoryStore store(file, recorded_at(0));
  if (!store.notice().isEmpty()) return store.notice();
  for (qint64 n = 0; n < runs; ++n) {
    if (!store.record(sample_run(n), recorded_at(n))) return store.last_error();
    // A new file numbers its runs from 1.
    if (sample_bought(n) && !store.set_bought(n + 1, true, sample_bought_stake(n))) return store.last_error();
    const int race = race_of_run(n);
    if ((n % kRunsPerRace == kRunsPerRace - 1 || n == runs - 1) && race_has_result(race) &&
        !store.save_result(race_key(race_inputs(race)), result_of_race(race), entered_at(race)))
      return store.last_error();
  }
  return {};
}

// A query prepared once and run with values bound in order.
class Statement {
 public:
  Statement(QSqlDatabase& db, const QString& sql) : q_(db) {
    if (!q_.prepare(sql)) error_ = q_.lastError().text();
  }
  bool run(const QVariantList& values) {
    if (!error_.isEmpty()) return false;
    for (const QVariant& v : values) q_.addBindValue(v);
    if (q_.exec()) return true;
    error_ = q_.lastError().text();
    return false;
  }
  QString error() const { return error_; }

 private:
  QSqlQuery q_;
  QString error_;
};

const QVariant kNull = QVariant(QMetaType(QMetaType::Int));

QString placeholders(int count) { return QStringList(count, QStringLiteral("?")).join(QStringLiteral(", ")); }

// Every row as record() and save_result() write it, settled as they settle it.
QString fill_tables(QSqlDatabase& db, qint64 runs, bool version2) {
  QSqlQuery q(db);
  for (const char* sql :
       {"PRAGMA journal_mode=DELETE", "PRAGMA synchronous=OFF", "PRAGMA cache_size=-262144", "BEGIN"})
    if (!q.exec(QLatin1String(sql))) return q.lastError().text();
  QString run_columns = QStringLiteral(
      "id, recorded_at, command, year, month, day, racecourse, race, field_size, race_key, odds1, odds2,"
      " chance_level, line1, line2, line3, line4, line5");
  QString bet_columns = QStringLiteral("run_id, seq, bet_type, numbers, stake, buyable, why");
  if (!version2) {
    run_columns += QStringLiteral(", race_day, bought, bought_stake");
    bet_columns += QStringLiteral(", outcome, yen");
  }
  const auto insert = [](const char* table, const QString& columns) {
    return QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
        .arg(QLatin1String(table), columns, placeholders(int(columns.count(QLatin1Char(','))) + 1));
  };
  Statement run(db, insert("runs", run_columns));
  Statement bet(db, insert("bets", bet_columns));
  Statement result(
      db, version2
              ? insert("results", QStringLiteral("race_key, first, second, third, bracket1, bracket2,"
                                                 " pay_exacta, pay_trifecta, pay_bracket, pay_place1,"
                                                 " pay_place2, pay_place3, entered_at"))
              : insert("race_results", QStringLiteral("race_key, field, finish, scratched, entered_at")));
  Statement payout(db, insert("payouts", QStringLiteral("race_key, bet_type, kind, numbers, yen")));
  for (qint64 n = 0; n < runs; ++n) {
    const Prediction p = sample_run(n);
    const QString when = history_time(recorded_at(n));
    const RunRecord shown = recorded_run(0, when, p);
    const int race = race_of_run(n);
    const std::optional<RaceResult> r =
        race_has_result(race) ? std::optional<RaceResult>(result_of_race(race)) : std::nullopt;
    const RaceInputs& in = p.race;
    QVariantList row{n + 1,
                     when,
                     p.command,
                     in.year,
                     in.month,
                     in.day,
                     in.racecourse,
                     in.race,
                     in.field_size,
                     shown.race,
                     p.odds1,
                     p.odds2,
                     version2 ? int(n % 10) : p.chance_level};
    for (const QString& line : p.lines) row << line;
    if (!version2) {
      const auto stake = sample_bought_stake(n);
      row << shown.day.toString(Qt::ISODate) << (sample_bought(n) ? 1 : 0)
          << (sample_bought(n) && stake ? QVariant(*stake) : kNull);
    }
    if (!run.run(row)) return run.error();
    for (std::size_t i = 0; i < p.bets.size(); ++i) {
      const Bet& b = p.bets[i];
      QVariantList values{n + 1,
                          qint64(i),
                          bet_type_key(b.type),
                          joined(b.numbers, QLatin1Char('-')),
                          b.stake,
                          b.buyable ? 1 : 0,
                          b.why.isNull() ? QStringLiteral("") : b.why};
      if (!version2) {
        const std::optional<Settlement> s = r ? std::optional<Settlement>(settle(b, *r)) : std::nullopt;
        values << (s ? QVariant(int(s->outcome)) : kNull) << (s ? s->yen : 0);
      }
      if (!bet.run(values)) return bet.error();
    }
    if (!r || (n % kRunsPerRace != kRunsPerRace - 1 && n != runs - 1)) continue;
    const QString key = race_key(in);
    const QString entered = history_time(entered_at(race));
    if (version2) {
      const auto pay = [&](BetType type, std::size_t k) {
        std::size_t seen = 0;
        for (const Payout& payout : r->payouts)
          if (payout.type == type && seen++ == k) return payout.yen;
        return 0;
      };
      const int first = r->finish[0][0], second = r->finish[1][0];
      if (!result.run({key, first, second, r->finish[2][0], bracket_of(first, r->field),
                       bracket_of(second, r->field), pay(BetType::Exacta, 0), pay(BetType::Trifecta, 0),
                       pay(BetType::Bracket, 0), pay(BetType::Place, 0), pay(BetType::Place, 1),
                       pay(BetType::Place, 2), entered}))
        return result.error();
      continue;
    }
    if (!result.run({key, r->field, finish_text(*r), joined(r->scratched, QLatin1Char(',')), entered}))
      return result.error();
    for (const Payout& pay : r->payouts)
      if (!payout.run({key, bet_type_key(pay.type), QStringLiteral("pay"),
                       joined(pay.numbers, QLatin1Char('-')), pay.yen}))
        return payout.error();
  }
  for (const char* sql : {"COMMIT", "PRAGMA journal_mode=WAL"})
    if (!q.exec(QLatin1String(sql))) return q.lastError().text();
  return {};
}

}  // namespace

QString fill_history(const QString& file, qint64 runs, FillWay way) {
  if (QFileInfo::exists(file)) return QStringLiteral("%1 exists already").arg(file);
  if (way == FillWay::Store) return fill_through_store(file, runs);
  const bool version2 = way == FillWay::TablesVersion2;
  {
    // The schema as the program makes it, up to the version asked for.
    // Written straight into the tables of version 3; the store's opening
    // below then brings such a file up to date (its tallies) as a user's would be.
    auto steps = HistoryStore::migrations();
    steps.resize(version2 ? 2 : 3);
    HistoryStore store(file, recorded_at(0), steps);
    if (!store.notice().isEmpty()) return store.notice();
  }
  const QString connection = QStringLiteral("quilo-history-fill");
  QString error;
  {
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connection);
    db.setDatabaseName(file);
    error = db.open() ? fill_tables(db, runs, version2) : db.lastError().text();
    db.close();
  }
  QSqlDatabase::removeDatabase(connection);
  if (error.isEmpty() && !version2) {
    HistoryStore store(file, recorded_at(0));
    if (!store.notice().isEmpty()) return store.notice();
  }
  return error;
}

}  // namespace quilo::bench
