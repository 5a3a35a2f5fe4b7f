// The history file: what it keeps, an older file brought up to date, a
// damaged file moved aside, a file of a newer version left alone, and two
// programs recording into one file at once.
#include "history/history_store.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

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

QStringList aside_files(const QTemporaryDir& dir) {
  return QDir(dir.path()).entryList({"history.sqlite.damaged-*"}, QDir::Files);
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
  const auto runs = again.runs();
  ASSERT_EQ(runs.size(), 1u);
  EXPECT_EQ(runs[0].when, "2010-04-10T09:30:00");
  EXPECT_EQ(runs[0].prediction.race, trifecta_run().race);
  EXPECT_EQ(runs[0].prediction.bets, trifecta_run().bets);
  EXPECT_EQ(runs[0].prediction.lines, trifecta_run().lines);
  EXPECT_EQ(runs[0].prediction.odds2, "");
  EXPECT_EQ(again.results().value(race_key(trifecta_run().race)), some_result());
  EXPECT_EQ(again.schema_version(), HistoryStore::migrations().back().version);

  // A corrected result replaces the first; a removed one is gone.
  RaceResult corrected = some_result();
  corrected.trifecta = 7000;
  ASSERT_TRUE(again.save_result(race_key(trifecta_run().race), corrected, kWhen));
  EXPECT_EQ(again.results().size(), 1);
  EXPECT_EQ(again.results().value(race_key(trifecta_run().race)).trifecta, 7000);
  ASSERT_TRUE(again.remove_result(race_key(trifecta_run().race)));
  EXPECT_TRUE(again.results().isEmpty());
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
    EXPECT_EQ(migrated.runs().size(), 1u);
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
  EXPECT_EQ(after.runs().size(), 1u);
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

TEST(HistoryStore, ADamagedFileIsMovedAsideAndANewOneStarted) {
  const struct {
    const char* what;
    std::function<void(const QString&)> spoil;
  } cases[] = {
      {"not a database", [](const QString& f) { QFile(f).remove(); }},
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
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    QTemporaryDir dir;
    const QString file = dir.filePath("history.sqlite");
    {
      HistoryStore store(file, kWhen);
      for (int i = 0; i < 200; ++i) ASSERT_TRUE(store.record(trifecta_run(), kWhen));
    }
    c.spoil(file);
    if (!QFile::exists(file)) {
      QFile f(file);
      ASSERT_TRUE(f.open(QIODevice::WriteOnly));
      f.write("these are my notes, not a database\n");
    }
    const QByteArray spoilt = read_all(file);

    HistoryStore store(file, kWhen);
    const QStringList aside = aside_files(dir);
    ASSERT_EQ(aside.size(), 1) << store.notice().toStdString();
    EXPECT_TRUE(aside[0].startsWith("history.sqlite.damaged-20100410-093000"));
    EXPECT_EQ(read_all(dir.filePath(aside[0])), spoilt) << "kept as it was";
    EXPECT_TRUE(store.notice().contains(QDir::toNativeSeparators(dir.filePath(aside[0]))))
        << store.notice().toStdString();
    EXPECT_EQ(store.file(), file);
    EXPECT_TRUE(store.record(trifecta_run(), kWhen));
    EXPECT_EQ(store.runs().size(), 1u);
  }
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
