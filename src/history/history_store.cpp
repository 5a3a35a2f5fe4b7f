// The history file through Qt SQL and its SQLite driver.
#include "history/history_store.h"

#include "text/whole_numbers.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

#include <algorithm>
#include <atomic>
#include <tuple>

namespace quilo {
namespace {

// How long a write waits for another instance's write to the same file.
constexpr int kBusyTimeoutMs = 5000;

// The files SQLite keeps beside a database: its write-ahead log, the log's
// shared memory, a rollback journal.
constexpr const char* kCompanions[] = {"-wal", "-shm", "-journal"};

QString new_connection_name() {
  static std::atomic<int> counter{0};
  return QStringLiteral("quilo-history-%1").arg(++counter);
}

// Runs a prepared query, or the statement given; when it fails, the
// driver's words go to `error`.
bool exec_query(QSqlQuery& q, QString& error) {
  if (q.exec()) return true;
  error = q.lastError().text();
  return false;
}
bool exec_query(QSqlQuery& q, const QString& statement, QString& error) {
  if (q.exec(statement)) return true;
  error = q.lastError().text();
  return false;
}

// An empty text, never SQL's NULL.
QString not_null(const QString& text) { return text.isNull() ? QString(QLatin1String("")) : text; }

QString numbers_text(const std::vector<int>& numbers) {
  QStringList parts;
  for (int n : numbers) parts << QString::number(n);
  return parts.join(QLatin1Char('-'));
}

// "3-11-7" back into numbers; nullopt for anything but whole numbers within
// int joined by '-'.
std::optional<std::vector<int>> numbers_from(const QString& text) {
  std::vector<int> out;
  for (const QString& part : text.split(QLatin1Char('-'))) {
    if (part.isEmpty() || part.size() > 10) return std::nullopt;
    qint64 n = 0;
    for (QChar c : part) {
      if (c < QLatin1Char('0') || c > QLatin1Char('9')) return std::nullopt;
      n = n * 10 + (c.unicode() - '0');
    }
    if (n > std::numeric_limits<int>::max()) return std::nullopt;
    out.push_back(int(n));
  }
  return out;
}

// A whole number as SQLite keeps it; nullopt for a text, a fraction or NULL.
std::optional<qint64> whole_value(const QVariant& value) {
  if (value.isNull()) return std::nullopt;
  switch (value.typeId()) {
    case QMetaType::LongLong:
    case QMetaType::Int:
      return value.toLongLong();
    default:
      return std::nullopt;
  }
}

// The first free name of the form "<file>.damaged-YYYYMMDD-HHMMSS[-N]",
// free for the logs too.
QString aside_name(const QString& file, const QDateTime& now) {
  const QString base = file + QStringLiteral(".damaged-") + now.toString(QStringLiteral("yyyyMMdd-HHmmss"));
  auto taken = [](const QString& name) {
    return QFileInfo::exists(name) ||
           std::any_of(std::begin(kCompanions), std::end(kCompanions),
                       [&](const char* s) { return QFileInfo::exists(name + QLatin1String(s)); });
  };
  QString name = base;
  for (int n = 2; taken(name); ++n) name = base + QStringLiteral("-%1").arg(n);
  return name;
}

constexpr const char* kPay = "pay";
constexpr const char* kSpecial = "special";
constexpr const char* kUnsold = "unsold";

// "5=2-12" back into places; nullopt for anything else.
std::optional<std::vector<std::vector<int>>> finish_from(const QString& text) {
  std::vector<std::vector<int>> out;
  for (const QString& place : text.split(QLatin1Char('-'))) {
    QString joined = place;
    auto horses = numbers_from(joined.replace(QLatin1Char('='), QLatin1Char('-')));
    if (!horses) return std::nullopt;
    out.push_back(std::move(*horses));
  }
  return out;
}

QString joined(const std::vector<int>& numbers, QChar by) {
  QStringList parts;
  for (int n : numbers) parts << QString::number(n);
  return parts.join(by);
}

// The day a run counts on, as the file keeps it: "2010-04-10".
QString day_text(const QDate& day) { return day.toString(Qt::ISODate); }

// The result of a race as the file holds it; nullopt when it has none, and
// `bad` when what it holds is no result the program could have saved.
std::optional<RaceResult> load_result(QSqlDatabase& db, const QString& race, bool* bad, QString& error) {
  QSqlQuery q(db);
  q.prepare(QStringLiteral("SELECT field, finish, scratched FROM race_results WHERE race_key = ?"));
  q.addBindValue(race);
  if (!exec_query(q, error)) return std::nullopt;
  if (!q.next()) return std::nullopt;
  RaceResult r;
  const auto field = whole_value(q.value(0));
  const auto finish = finish_from(q.value(1).toString());
  const QString scratched = q.value(2).toString();
  auto horses = scratched.isEmpty()
                    ? std::optional<std::vector<int>>(std::vector<int>{})
                    : numbers_from(QString(scratched).replace(QLatin1Char(','), QLatin1Char('-')));
  if (!field || !finish || !horses || *field < 0 || *field > kLargestField) {
    *bad = true;
    return std::nullopt;
  }
  r.field = int(*field);
  r.finish = *finish;
  r.scratched = *horses;
  QSqlQuery p(db);
  p.prepare(
      QStringLiteral("SELECT bet_type, kind, numbers, yen FROM payouts WHERE race_key = ?"
                     " ORDER BY rowid"));
  p.addBindValue(race);
  if (!exec_query(p, error)) return std::nullopt;
  while (p.next()) {
    const auto type = bet_type_from_key(p.value(0).toString());
    const QString kind = p.value(1).toString();
    const auto yen = whole_value(p.value(3));
    if (!type || !yen) {
      *bad = true;
      return std::nullopt;
    }
    if (kind == QLatin1String(kSpecial)) {
      r.special.push_back(*type);
    } else if (kind == QLatin1String(kUnsold)) {
      r.not_sold.push_back(*type);
    } else {
      const auto numbers = numbers_from(p.value(2).toString());
      if (kind != QLatin1String(kPay) || !numbers || *yen < 0 || *yen > kMaxPayout) {
        *bad = true;
        return std::nullopt;
      }
      r.payouts.push_back({*type, *numbers, int(*yen)});
    }
  }
  if (result_problem(r)) {
    *bad = true;
    return std::nullopt;
  }
  return r;
}

bool store_result(QSqlDatabase& db, const QString& race, const RaceResult& r, const QString& when,
                  QString& error) {
  QSqlQuery q(db);
  auto run = [&](const QString& sql, const QVariantList& values) {
    q.prepare(sql);
    for (const QVariant& v : values) q.addBindValue(v);
    if (q.exec()) return true;
    error = q.lastError().text();
    return false;
  };
  if (!run(QStringLiteral("DELETE FROM payouts WHERE race_key = ?"), {race}) ||
      !run(QStringLiteral(
               "INSERT OR REPLACE INTO race_results (race_key, field, finish, scratched, entered_at)"
               " VALUES (?, ?, ?, ?, ?)"),
           {race, r.field, finish_text(r), not_null(joined(r.scratched, QLatin1Char(','))), when}))
    return false;
  const QString insert =
      QStringLiteral("INSERT INTO payouts (race_key, bet_type, kind, numbers, yen) VALUES (?, ?, ?, ?, ?)");
  for (const Payout& p : r.payouts)
    if (!run(insert, {race, bet_type_key(p.type), QLatin1String(kPay), numbers_text(p.numbers), p.yen}))
      return false;
  for (BetType type : r.special)
    if (!run(insert, {race, bet_type_key(type), QLatin1String(kSpecial), QString(QLatin1String("")),
                      bet_type_info(type).special_yen}))
      return false;
  for (BetType type : r.not_sold)
    if (!run(insert, {race, bet_type_key(type), QLatin1String(kUnsold), QString(QLatin1String("")), 0}))
      return false;
  return true;
}

bool retally(QSqlDatabase& db, const QString& race, QString& error);
bool retally_run(QSqlDatabase& db, qint64 run, QString& error);

// Settles the bets of a race (or of one run of it) against its result, or
// marks them unsettled when it has none; its tallies follow.
bool settle_bets(QSqlDatabase& db, const QString& race, std::optional<qint64> run, QString& error,
                 bool tally = true) {
  bool bad = false;
  const auto result = load_result(db, race, &bad, error);
  if (!result && !error.isEmpty()) return false;
  QSqlQuery q(db);
  q.setForwardOnly(true);
  q.prepare(QStringLiteral("SELECT b.rowid, b.bet_type, b.numbers, b.stake, b.buyable FROM bets b"
                           " JOIN runs r ON r.id = b.run_id WHERE r.race_key = ?") +
            (run ? QStringLiteral(" AND r.id = ?") : QString()));
  q.addBindValue(race);
  if (run) q.addBindValue(*run);
  if (!exec_query(q, error)) return false;
  std::vector<std::tuple<qint64, QVariant, int>> updates;
  while (q.next()) {
    QVariant outcome;  // NULL: not settled
    int yen = 0;
    const auto type = bet_type_from_key(q.value(1).toString());
    const auto numbers = numbers_from(q.value(2).toString());
    if (result && type && numbers) {
      const Settlement s =
          settle(Bet{*type, *numbers, q.value(3).toInt(), q.value(4).toInt() != 0, {}}, *result);
      outcome = int(s.outcome);
      yen = s.yen;
    }
    updates.emplace_back(q.value(0).toLongLong(), outcome, yen);
  }
  q.finish();
  QSqlQuery u(db);
  u.prepare(QStringLiteral("UPDATE bets SET outcome = ?, yen = ? WHERE rowid = ?"));
  for (const auto& [rowid, outcome, yen] : updates) {
    u.addBindValue(outcome);
    u.addBindValue(yen);
    u.addBindValue(rowid);
    if (!exec_query(u, error)) return false;
  }
  return !tally || retally(db, race, error);
}

// Version 3: the day each run counts on, the old results as payout tables
// (a 3着 複勝 or a 枠連 that the race's field never sold is dropped: the old
// form made the user enter them), and every bet settled.
bool fill_version_3(const QString& connection, QString& error) {
  QSqlDatabase db = QSqlDatabase::database(connection, false);
  QSqlQuery q(db);
  q.setForwardOnly(true);
  if (!exec_query(q,
                  QStringLiteral("SELECT id, recorded_at, year, month, day, field_size, race_key FROM runs"),
                  error))
    return false;
  std::vector<std::pair<qint64, QString>> days;
  QHash<QString, int> fields;  // the largest field a race's runs showed
  while (q.next()) {
    const RaceInputs race{q.value(2).toString(), q.value(3).toString(), q.value(4).toString(), {}, {}, {}};
    const QString when = q.value(1).toString();
    days.emplace_back(q.value(0).toLongLong(),
                      day_text(race_date(race).value_or(QDate::fromString(when.left(10), Qt::ISODate))));
    if (const auto field = leading_whole(q.value(5).toString()); field && *field <= kLargestField) {
      int& f = fields[q.value(6).toString()];
      f = std::max(f, *field);
    }
  }
  QSqlQuery u(db);
  u.prepare(QStringLiteral("UPDATE runs SET race_day = ? WHERE id = ?"));
  for (const auto& [id, day] : days) {
    u.addBindValue(day);
    u.addBindValue(id);
    if (!exec_query(u, error)) return false;
  }
  if (!q.exec(QStringLiteral("SELECT race_key, first, second, third, bracket1, bracket2, pay_exacta,"
                             " pay_trifecta, pay_bracket, pay_place1, pay_place2, pay_place3, entered_at"
                             " FROM results"))) {
    error = q.lastError().text();
    return false;
  }
  std::vector<std::tuple<QString, RaceResult, QString>> results;
  while (q.next()) {
    int v[11];
    bool whole = true;
    for (int i = 0; i < 11; ++i) {
      const auto value = whole_value(q.value(1 + i));
      whole = whole && value && *value >= 0 && *value <= kMaxPayout;
      v[i] = whole ? int(*value) : 0;
    }
    // A row out of range was never the program's: it stays out, as before.
    if (!whole) continue;
    const QString key = q.value(0).toString();
    RaceResult r;
    const int highest = std::max({v[0], v[1], v[2]});
    r.field = fields.value(key, 0);
    if (r.field < highest) r.field = std::max(highest, 9);
    r.finish = {{v[0]}, {v[1]}, {v[2]}};
    r.payouts = {{BetType::Exacta, {v[0], v[1]}, v[5]}, {BetType::Trifecta, {v[0], v[1], v[2]}, v[6]}};
    if (sold(BetType::Bracket, r))
      r.payouts.push_back({BetType::Bracket, {std::min(v[3], v[4]), std::max(v[3], v[4])}, v[7]});
    for (int i = 0; i < paid_places(runners(r)); ++i) r.payouts.push_back({BetType::Place, {v[i]}, v[8 + i]});
    results.emplace_back(key, r, q.value(12).toString());
  }
  for (const auto& [key, r, when] : results)
    // Tallied by the next version's step, which makes their table.
    if (!store_result(db, key, r, when, error) || !settle_bets(db, key, std::nullopt, error, false))
      return false;
  if (!exec_query(q, QStringLiteral("DROP TABLE results"), error)) return false;
  return true;
}
// Version 4: the tallies of every race with a result.
bool fill_version_4(const QString& connection, QString& error) {
  QSqlDatabase db = QSqlDatabase::database(connection, false);
  QSqlQuery q(db);
  if (!exec_query(q, QStringLiteral("SELECT race_key FROM race_results"), error)) return false;
  QStringList races;
  while (q.next()) races << q.value(0).toString();
  for (const QString& race : races)
    if (!retally(db, race, error)) return false;
  return true;
}

}  // namespace

const std::vector<HistoryStore::Migration>& HistoryStore::migrations() {
  static const std::vector<Migration> steps = {
      {1,
       {
           // One row per completed run: when, which command, the race as the
           // inputs showed it, the odds, the chance level and the output lines.
           QStringLiteral("CREATE TABLE runs ("
                          " id INTEGER PRIMARY KEY,"
                          " recorded_at TEXT NOT NULL,"
                          " command TEXT NOT NULL,"
                          " year TEXT NOT NULL, month TEXT NOT NULL, day TEXT NOT NULL,"
                          " racecourse TEXT NOT NULL, race TEXT NOT NULL, field_size TEXT NOT NULL,"
                          " race_key TEXT NOT NULL,"
                          " odds1 TEXT NOT NULL, odds2 TEXT NOT NULL, chance_level INTEGER NOT NULL,"
                          " line1 TEXT NOT NULL, line2 TEXT NOT NULL, line3 TEXT NOT NULL,"
                          " line4 TEXT NOT NULL, line5 TEXT NOT NULL)"),
           QStringLiteral("CREATE INDEX runs_by_race ON runs (race_key)"),
           // The bets of a run: type, numbers in order ("3-11-7"), stake in yen.
           QStringLiteral("CREATE TABLE bets ("
                          " run_id INTEGER NOT NULL REFERENCES runs (id) ON DELETE CASCADE,"
                          " seq INTEGER NOT NULL,"
                          " bet_type TEXT NOT NULL,"
                          " numbers TEXT NOT NULL,"
                          " stake INTEGER NOT NULL,"
                          " PRIMARY KEY (run_id, seq))"),
           // The official result of a race, once per race; payouts per 100 yen.
           QStringLiteral("CREATE TABLE results ("
                          " race_key TEXT PRIMARY KEY,"
                          " first INTEGER NOT NULL, second INTEGER NOT NULL, third INTEGER NOT NULL,"
                          " bracket1 INTEGER NOT NULL, bracket2 INTEGER NOT NULL,"
                          " pay_exacta INTEGER NOT NULL, pay_trifecta INTEGER NOT NULL,"
                          " pay_bracket INTEGER NOT NULL,"
                          " pay_place1 INTEGER NOT NULL, pay_place2 INTEGER NOT NULL,"
                          " pay_place3 INTEGER NOT NULL,"
                          " entered_at TEXT NOT NULL)"),
       }},
      {2,
       {
           // A drawn bet that no window sells is kept as not bought, with why.
           QStringLiteral("ALTER TABLE bets ADD COLUMN buyable INTEGER NOT NULL DEFAULT 1"),
           QStringLiteral("ALTER TABLE bets ADD COLUMN why TEXT NOT NULL DEFAULT ''"),
       }},
      {3,
       {
           // The result as the official payout table lists it: the field, the
           // order with dead heats ("5=2-12"), the scratched horses ("3,7"),
           // and one row per winning combination, 特払い or type not sold.
           QStringLiteral("CREATE TABLE race_results ("
                          " race_key TEXT PRIMARY KEY,"
                          " field INTEGER NOT NULL,"
                          " finish TEXT NOT NULL,"
                          " scratched TEXT NOT NULL,"
                          " entered_at TEXT NOT NULL)"),
           QStringLiteral("CREATE TABLE payouts ("
                          " race_key TEXT NOT NULL REFERENCES race_results (race_key) ON DELETE CASCADE,"
                          " bet_type TEXT NOT NULL,"
                          " kind TEXT NOT NULL,"  // pay, special, unsold
                          " numbers TEXT NOT NULL,"
                          " yen INTEGER NOT NULL,"
                          " PRIMARY KEY (race_key, bet_type, kind, numbers))"),
           QStringLiteral("CREATE TABLE meta (key TEXT PRIMARY KEY, value TEXT NOT NULL)"),
           // The day a run counts on, whether it was bought and at what a bet.
           QStringLiteral("ALTER TABLE runs ADD COLUMN race_day TEXT NOT NULL DEFAULT ''"),
           QStringLiteral("ALTER TABLE runs ADD COLUMN bought INTEGER NOT NULL DEFAULT 0"),
           QStringLiteral("ALTER TABLE runs ADD COLUMN bought_stake INTEGER"),
           // Each bet settled once, when its race's result is entered or
           // corrected: the outcome (NULL until then) and the payout per 100 yen.
           QStringLiteral("ALTER TABLE bets ADD COLUMN outcome INTEGER"),
           QStringLiteral("ALTER TABLE bets ADD COLUMN yen INTEGER NOT NULL DEFAULT 0"),
           // 複勝 and 枠連 rate no race: the level they kept was the run's before.
           QStringLiteral("UPDATE runs SET chance_level = -1 WHERE command IN ('Command11', 'Command12')"),
           QStringLiteral("CREATE INDEX runs_by_day ON runs (race_day)"),
       },
       fill_version_3},
      {4,
       {
           // The settled bets summed per race, ledger, bet type and chance
           // level, kept up to date as results, runs and purchases change:
           // the figures sum these rows instead of every bet.
           QStringLiteral("CREATE TABLE tallies ("
                          " race_key TEXT NOT NULL, ledger INTEGER NOT NULL, bet_type TEXT NOT NULL,"
                          " chance_level INTEGER NOT NULL, race_day TEXT NOT NULL, racecourse TEXT NOT NULL,"
                          " first_run INTEGER NOT NULL, bets INTEGER NOT NULL, hits INTEGER NOT NULL,"
                          " refunds INTEGER NOT NULL, refunded INTEGER NOT NULL, stake INTEGER NOT NULL,"
                          " payback INTEGER NOT NULL, hit_yen INTEGER NOT NULL, largest INTEGER NOT NULL,"
                          " PRIMARY KEY (race_key, ledger, bet_type, chance_level))"),
           QStringLiteral("CREATE INDEX tallies_by_day ON tallies (ledger, race_day)"),
           // The race list reads its races from this index alone.
           QStringLiteral("CREATE INDEX runs_by_race_day ON runs (race_key, race_day)"),
           QStringLiteral("DROP INDEX runs_by_race"),
       },
       fill_version_4},
  };
  return steps;
}

HistoryStore::HistoryStore(const QString& path, const QDateTime& now, const std::vector<Migration>& steps)
    : connection_(new_connection_name()) {
  if (path.isEmpty()) {
    open_memory(steps);
    return;
  }
  const QFileInfo info(path);
  const QString file = info.absoluteFilePath();
  const QString shown = QDir::toNativeSeparators(file);
  const QString in_memory = QStringLiteral("今回の予想は記録しますが、終了すると消えます。");
  const QString left_alone = QStringLiteral("ファイルには手を付けていません。");
  if (info.exists() && !info.isFile()) {
    notice_ = QStringLiteral("成績ファイル %1 はファイルではないため使えません。").arg(shown) + in_memory;
    open_memory(steps);
    return;
  }
  const QString newer =
      QStringLiteral("成績ファイル %1 は新しい版の Quilo で作られたため、この版では書き込みません。")
          .arg(shown) +
      in_memory;
  const int latest = steps.empty() ? 0 : steps.back().version;
  QString aside;
  switch (inspect(file, latest, now.date())) {
    case Kind::Missing:
      QDir().mkpath(info.absolutePath());
      break;
    case Kind::Own:
      break;
    case Kind::Damaged:
      // Kept aside under a dated name, never deleted: the results in it may
      // still be read back by hand.
      aside = move_aside(file, now);
      if (aside.isEmpty()) {
        notice_ = QStringLiteral("成績ファイル %1 は壊れていますが、別の名前に移せませんでした（%2）。")
                      .arg(shown, error_) +
                  in_memory;
        open_memory(steps);
        return;
      }
      break;
    case Kind::Newer:
      notice_ = newer;
      open_memory(steps);
      return;
    case Kind::OtherDatabase:
      notice_ = QStringLiteral(
                    "%1 は Quilo の成績ファイルではなく、別のプログラムのデータベースです。"
                    "成績ファイルには使いません。")
                    .arg(shown) +
                left_alone + in_memory;
      open_memory(steps);
      return;
    case Kind::NotDatabase:
      notice_ =
          QStringLiteral("%1 は成績ファイル（データベース）ではありません。成績ファイルには使いません。")
              .arg(shown) +
          left_alone + in_memory;
      open_memory(steps);
      return;
    case Kind::Unreadable:
      notice_ = QStringLiteral("成績ファイル %1 を開けませんでした（%2）。").arg(shown, error_) + in_memory;
      open_memory(steps);
      return;
  }
  switch (open_file(file, steps)) {
    case Opening::Newer:
      notice_ = newer;
      break;
    case Opening::Ready:
      if (checked_) note_checked(now.date());
      if (!aside.isEmpty())
        notice_ = QStringLiteral(
                      "成績ファイル %1 は壊れていました。そのファイルは %2 に移し、新しい成績ファイルを"
                      "始めました。")
                      .arg(shown, QDir::toNativeSeparators(aside));
      return;
    case Opening::NotMigrated:
      notice_ = QStringLiteral(
                    "成績ファイル %1 を新しい形式に更新できませんでした（%2）。ファイルはそのまま"
                    "残します。")
                    .arg(shown, error_) +
                in_memory;
      break;
    case Opening::Failed:
      notice_ = QStringLiteral("成績ファイル %1 を開けませんでした（%2）。").arg(shown, error_) + in_memory;
      break;
  }
  open_memory(steps);
}

// The logs go first: a log left under the old name would be read as the log
// of the new file started there. None of them is ever opened as a database
// here, so nothing is replayed into the file kept aside.
QString HistoryStore::move_aside(const QString& file, const QDateTime& now) {
  const QString aside = aside_name(file, now);
  QStringList moved;
  bool whole = true;
  for (const char* suffix : kCompanions) {
    QFile log(file + QLatin1String(suffix));
    if (!log.exists()) continue;
    if (!log.rename(aside + QLatin1String(suffix))) {
      error_ = log.errorString();
      whole = false;
      break;
    }
    moved << QLatin1String(suffix);
  }
  QFile main(file);
  if (whole && (!main.exists() || main.rename(aside))) return aside;
  if (whole) error_ = main.errorString();
  // Put back what was moved: the file stays whole with its logs.
  for (const QString& suffix : moved) QFile::rename(aside + suffix, file + suffix);
  return {};
}

HistoryStore::~HistoryStore() { close(); }

void HistoryStore::close() {
  if (QSqlDatabase::contains(connection_)) {
    QSqlDatabase::database(connection_, false).close();
    QSqlDatabase::removeDatabase(connection_);
  }
}

void HistoryStore::open_memory(const std::vector<Migration>& steps) {
  close();
  file_.clear();
  QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connection_);
  db.setDatabaseName(QStringLiteral(":memory:"));
  if (!db.open()) return;
  // As in a file: a removed run takes its bets with it, so that the next
  // run, which may get its number, records whole.
  QSqlQuery(db).exec(QStringLiteral("PRAGMA foreign_keys=ON"));
  migrate(steps);
}

HistoryStore::Opening HistoryStore::open_file(const QString& path, const std::vector<Migration>& steps) {
  close();
  QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connection_);
  db.setDatabaseName(path);
  db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(kBusyTimeoutMs));
  if (!db.open()) {
    error_ = db.lastError().text();
    return Opening::Failed;
  }
  QSqlQuery q(db);
  for (const char* sql : {"PRAGMA journal_mode=WAL", "PRAGMA synchronous=NORMAL", "PRAGMA foreign_keys=ON"}) {
    if (!q.exec(QLatin1String(sql))) {
      error_ = q.lastError().text();
      return Opening::Failed;
    }
  }
  q.finish();
  // Another instance of a newer version may have moved the file on since it was looked at.
  const int latest = steps.empty() ? 0 : steps.back().version;
  if (schema_version() > latest) return Opening::Newer;
  if (!migrate(steps)) return Opening::NotMigrated;
  file_ = path;
  return Opening::Ready;
}

void HistoryStore::note_checked(const QDate& today) {
  QSqlQuery q(QSqlDatabase::database(connection_, false));
  q.prepare(QStringLiteral("INSERT OR REPLACE INTO meta (key, value) VALUES ('checked', ?)"));
  q.addBindValue(today.toString(Qt::ISODate));
  q.exec();  // without the note the next start checks the file again
}

int HistoryStore::schema_version() const {
  QSqlQuery q(QSqlDatabase::database(connection_, false));
  if (!q.exec(QStringLiteral("PRAGMA user_version")) || !q.next()) return -1;
  return q.value(0).toInt();
}

// Each step runs in a transaction of its own with the version it brings, so
// that a step that fails leaves the file as it was; another instance that
// migrated meanwhile is seen once the lock is had.
bool HistoryStore::migrate(const std::vector<Migration>& steps) {
  QSqlDatabase db = QSqlDatabase::database(connection_, false);
  QSqlQuery q(db);
  for (const Migration& step : steps) {
    if (schema_version() >= step.version) continue;
    if (!exec_query(q, QStringLiteral("BEGIN IMMEDIATE"), error_)) return false;
    bool ok = schema_version() < step.version;
    if (!ok) {
      q.exec(QStringLiteral("COMMIT"));
      continue;
    }
    for (const QString& sql : step.statements) {
      if (!q.exec(sql)) {
        error_ = q.lastError().text();
        ok = false;
        break;
      }
    }
    if (ok && step.fill) ok = step.fill(connection_, error_);
    ok = ok && q.exec(QStringLiteral("PRAGMA user_version=%1").arg(step.version)) &&
         q.exec(QStringLiteral("COMMIT"));
    if (!ok) {
      if (error_.isEmpty()) error_ = q.lastError().text();
      q.exec(QStringLiteral("ROLLBACK"));
      return false;
    }
  }
  return true;
}

bool HistoryStore::record(const Prediction& p, const QDateTime& when) {
  QSqlDatabase db = QSqlDatabase::database(connection_, false);
  QSqlQuery q(db);
  if (!exec_query(q, QStringLiteral("BEGIN IMMEDIATE"), error_)) return false;
  auto fail = [&](const QString& error) {
    error_ = error;
    QSqlQuery(db).exec(QStringLiteral("ROLLBACK"));
    return false;
  };
  QSqlQuery run(db);
  run.prepare(QStringLiteral(
      "INSERT INTO runs (recorded_at, command, year, month, day, racecourse, race, field_size, race_key,"
      " odds1, odds2, chance_level, line1, line2, line3, line4, line5, race_day)"
      " VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"));
  const RaceInputs& r = p.race;
  const QString time = history_time(when);
  const RunRecord shown = recorded_run(0, time, p);
  for (const QString& text : {time, p.command, r.year, r.month, r.day, r.racecourse, r.race, r.field_size,
                              shown.race, p.odds1, p.odds2})
    run.addBindValue(not_null(text));
  run.addBindValue(p.chance_level);
  for (const QString& line : p.lines) run.addBindValue(not_null(line));
  run.addBindValue(day_text(shown.day));
  if (!run.exec()) return fail(run.lastError().text());
  const qint64 id = run.lastInsertId().toLongLong();
  QSqlQuery bet(db);
  bet.prepare(
      QStringLiteral("INSERT INTO bets (run_id, seq, bet_type, numbers, stake, buyable, why)"
                     " VALUES (?, ?, ?, ?, ?, ?, ?)"));
  for (std::size_t i = 0; i < p.bets.size(); ++i) {
    bet.addBindValue(id);
    bet.addBindValue(qint64(i));
    bet.addBindValue(bet_type_key(p.bets[i].type));
    bet.addBindValue(numbers_text(p.bets[i].numbers));
    bet.addBindValue(p.bets[i].stake);
    bet.addBindValue(p.bets[i].buyable ? 1 : 0);
    bet.addBindValue(not_null(p.bets[i].why));
    if (!bet.exec()) return fail(bet.lastError().text());
  }
  // A race whose result is in already settles the new run at once.
  QString error;
  if (!settle_bets(db, shown.race, id, error)) return fail(error);
  if (!q.exec(QStringLiteral("COMMIT"))) return fail(q.lastError().text());
  return true;
}

std::optional<HistoryStore::Contents> HistoryStore::read() const {
  QSqlDatabase db = QSqlDatabase::database(connection_, false);
  QSqlQuery q(db);
  q.setForwardOnly(true);
  // One read transaction: the runs, their bets and the results as they were
  // at one moment, whatever another instance records meanwhile.
  auto failed = [&]() -> std::optional<Contents> {
    if (q.lastError().isValid()) error_ = q.lastError().text();
    q.finish();
    QSqlQuery(db).exec(QStringLiteral("ROLLBACK"));
    return std::nullopt;
  };
  if (!q.exec(QStringLiteral("BEGIN"))) return failed();
  Contents out;
  if (!q.exec(QStringLiteral(
          "SELECT id, recorded_at, command, year, month, day, racecourse, race, field_size,"
          " odds1, odds2, chance_level, line1, line2, line3, line4, line5, bought, bought_stake"
          " FROM runs ORDER BY id")))
    return failed();
  QHash<qint64, std::size_t> index;
  while (q.next()) {
    const auto id = whole_value(q.value(0));
    const auto level = whole_value(q.value(11));
    const auto bought_stake = whole_value(q.value(18));
    if (!id || !level || *level < kNoLevel || *level > kMaxChanceLevel ||
        (!q.value(18).isNull() && (!bought_stake || *bought_stake < 0 || *bought_stake > kMaxStake))) {
      ++out.left_out;
      continue;
    }
    Prediction p;
    p.command = q.value(2).toString();
    p.race = {q.value(3).toString(), q.value(4).toString(), q.value(5).toString(),
              q.value(6).toString(), q.value(7).toString(), q.value(8).toString()};
    p.odds1 = q.value(9).toString();
    p.odds2 = q.value(10).toString();
    p.chance_level = int(*level);
    for (int i = 0; i < 5; ++i) p.lines[i] = q.value(12 + i).toString();
    index.insert(*id, out.runs.size());
    RunRecord run = recorded_run(*id, q.value(1).toString(), std::move(p));
    run.bought = q.value(17).toInt() != 0;
    if (bought_stake) run.bought_stake = int(*bought_stake);
    out.runs.push_back(std::move(run));
  }
  if (q.lastError().isValid()) return failed();
  if (!q.exec(QStringLiteral(
          "SELECT run_id, bet_type, numbers, stake, buyable, why FROM bets ORDER BY run_id, seq")))
    return failed();
  while (q.next()) {
    const auto run = whole_value(q.value(0));
    const auto at = run ? index.constFind(*run) : index.constEnd();
    const auto type = bet_type_from_key(q.value(1).toString());
    auto numbers = numbers_from(q.value(2).toString());
    const auto stake = whole_value(q.value(3));
    const bool usable =
        at != index.constEnd() && type && numbers && stake && *stake >= 0 && *stake <= kMaxStake;
    Bet bet{type.value_or(BetType::Exacta),
            {},
            usable ? int(*stake) : 0,
            q.value(4).toInt() != 0,
            q.value(5).toString()};
    if (usable) bet.numbers = std::move(*numbers);
    if (!usable || !plausible(bet)) {
      ++out.left_out;
      continue;
    }
    out.runs[*at].prediction.bets.push_back(std::move(bet));
  }
  if (q.lastError().isValid()) return failed();
  if (!q.exec(QStringLiteral("SELECT race_key FROM race_results"))) return failed();
  QStringList keys;
  while (q.next()) keys << q.value(0).toString();
  if (q.lastError().isValid()) return failed();
  for (const QString& key : keys) {
    bool bad = false;
    QString error;
    const auto result = load_result(db, key, &bad, error);
    if (!error.isEmpty()) {
      error_ = error;
      return failed();
    }
    if (bad) ++out.left_out;
    if (result) out.results.insert(key, *result);
  }
  q.finish();
  QSqlQuery(db).exec(QStringLiteral("COMMIT"));
  return out;
}

int HistoryStore::run_count() const {
  QSqlQuery q(QSqlDatabase::database(connection_, false));
  if (!q.exec(QStringLiteral("SELECT count(*) FROM runs")) || !q.next()) return 0;
  return q.value(0).toInt();
}

// Writes in one transaction: all of `work` or nothing.
template <typename Work>
static bool in_transaction(QSqlDatabase db, QString& error, Work work) {
  QSqlQuery q(db);
  if (!exec_query(q, QStringLiteral("BEGIN IMMEDIATE"), error)) return false;
  if (!work() || !q.exec(QStringLiteral("COMMIT"))) {
    if (q.lastError().isValid() && error.isEmpty()) error = q.lastError().text();
    QSqlQuery(db).exec(QStringLiteral("ROLLBACK"));
    return false;
  }
  return true;
}

bool HistoryStore::save_result(const QString& race, const RaceResult& r, const QDateTime& when) {
  QSqlDatabase db = QSqlDatabase::database(connection_, false);
  error_.clear();
  return in_transaction(db, error_, [&] {
    return store_result(db, race, r, history_time(when), error_) &&
           settle_bets(db, race, std::nullopt, error_);
  });
}

bool HistoryStore::remove_result(const QString& race) {
  QSqlDatabase db = QSqlDatabase::database(connection_, false);
  error_.clear();
  return in_transaction(db, error_, [&] {
    QSqlQuery q(db);
    q.prepare(QStringLiteral("DELETE FROM race_results WHERE race_key = ?"));
    q.addBindValue(race);
    if (!exec_query(q, error_)) return false;
    return settle_bets(db, race, std::nullopt, error_);
  });
}

std::optional<RaceResult> HistoryStore::result_of(const QString& race) const {
  QSqlDatabase db = QSqlDatabase::database(connection_, false);
  bool bad = false;
  QString error;
  auto r = load_result(db, race, &bad, error);
  if (!error.isEmpty()) error_ = error;
  return r;
}

bool HistoryStore::set_bought(qint64 run, bool bought, std::optional<int> stake) {
  QSqlDatabase db = QSqlDatabase::database(connection_, false);
  error_.clear();
  return in_transaction(db, error_, [&] {
    QSqlQuery q(db);
    q.prepare(QStringLiteral("UPDATE runs SET bought = ?, bought_stake = ? WHERE id = ?"));
    q.addBindValue(bought ? 1 : 0);
    q.addBindValue(bought && stake ? QVariant(*stake) : QVariant(QMetaType(QMetaType::Int)));
    q.addBindValue(run);
    if (!exec_query(q, error_)) return false;
    return retally_run(db, run, error_);
  });
}

bool HistoryStore::remove_run(qint64 run) {
  QSqlDatabase db = QSqlDatabase::database(connection_, false);
  error_.clear();
  return in_transaction(db, error_, [&] {
    QSqlQuery q(db);
    q.prepare(QStringLiteral("SELECT race_key FROM runs WHERE id = ?"));
    q.addBindValue(run);
    if (!exec_query(q, error_)) return false;
    const QString race = q.next() ? q.value(0).toString() : QString();
    q.finish();
    q.prepare(QStringLiteral("DELETE FROM runs WHERE id = ?"));
    q.addBindValue(run);
    if (!exec_query(q, error_)) return false;
    return race.isNull() || retally(db, race, error_);
  });
}

namespace {

// The stake of a bet in a ledger, its payback, and what counts as staked.
QString stake_sql(Ledger ledger) {
  return ledger == Ledger::Bought ? QStringLiteral("COALESCE(r.bought_stake, b.stake)")
                                  : QStringLiteral("b.stake");
}
const char* const kStaked = "b.outcome IN (0, 1, 3)";

// A sum of yen in two halves that cannot overflow the database's 64 bits:
// put together again, checked, by yen_of.
QString split_sum(const QString& expression) {
  return QStringLiteral("SUM((%1) / 1000000), SUM((%1) % 1000000)").arg(expression);
}
qint64 yen_of(const QSqlQuery& q, int column) {
  const __int128 whole =
      static_cast<__int128>(q.value(column).toLongLong()) * 1000000 + q.value(column + 1).toLongLong();
  return whole > kYenLimit || whole < -kYenLimit ? kYenOver : qint64(whole);
}

Figures figures_at(const QSqlQuery& q, int first) {
  Figures f;
  f.races = q.value(first).toInt();
  f.race_hits = q.value(first + 1).toInt();
  f.bets = q.value(first + 2).toInt();
  f.hits = q.value(first + 3).toInt();
  f.refunds = q.value(first + 4).toInt();
  f.refunded = yen_of(q, first + 5);
  f.stake = yen_of(q, first + 7);
  f.payback = yen_of(q, first + 9);
  f.hit_yen = yen_of(q, first + 11);
  f.largest_yen = q.value(first + 13).toInt();
  return f;
}

// A run and a bet whose values are within their ranges (see plausible()):
// a row another tool spoilt counts nowhere, as when the history is read whole.
QString sound_rows() {
  return QStringLiteral(
             " typeof(r.chance_level) = 'integer' AND r.chance_level BETWEEN %1 AND %2"
             " AND (r.bought_stake IS NULL OR (typeof(r.bought_stake) = 'integer'"
             " AND r.bought_stake BETWEEN 0 AND %3))"
             " AND typeof(b.stake) = 'integer' AND b.stake BETWEEN 0 AND %3"
             " AND typeof(b.yen) = 'integer' AND b.yen BETWEEN 0 AND %4"
             " AND b.bet_type IN ('exacta', 'trifecta', 'bracket', 'place')")
      .arg(kNoLevel)
      .arg(kMaxChanceLevel)
      .arg(kMaxStake)
      .arg(kMaxPayout);
}

void bind_period(QSqlQuery& q, const Period& period) {
  q.addBindValue(period.from ? day_text(*period.from) : QStringLiteral("0000-01-01"));
  q.addBindValue(period.to ? day_text(*period.to) : QStringLiteral("9999-12-31"));
}

// A yen sum read back in its two halves, past the limit as one more than it:
// a tally past the limit keeps every total it joins past it too.
qint64 tally_yen(const QSqlQuery& q, int column) {
  const qint64 yen = yen_of(q, column);
  return yen == kYenOver ? kYenLimit + 1 : yen;
}

// The tallies of a race from its settled bets: one row per ledger, bet type
// and chance level.
bool retally(QSqlDatabase& db, const QString& race, QString& error) {
  QSqlQuery q(db);
  q.prepare(QStringLiteral("DELETE FROM tallies WHERE race_key = ?"));
  q.addBindValue(race);
  if (!exec_query(q, error)) return false;
  QSqlQuery insert(db);
  insert.prepare(QStringLiteral("INSERT INTO tallies VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"));
  for (const Ledger ledger : {Ledger::Predictions, Ledger::Bought}) {
    const QString stake = stake_sql(ledger);
    q.prepare(
        QStringLiteral("SELECT b.bet_type, r.chance_level, MIN(r.race_day), MIN(trim(r.racecourse)),"
                       " MIN(r.id), SUM(%1), SUM(b.outcome = 1), SUM(b.outcome = 2), %2, %3, %4, %5,"
                       " MAX(CASE WHEN b.outcome = 1 THEN b.yen ELSE 0 END)"
                       " FROM bets b JOIN runs r ON r.id = b.run_id"
                       " WHERE r.race_key = ? AND b.outcome IS NOT NULL AND%6%7"
                       " GROUP BY b.bet_type, r.chance_level")
            .arg(QLatin1String(kStaked),
                 split_sum(QStringLiteral("CASE WHEN b.outcome = 2 THEN %1 ELSE 0 END").arg(stake)),
                 split_sum(
                     QStringLiteral("CASE WHEN %1 THEN %2 ELSE 0 END").arg(QLatin1String(kStaked), stake)),
                 split_sum(QStringLiteral("CASE WHEN b.outcome IN (1, 3) THEN (%1) * b.yen / 100 ELSE 0 END")
                               .arg(stake)),
                 split_sum(QStringLiteral("CASE WHEN b.outcome = 1 THEN b.yen ELSE 0 END")), sound_rows(),
                 ledger == Ledger::Bought ? QStringLiteral(" AND r.bought = 1") : QString()));
    q.addBindValue(race);
    if (!exec_query(q, error)) return false;
    while (q.next()) {
      const QVariantList values = {race,
                                   ledger == Ledger::Bought ? 1 : 0,
                                   q.value(0),
                                   q.value(1),
                                   q.value(2),
                                   q.value(3),
                                   q.value(4),
                                   q.value(5).toLongLong(),
                                   q.value(6).toLongLong(),
                                   q.value(7).toLongLong(),
                                   tally_yen(q, 8),
                                   tally_yen(q, 10),
                                   tally_yen(q, 12),
                                   tally_yen(q, 14),
                                   q.value(16).toLongLong()};
      for (const QVariant& v : values) insert.addBindValue(v);
      if (!exec_query(insert, error)) return false;
    }
  }
  return true;
}

bool retally_run(QSqlDatabase& db, qint64 run, QString& error) {
  QSqlQuery q(db);
  q.prepare(QStringLiteral("SELECT race_key FROM runs WHERE id = ?"));
  q.addBindValue(run);
  if (!exec_query(q, error)) return false;
  if (!q.next()) return true;
  const QString race = q.value(0).toString();
  q.finish();
  return retally(db, race, error);
}

}  // namespace

std::optional<qint64> HistoryStore::data_version() const {
  QSqlQuery q(QSqlDatabase::database(connection_, false));
  if (!q.exec(QStringLiteral("PRAGMA data_version")) || !q.next()) return std::nullopt;
  return q.value(0).toLongLong();
}

std::optional<int> HistoryStore::left_out() const {
  QSqlDatabase db = QSqlDatabase::database(connection_, false);
  QSqlQuery q(db);
  q.setForwardOnly(true);
  // The runs out of range, then the bets that are or whose run is.
  if (!q.exec(QStringLiteral("SELECT (SELECT COUNT(*) FROM runs r WHERE NOT (typeof(r.id) = 'integer' AND"
                             " typeof(r.chance_level) = 'integer' AND r.chance_level BETWEEN %1 AND %2"
                             " AND (r.bought_stake IS NULL OR (typeof(r.bought_stake) = 'integer'"
                             " AND r.bought_stake BETWEEN 0 AND %3)))),"
                             " (SELECT COUNT(*) FROM bets b LEFT JOIN runs r ON r.id = b.run_id"
                             " WHERE r.id IS NULL OR NOT (%4))")
                  .arg(kNoLevel)
                  .arg(kMaxChanceLevel)
                  .arg(kMaxStake)
                  .arg(sound_rows())) ||
      !q.next()) {
    error_ = q.lastError().text();
    return std::nullopt;
  }
  int count = q.value(0).toInt() + q.value(1).toInt();
  q.finish();
  if (!exec_query(q, QStringLiteral("SELECT race_key FROM race_results"), error_)) return std::nullopt;
  QStringList keys;
  while (q.next()) keys << q.value(0).toString();
  for (const QString& key : keys) {
    bool bad = false;
    QString error;
    load_result(db, key, &bad, error);
    count += bad;
  }
  return count;
}

std::optional<std::vector<HistoryStore::RaceRow>> HistoryStore::races(int limit, int* total) const {
  QSqlDatabase db = QSqlDatabase::database(connection_, false);
  QSqlQuery q(db);
  q.setForwardOnly(true);
  auto failed = [&](const QSqlQuery& query) -> std::optional<std::vector<RaceRow>> {
    error_ = query.lastError().text();
    return std::nullopt;
  };
  if (!q.exec(QStringLiteral("SELECT COUNT(DISTINCT race_key) FROM runs")) || !q.next()) return failed(q);
  if (total) *total = q.value(0).toInt();
  q.prepare(
      QStringLiteral("SELECT race_key, MAX(race_day) AS d, MAX(id) AS newest, COUNT(*) FROM runs"
                     " GROUP BY race_key ORDER BY d DESC, newest DESC LIMIT ?"));
  q.addBindValue(limit);
  if (!q.exec()) return failed(q);
  std::vector<RaceRow> out;
  std::vector<qint64> newest;
  while (q.next()) {
    out.push_back({q.value(0).toString(), {}, q.value(3).toInt(), 0, 0, 0, std::nullopt});
    newest.push_back(q.value(2).toLongLong());
  }
  if (q.lastError().isValid()) return failed(q);
  QSqlQuery inputs(db), sums(db), finish(db);
  inputs.prepare(
      QStringLiteral("SELECT year, month, day, racecourse, race, field_size FROM runs WHERE id = ?"));
  // The race's tallies of every prediction.
  sums.prepare(QStringLiteral("SELECT SUM(t.bets), SUM(t.hits), %1 FROM tallies t WHERE t.race_key = ? AND"
                              " t.ledger = 0")
                   .arg(split_sum(QStringLiteral("t.payback"))));
  finish.prepare(QStringLiteral("SELECT finish FROM race_results WHERE race_key = ?"));
  for (std::size_t i = 0; i < out.size(); ++i) {
    RaceRow& row = out[i];
    inputs.addBindValue(newest[i]);
    if (!inputs.exec()) return failed(inputs);
    if (inputs.next())
      row.race = {inputs.value(0).toString(), inputs.value(1).toString(), inputs.value(2).toString(),
                  inputs.value(3).toString(), inputs.value(4).toString(), inputs.value(5).toString()};
    inputs.finish();
    sums.addBindValue(row.key);
    if (!sums.exec() || !sums.next()) return failed(sums);
    row.bets = sums.value(0).toInt();
    row.hits = sums.value(1).toInt();
    row.payback = yen_of(sums, 2);
    sums.finish();
    finish.addBindValue(row.key);
    if (!finish.exec()) return failed(finish);
    if (finish.next()) row.finish = finish.value(0).toString();
    finish.finish();
  }
  return out;
}

std::optional<std::vector<HistoryStore::BetRow>> HistoryStore::race_bets(const QString& race) const {
  QSqlQuery q(QSqlDatabase::database(connection_, false));
  q.setForwardOnly(true);
  q.prepare(
      QStringLiteral(
          "SELECT r.id, r.recorded_at, r.command, r.chance_level, r.bought, r.bought_stake, b.bet_type,"
          " b.numbers, b.stake, b.buyable, b.why, b.outcome, b.yen FROM runs r JOIN bets b ON b.run_id = r.id"
          " WHERE r.race_key = ? AND") +
      sound_rows() + QStringLiteral(" ORDER BY r.id DESC, b.seq"));
  q.addBindValue(race);
  if (!exec_query(q, error_)) return std::nullopt;
  std::vector<BetRow> out;
  while (q.next()) {
    const auto type = bet_type_from_key(q.value(6).toString());
    const auto numbers = numbers_from(q.value(7).toString());
    if (!type || !numbers) continue;
    BetRow row;
    row.run = q.value(0).toLongLong();
    row.when = q.value(1).toString();
    row.command = q.value(2).toString();
    row.chance_level = q.value(3).toInt();
    row.bought = q.value(4).toInt() != 0;
    if (!q.value(5).isNull()) row.bought_stake = q.value(5).toInt();
    row.bet = {*type, *numbers, q.value(8).toInt(), q.value(9).toInt() != 0, q.value(10).toString()};
    if (const auto outcome = whole_value(q.value(11));
        outcome && *outcome >= 0 && *outcome <= int(Outcome::NotBought))
      row.settled = Settlement{Outcome(*outcome), q.value(12).toInt()};
    out.push_back(std::move(row));
  }
  return out;
}

namespace {

// The columns of Figures, in order, summed from tallies.
QString tally_columns() {
  return QStringLiteral(
             "COUNT(DISTINCT CASE WHEN t.bets > 0 THEN t.race_key END),"
             " COUNT(DISTINCT CASE WHEN t.hits > 0 THEN t.race_key END),"
             " SUM(t.bets), SUM(t.hits), SUM(t.refunds), %1, %2, %3, %4, MAX(t.largest)")
      .arg(split_sum(QStringLiteral("t.refunded")), split_sum(QStringLiteral("t.stake")),
           split_sum(QStringLiteral("t.payback")), split_sum(QStringLiteral("t.hit_yen")));
}

// The tallies of a ledger over a period (and of one type).
QString tally_where(Ledger ledger, std::optional<BetType> type) {
  QString where = QStringLiteral(" FROM tallies t WHERE t.ledger = %1 AND t.race_day BETWEEN ? AND ?")
                      .arg(ledger == Ledger::Bought ? 1 : 0);
  if (type) where += QStringLiteral(" AND t.bet_type = '%1'").arg(bet_type_key(*type));
  return where;
}

}  // namespace

std::optional<std::vector<FigureRow>> HistoryStore::figures(Ledger ledger, Grouping grouping,
                                                            const Period& period) const {
  QString key;
  switch (grouping) {
    case Grouping::BetType:
      key = QStringLiteral("'', t.bet_type, NULL");
      break;
    case Grouping::Month:
      key = QStringLiteral("substr(t.race_day, 1, 7), NULL, NULL");
      break;
    case Grouping::Year:
      key = QStringLiteral("substr(t.race_day, 1, 4), NULL, NULL");
      break;
    case Grouping::Racecourse:
      key = QStringLiteral("t.racecourse, NULL, NULL");
      break;
    case Grouping::ChanceLevel:
      key = QStringLiteral("'', t.bet_type, t.chance_level");
      break;
  }
  QSqlQuery q(QSqlDatabase::database(connection_, false));
  q.setForwardOnly(true);
  q.prepare(QStringLiteral("SELECT %1, %2%3 GROUP BY 1, 2, 3 ORDER BY 1, 3")
                .arg(key, tally_columns(), tally_where(ledger, std::nullopt)));
  bind_period(q, period);
  if (!exec_query(q, error_)) return std::nullopt;
  std::vector<FigureRow> out;
  while (q.next()) {
    FigureRow row{q.value(0).toString(), bet_type_from_key(q.value(1).toString()), std::nullopt,
                  figures_at(q, 3)};
    if (!q.value(2).isNull() && q.value(2).toInt() != kNoLevel) row.level = q.value(2).toInt();
    out.push_back(std::move(row));
  }
  if (q.lastError().isValid()) {
    error_ = q.lastError().text();
    return std::nullopt;
  }
  // Bet types in the order the program lists them.
  if (grouping == Grouping::BetType || grouping == Grouping::ChanceLevel)
    std::stable_sort(out.begin(), out.end(), [](const FigureRow& a, const FigureRow& b) {
      return int(a.type.value_or(BetType::Exacta)) < int(b.type.value_or(BetType::Exacta));
    });
  return out;
}

std::optional<Figures> HistoryStore::overall(Ledger ledger, const Period& period,
                                             std::optional<BetType> type) const {
  QSqlQuery q(QSqlDatabase::database(connection_, false));
  q.setForwardOnly(true);
  q.prepare(QStringLiteral("SELECT %1%2").arg(tally_columns(), tally_where(ledger, type)));
  bind_period(q, period);
  if (!q.exec() || !q.next()) {
    error_ = q.lastError().text();
    return std::nullopt;
  }
  return figures_at(q, 0);
}

bool HistoryStore::fold_races(Ledger ledger, const Period& period, std::optional<BetType> type,
                              RaceFold& fold) const {
  QSqlQuery q(QSqlDatabase::database(connection_, false));
  q.setForwardOnly(true);
  q.prepare(QStringLiteral("SELECT MIN(t.race_day) AS d, MAX(t.hits > 0), %1, %2%3 AND t.bets > 0"
                           " GROUP BY t.race_key ORDER BY d, MIN(t.first_run)")
                .arg(split_sum(QStringLiteral("t.stake")), split_sum(QStringLiteral("t.payback")),
                     tally_where(ledger, type)));
  bind_period(q, period);
  if (!exec_query(q, error_)) return false;
  while (q.next()) {
    const qint64 staked = yen_of(q, 2), payback = yen_of(q, 4);
    fold.add({QDate::fromString(q.value(0).toString(), Qt::ISODate), q.value(1).toInt() != 0,
              staked == kYenOver || payback == kYenOver ? kYenOver : payback - staked});
  }
  if (q.lastError().isValid()) {
    error_ = q.lastError().text();
    return false;
  }
  return true;
}

}  // namespace quilo
