// What a history file is, found before anything writes to it: its first
// bytes, then its tables through read-only connections that neither write,
// checkpoint nor make a file (the file alone as it lies when it has no log;
// with its log through the shared memory opened read-only; a log without
// shared memory on a private copy).
#include "history/history_store.h"

#include <QDate>
#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QUrl>
#include <QVariant>

#include <atomic>

namespace quilo {
namespace {

// The first 16 bytes of every SQLite database file.
constexpr char kSqliteHeader[16] = "SQLite format 3";

// SQLite's primary result codes for a file that is damaged or no database.
constexpr int kSqliteCorrupt = 11;
constexpr int kSqliteNotADatabase = 26;

// What one look at a database shows.
enum class View {
  Empty,       // no tables
  Own,         // the history's tables
  Other,       // tables of something else
  Unreadable,  // its schema cannot be read: damaged
  Failed,      // it could not be looked at (no access, locked)
};

struct Look {
  View view = View::Failed;
  int version = 0;
  bool sound = true;     // the quick check passed, when asked for
  bool checked = false;  // the quick check ran
  QString error;
};

bool is_damage(const QSqlError& e) {
  bool ok = false;
  const int code = e.nativeErrorCode().toInt(&ok) & 0xFF;
  return ok && (code == kSqliteCorrupt || code == kSqliteNotADatabase);
}

// The file as a read-only SQLite URI with the given parameters.
QString read_only_uri(const QString& file, const char* parameters) {
  return QUrl::fromLocalFile(file).toString(QUrl::FullyEncoded) + QStringLiteral("?mode=ro") +
         QLatin1String(parameters);
}

// How long a check of the whole file holds: a file checked within this many
// days is not read whole again at every start.
constexpr int kCheckDays = 7;

Look look_at(const QString& uri, bool check, const QDate& today = {}) {
  static std::atomic<int> counter{0};
  const QString name = QStringLiteral("quilo-history-look-%1").arg(++counter);
  Look look;
  {
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
    db.setDatabaseName(uri);
    db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY;QSQLITE_OPEN_URI;QSQLITE_BUSY_TIMEOUT=5000"));
    QSqlQuery q(db);
    auto failed = [&](const QSqlError& e) {
      look.view = is_damage(e) ? View::Unreadable : View::Failed;
      look.error = e.text();
    };
    if (!db.open()) {
      failed(db.lastError());
    } else if (!q.exec(QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'table'"
                                      " AND name NOT LIKE 'sqlite\\_%' ESCAPE '\\'"))) {
      failed(q.lastError());
    } else {
      QStringList tables;
      while (q.next()) tables << q.value(0).toString();
      if (q.lastError().isValid()) {
        failed(q.lastError());
      } else if (!q.exec(QStringLiteral("PRAGMA user_version")) || !q.next()) {
        failed(q.lastError());
      } else {
        look.version = q.value(0).toInt();
        const bool own =
            look.version > 0 && tables.contains(QLatin1String("runs")) &&
            tables.contains(QLatin1String("bets")) &&
            (tables.contains(QLatin1String("results")) || tables.contains(QLatin1String("race_results")));
        look.view = tables.isEmpty() ? View::Empty : own ? View::Own : View::Other;
        if (check && own && today.isValid() && tables.contains(QLatin1String("meta")) &&
            q.exec(QStringLiteral("SELECT value FROM meta WHERE key = 'checked'")) && q.next()) {
          const QDate last = QDate::fromString(q.value(0).toString(), Qt::ISODate);
          if (last.isValid() && last.daysTo(today) >= 0 && last.daysTo(today) < kCheckDays) check = false;
        }
        look.checked = check && look.view != View::Other;
        // The check reads every page; its first line names what is wrong.
        if (check && look.view != View::Other) {
          if (!q.exec(QStringLiteral("PRAGMA quick_check"))) {
            failed(q.lastError());
          } else if (!q.next()) {
            failed(q.lastError());
          } else if (q.value(0).toString() != QLatin1String("ok")) {
            look.sound = false;
            look.error = q.value(0).toString();
          }
        }
      }
    }
    q.finish();
    db.close();
  }
  QSqlDatabase::removeDatabase(name);
  return look;
}

// A log without its shared memory cannot be read read-only in place: the
// file and the log are read from copies, so that nothing is made beside them.
Look look_at_copy(const QString& file, bool file_present, const QDate& today) {
  QTemporaryDir dir;
  const QString copy = dir.filePath(QStringLiteral("history"));
  const bool copied = file_present ? QFile::copy(file, copy) : QFile(copy).open(QIODevice::WriteOnly);
  if (!dir.isValid() || !copied || !QFile::copy(file + QStringLiteral("-wal"), copy + QStringLiteral("-wal")))
    return {View::Failed, 0, true, false, QStringLiteral("一時ファイルを作れません")};
  return look_at(read_only_uri(copy, ""), true, today);
}

}  // namespace

HistoryStore::Kind HistoryStore::inspect(const QString& file, int latest, const QDate& today) {
  const QFileInfo info(file);
  const QFileInfo log(file + QStringLiteral("-wal"));
  const bool empty = !info.exists() || info.size() == 0;
  const bool logged = log.exists() && log.size() > 0;
  if (empty && !logged) return Kind::Missing;
  if (!empty) {
    QFile f(file);
    if (!f.open(QIODevice::ReadOnly)) {
      error_ = f.errorString();
      return Kind::Unreadable;
    }
    if (f.read(sizeof kSqliteHeader) != QByteArray(kSqliteHeader, sizeof kSqliteHeader))
      return Kind::NotDatabase;
  }
  // The database as SQLite would see it: the file with its log replayed.
  Look seen;
  if (!logged)
    seen = look_at(read_only_uri(file, "&immutable=1"), true, today);
  else if (QFileInfo::exists(file + QStringLiteral("-shm")))
    seen = look_at(read_only_uri(file, "&readonly_shm=1"), true, today);
  else
    seen = look_at_copy(file, !empty, today);
  error_ = seen.error;
  checked_ = seen.checked && seen.sound;
  if (seen.view == View::Failed) return Kind::Unreadable;
  if (seen.view == View::Own || seen.view == View::Empty) {
    if (!seen.sound) return Kind::Damaged;
    return seen.version > latest ? Kind::Newer : Kind::Own;
  }
  // Someone else's tables, or none that can be read. The file alone tells a
  // history spoilt by a log that is not its own from another database.
  const Look alone = !logged ? seen
                     : empty ? Look{View::Empty}
                             : look_at(read_only_uri(file, "&immutable=1"), false);
  switch (alone.view) {
    case View::Own:
    case View::Unreadable:
      return Kind::Damaged;
    case View::Other:
      return Kind::OtherDatabase;
    case View::Empty:
      return seen.view == View::Other ? Kind::OtherDatabase : Kind::Damaged;
    case View::Failed:
      error_ = alone.error;
      return Kind::Unreadable;
  }
  return Kind::Unreadable;
}

}  // namespace quilo
