// The history file: what it keeps, an older file brought up to date, a
// damaged history moved aside with its logs as it was, a file of a newer
// version and any file that is not a history left exactly as they are,
// values out of range left out, and two programs recording into one file at
// once.
#include "history/history_store.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <functional>
#include <map>

using namespace quilo;

namespace {

const QDateTime kWhen(QDate(2010, 4, 10), QTime(9, 30, 0));

Prediction trifecta_run(const char* day = "10") {
  Prediction p;
  p.command = "Command8";
  p.race = {"2010", "04", day, "東京", "11R", "16頭"};
  p.odds1 = "1.5";
  p.odds2 = "";  // an empty box stays an empty text
  p.chance_level = 3;
  p.bets = {{BetType::Trifecta, {5, 2, 12}, 400}, {BetType::Trifecta, {5, 7, 12}, 100}};
  p.lines = {"a", "b", "c", "d", "　"};
  return p;
}

RaceResult some_result() {
  RaceResult r;
  r.first = 5, r.second = 2, r.third = 12, r.bracket1 = 3, r.bracket2 = 1;
  r.exacta = 800, r.trifecta = 5600, r.bracket = 450, r.place = {120, 180, 300};
  return r;
}

QByteArray read_all(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void write_bytes(const QString& path, const QByteArray& bytes) {
  QFile f(path);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.write(bytes);
}

QStringList aside_files(const QTemporaryDir& dir) {
  return QDir(dir.path()).entryList({"history.sqlite.damaged-*"}, QDir::Files);
}

// Every file of a folder with its bytes: equal before and after when nothing
// was written, made, moved or removed there.
std::map<QString, QByteArray> folder_bytes(const QString& folder) {
  std::map<QString, QByteArray> out;
  for (const QString& name : QDir(folder).entryList(QDir::Files | QDir::Hidden))
    out[name] = read_all(QDir(folder).filePath(name));
  return out;
}

HistoryStore::Contents contents_of(const HistoryStore& store) {
  auto contents = store.read();
  EXPECT_TRUE(contents.has_value()) << store.last_error().toStdString();
  return contents.value_or(HistoryStore::Contents{});
}

// Another program's database: a table of its own with `rows` rows, made
// through the store with that program's schema instead of ours.
const std::vector<HistoryStore::Migration> kOtherProgram = {
    {1,
     {"CREATE TABLE notes (id INTEGER PRIMARY KEY, body TEXT NOT NULL)",
      "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 200)"
      " INSERT INTO notes (body) SELECT printf('%0400d', i) FROM n"}}};

// A database as a program killed while it wrote leaves it: the file, its
// write-ahead log and the log's shared memory, copied to `target` while the
// store that made them is still open.
void left_open(const QString& target, const std::vector<HistoryStore::Migration>& steps,
               const std::function<void(HistoryStore&)>& fill = {}) {
  QTemporaryDir scratch;
  const QString file = scratch.filePath("live.sqlite");
  HistoryStore live(file, kWhen, steps);
  ASSERT_EQ(live.file(), file) << live.notice().toStdString();
  if (fill) fill(live);
  for (const char* suffix : {"", "-wal", "-shm"}) {
    ASSERT_TRUE(QFile::exists(file + suffix)) << suffix;
    QFile::remove(target + suffix);
    ASSERT_TRUE(QFile::copy(file + suffix, target + suffix)) << suffix;
  }
}

}  // namespace

TEST(HistoryStore, KeepsRunsAndResultsAcrossOpenings) {
  QTemporaryDir dir;
  const QString file = dir.filePath("sub/history.sqlite");  // the folder is made
  {
    HistoryStore store(file, kWhen);
    EXPECT_TRUE(store.notice().isEmpty()) << store.notice().toStdString();
    EXPECT_EQ(store.file(), file);
    ASSERT_TRUE(store.record(trifecta_run(), kWhen));
    ASSERT_TRUE(store.save_result(race_key(trifecta_run().race), some_result(), kWhen));
  }
  HistoryStore again(file, kWhen);
  const auto runs = contents_of(again).runs;
  ASSERT_EQ(runs.size(), 1u);
  EXPECT_EQ(runs[0].when, "2010-04-10T09:30:00");
  EXPECT_EQ(runs[0].prediction.race, trifecta_run().race);
  EXPECT_EQ(runs[0].prediction.bets, trifecta_run().bets);
  EXPECT_EQ(runs[0].prediction.lines, trifecta_run().lines);
  EXPECT_EQ(runs[0].prediction.odds2, "");
  EXPECT_EQ(contents_of(again).results.value(race_key(trifecta_run().race)), some_result());
  EXPECT_EQ(again.schema_version(), HistoryStore::migrations().back().version);

  // A corrected result replaces the first; a removed one is gone.
  RaceResult corrected = some_result();
  corrected.trifecta = 7000;
  ASSERT_TRUE(again.save_result(race_key(trifecta_run().race), corrected, kWhen));
  EXPECT_EQ(contents_of(again).results.size(), 1);
  EXPECT_EQ(contents_of(again).results.value(race_key(trifecta_run().race)).trifecta, 7000);
  ASSERT_TRUE(again.remove_result(race_key(trifecta_run().race)));
  EXPECT_TRUE(contents_of(again).results.isEmpty());
}

TEST(HistoryStore, AnOlderFileIsMigratedAndAFailedStepLeavesItAsItWas) {
  QTemporaryDir dir;
  const QString file = dir.filePath("history.sqlite");
  const std::vector<HistoryStore::Migration> first = HistoryStore::migrations();
  {
    HistoryStore old(file, kWhen, first);
    ASSERT_TRUE(old.record(trifecta_run(), kWhen));
  }
  // A later step that adds a column: the runs stay, the version moves on.
  auto later = first;
  later.push_back({first.back().version + 1, {"ALTER TABLE runs ADD COLUMN note TEXT NOT NULL DEFAULT ''"}});
  {
    HistoryStore migrated(file, kWhen, later);
    EXPECT_TRUE(migrated.notice().isEmpty()) << migrated.notice().toStdString();
    EXPECT_EQ(migrated.schema_version(), first.back().version + 1);
    EXPECT_EQ(contents_of(migrated).runs.size(), 1u);
  }
  // A step that fails half-way is undone whole: the file keeps its version and
  // its runs, the user is told, and this session records in memory.
  auto broken = later;
  broken.push_back({later.back().version + 1,
                    {"CREATE TABLE extra (x INTEGER)", "ALTER TABLE no_such_table ADD COLUMN y TEXT"}});
  {
    HistoryStore failed(file, kWhen, broken);
    EXPECT_TRUE(failed.notice().contains("更新できませんでした")) << failed.notice().toStdString();
    EXPECT_TRUE(failed.file().isEmpty());
    EXPECT_TRUE(failed.record(trifecta_run(), kWhen));
  }
  HistoryStore after(file, kWhen, later);
  EXPECT_EQ(after.schema_version(), later.back().version);
  EXPECT_EQ(contents_of(after).runs.size(), 1u);
}

TEST(HistoryStore, AFileOfANewerVersionIsLeftAlone) {
  QTemporaryDir dir;
  const QString file = dir.filePath("history.sqlite");
  auto newer = HistoryStore::migrations();
  newer.push_back({newer.back().version + 1, {"CREATE TABLE tomorrow (x INTEGER)"}});
  { HistoryStore(file, kWhen, newer).record(trifecta_run(), kWhen); }
  const QByteArray before = read_all(file);

  HistoryStore store(file, kWhen);
  EXPECT_TRUE(store.notice().contains("新しい版")) << store.notice().toStdString();
  EXPECT_TRUE(store.record(trifecta_run(), kWhen));  // into memory
  EXPECT_EQ(read_all(file), before);
  EXPECT_TRUE(aside_files(dir).isEmpty());
}

TEST(HistoryStore, ADamagedHistoryIsMovedAsideWithItsLogsAsItWas) {
  // The history of 100 runs is spoilt; a log beside it is kept aside with it.
  const struct {
    const char* what;
    std::function<void(const QString&)> spoil;
  } cases[] = {
      {"a database cut short",
       [](const QString& f) {
         QFile file(f);
         ASSERT_TRUE(file.open(QIODevice::ReadWrite));
         file.resize(file.size() / 2 + 100);
       }},
      {"pages overwritten",
       [](const QString& f) {
         QFile file(f);
         ASSERT_TRUE(file.open(QIODevice::ReadWrite));
         file.seek(4096 + 16);
         file.write(QByteArray(4096 * 2, '\xA5'));
       }},
      // Replayed, another database's log would write its pages over ours.
      {"another database's log beside it",
       [](const QString& f) {
         left_open(f + ".other", kOtherProgram);
         ASSERT_TRUE(QFile::rename(f + ".other-wal", f + "-wal"));
       }},
      {"another database's log and shared memory beside it",
       [](const QString& f) {
         left_open(f + ".other", kOtherProgram);
         ASSERT_TRUE(QFile::rename(f + ".other-wal", f + "-wal"));
         ASSERT_TRUE(QFile::rename(f + ".other-shm", f + "-shm"));
       }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    QTemporaryDir dir;
    const QString file = dir.filePath("history.sqlite");
    {
      HistoryStore store(file, kWhen);
      for (int i = 0; i < 100; ++i) ASSERT_TRUE(store.record(trifecta_run(), kWhen));
    }
    c.spoil(file);
    const QByteArray spoilt = read_all(file), log = read_all(file + "-wal");

    HistoryStore store(file, kWhen);
    const QStringList aside = aside_files(dir).filter(QRegularExpression("\\d$"));
    ASSERT_EQ(aside.size(), 1) << store.notice().toStdString();
    EXPECT_TRUE(aside[0].startsWith("history.sqlite.damaged-20100410-093000"));
    const QString kept = dir.filePath(aside[0]);
    EXPECT_EQ(read_all(kept), spoilt) << "kept as it was";
    EXPECT_EQ(read_all(kept + "-wal"), log) << "its log kept with it";
    EXPECT_TRUE(store.notice().contains(QDir::toNativeSeparators(kept))) << store.notice().toStdString();
    EXPECT_EQ(store.file(), file);
    EXPECT_TRUE(store.record(trifecta_run(), kWhen));
    EXPECT_EQ(contents_of(store).runs.size(), 1u);
  }
}

TEST(HistoryStore, AHistoryKeptAsideIsTheFileThatWasThere) {
  // Its 100 runs are still in the file kept aside, read without the log.
  QTemporaryDir dir;
  const QString file = dir.filePath("history.sqlite");
  {
    HistoryStore store(file, kWhen);
    for (int i = 0; i < 100; ++i) ASSERT_TRUE(store.record(trifecta_run(), kWhen));
  }
  left_open(file + ".other", kOtherProgram);
  ASSERT_TRUE(QFile::rename(file + ".other-wal", file + "-wal"));
  { HistoryStore store(file, kWhen); }
  ASSERT_EQ(aside_files(dir).filter(QRegularExpression("\\d$")).size(), 1);
  const QString copy = dir.filePath("copy.sqlite");
  ASSERT_TRUE(QFile::copy(dir.filePath(aside_files(dir).filter(QRegularExpression("\\d$"))[0]), copy));
  HistoryStore kept(copy, kWhen);
  EXPECT_TRUE(kept.notice().isEmpty()) << kept.notice().toStdString();
  EXPECT_EQ(contents_of(kept).runs.size(), 100u);
}

TEST(HistoryStore, AFileThatIsNoHistoryIsLeftExactlyAsItWas) {
  // Looked at read-only: neither the file nor its log nor its shared memory
  // changes, nothing is made beside it, nothing is moved.
  const struct {
    const char* what;
    std::function<void(const QString&)> make;
    const char* told;
  } cases[] = {
      {"notes", [](const QString& f) { write_bytes(f, "these are my notes, not a database\n"); },
       "データベース）ではありません"},
      {"a few bytes", [](const QString& f) { write_bytes(f, "SQLite"); }, "データベース）ではありません"},
      {"binary", [](const QString& f) { write_bytes(f, QByteArray(4096, '\x01')); },
       "データベース）ではありません"},
      {"another program's database", [](const QString& f) { HistoryStore(f, kWhen, kOtherProgram); },
       "別のプログラムのデータベース"},
      {"another program's database left open", [](const QString& f) { left_open(f, kOtherProgram); },
       "別のプログラムのデータベース"},
      {"another program's database with its log only",
       [](const QString& f) {
         left_open(f, kOtherProgram);
         QFile::remove(f + "-shm");
       },
       "別のプログラムのデータベース"},
      {"one table named as ours among others",
       [](const QString& f) {
         HistoryStore(f, kWhen, {{1, {"CREATE TABLE runs (x)", "CREATE TABLE notes (x)"}}});
       },
       "別のプログラムのデータベース"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    QTemporaryDir dir;
    const QString file = dir.filePath("history.sqlite");
    c.make(file);
    const auto before = folder_bytes(dir.path());
    {
      HistoryStore store(file, kWhen);
      EXPECT_TRUE(store.notice().contains(QDir::toNativeSeparators(file))) << store.notice().toStdString();
      EXPECT_TRUE(store.notice().contains(c.told)) << store.notice().toStdString();
      EXPECT_TRUE(store.notice().contains("手を付けていません")) << store.notice().toStdString();
      EXPECT_TRUE(store.file().isEmpty());
      EXPECT_TRUE(store.record(trifecta_run(), kWhen));  // into memory
      EXPECT_EQ(contents_of(store).runs.size(), 1u);
      EXPECT_EQ(folder_bytes(dir.path()), before);
    }
    EXPECT_EQ(folder_bytes(dir.path()), before);
  }
}

TEST(HistoryStore, ValuesOutOfRangeAreLeftOutAndCounted) {
  // Rows as another tool or a spoilt disk might leave them in a history.
  const struct {
    const char* what;
    const char* values;  // type, numbers, stake
    bool used;
  } bets[] = {
      {"a bet as recorded", "'trifecta', '5-2-12', 400", true},
      {"the largest stake", "'exacta', '5-2', 100000000", true},
      {"the largest number", "'place', '999999999', 100", true},
      {"no stake", "'place', '0', 0", true},
      {"a stake past the largest", "'exacta', '5-2', 100000001", false},
      {"a stake past 32 bits", "'exacta', '5-2', 2000000000000", false},
      {"a negative stake", "'exacta', '5-2', -100", false},
      {"a stake as text", "'exacta', '5-2', 'lots'", false},
      {"a fractional stake", "'exacta', '5-2', 150.5", false},
      {"an unknown bet type", "'win', '5', 100", false},
      {"numbers of another bet type", "'trifecta', '5-2', 100", false},
      {"a number that is no number", "'exacta', '5-x', 100", false},
      {"a number left out", "'trifecta', '5--2', 100", false},
      {"a negative number", "'place', '-5', 100", false},
      {"a number past nine digits", "'place', '1000000000', 100", false},
      {"a number past 32 bits", "'place', '99999999999', 100", false},
  };
  const struct {
    const char* level;
    bool used;
  } levels[] = {{"0", true}, {"100", true}, {"101", false}, {"-1", false}, {"'high'", false}};
  const struct {
    const char* what;
    const char* column;
    const char* value;
    bool used;
  } results[] = {
      {"a result as entered", "first", "5", true},
      {"the largest payout", "pay_trifecta", "1000000000", true},
      {"the largest field", "third", "20", true},
      {"a payout past it", "pay_trifecta", "1000000001", false},
      {"a payout past 32 bits", "pay_exacta", "99999999999", false},
      {"a negative payout", "pay_place1", "-130", false},
      {"a payout as text", "pay_bracket", "'many'", false},
      {"no winner", "first", "0", false},
      {"a horse past the field", "second", "21", false},
      {"a bracket past eight", "bracket2", "9", false},
  };
  QStringList rows = {
      "INSERT INTO runs VALUES (1, '2010-04-10T09:30:00', 'Command8', '2010', '04', '10',"
      " '東京', '11R', '16頭', '2010|4|10|東京|11', '1.5', '4.2', 3, 'a', 'b', 'c', 'd', 'e')"};
  int left_out = 0;
  std::vector<Bet> used_bets;
  for (std::size_t i = 0; i < std::size(bets); ++i) {
    rows << QString("INSERT INTO bets VALUES (1, %1, %2)").arg(i).arg(bets[i].values);
    left_out += !bets[i].used;
  }
  std::vector<int> used_levels = {3};
  for (std::size_t i = 0; i < std::size(levels); ++i) {
    const qint64 id = qint64(i) + 2;
    rows << QString(
                "INSERT INTO runs SELECT %1, recorded_at, command, year, month, day, racecourse, race,"
                " field_size, race_key, odds1, odds2, %2, line1, line2, line3, line4, line5 FROM runs"
                " WHERE id = 1")
                .arg(id)
                .arg(levels[i].level)
         << QString("INSERT INTO bets VALUES (%1, 0, 'place', '5', 100)").arg(id);
    left_out += levels[i].used ? 0 : 2;  // the run and its bet
    if (levels[i].used) used_levels.push_back(QString(levels[i].level).toInt());
  }
  QStringList used_results;
  for (std::size_t i = 0; i < std::size(results); ++i) {
    const QString key = QString("race%1").arg(i);
    rows << QString("INSERT INTO results VALUES ('%1', 5, 2, 12, 3, 1, 800, 5600, 450, 120, 180, 300, '')")
                .arg(key)
         << QString("UPDATE results SET %1 = %2 WHERE race_key = '%3'")
                .arg(results[i].column, results[i].value, key);
    if (results[i].used) used_results << key;
    left_out += !results[i].used;
  }
  QTemporaryDir dir;
  const QString file = dir.filePath("history.sqlite");
  auto steps = HistoryStore::migrations();
  steps.front().statements += rows;  // rows as the first version of the file held them
  {
    HistoryStore made(file, kWhen, steps);
    ASSERT_TRUE(made.notice().isEmpty()) << made.notice().toStdString();
  }

  HistoryStore store(file, kWhen);
  ASSERT_TRUE(store.notice().isEmpty()) << store.notice().toStdString();
  const auto contents = contents_of(store);
  ASSERT_FALSE(contents.runs.empty());
  QStringList kept_bets;
  for (const Bet& bet : contents.runs[0].prediction.bets)
    kept_bets << QString("%1 %2").arg(bet_type_key(bet.type)).arg(bet.stake);
  QStringList expected_bets;
  for (const auto& b : bets)
    if (b.used)
      expected_bets << QString(b.values).remove('\'').split(", ").at(0) + " " +
                           QString(b.values).section(", ", 2);
  EXPECT_EQ(kept_bets, expected_bets);
  std::vector<int> kept_levels;
  for (const RunRecord& run : contents.runs) kept_levels.push_back(run.prediction.chance_level);
  EXPECT_EQ(kept_levels, used_levels);
  QStringList kept_results = contents.results.keys();
  kept_results.sort();
  used_results.sort();
  EXPECT_EQ(kept_results, used_results);
  EXPECT_EQ(contents.left_out, left_out);
}

TEST(HistoryStore, ANameThatIsAFolderFallsBackToMemory) {
  QTemporaryDir dir;
  HistoryStore store(dir.path(), kWhen);
  EXPECT_TRUE(store.notice().contains("ファイルではない")) << store.notice().toStdString();
  EXPECT_TRUE(store.file().isEmpty());
  EXPECT_TRUE(store.record(trifecta_run(), kWhen));
  EXPECT_EQ(store.run_count(), 1);
}

TEST(HistoryStore, TwoProgramsRecordIntoOneFileAtOnce) {
  test::Session session;
  const QString file = session.path("shared.sqlite");
  constexpr int kRuns = 25;
  QByteArray script =
      "select Combo3 3\nselect Combo4 9\ntype Text1 1.5\ntype Text2 4.2\n"
      "select Combo14 0\nselect Combo2 1\nselect Combo13 2\nselect Combo5 3\nselect Combo1 4\n";
  for (int i = 0; i < kRuns; ++i) script += "click Command3\nclick Command11\n";
  QProcess a, b;
  for (QProcess* p : {&a, &b}) {
    p->setWorkingDirectory(session.path(""));
    p->start(QStringLiteral(QUILO_BINARY), {"--history", file, "--script", "-"});
  }
  for (QProcess* p : {&a, &b}) {
    p->write(script);
    p->closeWriteChannel();
  }
  for (QProcess* p : {&a, &b}) {
    ASSERT_TRUE(p->waitForFinished(60000));
    EXPECT_EQ(p->exitCode(), 0) << p->readAllStandardError().toStdString();
    EXPECT_FALSE(p->readAllStandardError().contains("記録できません"));
  }
  HistoryStore store(file, kWhen);
  EXPECT_EQ(store.run_count(), 2 * 2 * kRuns);
}
