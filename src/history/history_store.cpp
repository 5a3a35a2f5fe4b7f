// The history file through Qt SQL and its SQLite driver.
#include "history/history_store.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

#include <algorithm>
#include <atomic>

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
  switch (inspect(file, latest)) {
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
  if (db.open()) migrate(steps);
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
    if (!q.exec(QStringLiteral("BEGIN IMMEDIATE"))) {
      error_ = q.lastError().text();
      return false;
    }
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
  if (!q.exec(QStringLiteral("BEGIN IMMEDIATE"))) {
    error_ = q.lastError().text();
    return false;
  }
  auto fail = [&](const QSqlQuery& failed) {
    error_ = failed.lastError().text();
    QSqlQuery(db).exec(QStringLiteral("ROLLBACK"));
    return false;
  };
  QSqlQuery run(db);
  run.prepare(QStringLiteral(
      "INSERT INTO runs (recorded_at, command, year, month, day, racecourse, race, field_size, race_key,"
      " odds1, odds2, chance_level, line1, line2, line3, line4, line5)"
      " VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"));
  const RaceInputs& r = p.race;
  for (const QString& text : {history_time(when), p.command, r.year, r.month, r.day, r.racecourse, r.race,
                              r.field_size, race_key(r), p.odds1, p.odds2})
    run.addBindValue(not_null(text));
  run.addBindValue(p.chance_level);
  for (const QString& line : p.lines) run.addBindValue(not_null(line));
  if (!run.exec()) return fail(run);
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
    if (!bet.exec()) return fail(bet);
  }
  if (!q.exec(QStringLiteral("COMMIT"))) return fail(q);
  return true;
}

std::optional<HistoryStore::Contents> HistoryStore::read() const {
  QSqlDatabase db = QSqlDatabase::database(connection_, false);
  QSqlQuery q(db);
  q.setForwardOnly(true);
  // One read transaction: the runs, their bets and the results as they were
  // at one moment, whatever another instance records meanwhile.
  auto failed = [&]() -> std::optional<Contents> {
    error_ = q.lastError().text();
    q.finish();
    QSqlQuery(db).exec(QStringLiteral("ROLLBACK"));
    return std::nullopt;
  };
  if (!q.exec(QStringLiteral("BEGIN"))) return failed();
  Contents out;
  if (!q.exec(
          QStringLiteral("SELECT id, recorded_at, command, year, month, day, racecourse, race, field_size,"
                         " odds1, odds2, chance_level, line1, line2, line3, line4, line5"
                         " FROM runs ORDER BY id")))
    return failed();
  QHash<qint64, std::size_t> index;
  while (q.next()) {
    const auto id = whole_value(q.value(0));
    const auto level = whole_value(q.value(11));
    if (!id || !level || *level < 0 || *level > kMaxChanceLevel) {
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
    out.runs.push_back(recorded_run(*id, q.value(1).toString(), std::move(p)));
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
  if (!q.exec(QStringLiteral("SELECT race_key, first, second, third, bracket1, bracket2, pay_exacta,"
                             " pay_trifecta, pay_bracket, pay_place1, pay_place2, pay_place3 FROM results")))
    return failed();
  while (q.next()) {
    // Each field within an int first; plausible() then holds it to its range.
    std::array<int, 11> v{};
    bool whole = true;
    for (int i = 0; i < 11; ++i) {
      const auto value = whole_value(q.value(1 + i));
      whole = whole && value && *value >= 0 && *value <= kMaxPayout;
      if (whole) v[i] = int(*value);
    }
    const RaceResult r{v[0], v[1], v[2], v[3], v[4], v[5], v[6], v[7], {v[8], v[9], v[10]}};
    if (!whole || !plausible(r)) {
      ++out.left_out;
      continue;
    }
    out.results.insert(q.value(0).toString(), r);
  }
  if (q.lastError().isValid()) return failed();
  q.finish();
  QSqlQuery(db).exec(QStringLiteral("COMMIT"));
  return out;
}

int HistoryStore::run_count() const {
  QSqlQuery q(QSqlDatabase::database(connection_, false));
  if (!q.exec(QStringLiteral("SELECT count(*) FROM runs")) || !q.next()) return 0;
  return q.value(0).toInt();
}

bool HistoryStore::save_result(const QString& race, const RaceResult& r, const QDateTime& when) {
  QSqlQuery q(QSqlDatabase::database(connection_, false));
  q.prepare(
      QStringLiteral("INSERT OR REPLACE INTO results (race_key, first, second, third, bracket1, bracket2,"
                     " pay_exacta, pay_trifecta, pay_bracket, pay_place1, pay_place2, pay_place3,"
                     " entered_at) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"));
  for (const QVariant& v :
       {QVariant(race), QVariant(r.first), QVariant(r.second), QVariant(r.third), QVariant(r.bracket1),
        QVariant(r.bracket2), QVariant(r.exacta), QVariant(r.trifecta), QVariant(r.bracket),
        QVariant(r.place[0]), QVariant(r.place[1]), QVariant(r.place[2]), QVariant(history_time(when))})
    q.addBindValue(v);
  if (q.exec()) return true;
  error_ = q.lastError().text();
  return false;
}

bool HistoryStore::remove_result(const QString& race) {
  QSqlQuery q(QSqlDatabase::database(connection_, false));
  q.prepare(QStringLiteral("DELETE FROM results WHERE race_key = ?"));
  q.addBindValue(race);
  if (q.exec()) return true;
  error_ = q.lastError().text();
  return false;
}

}  // namespace quilo
