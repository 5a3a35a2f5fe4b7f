// The place prediction: candidates from crt_table, the odds override, the
// duplicate test, the give-up and the lines it leaves for the output window.
#include "output_file_fixture.h"
#include "prediction_fixture.h"

#include <gtest/gtest.h>

#include <map>

using namespace quilo;
using namespace quilo::test;

namespace {

QStringList candidates(const QJsonObject& d) { return strings(state(d)["yosou_num"]).mid(1, 8); }

QString odds_script(const QString& o1, const QString& o2) {
  return QString("type Text1 \"%1\"\ntype Text2 \"%2\"\n").arg(o1, o2);
}

// With Combo9 at 01Ｒ and the other boxes as at start-up, the first row read
// is 0 + 2*0 + 2*(-1) + (-1) + 3*(-1) + 0 + 11 = 5.
constexpr int kFirstRowAtRace1 = 5;

}  // namespace

TEST(Place, DrawsCandidatesSkippingRejectsAndWritesItsLines) {
  Session s;
  // Start row: 4 + 2*22 + 2*1 + 2 + 3*10 + 7 + 11 = 100.
  s.write_table("crt_1.txt", table_rows({{100, 0}, {101, 7}}));
  s.write_table("crt_2.txt", table_rows({{101, 13}, {102, 7}, {103, 12}}));
  s.write_table("crt_3.txt", table_rows({{103, 3}}));
  s.dump();
  const auto d = s.dump(
      "select Combo3 4\nselect Combo4 22\nselect place_extra_box 1\nselect Combo11 2\n"
      "select Combo10 10\nselect Combo9 7\nselect Combo7 13\n" +
      odds_script("8.0", "9.0") + "click Command11");

  // 0 is skipped, 13 is above 12, the second 7 repeats the first.
  EXPECT_EQ(candidates(d), QStringList({"7", "12", "3", "", "", "", "", ""}));
  EXPECT_EQ(state(d)["yosou_max"].toInt(), 12);
  EXPECT_EQ(state(d)["yosou_keta"].toInt(), 2);
  EXPECT_EQ(state(d)["crt_row"].toInt(), 103);
  const QStringList diagnostic = {"101", "103", "103", "", "", "", "7", "12", "3", ""};
  for (int i = 0; i < diagnostic.size(); ++i)
    EXPECT_EQ(caption(d, QString("Label4(%1)").arg(i)), diagnostic[i]) << i;

  EXPECT_EQ(control(d, "Image2")["picture"].toString(), "背景パネル.bmp");
  // The input captions stay on screen.
  for (int i = 0; i <= 4; ++i) EXPECT_TRUE(visible(d, QString("Label5(%1)").arg(i))) << i;
  EXPECT_EQ(caption(d, "Label5(6)"), "1番人気馬番");
  EXPECT_EQ(event_lines(d), QStringList({"picture Image2 背景パネル.bmp"}));

  const QString race = " 0523 (稍重) 0311 08R (複勝) ";
  const QString picks = QString(10, ' ') + "複勝 7 12 3";
  EXPECT_EQ(strings(control(d, "List1")["lines"]),
            QStringList({"  ■■■■ 複勝 予想結果 ■■■■", "", race, "", picks, " "}));
  // The file gets the race line and the picks, as the bracket prediction writes them.
  EXPECT_EQ(
      strings(state(d)["output_lines"]),
      QStringList({"□□□□□ 競馬予想 Quilo ピルピルθK Ver 1.0 2010 □□□□□ ", race, picks, "", "", "", "", ""}));
  EXPECT_TRUE(visible(d, "result_card"));
  EXPECT_EQ(caption(d, "result_card"), "  ■■■■ 複勝 予想結果 ■■■■\n" + race + "\n" + picks);
  const QByteArray saved = saved_through_output_window(s);
  EXPECT_EQ(saved.left(11), QByteArray("\x81\xa0\x81\xa0\x81\xa0\x81\xa0\x81\xa0 "));
  EXPECT_TRUE(
      saved.contains(QByteArray("\r\n     0523 (\xe2\x63\x8f\x64) 0311 08R (\x95\xa1\x8f\x9f) \r\n")));
}

TEST(Place, RaceNumberSetsHowManyCandidatesAndTheirLargest) {
  struct Case {
    int race;
    int largest, keta;
  } cases[] = {{0, 5, 1}, {6, 11, 1}, {7, 12, 2}, {9, 14, 2}, {10, 15, 3}, {11, 16, 3}};
  Session s;
  s.run(odds_script("9.0", "9.0"));
  for (const auto& c : cases) {
    const auto d = s.dump(QString("select Combo9 %1\nclick Command11").arg(c.race));
    EXPECT_EQ(state(d)["yosou_max"].toInt(), c.largest) << c.race;
    EXPECT_EQ(state(d)["yosou_keta"].toInt(), c.keta) << c.race;
    const QStringList got = candidates(d);
    QSet<QString> seen;
    for (int j = 0; j < 8; ++j) {
      if (j > c.keta) {
        EXPECT_EQ(got[j], "") << c.race << " entry " << j + 1;
        continue;
      }
      const int v = got[j].toInt();
      EXPECT_EQ(QString::number(v), got[j]);
      EXPECT_GE(v, 1);
      EXPECT_LE(v, c.largest);
      EXPECT_FALSE(seen.contains(got[j]));
      seen.insert(got[j]);
    }
  }
}

TEST(Place, WithoutARaceTheCandidateCountIsKept) {
  Session s;
  s.run(odds_script("9.0", "9.0"));
  // At start-up the count is 0: one candidate, from 1 to 4.
  auto d = s.dump("click Command11");
  EXPECT_EQ(state(d)["yosou_max"].toInt(), 4);
  EXPECT_EQ(state(d)["yosou_keta"].toInt(), 0);
  EXPECT_NE(candidates(d)[0], "");
  EXPECT_EQ(candidates(d)[1], "");

  s.dump("select Combo9 7\nclick Command11");
  // A race typed instead of picked leaves no selection: three candidates again,
  // now from 1 to 4.
  d = s.dump("type Combo9 \"08Ｒ\"\nclick Command11");
  EXPECT_EQ(state(d)["yosou_keta"].toInt(), 2);
  EXPECT_EQ(state(d)["yosou_max"].toInt(), 4);
  for (int j = 0; j < 3; ++j) {
    EXPECT_GE(candidates(d)[j].toInt(), 1) << j;
    EXPECT_LE(candidates(d)[j].toInt(), 4) << j;
  }
  EXPECT_EQ(candidates(d)[3], "");
  EXPECT_EQ(strings(control(d, "List1")["lines"])[2], " 0101 () 0101 08Ｒ (複勝) ");
}

TEST(Place, OddsOverrideTable) {
  // Drawn: 2 then 4. The left panel shows " 3" (1人気馬番) and "10" (middle of 2～6人気馬番).
  const QString both1 = " 3", both2 = "10", drawn1 = "2", drawn2 = "4";
  struct Case {
    const char *o1, *o2;
    QString first, second;
  } cases[] = {
      {"1.0", "1.0", both1, both2},    {"1.6", "2.4", both1, both2},     {"1.6", "2.45", both1, drawn2},
      {"1.6", "2.5", both1, both2},    {"1.6", "3.55", both1, drawn2},   {"1.6", "5.8", both1, both2},
      {"1.6", "5.9", both1, drawn2},   {"1.6", "0.9", both1, drawn2},    {"1.6", "abc", both1, drawn2},
      {"1.65", "2.0", drawn1, drawn2}, {"0.9", "2.0", drawn1, drawn2},   {"1.7", "1.8", both1, both2},
      {"1.7", "1.7", both1, drawn2},   {"2.6", "2.9", both1, both2},     {"2.6", "2.95", both1, drawn2},
      {"2.6", "3.0", both1, both2},    {"2.6", "3.5", both1, both2},     {"2.6", "3.6", both1, drawn2},
      {"2.65", "2.0", drawn1, drawn2}, {"2.7", "99", both1, both2},      {"3.5", "abc", both1, both2},
      {"3.55", "2.0", drawn1, drawn2}, {"3.6", "1.0", both1, both2},     {"4.4", "50", both1, both2},
      {"4.45", "50", drawn1, drawn2},  {"4.5", "1.0", drawn1, both2},    {"5.3", "9.9", drawn1, both2},
      {"5.35", "4.0", drawn1, drawn2}, {"5.4", "3.7", both1, both2},     {"6.6", "4.7", both1, both2},
      {"5.4", "4.75", both1, drawn2},  {"5.4", "4.8", drawn1, both2},    {"6.6", "5.3", drawn1, both2},
      {"6.6", "5.35", both1, drawn2},  {"6.6", "3.6", both1, drawn2},    {"6.7", "4.0", drawn1, drawn2},
      {"abc", "2.0", drawn1, drawn2},  {"１.６", "２.４", both1, both2}, {" 1.6 ", "2.4", both1, both2},
  };
  Session s;
  s.write_table("crt_1.txt", table_rows({{kFirstRowAtRace1, 2}}));
  s.write_table("crt_2.txt", table_rows({{kFirstRowAtRace1, 4}}));
  s.run("select Combo9 0\nselect Combo14 2\nselect Combo13 9");
  for (const auto& c : cases) {
    const auto d = s.dump(odds_script(c.o1, c.o2) + "click Command11");
    EXPECT_EQ(candidates(d).mid(0, 2), QStringList({c.first, c.second})) << c.o1 << " / " << c.o2;
  }
}

TEST(Place, PicksLineListsEveryCandidateAsStored) {
  struct Case {
    int race;          // Combo9 entry: 7 draws three candidates, 10 four
    const char* odds;  // first favourite's odds: 2.0 puts the panel's " 3" first
    QString line;
  } cases[] = {
      {7, "9.0", QString(10, ' ') + "複勝 5 12 7"},
      {7, "2.0", QString(10, ' ') + "複勝  3 12 7"},  // the panel text keeps its blank
      {10, "2.0", QString(10, ' ') + "複勝  3 12 7 3"},
  };
  for (const auto& c : cases) {
    Session s;
    const int start = kFirstRowAtRace1 + c.race;
    s.write_table("crt_1.txt", table_rows({{start, 5}}));
    s.write_table("crt_2.txt", table_rows({{start, 12}}));
    s.write_table("crt_3.txt", table_rows({{start, 7}}));
    s.write_table("crt_4.txt", table_rows({{start, 3}}));
    const auto d = s.dump(QString("select Combo14 2\nselect Combo7 13\nselect Combo9 %1\n").arg(c.race) +
                          odds_script(c.odds, "9.0") + "click Command11");
    EXPECT_EQ(strings(control(d, "List1")["lines"]).value(4), c.line) << c.race << " " << c.odds;
    EXPECT_EQ(strings(state(d)["output_lines"]).value(2), c.line);
    EXPECT_EQ(strings(control(d, "List1")["lines"]).value(5), " ");
  }

  // A race given up on: the candidates never drawn stay empty in the line.
  Session hopeless;
  const auto d = hopeless.dump("select Combo9 7\n" + odds_script("3.0", "9.0") + "click Command11");
  EXPECT_EQ(caption(d, "Label5(6)"), "このレースは見送りましょう");
  EXPECT_EQ(strings(control(d, "List1")["lines"]).value(4), QString(10, ' ') + "複勝  1  1 ");
}

TEST(Place, DuplicatesCompareAsHorses) {
  Session s;
  s.write_table("crt_1.txt", table_rows({{kFirstRowAtRace1, 5}}));
  s.write_table("crt_2.txt", table_rows({{kFirstRowAtRace1, 5}, {kFirstRowAtRace1 + 1, 1}}));
  s.run("select Combo9 0\nselect Combo14 4");  // " 5"

  // 2.0 replaces the first candidate by " 5": the drawn "5" is the same
  // horse, so the next row gives 1.
  auto d = s.dump(odds_script("2.0", "9.0") + "click Command11");
  EXPECT_EQ(candidates(d).mid(0, 2), QStringList({" 5", "1"}));
  EXPECT_EQ(caption(d, "Label4(1)"), "6");

  // No override: the second 5 repeats the first and the next row gives 1.
  d = s.dump(odds_script("9.0", "9.0") + "click Command11");
  EXPECT_EQ(candidates(d).mid(0, 2), QStringList({"5", "1"}));
  EXPECT_EQ(caption(d, "Label4(1)"), "6");
  EXPECT_EQ(caption(d, "Label4(7)"), "1");
}

TEST(Place, OnlyHorsesThatRunAndOnlyFromFiveRunners) {
  // 08R: up to horse 12 and three candidates, from row 5 + 7 = 12.
  Session s;
  s.write_table("crt_1.txt", table_rows({{12, 9}, {13, 3}}));
  s.write_table("crt_2.txt", table_rows({{13, 4}}));
  s.write_table("crt_3.txt", table_rows({{13, 2}}));
  s.run("select Combo9 7\n" + odds_script("9.0", "9.0"));
  // In the designed 5頭 race the 9 does not run: skipped like one above 12.
  auto d = s.dump("click Command11");
  EXPECT_EQ(candidates(d).mid(0, 3), QStringList({"3", "4", "2"}));
  // A field size that is no number is not checked.
  d = s.dump("type Combo7 多頭数\nclick Command11");
  EXPECT_EQ(candidates(d).mid(0, 3), QStringList({"9", "4", "2"}));
  ASSERT_EQ(d["history"].toObject()["runs"].toArray().size(), 2);

  for (const char* field : {"type Combo7 4頭", "type Combo7 1"}) {
    s.dump();
    d = s.dump(QString(field) + "\nclick Command11");
    EXPECT_EQ(messages(d).size(), 1) << field;
    EXPECT_TRUE(messages(d)[0].contains("複勝は発売されません")) << messages(d)[0].toStdString();
    EXPECT_EQ(events(d).size(), 1);
    EXPECT_EQ(d["history"].toObject()["runs"].toArray().size(), 2);
  }
}

TEST(Place, HopelessRaceIsSkippedAfter3000Rejections) {
  // Both favourites' boxes show " 1" and 3.0 sets both candidates to them: the
  // second always repeats the first.
  Session s;
  auto d = s.dump("select Combo9 0\n" + odds_script("3.0", "9.0") + "click Command11");
  EXPECT_EQ(caption(d, "Label5(6)"), "このレースは見送りましょう");
  EXPECT_EQ(candidates(d).mid(0, 2), QStringList({" 1", " 1"}));
  // Rejections 0..3000 each read one row; the 3001st ends the stage.
  EXPECT_EQ(state(d)["crt_row"].toInt(), kFirstRowAtRace1 + 3000);
  // The result lines are written all the same.
  EXPECT_EQ(strings(control(d, "List1")["lines"]).value(0), "  ■■■■ 複勝 予想結果 ■■■■");

  // A column with nothing usable: no candidate at all.
  Session empty;
  empty.write_table("crt_1.txt", {0});
  d = empty.dump(odds_script("9.0", "9.0") + "click Command11");
  EXPECT_EQ(caption(d, "Label5(6)"), "このレースは見送りましょう");
  EXPECT_EQ(candidates(d)[0], "");
  EXPECT_EQ(state(d)["crt_row"].toInt(), 4 + 3000);
}

TEST(Place, BlankOdds) {
  struct Case {
    const char *o1, *o2;
    QString message;  // "" when the lines are written
  } cases[] = {
      {"", "9.0", "1人気のオッズが入力されていません"},
      {"9.0", "", "2人気のオッズが入力されていません"},
      {"", "", "1人気のオッズが入力されていません"},
      {"   ", "9.0", ""},
      {"9.0", "  ", ""},
  };
  for (const auto& c : cases) {
    Session s;
    s.write_table("crt_1.txt", table_rows({{kFirstRowAtRace1, 2}}));
    s.write_table("crt_2.txt", table_rows({{kFirstRowAtRace1, 4}}));
    s.dump();
    const auto d =
        s.dump("select Combo9 0\nselect Combo14 2\n" + odds_script(c.o1, c.o2) + "click Command11");
    // The stage ends at the first candidate, before the override and the diagnostics.
    EXPECT_EQ(candidates(d).mid(0, 2), QStringList({"2", ""})) << c.o1 << "/" << c.o2;
    EXPECT_EQ(caption(d, "Label4(0)"), "");
    EXPECT_EQ(caption(d, "Label4(6)"), "");
    const auto messages = events_of(d, "message");
    if (c.message.isEmpty()) {
      EXPECT_TRUE(messages.isEmpty());
      EXPECT_EQ(strings(control(d, "List1")["lines"]).size(), 6);
      EXPECT_EQ(state(d)["output_lines"].toArray()[0].toString().left(5), "□□□□□");
    } else {
      ASSERT_EQ(messages.size(), 1);
      EXPECT_EQ(messages[0].toObject()["text"].toString(), c.message);
      EXPECT_EQ(messages[0].toObject()["title"].toString(), kDefaultTitle);
      EXPECT_EQ(messages[0].toObject()["buttons"].toString(), "OK");
      EXPECT_TRUE(strings(control(d, "List1")["lines"]).isEmpty());
      EXPECT_EQ(state(d)["output_lines"].toArray()[0].toString(), "");
    }
  }
}
