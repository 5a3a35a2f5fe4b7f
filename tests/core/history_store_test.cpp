// The history file: what it keeps, an older file brought up to date, a
// damaged history moved aside with its logs as it was, a file of a newer
// version and any file that is not a history left exactly as they are,
// values out of range left out, and two programs recording into one file at
// once.
#include "history/history_store.h"
#include "history/result_entry.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <functional>
#include <map>
#include <tuple>

using namespace quilo;

namespace quilo {
void PrintTo(const RaceResult& r, std::ostream* os);  // history_rules_test.cpp
}  // namespace quilo

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

// 5, 2, 12 of sixteen: 5 runs in bracket 3, 2 in bracket 1.
RaceResult some_result() {
  RaceResult r;
  r.field = 16;
  r.finish = {{5}, {2}, {12}};
  r.payouts = {{BetType::Exacta, {5, 2}, 800},  {BetType::Trifecta, {5, 2, 12}, 5600},
               {BetType::Bracket, {1, 3}, 450}, {BetType::Place, {5}, 120},
               {BetType::Place, {2}, 180},      {BetType::Place, {12}, 300}};
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
    ASSERT_TRUE(store.save_result(race_key(trifecta_run().race), some_result(), kWhen))
        << store.last_error().toStdString();
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
  corrected.payouts[1].yen = 7000;
  ASSERT_TRUE(again.save_result(race_key(trifecta_run().race), corrected, kWhen));
  EXPECT_EQ(contents_of(again).results.size(), 1);
  EXPECT_EQ(contents_of(again).results.value(race_key(trifecta_run().race)), corrected);
  EXPECT_EQ(again.overall(Ledger::Predictions, {})->payback, 28000) << "400 yen on 5-2-12 at 7,000";
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
  } levels[] = {{"0", true}, {"100", true}, {"-1", true}, {"101", false}, {"-2", false}, {"'high'", false}};
  // Payout tables as the file keeps them, each spoilt in one way.
  const struct {
    const char* what;
    const char* change;  // SQL run on the race's rows
    bool used;
  } results[] = {
      {"a result as entered", "", true},
      {"the largest payout", "UPDATE payouts SET yen = 1000000000 WHERE bet_type = 'trifecta'", true},
      {"a payout past it", "UPDATE payouts SET yen = 1000000001 WHERE bet_type = 'trifecta'", false},
      {"a payout past 32 bits", "UPDATE payouts SET yen = 99999999999 WHERE bet_type = 'exacta'", false},
      {"a payout below the stake", "UPDATE payouts SET yen = -130 WHERE bet_type = 'place'", false},
      {"a payout as text", "UPDATE payouts SET yen = 'many' WHERE bet_type = 'bracket'", false},
      {"no winner", "UPDATE race_results SET finish = '0-2-12'", false},
      {"a horse past the field", "UPDATE race_results SET finish = '5-21-12'", false},
      {"a field past the largest", "UPDATE race_results SET field = 21", false},
      {"an order that is no order", "UPDATE race_results SET finish = 'x'", false},
      {"a combination that did not win", "UPDATE payouts SET numbers = '2-5' WHERE bet_type = 'exacta'",
       false},
      {"an unknown bet type", "UPDATE payouts SET bet_type = 'win' WHERE bet_type = 'exacta'", false},
      {"an unknown kind of row", "UPDATE payouts SET kind = 'maybe' WHERE bet_type = 'exacta'", false},
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
  QStringList result_rows, used_results;
  for (std::size_t i = 0; i < std::size(results); ++i) {
    const QString key = QString("race%1").arg(i);
    result_rows << QString("INSERT INTO race_results VALUES ('%1', 16, '5-2-12', '', '')").arg(key);
    for (const char* row :
         {"'exacta', 'pay', '5-2', 800", "'trifecta', 'pay', '5-2-12', 5600", "'bracket', 'pay', '1-3', 450",
          "'place', 'pay', '5', 120", "'place', 'pay', '2', 180", "'place', 'pay', '12', 300"})
      result_rows << QString("INSERT INTO payouts VALUES ('%1', %2)").arg(key, row);
    if (*results[i].change)
      result_rows
          << QString(results[i].change).replace("WHERE ", QString("WHERE race_key = '%1' AND ").arg(key)) +
                 (QString(results[i].change).contains("WHERE") ? ""
                                                               : QString(" WHERE race_key = '%1'").arg(key));
    if (results[i].used) used_results << key;
    left_out += !results[i].used;
  }
  QTemporaryDir dir;
  const QString file = dir.filePath("history.sqlite");
  auto steps = HistoryStore::migrations();
  steps.front().statements += rows;  // runs and bets as the first version of the file held them
  steps.back().statements += result_rows;
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

TEST(HistoryStore, AVersion2HistoryBecomesPayoutTablesWithNothingLost) {
  // Runs, bets and results as version 2 kept them: a 16-runner race, a
  // 7-runner race (whose old form made the user enter a 3rd 複勝 and a 枠連
  // that were never sold) and a 複勝 run that kept the level of the run before.
  const QStringList old_rows = {
      "INSERT INTO runs VALUES (1, '2010-04-10T09:30:00', 'Command8', '2010', '04', '10', '東京', '11R',"
      " '16頭', '2010|4|10|東京|11', '1.5', '4.2', 3, 'a', 'b', 'c', 'd', 'e')",
      "INSERT INTO bets VALUES (1, 0, 'trifecta', '5-2-12', 400, 1, '')",
      "INSERT INTO bets VALUES (1, 1, 'bracket', '3-1', 100, 1, '')",
      "INSERT INTO runs VALUES (2, '2010-05-01T10:00:00', 'Command11', '', '', '', '中山', '1R',"
      " '7頭', '||', '2.0', '3.0', 5, 'a', 'b', 'c', 'd', 'e')",
      "INSERT INTO bets VALUES (2, 0, 'place', '6', 100, 1, '')",
      "INSERT INTO bets VALUES (2, 1, 'place', '4', 100, 1, '')",
      "INSERT INTO results VALUES ('2010|4|10|東京|11', 5, 2, 12, 3, 1, 800, 5600, 450, 120, 180, 300, 'x')",
      "INSERT INTO results VALUES ('||', 4, 1, 6, 4, 1, 500, 3000, 600, 110, 130, 170, 'y')",
  };
  QTemporaryDir dir;
  const QString file = dir.filePath("history.sqlite");
  std::vector<HistoryStore::Migration> version2(HistoryStore::migrations().begin(),
                                                HistoryStore::migrations().begin() + 2);
  version2.back().statements += old_rows;
  { HistoryStore old(file, kWhen, version2); }

  HistoryStore store(file, kWhen);
  ASSERT_TRUE(store.notice().isEmpty()) << store.notice().toStdString();
  EXPECT_EQ(store.schema_version(), HistoryStore::migrations().back().version);
  const auto contents = contents_of(store);
  EXPECT_EQ(contents.left_out, 0);
  EXPECT_EQ(contents.results.value("2010|4|10|東京|11"), some_result());
  RaceResult small;
  small.field = 7;
  small.finish = {{4}, {1}, {6}};
  small.payouts = {{BetType::Exacta, {4, 1}, 500},
                   {BetType::Trifecta, {4, 1, 6}, 3000},
                   {BetType::Place, {4}, 110},
                   {BetType::Place, {1}, 130}};
  EXPECT_EQ(contents.results.value("||"), small);
  ASSERT_EQ(contents.runs.size(), 2u);
  EXPECT_EQ(contents.runs[0].prediction.chance_level, 3);
  EXPECT_EQ(contents.runs[1].prediction.chance_level, kNoLevel);
  // Settled as the payout tables say: 5-2-12 at 5,600 and 3-1 at 450; 6 came
  // 3rd of seven (no 複勝), 4 won (110).
  const auto all = store.overall(Ledger::Predictions, {});
  ASSERT_TRUE(all);
  EXPECT_EQ(all->bets, 4);
  EXPECT_EQ(all->hits, 3);
  EXPECT_EQ(all->stake, 700);
  EXPECT_EQ(all->payback, 22400 + 450 + 110);
  // The run without a date counts on the day it was recorded.
  const auto months = store.figures(Ledger::Predictions, Grouping::Month, {});
  ASSERT_TRUE(months);
  ASSERT_EQ(months->size(), 2u);
  EXPECT_EQ((*months)[0].group, "2010-04");
  EXPECT_EQ((*months)[1].group, "2010-05");
}

TEST(HistoryStore, TwoLedgersRemovalAndTheFiguresFansUse) {
  HistoryStore store("", kWhen);
  // Race A (4/10): two runs, the second bought at 300 a bet. Race B (4/11):
  // one run, bought at the ticket's amounts, with 5 scratched (refunded).
  Prediction a1 = trifecta_run("10"), a2 = trifecta_run("10"), b = trifecta_run("11");
  a2.command = "Command3";
  a2.chance_level = 5;
  a2.bets = {{BetType::Exacta, {5, 2}, 100}, {BetType::Exacta, {2, 5}, 100}};
  b.bets = {{BetType::Exacta, {5, 7}, 200}, {BetType::Place, {7}, 100}};
  for (const Prediction& p : {a1, a2, b}) ASSERT_TRUE(store.record(p, kWhen));
  ASSERT_TRUE(store.save_result(race_key(a1.race), some_result(), kWhen));
  RaceResult scratched = some_result();
  scratched.scratched = {7};
  ASSERT_TRUE(store.save_result(race_key(b.race), scratched, kWhen));
  ASSERT_TRUE(store.set_bought(2, true, 300));
  ASSERT_TRUE(store.set_bought(3, true, std::nullopt));

  // Every prediction: A's 5-2-12 (400 at 5,600) and 5-2 (100 at 800) hit.
  const auto all = store.overall(Ledger::Predictions, {});
  ASSERT_TRUE(all);
  EXPECT_EQ(*all, (Figures{1, 1, 4, 2, 2, 300, 700, 22400 + 800, 5600 + 800, 5600}));
  // Bought: run 2 at 300 a bet (5-2 hit at 800), run 3's bets all refunded.
  const auto bought = store.overall(Ledger::Bought, {});
  ASSERT_TRUE(bought);
  EXPECT_EQ(*bought, (Figures{1, 1, 2, 1, 2, 300, 600, 2400, 800, 800}));
  EXPECT_EQ(percent_text(bought->payback, bought->stake), "400.0%");
  // Per race first: one race of one hit is 100%, not the 25% of its bets.
  EXPECT_EQ(percent_text(all->race_hits, all->races), "100.0%");
  EXPECT_EQ(percent_text(all->hits, all->bets), "50.0%");

  // By bet type and chance level: B's refunds stand apart at level 3.
  const auto levels = store.figures(Ledger::Predictions, Grouping::ChanceLevel, {});
  ASSERT_TRUE(levels);
  std::vector<std::tuple<BetType, int, qint64, qint64, int>> seen;  // type, level, stake, payback, refunds
  for (const FigureRow& row : *levels)
    seen.emplace_back(*row.type, row.level.value_or(kNoLevel), row.figures.stake, row.figures.payback,
                      row.figures.refunds);
  EXPECT_EQ(seen,
            (std::vector<std::tuple<BetType, int, qint64, qint64, int>>{{BetType::Exacta, 3, 0, 0, 1},
                                                                        {BetType::Exacta, 5, 200, 800, 0},
                                                                        {BetType::Trifecta, 3, 500, 22400, 0},
                                                                        {BetType::Place, 3, 0, 0, 1}}));

  // A removed run leaves no trace in any figure.
  ASSERT_TRUE(store.remove_run(1));
  const auto after = store.overall(Ledger::Predictions, {});
  ASSERT_TRUE(after);
  EXPECT_EQ(*after, (Figures{1, 1, 2, 1, 2, 300, 200, 800, 800, 800}));
  EXPECT_EQ(contents_of(store).runs.size(), 2u);
  // A run recorded after its race's result is settled at once.
  ASSERT_TRUE(store.record(a1, kWhen));
  EXPECT_EQ(store.overall(Ledger::Predictions, {})->payback, 22400 + 800);
  RaceFold fold;
  ASSERT_TRUE(store.fold_races(Ledger::Predictions, {}, std::nullopt, fold));
  EXPECT_EQ(fold.balance(), (std::vector<BalancePoint>{{QDate(2010, 4, 10), 22500, 22500}}));
}

// The newest run removed, the next run may get its number: it records whole,
// with its own bets only, in a file and in memory alike.
TEST(HistoryStore, ARunRecordedAfterTheNewestWasRemovedRecordsWhole) {
  QTemporaryDir dir;
  for (const QString& path : {QString(), dir.filePath("history.sqlite")}) {
    SCOPED_TRACE(path.isEmpty() ? "in memory" : "in a file");
    HistoryStore store(path, kWhen);
    ASSERT_EQ(store.file(), path) << store.notice().toStdString();
    Prediction next = trifecta_run("12");
    next.bets = {{BetType::Trifecta, {1, 2, 3}, 100}};
    ASSERT_TRUE(store.record(trifecta_run("10"), kWhen));
    ASSERT_TRUE(store.record(trifecta_run("11"), kWhen));
    ASSERT_TRUE(store.remove_run(2));
    EXPECT_TRUE(store.record(next, kWhen)) << store.last_error().toStdString();
    const auto contents = contents_of(store);
    ASSERT_EQ(contents.runs.size(), 2u);
    EXPECT_EQ(contents.runs[1].prediction.race.day, "12");
    ASSERT_EQ(contents.runs[1].prediction.bets.size(), 1u);
    EXPECT_EQ(contents.runs[1].prediction.bets[0].numbers, (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(contents.left_out, 0);
  }
}

TEST(HistoryStore, FiguresPastTheLimitShowAsSuchNeverWrapped) {
  // 10,000 hits at the largest stake and payout: 10^19 yen, past 64 bits.
  HistoryStore store("", kWhen);
  Prediction big = trifecta_run();
  big.bets.assign(10'000, Bet{BetType::Trifecta, {5, 2, 12}, kMaxStake});
  ASSERT_TRUE(store.record(big, kWhen));
  RaceResult r = some_result();
  r.payouts[1].yen = kMaxPayout;
  ASSERT_TRUE(store.save_result(race_key(big.race), r, kWhen));
  const auto all = store.overall(Ledger::Predictions, {});
  ASSERT_TRUE(all) << store.last_error().toStdString();
  EXPECT_EQ(all->stake, qint64(10'000) * kMaxStake);
  EXPECT_EQ(all->payback, kYenOver);
  EXPECT_EQ(yen_text(all->payback), "上限超過");
  EXPECT_EQ(percent_text(all->payback, all->stake), "－");
  RaceFold fold;
  ASSERT_TRUE(store.fold_races(Ledger::Predictions, {}, std::nullopt, fold));
  EXPECT_TRUE(fold.balance().empty()) << "the chart ends before a balance it cannot draw";
}
