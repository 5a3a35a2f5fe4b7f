// The history file through Qt SQL and its SQLite driver.
#include "history/history_store.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

#include <atomic>

namespace quilo {
namespace {

// How long a write waits for another instance's write to the same file.
constexpr int kBusyTimeoutMs = 5000;

// SQLite's primary result codes for a file that is damaged or no database.
constexpr int kSqliteCorrupt = 11;
constexpr int kSqliteNotADatabase = 26;

QString new_connection_name() {
  static std::atomic<int> counter{0};
  return QStringLiteral("quilo-history-%1").arg(++counter);
}

bool is_damage(const QSqlError& e) {
  bool ok = false;
  const int code = e.nativeErrorCode().toInt(&ok) & 0xFF;
  return ok && (code == kSqliteCorrupt || code == kSqliteNotADatabase);
}

// An empty text, never SQL's NULL.
QString not_null(const QString& text) { return text.isNull() ? QString(QLatin1String("")) : text; }

QString numbers_text(const std::vector<int>& numbers) {
  QStringList parts;
  for (int n : numbers) parts << QString::number(n);
  return parts.join(QLatin1Char('-'));
}

std::vector<int> numbers_from(const QString& text) {
  std::vector<int> out;
  for (const QString& part : text.split(QLatin1Char('-'), Qt::SkipEmptyParts)) out.push_back(part.toInt());
  return out;
}

// The first free name of the form "<file>.damaged-YYYYMMDD-HHMMSS[-N]".
QString aside_name(const QString& file, const QDateTime& now) {
  const QString base = file + QStringLiteral(".damaged-") + now.toString(QStringLiteral("yyyyMMdd-HHmmss"));
  QString name = base;
  for (int n = 2; QFileInfo::exists(name); ++n) name = base + QStringLiteral("-%1").arg(n);
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
  if (info.exists() && !info.isFile()) {
    notice_ = QStringLiteral("成績ファイル %1 はファイルではないため使えません。").arg(shown) + in_memory;
    open_memory(steps);
    return;
  }
  QDir().mkpath(info.absolutePath());
  Opening opened = open_file(file, steps);
  if (opened == Opening::Damaged) {
    // Kept aside under a dated name, never deleted: the results in it may
    // still be read back by hand.
    close();
    const QString aside = aside_name(file, now);
    if (QFile::rename(file, aside)) {
      for (const char* suffix : {"-wal", "-shm"})
        if (QFileInfo::exists(file + QLatin1String(suffix)))
          QFile::rename(file + QLatin1String(suffix), aside + QLatin1String(suffix));
      opened = open_file(file, steps);
      if (opened == Opening::Ready) {
        notice_ = QStringLiteral(
                      "成績ファイル %1 は壊れているか、成績ファイルではありませんでした。"
                      "そのファイルは %2 に移し、新しい成績ファイルを始めました。")
                      .arg(shown, QDir::toNativeSeparators(aside));
        return;
      }
    }
  }
  switch (opened) {
    case Opening::Ready:
      return;
    case Opening::Newer:
      notice_ =
          QStringLiteral("成績ファイル %1 は新しい版の Quilo で作られたため、この版では書き込みません。")
              .arg(shown) +
          in_memory;
      break;
    case Opening::NotMigrated:
      notice_ = QStringLiteral(
                    "成績ファイル %1 を新しい形式に更新できませんでした（%2）。ファイルはそのまま"
                    "残します。")
                    .arg(shown, error_) +
                in_memory;
      break;
    case Opening::Damaged:
    case Opening::Failed:
      notice_ = QStringLiteral("成績ファイル %1 を開けませんでした（%2）。").arg(shown, error_) + in_memory;
      break;
  }
  open_memory(steps);
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
  bool damaged = false;
  auto run = [&](const char* sql) {
    if (q.exec(QLatin1String(sql))) return true;
    damaged = damaged || is_damage(q.lastError());
    error_ = q.lastError().text();
    return false;
  };
  // The first read tells whether the file is a database at all; the check
  // reads every page of it.
  const bool readable = run("PRAGMA journal_mode=WAL") && run("PRAGMA synchronous=NORMAL") &&
                        run("PRAGMA foreign_keys=ON") && run("PRAGMA quick_check");
  if (readable && (!q.next() || q.value(0).toString() != QLatin1String("ok"))) damaged = true;
  q.finish();
  if (damaged) return Opening::Damaged;
  if (!readable) return Opening::Failed;
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

std::vector<RunRecord> HistoryStore::runs() const {
  QSqlDatabase db = QSqlDatabase::database(connection_, false);
  std::vector<RunRecord> out;
  QSqlQuery q(db);
  q.setForwardOnly(true);
  if (!q.exec(
          QStringLiteral("SELECT id, recorded_at, command, year, month, day, racecourse, race, field_size,"
                         " odds1, odds2, chance_level, line1, line2, line3, line4, line5"
                         " FROM runs ORDER BY id"))) {
    error_ = q.lastError().text();
    return out;
  }
  QHash<qint64, std::size_t> index;
  while (q.next()) {
    Prediction p;
    p.command = q.value(2).toString();
    p.race = {q.value(3).toString(), q.value(4).toString(), q.value(5).toString(),
              q.value(6).toString(), q.value(7).toString(), q.value(8).toString()};
    p.odds1 = q.value(9).toString();
    p.odds2 = q.value(10).toString();
    p.chance_level = q.value(11).toInt();
    for (int i = 0; i < 5; ++i) p.lines[i] = q.value(12 + i).toString();
    const qint64 id = q.value(0).toLongLong();
    index.insert(id, out.size());
    out.push_back(recorded_run(id, q.value(1).toString(), std::move(p)));
  }
  QSqlQuery b(db);
  b.setForwardOnly(true);
  if (!b.exec(QStringLiteral(
          "SELECT run_id, bet_type, numbers, stake, buyable, why FROM bets ORDER BY run_id, seq"))) {
    error_ = b.lastError().text();
    return out;
  }
  while (b.next()) {
    const auto at = index.constFind(b.value(0).toLongLong());
    const auto type = bet_type_from_key(b.value(1).toString());
    if (at == index.constEnd() || !type) continue;
    out[*at].prediction.bets.push_back({*type, numbers_from(b.value(2).toString()), b.value(3).toInt(),
                                        b.value(4).toInt() != 0, b.value(5).toString()});
  }
  return out;
}

int HistoryStore::run_count() const {
  QSqlQuery q(QSqlDatabase::database(connection_, false));
  if (!q.exec(QStringLiteral("SELECT count(*) FROM runs")) || !q.next()) return 0;
  return q.value(0).toInt();
}

ResultsByRace HistoryStore::results() const {
  ResultsByRace out;
  QSqlQuery q(QSqlDatabase::database(connection_, false));
  q.setForwardOnly(true);
  if (!q.exec(
          QStringLiteral("SELECT race_key, first, second, third, bracket1, bracket2, pay_exacta,"
                         " pay_trifecta, pay_bracket, pay_place1, pay_place2, pay_place3 FROM results"))) {
    error_ = q.lastError().text();
    return out;
  }
  while (q.next()) {
    RaceResult r;
    r.first = q.value(1).toInt();
    r.second = q.value(2).toInt();
    r.third = q.value(3).toInt();
    r.bracket1 = q.value(4).toInt();
    r.bracket2 = q.value(5).toInt();
    r.exacta = q.value(6).toInt();
    r.trifecta = q.value(7).toInt();
    r.bracket = q.value(8).toInt();
    for (int i = 0; i < 3; ++i) r.place[i] = q.value(9 + i).toInt();
    out.insert(q.value(0).toString(), r);
  }
  return out;
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
