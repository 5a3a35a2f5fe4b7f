// The history as a user meets it: every completed prediction recorded with
// the bets its ticket or card shows, the 成績 window with the result of a race
// entered once, corrected or removed, the figures, the chart and the export.
#include "prediction_fixture.h"

#include "files/output_file.h"
#include "history/history_store.h"
#include "text/windows31j.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QProcess>

using namespace quilo;
using namespace quilo::test;

namespace {

// 2010/04/10 東京 01Ｒ; the trifecta bets 5→2→12 (400 yen), 5→7→12 (300),
// 5→11→12 (200) and 5→8→12 (100).
const QString kInputs =
    "select Combo3 3\nselect Combo4 9\nselect Combo2 4\nselect Combo14 1\nselect Combo13 6\n"
    "select Combo5 10\ntype Combo1 12\nselect Combo7 13\ntype Text1 1.5\ntype Text2 4.2\n";

// Types a result into the window as the payout page lists it: the field,
// the scratched, 1st, 2nd, 3rd, then the payouts of 馬単, ３連単, 枠連, 複勝.
QString result_script(const QStringList& values) {
  const char* boxes[] = {"Text4", "Text5", "Text1", "Text2", "Text3", "Text6", "Text7", "Text8", "Text9"};
  QString script;
  for (int i = 0; i < values.size(); ++i)
    script += QString("type Form4.%1 \"%2\"\n").arg(boxes[i], values[i]);
  return script;
}

// 5, 7, 12 of eighteen: brackets 3, 4 and 6.
const QStringList kResult = {
    "18", "", "5", "7", "12", "5-7 2340", "5-7-12 12340", "3-4 1560", "5 130 / 7 250 / 12 410"};

// The figures of a dump's summary, only the named ones.
QJsonObject only(const QJsonObject& figures, const QStringList& names) {
  QJsonObject out;
  for (const QString& n : names) out.insert(n, figures[n]);
  return out;
}

QByteArray read_bytes(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QJsonArray runs(const QJsonObject& d) { return d["history"].toObject()["runs"].toArray(); }

QJsonObject figures(const QJsonObject& d, const char* type, const char* span = "all") {
  return d["history"].toObject()["summary"].toObject()[span].toObject()[type].toObject();
}

std::vector<QStringList> rows(const QJsonObject& d, const QString& table) {
  std::vector<QStringList> out;
  for (const auto& r : control(d, "Form4." + table)["rows"].toArray()) out.push_back(strings(r));
  return out;
}

// The bets of a recorded run as "type numbers stake" lines.
QStringList bet_lines(const QJsonObject& run) {
  QStringList out;
  for (const auto& v : run["bets"].toArray()) {
    const QJsonObject b = v.toObject();
    QStringList numbers;
    for (const auto& n : b["numbers"].toArray()) numbers << QString::number(n.toInt());
    out << QString("%1 %2 %3").arg(b["type"].toString(), numbers.join('-')).arg(b["stake"].toInt());
  }
  return out;
}

// Digits in a text, in order ("5⇒ 2⇒12" -> 5, 2, 12; "①②" -> 1, 2).
QList<int> numbers_in(const QString& text) {
  QList<int> out;
  int value = -1;
  for (QChar ch : text + ' ') {
    if (ch.isDigit() && ch.unicode() < 128) {
      value = (value < 0 ? 0 : value * 10) + ch.digitValue();
      continue;
    }
    if (value >= 0) out << value;
    value = -1;
    if (ch.unicode() >= 0x2460 && ch.unicode() <= 0x2468) out << ch.unicode() - 0x2460 + 1;
  }
  return out;
}

}  // namespace

TEST(HistoryRecording, EachPredictionIsRecordedWithTheBetsItShows) {
  const struct {
    const char* command;
    const char* type;
    int per_bet;         // numbers in a bet
    const char* before;  // what else the user picks
  } cases[] = {
      {"Command8", "trifecta", 3, ""},
      {"Command1", "trifecta", 3, ""},
      {"Command3", "exacta", 2, ""},
      {"Command6", "exacta", 2, ""},
      {"Command11", "place", 1, ""},
      {"Command12", "bracket", 2, "select Combo6 0\n"},  // the year sets how many brackets
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.command);
    Session s;
    const auto d = s.dump(kInputs + c.before + "click " + c.command);
    ASSERT_EQ(runs(d).size(), 1);
    const QJsonObject run = runs(d)[0].toObject();
    EXPECT_EQ(run["command"].toString(), c.command);
    EXPECT_EQ(run["race"].toObject(), (QJsonObject{{"year", "2010"},
                                                   {"month", "04"},
                                                   {"day", "10"},
                                                   {"racecourse", "東京"},
                                                   {"race", "01Ｒ"},
                                                   {"field_size", "18頭"}}));
    EXPECT_EQ(run["odds"].toArray(), (QJsonArray{"1.5", "4.2"}));
    EXPECT_EQ(run["chance_level"].toInt(), state(d)["chance_level"].toInt());
    EXPECT_EQ(run["when"].toString(), "2010-01-01T12:00:00") << "dated by the press";
    const QStringList kept = strings(state(d)["output_lines"]);
    EXPECT_EQ(strings(run["lines"]), output_entry(std::vector<QString>(kept.begin(), kept.end())));

    // The bets are the numbers the ticket's bet line or the card's pick line
    // shows, in order, at 400/300/200/100 yen a ticket row and 100 yen a pick.
    const QStringList bets = bet_lines(run);
    const QList<int> shown = numbers_in(
        c.per_bet == 1 || QString(c.type) == "bracket" ? result_lines(d).value(4) : result_lines(d)[3]);
    QList<int> recorded;
    for (const QString& b : bets) {
      EXPECT_TRUE(b.startsWith(c.type)) << b.toStdString();
      for (const QString& n : b.split(' ')[1].split('-')) recorded << n.toInt();
    }
    if (QString(c.type) == "bracket") {
      // A box of the drawn brackets: every pair once, 100 yen each.
      ASSERT_GE(shown.size(), 2);
      EXPECT_EQ(bets.size(), shown.size() * (shown.size() - 1) / 2);
      for (const QString& b : bets) EXPECT_TRUE(b.endsWith(" 100"));
    } else if (QString(c.type) == "place") {
      // A horse the card lists twice is one bet.
      QList<int> once;
      for (int n : shown)
        if (!once.contains(n)) once << n;
      EXPECT_EQ(recorded, once);
      for (const QString& b : bets) EXPECT_TRUE(b.endsWith(" 100"));
    } else {
      EXPECT_EQ(recorded, shown);
      ASSERT_EQ(bets.size(), 4);
      const char* stakes[] = {" 400", " 300", " 200", " 100"};
      for (int i = 0; i < 4; ++i) EXPECT_TRUE(bets[i].endsWith(stakes[i])) << bets[i].toStdString();
    }
  }
}

TEST(HistoryRecording, ARunThatAMessageEndsIsNoPrediction) {
  const struct {
    const char* why;
    QString script;
  } cases[] = {
      {"blank odds", "select Combo3 3\nclick Command8"},
      {"odds that are no number", "type Text1 abc\ntype Text2 4.0\nclick Command3"},
      {"place without the second odds", "type Text1 1.5\nclick Command11"},
      {"the main window closed during the staging", kInputs + "click Command1"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.why);
    Session s;
    if (QString(c.why).contains("closed"))
      s.platform().on_pause = [&s](float) { s.app().main_window_closed(); };
    const auto d = s.dump(c.script);
    EXPECT_TRUE(runs(d).isEmpty());
  }
  // The table ran out before the prediction was drawn.
  Session out;
  CrtTables(0, 30).write(out);
  const auto d = out.dump(kInputs + "click Command8");
  EXPECT_EQ(messages(d).size(), 1);
  EXPECT_TRUE(runs(d).isEmpty());
}

TEST(HistoryWindow, AResultEnteredOnceMarksEveryBetOfTheRace) {
  Session s;
  // Two runs on the race (the second typed "4" and "1R": the same race), and
  // a third on another race, newer, that has no result.
  s.run(kInputs +
        "click Command8\nclick Command11\ntype Combo3 4\ntype Combo9 1R\nclick Command3\n"
        "select Combo4 10\nselect Combo6 0\nclick Command12\nclick Command14");
  auto d = s.dump();
  EXPECT_TRUE(d["windows"].toObject()["Form4"].toBool());
  auto races = rows(d, "Grid1");
  ASSERT_EQ(races.size(), 2u);
  EXPECT_EQ(races[0], (QStringList{"2010/4/11", "東京", "1R", "18頭", "1", "未入力", "－", "－"}));
  EXPECT_EQ(races[1].mid(0, 6), (QStringList{"2010/4/10", "東京", "1R", "18頭", "3", "未入力"}));
  EXPECT_EQ(control(d, "Form4.Grid1")["selected"].toInt(), 0) << "the newest race is picked first";

  d = s.dump("select Form4.Grid1 1\n" + result_script(kResult) + "click Form4.Command1");
  EXPECT_TRUE(messages(d).isEmpty()) << messages(d).join("|").toStdString();
  races = rows(d, "Grid1");
  // 4 trifecta, 5 place and 4 exacta bets on the race.
  EXPECT_EQ(races[1].mid(5), (QStringList{"5-7-12", "2/13", "37,270"}));
  EXPECT_EQ(control(d, "Form4.Grid1")["selected"].toInt(), 1);
  // The trifecta 5→7→12 (300 yen) and the place bet on 7 (2nd) hit; 複勝
  // rates no race, so its run shows no chance level.
  QStringList hits;
  for (const QStringList& bet : rows(d, "Grid2"))
    if (bet[7] == "的中") hits << bet[1] + " " + bet[2] + " " + bet[5] + " " + bet[8];
  EXPECT_EQ(hits, (QStringList{"複勝 — 7 250", "３連単 6 5→7→12 37,020"}));
  EXPECT_EQ(only(figures(d, "trifecta"), {"races", "race_hits", "bets", "hits", "hit_rate", "stake",
                                          "payback", "return_rate", "average_payout", "largest_payout"}),
            (QJsonObject{{"races", 1},
                         {"race_hits", 1},
                         {"bets", 4},
                         {"hits", 1},
                         {"hit_rate", "25.0%"},
                         {"stake", 1000},
                         {"payback", 37020},
                         {"return_rate", "3702.0%"},
                         {"average_payout", "12,340"},
                         {"largest_payout", 12340}}));
  EXPECT_EQ(figures(d, "overall")["bets"].toInt(), 13);
  EXPECT_EQ(figures(d, "overall")["race_hit_rate"].toString(), "100.0%") << "one race, one hit";
  EXPECT_EQ(rows(d, "Grid3").back(), (QStringList{"合計", "1", "1", "100.0%", "13", "2", "15.4%", "0",
                                                  "2,500", "37,270", "1490.8%", "6,295", "12,340"}));
  const QJsonArray series = control(d, "Form4.Chart1")["series"].toArray();
  ASSERT_EQ(series.size(), 2);
  for (const auto& one : series)
    EXPECT_EQ(one.toObject()["points"].toArray(), (QJsonArray{QJsonArray{"2010-04-10", 34770}}));

  // Corrected: 2nd and 3rd the other way round. The trifecta no longer hits;
  // the place bet on 7 pays as 3rd.
  const QStringList corrected = {
      "18", "", "5", "12", "7", "5-12 2340", "5-12-7 12340", "3-6 1560", "5 130 / 12 250 / 7 410"};
  d = s.dump(result_script(corrected) + "click Form4.Command1");
  EXPECT_EQ(figures(d, "trifecta")["hits"].toInt(), 0);
  EXPECT_EQ(figures(d, "place")["payback"].toInt(), 410);
  EXPECT_EQ(d["history"].toObject()["results"].toArray().size(), 1);

  // Removed (after a Cancel that keeps it): the race waits for its result again.
  d = s.dump("answer Cancel\nclick Form4.Command2");
  EXPECT_EQ(d["history"].toObject()["results"].toArray().size(), 1);
  d = s.dump("answer OK\nclick Form4.Command2");
  EXPECT_TRUE(d["history"].toObject()["results"].toArray().isEmpty());
  EXPECT_EQ(rows(d, "Grid1")[1][5], "未入力");
  EXPECT_EQ(control(d, "Form4.Text1")["text"].toString(), "");
  EXPECT_EQ(control(d, "Form4.Text4")["text"].toString(), "18") << "the field from the runs' inputs";

  // 戻る closes the window; its controls leave the dump.
  d = s.dump("click Form4.Command4");
  EXPECT_FALSE(d["windows"].toObject()["Form4"].toBool());
  EXPECT_FALSE(d["controls"].toObject().contains("Form4.Grid1"));
}

TEST(HistoryWindow, AResultIsTakenAsThePayoutPageListsItOrRefusedWithAMessage) {
  const struct {
    int box;  // index into the result inputs
    const char* value;
    const char* message;  // nullptr: taken
  } cases[] = {
      {2, "", "1着の馬番を入力して下さい。"},
      {3, "21", "2着の 21 番は 18頭立てのレースにいません。"},
      {4, "x", "3着には馬番を数字で入力して下さい。"},
      {1, "7", "7 番は取消・除外の馬なので着順に入れられません。"},
      {5, "5-7 90", "馬単 5→7 の払戻金（100円あたり）は 100 円以上で入力して下さい（特払いは「特払い」）。"},
      {6, "5-7-12 1.5", "「３連単」の 5-7-12 の払戻金は数字で入力して下さい。"},
      {6, "五千", "「３連単」の払戻金は「5-2 1230」のように組番と金額で入力して下さい。"},
      {8, "", "「複勝」の払戻金を入力して下さい（特払いは「特払い」、発売がなければ「発売なし」）。"},
      // Full-width digits, thousands commas and 円 are what a user copies.
      {6, "５-７-１２ 12,340円", nullptr},
      {6, "12,340", nullptr},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.value);
    Session s;
    QStringList values = kResult;
    values[c.box] = c.value;
    const auto d = s.dump(kInputs + "click Command8\nclick Command14\n" + result_script(values) +
                          "click Form4.Command1");
    if (!c.message) {
      EXPECT_TRUE(messages(d).isEmpty()) << messages(d).join("|").toStdString();
      EXPECT_EQ(figures(d, "trifecta")["payback"].toInt(), 37020);
      continue;
    }
    EXPECT_EQ(messages(d), QStringList{c.message});
    EXPECT_TRUE(d["history"].toObject()["results"].toArray().isEmpty());
  }
  // A dead heat for 1st is entered as the page lists it and shows back so.
  Session s;
  const auto d = s.dump(kInputs + "click Command8\nclick Command14\n" +
                        result_script({"18", "", "5 7", "", "12", "5-7 1200 / 7-5 1500",
                                       "5-7-12 9000 / 7-5-12 9900", "3-4 800", "5 110 / 7 120 / 12 300"}) +
                        "click Form4.Command1");
  EXPECT_TRUE(messages(d).isEmpty()) << messages(d).join("|").toStdString();
  EXPECT_EQ(rows(d, "Grid1")[0][5], "5=7-12");
  EXPECT_EQ(control(d, "Form4.Text1")["text"].toString(), "5 7");
  EXPECT_EQ(control(d, "Form4.Text6")["text"].toString(), "5→7 1,200 / 7→5 1,500");
  EXPECT_EQ(figures(d, "trifecta")["payback"].toInt(), 300 * 90) << "5→7→12 at 9,000 per 100";
}

TEST(HistoryWindow, WithoutARecordedRaceThereIsNothingToEnter) {
  Session s;
  const auto d =
      s.dump("click Command14\n" + result_script(kResult) + "click Form4.Command1\nclick Form4.Command2");
  EXPECT_TRUE(rows(d, "Grid1").empty());
  EXPECT_EQ(messages(d), (QStringList{"結果を入力するレースを一覧から選んで下さい。",
                                      "結果を削除するレースを一覧から選んで下さい。"}));
  EXPECT_TRUE(control(d, "Form4.Chart1")["series"].toArray().isEmpty());
}

TEST(HistoryWindow, APeriodAndTheChartByBetType) {
  Session s;
  s.run(kInputs + "click Command8\nclick Command11\nselect Combo4 10\nclick Command8\nclick Command14\n");
  // Results for both days: 04/11 picked first (newest), then 04/10.
  s.run(result_script(kResult) + "click Form4.Command1\nselect Form4.Grid1 1\n" + result_script(kResult) +
        "click Form4.Command1\n");
  auto d = s.dump("type Form4.Text12 2010-04-11\nclick Form4.Command5");
  // On 04/11 the lucky digit is 5, the first horse: that row (5→5→12) is not bought.
  EXPECT_EQ(figures(d, "overall", "period")["bets"].toInt(), 3);
  EXPECT_EQ(figures(d, "overall")["bets"].toInt(), 4 + 5 + 3);
  EXPECT_EQ(rows(d, "Grid4").back()[4], "3");
  EXPECT_EQ(control(d, "Form4.Chart1")["series"].toArray()[1].toObject()["points"].toArray().size(), 1);

  d = s.dump("type Form4.Text12 \"\"\nclick Form4.Command5\nselect Form4.Combo1 1");
  QStringList names;
  for (const auto& v : control(d, "Form4.Chart1")["series"].toArray())
    names << v.toObject()["name"].toString();
  EXPECT_EQ(names, (QStringList{"３連単", "複勝"}));

  const struct {
    const char *from, *to, *message;
  } bad[] = {
      {"2010/13/01", "", "期間の始めの日付は 2010-04-10 のように入力して下さい（空欄は制限なし）。"},
      {"", "four", "期間の終わりの日付は 2010-04-10 のように入力して下さい（空欄は制限なし）。"},
      {"2010-05-01", "2010-04-01", "期間の始めが終わりより後になっています。"},
  };
  for (const auto& b : bad) {
    d = s.dump(QString("type Form4.Text12 \"%1\"\ntype Form4.Text13 \"%2\"\nclick Form4.Command5")
                   .arg(b.from, b.to));
    EXPECT_EQ(messages(d), QStringList{b.message});
  }
  d = s.dump("type Form4.Text12 ２０１０-４-１０\ntype Form4.Text13 2010.4.10\nclick Form4.Command5");
  EXPECT_TRUE(messages(d).isEmpty());
  EXPECT_EQ(figures(d, "overall", "period")["bets"].toInt(), 9);
}

TEST(HistoryWindow, ExportsRecordsAndResultsAsCsv) {
  const struct {
    const char* option;
    QByteArray start;
    QString (*decode)(const QByteArray&);
  } cases[] = {
      {"Option1", "\x8B\x4C\x98\x5E", [](const QByteArray& b) { return decode_windows31j(b); }},  // 記録
      {"Option2", "\xEF\xBB\xBF", [](const QByteArray& b) { return QString::fromUtf8(b.mid(3)); }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.option);
    Session s;
    s.run(kInputs + "click Command8\nclick Command14\n" + result_script(kResult) + "click Form4.Command1\n");
    const auto d =
        s.dump(QString("click Form4.%1\ntype Form4.Text14 成績.csv\nclick Form4.Command3").arg(c.option));
    EXPECT_EQ(messages(d), QStringList{"成績を「" + s.path("成績.csv") + "」に書き出しました。"});
    QFile f(s.path("成績.csv"));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray bytes = f.readAll();
    EXPECT_TRUE(bytes.startsWith(c.start));
    const QStringList lines = c.decode(bytes).split("\r\n", Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 5);
    EXPECT_TRUE(lines[0].startsWith("記録日時,予想,年,月,日,競馬場,レース,頭数,1番人気オッズ"));
    EXPECT_EQ(lines[2],
              "2010/01/01 12:00:00,３連単,2010,4,10,東京,01Ｒ,18頭,1.5,4.2,6,,３連単,5→7→12,300,"
              "5→7→12,,的中,37020");
  }
  // An existing file is replaced only when the user says so.
  Session s;
  s.write_file("old.csv", "keep me");
  const auto d = s.dump(
      "click Command14\ntype Form4.Text14 old.csv\nanswer Cancel\nclick Form4.Command3\nclick "
      "Form4.Command3\n"
      "type Form4.Text14 \"\"\nclick Form4.Command3\ntype Form4.Text14 nofolder/x.csv\n"
      "click Form4.Command3");
  QFile old(s.path("old.csv"));
  ASSERT_TRUE(old.open(QIODevice::ReadOnly));
  EXPECT_EQ(old.readAll(), "keep me");
  const QStringList m = messages(d);
  ASSERT_EQ(m.size(), 4);
  EXPECT_TRUE(m[0].contains("上書きしますか"));
  // Asked again without an answer: the default is to keep the file.
  EXPECT_TRUE(m[1].contains("上書きしますか"));
  EXPECT_EQ(m[2], "CSVファイルの名前を入力して下さい！");
  EXPECT_TRUE(m[3].contains("フォルダーが見つかりません")) << m[3].toStdString();
}

TEST(HistoryWindow, ItsButtonWaitsWhileACommandRuns) {
  Session s;
  bool accepted_during = true;
  s.platform().on_pause = [&](float) { accepted_during = s.app().accepts_click("Form1", "Command14"); };
  s.run(kInputs + "click Command8");
  EXPECT_FALSE(accepted_during);
  EXPECT_TRUE(s.app().accepts_click("Form1", "Command14"));
}

TEST(HistoryWindow, AHistoryThatCannotBeReadKeepsWhatTheWindowShowed) {
  Session s;
  const QString file = s.path("h.sqlite");
  s.run(kInputs);
  s.app().history().open_store(file);
  auto d = s.dump("click Command8\nclick Command14\nclick Form4.Command4");
  ASSERT_EQ(runs(d).size(), 1);
  // Another program takes the runs table away while this one runs.
  auto steps = HistoryStore::migrations();
  steps.push_back({steps.back().version + 1, {"ALTER TABLE runs RENAME TO runs_before"}});
  { HistoryStore other(file, QDateTime::currentDateTime(), steps); }

  d = s.dump("click Command14");
  const QStringList m = messages(d);
  ASSERT_FALSE(m.isEmpty());
  EXPECT_TRUE(m[0].contains("読めませんでした") && m[0].contains("表示は前のまま")) << m[0].toStdString();
  ASSERT_EQ(rows(d, "Grid1").size(), 1u) << "never an empty list without a word";
  EXPECT_EQ(rows(d, "Grid1")[0][4], "1");
  EXPECT_TRUE(runs(d).isEmpty()) << "the dump tells too, and invents nothing";
  EXPECT_TRUE(m.last().contains("読めませんでした")) << m.last().toStdString();

  // Written over while the program runs, before the window first opens.
  s.app().history().Command4_Click();
  s.app().history().open_store(s.path("again.sqlite"));
  s.run("click Command8");
  s.app().history().open_store(s.path("again.sqlite"));
  s.run("click Command3");
  {
    QFile f(s.path("again.sqlite"));
    ASSERT_TRUE(f.open(QIODevice::ReadWrite));
    f.write(QByteArray(int(f.size()), 'x'));
  }
  // The runs are still in the file's log: the window shows them, or says it
  // cannot read the file; it never shows what the bytes over it would make.
  d = s.dump("click Command14");
  for (const QString& m : messages(d)) EXPECT_TRUE(m.contains("読めませんでした")) << m.toStdString();
  if (messages(d).isEmpty()) {
    EXPECT_EQ(rows(d, "Grid1").size(), 1u);
  }
}

TEST(HistoryWindow, RowsOutOfRangeAreLeftOutAndToldWhenItOpens) {
  Session s;
  const QString file = s.path("h.sqlite");
  // One bet of 2,000,000,000 yen among them, on a payout of 999,999,999 per 100 yen.
  Prediction p;
  p.command = "Command8";
  p.race = {"2010", "04", "10", "東京", "01Ｒ", "5頭"};
  p.bets = {{BetType::Trifecta, {5, 7, 12}, 2'000'000'000}, {BetType::Trifecta, {5, 7, 12}, 300}};
  RaceResult r;
  r.field = 18;
  r.finish = {{5}, {7}, {12}};
  r.payouts = {{BetType::Exacta, {5, 7}, 2340},  {BetType::Trifecta, {5, 7, 12}, 999'999'999},
               {BetType::Bracket, {3, 4}, 1560}, {BetType::Place, {5}, 130},
               {BetType::Place, {7}, 250},       {BetType::Place, {12}, 410}};
  {
    HistoryStore store(file, QDateTime::currentDateTime());
    ASSERT_TRUE(store.record(p, QDateTime::currentDateTime()));
    ASSERT_TRUE(store.save_result(race_key(p.race), r, QDateTime::currentDateTime()));
  }
  s.run(kInputs);
  s.app().history().open_store(file);
  auto d = s.dump("click Command14");
  ASSERT_EQ(messages(d).size(), 1) << messages(d).join("|").toStdString();
  EXPECT_TRUE(messages(d)[0].contains("1 件")) << messages(d)[0].toStdString();
  EXPECT_EQ(only(figures(d, "trifecta"), {"races", "bets", "hits", "stake", "payback", "return_rate"}),
            (QJsonObject{{"races", 1},
                         {"bets", 1},
                         {"hits", 1},
                         {"stake", 300},
                         {"payback", qint64(2'999'999'997)},
                         {"return_rate", "999999999.0%"}}));
  // Told once: a reload after a run or a saved result says nothing more.
  d = s.dump("click Command8\n" + result_script(kResult) + "click Form4.Command1");
  EXPECT_TRUE(messages(d).isEmpty()) << messages(d).join("|").toStdString();
}

TEST(HistoryCli, NoFileOfTheProgramOrTheUserBecomesTheHistory) {
  // The tables and the teaching file by any name, and a user's text file:
  // refused with a message, left as they were; the history goes to memory.
  const struct {
    const char* name;
    const char* told;
  } cases[] = {
      {"crt_1.txt", "参照用のファイル"},    {"./waku_4.txt", "参照用のファイル"},
      {"maharaja.txt", "参照用のファイル"}, {"link.txt", "参照用のファイル"},
      {"notes.txt", "ではありません"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Session s;
    s.write_file("notes.txt", "my notes\n");
    ASSERT_TRUE(QFile::link(s.path("crt_2.txt"), s.path("link.txt")));
    const QStringList before_names = QDir(s.path("")).entryList(QDir::Files);
    const QByteArray before = read_bytes(s.path(c.name));
    ScenarioRunner runner(c.name);
    ASSERT_FALSE(runner.run_script(kInputs + "click Command8\ndump").has_value());
    const QJsonObject d = QJsonDocument::fromJson(runner.output.value(0).toUtf8()).object();
    const QStringList m = messages(d);
    ASSERT_EQ(m.size(), 1) << m.join("|").toStdString();
    EXPECT_TRUE(m[0].contains(c.told) && m[0].contains("終了すると消えます")) << m[0].toStdString();
    EXPECT_EQ(d["history"].toObject()["file"].toString(), "");
    EXPECT_EQ(runs(d).size(), 1);
    EXPECT_EQ(read_bytes(s.path(c.name)), before);
    EXPECT_EQ(QDir(s.path("")).entryList(QDir::Files), before_names) << "nothing moved or made";
  }
}

TEST(HistoryCli, AHistoryFileIsKeptOnlyWhenNamed) {
  Session s;
  auto quilo = [&](const QStringList& args, const QString& script) {
    QProcess p;
    p.setWorkingDirectory(s.path(""));
    p.start(QStringLiteral(QUILO_BINARY), args + QStringList{"--script", "-"});
    p.write(script.toUtf8());
    p.closeWriteChannel();
    p.waitForFinished(60000);
    EXPECT_EQ(p.exitCode(), 0) << p.readAllStandardError().toStdString();
    const QByteArray out = p.readAllStandardOutput();
    return QJsonDocument::fromJson(out.left(out.indexOf('\n'))).object();
  };
  // Without --history nothing is written anywhere.
  auto d = quilo({}, kInputs + "click Command8\ndump\n");
  EXPECT_EQ(d["history"].toObject()["file"].toString(), "");
  EXPECT_EQ(runs(d).size(), 1);

  // With it, the runs and the results outlive the program; a relative name is
  // the current folder's.
  d = quilo({"--history", "h.sqlite"}, kInputs + "click Command8\nclick Command14\n" +
                                           result_script(kResult) + "click Form4.Command1\ndump\n");
  EXPECT_EQ(d["history"].toObject()["file"].toString(), s.path("h.sqlite"));
  d = quilo({"--history", s.path("h.sqlite")}, "dump\n");
  EXPECT_EQ(runs(d).size(), 1);
  EXPECT_EQ(figures(d, "trifecta")["hits"].toInt(), 1);
  EXPECT_EQ(QDir(s.path("")).entryList({"*.sqlite*"}, QDir::Files).filter("h.sqlite").size() >= 1, true);

  // Neither the CSV export nor the output window writes into the program's own
  // files: the history file (by another spelling too) and a table.
  QFile db(s.path("h.sqlite"));
  ASSERT_TRUE(db.open(QIODevice::ReadOnly));
  const QByteArray db_bytes = db.readAll();
  db.close();
  d = quilo({"--history", "h.sqlite"},
            "click Command14\ntype Form4.Text14 h.sqlite\nclick Form4.Command3\n"
            "type Form4.Text14 ./h.sqlite\nclick Form4.Command3\n"
            "type Form4.Text14 crt_1.txt\nclick Form4.Command3\nclick Form4.Command4\n"
            "click Command10\ntype Form3.Text1 h.sqlite\nclick Form3.Command1\ndump\n");
  const QStringList m = messages(d);
  ASSERT_EQ(m.size(), 4) << m.join("\n").toStdString();
  for (int i : {0, 1, 3}) EXPECT_TRUE(m[i].contains("成績を記録しているファイルです")) << m[i].toStdString();
  EXPECT_TRUE(m[2].contains("起動時に読み込む参照用のファイルです")) << m[2].toStdString();
  ASSERT_TRUE(db.open(QIODevice::ReadOnly));
  EXPECT_EQ(db.readAll(), db_bytes);
  EXPECT_EQ(figures(d, "trifecta")["hits"].toInt(), 1);

  // The history file opens when first needed, so a start alone makes none;
  // it is the program's own file from the start all the same.
  quilo({"--history", "new.sqlite"}, "click Command10\nclick Form3.Command2\n");
  EXPECT_FALSE(QFileInfo::exists(s.path("new.sqlite")));
  d = quilo({"--history", "new.sqlite"},
            "click Command10\ntype Form3.Text1 new.sqlite\nclick Form3.Command1\ndump\n");
  ASSERT_EQ(messages(d).size(), 1);
  EXPECT_TRUE(messages(d)[0].contains("成績を記録しているファイルです")) << messages(d)[0].toStdString();
  EXPECT_EQ(d["history"].toObject()["file"].toString(), s.path("new.sqlite"));
  EXPECT_EQ(runs(d).size(), 0);

  QProcess missing;
  missing.start(QStringLiteral(QUILO_BINARY), {"--history"});
  missing.waitForFinished(10000);
  EXPECT_EQ(missing.exitCode(), 2);
}

TEST(HistoryWindow, BoughtRunsMakeTheBalanceAndARemovedRunCountsNowhere) {
  Session s;
  s.run(kInputs + "click Command8\nclick Command3\nclick Command14\n" + result_script(kResult) +
        "click Form4.Command1\n");
  // The newest run's bets come first: the exacta's four, then the trifecta's.
  auto d = s.dump("select Form4.Grid2 4\ntype Form4.Text15 150\nclick Form4.Command6");
  EXPECT_EQ(messages(d), QStringList{"1点の購入額は 100 円単位で入力して下さい（空欄は券面どおり）。"});
  d = s.dump("type Form4.Text15 200円\nclick Form4.Command6\nselect Form4.Combo2 1");
  EXPECT_TRUE(messages(d).isEmpty()) << messages(d).join("|").toStdString();
  EXPECT_EQ(rows(d, "Grid2")[4][3], "購入");
  EXPECT_EQ(rows(d, "Grid2")[4][6], "200");
  // 収支: only the trifecta, 200 yen a bet; 5→7→12 paid 12,340 per 100.
  EXPECT_EQ(only(figures(d, "overall", "bought"), {"bets", "stake", "payback"}),
            (QJsonObject{{"bets", 4}, {"stake", 800}, {"payback", 24680}}));
  EXPECT_EQ(rows(d, "Grid3").back()[8], "800");
  EXPECT_EQ(rows(d, "Grid3").back()[9], "24,680");
  EXPECT_EQ(caption(d, "Form4.Label1(22)"), "購入した予想だけを購入額で");
  // By chance level: the trifecta of level 6 paid, so it is the lowest that did.
  d = s.dump("select Form4.Combo2 0\nselect Form4.Combo3 4");
  QStringList groups;
  for (const QStringList& row : rows(d, "Grid4")) groups << row[0];
  EXPECT_TRUE(groups.contains("３連単 6")) << groups.join("|").toStdString();
  EXPECT_TRUE(caption(d, "Form4.Label1(23)").contains("３連単 6以上"))
      << caption(d, "Form4.Label1(23)").toStdString();
  d = s.dump("select Form4.Combo2 1\nclick Form4.Command7");
  EXPECT_EQ(figures(d, "overall", "bought")["stake"].toInt(), 0);

  // Removed after a question (Cancel keeps it): no trace in any figure.
  const int before = figures(d, "overall")["bets"].toInt();
  d = s.dump("select Form4.Grid2 0\nanswer Cancel\nclick Form4.Command8");
  EXPECT_EQ(runs(d).size(), 2);
  EXPECT_TRUE(messages(d).value(0).contains("の予想を削除します")) << messages(d).value(0).toStdString();
  d = s.dump("answer OK\nclick Form4.Command8");
  EXPECT_EQ(runs(d).size(), 1);
  EXPECT_EQ(runs(d)[0].toObject()["command"].toString(), "Command8");
  EXPECT_EQ(figures(d, "overall")["bets"].toInt(), before - 4);
  EXPECT_EQ(rows(d, "Grid1")[0][4], "1");
  d = s.dump("click Form4.Command8");
  EXPECT_EQ(messages(d), QStringList{"削除する予想を、買い目の一覧から選んで下さい。"});
}

TEST(HistoryWindow, AnOpenWindowTakesInWhatAnotherInstanceRecorded) {
  Session s;
  const QString file = s.path("h.sqlite");
  s.run(kInputs);
  s.app().history().open_store(file);
  s.run("click Command8\nclick Command14");
  EXPECT_FALSE(s.app().history().refresh_if_changed()) << "nothing new yet";
  {
    // Another instance records a run on another race and enters its result.
    HistoryStore other(file, QDateTime::currentDateTime());
    Prediction p;
    p.command = "Command3";
    p.race = {"2010", "04", "11", "中山", "02Ｒ", "16頭"};
    p.bets = {{BetType::Exacta, {5, 2}, 100}};
    ASSERT_TRUE(other.record(p, QDateTime::currentDateTime()));
  }
  EXPECT_TRUE(s.app().history().refresh_if_changed());
  const auto d = s.dump();
  ASSERT_EQ(rows(d, "Grid1").size(), 2u);
  EXPECT_EQ(rows(d, "Grid1")[0][1], "中山");
  EXPECT_TRUE(messages(d).isEmpty());
  EXPECT_FALSE(s.app().history().refresh_if_changed());
}

TEST(HistoryWindow, TheCsvFileIsChosenInAFileDialog) {
  Session s;
  const auto d = s.dump("click Command14\nchoose \"\"\nclick Form4.Command9\nchoose \"" +
                        s.path("sub/成績.csv") + "\"\nclick Form4.Command9");
  QStringList chosen;
  for (const auto& e : events(d))
    if (e.toObject()["kind"] == "file_dialog") chosen << e.toObject()["chosen"].toString("(cancelled)");
  EXPECT_EQ(chosen, (QStringList{"(cancelled)", s.path("sub/成績.csv")}));
  EXPECT_EQ(control(d, "Form4.Text14")["text"].toString(), s.path("sub/成績.csv"));
}
