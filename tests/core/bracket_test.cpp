// The bracket prediction: brackets from waku_table by year, the row made of
// the date and the left panel, skips, running out of rows and the lines it
// leaves for the output window.
#include "output_file_fixture.h"
#include "prediction_fixture.h"

#include <gtest/gtest.h>

#include <map>

using namespace quilo;
using namespace quilo::test;

namespace {

QStringList brackets_drawn(const QJsonObject& d) { return strings(state(d)["yosou_num"]).mid(1, 6); }

QString circled(int v) { return QString(QChar(0x2460 + v - 1)); }

// Every panel box and the date at their first entry: the base row is 0.
const char* const kFirstEntries =
    "select Combo1 0\nselect Combo2 0\nselect Combo3 0\nselect Combo4 0\nselect Combo5 0\n";

const QString kTitle = "  ■■■■ 馬番予想 結果 ■■■■";

// 枠連 is sold from nine runners on: an 18頭 race.
const QString kField = "select Combo7 13\n";

}  // namespace

TEST(Bracket, TwoBracketsFor2010AndTheirOutput) {
  Session s;
  // Base row: 2*2 + 2*0 + 4 + 2*22 + 1 = 53.
  s.write_table("waku_1.txt", table_rows({{53, 7}, {54, 3}}));
  s.write_table("waku_2.txt", table_rows({{54, 3}, {55, 0}, {56, 6}}));
  s.dump();
  const QString script =
      kField +
      "select Combo6 0\nselect Combo1 2\nselect Combo2 0\nselect Combo3 4\nselect Combo4 22\n"
      "select Combo5 1\nclick Command12";
  for (int run = 0; run < 2; ++run) {  // the same inputs give the same result
    const auto d = s.dump(script);
    // 7 is above 6; the second column's 3 repeats ③ and 0 is skipped.
    EXPECT_EQ(brackets_drawn(d), QStringList({"③", "⑥", "", "", "", ""}));
    EXPECT_EQ(caption(d, "Label4(0)"), "54");
    EXPECT_EQ(caption(d, "Label4(1)"), "56");
    EXPECT_EQ(caption(d, "Label4(2)"), "");
    EXPECT_EQ(state(d)["crt_row"].toInt(), 56);

    const QString race = " 0523  3 1  2";
    const QString brackets = "          枠連 ③ ⑥  ";
    EXPECT_EQ(strings(control(d, "List1")["lines"]), QStringList({kTitle, "", race, "", brackets, ""}));
    EXPECT_EQ(strings(state(d)["output_lines"]).mid(0, 4),
              QStringList({"□□□□□ 競馬予想 Quilo ピルピルθK Ver 1.0 2010 □□□□□ ", race, brackets, ""}));
    // No check, no sound, no picture.
    EXPECT_TRUE(events(d).isEmpty());

    const QByteArray saved = saved_through_output_window(s);
    const QByteArray squares("\x81\xa0\x81\xa0\x81\xa0\x81\xa0\x81\xa0");
    EXPECT_EQ(saved, squares +
                         " \x8b\xa3\x94\x6e\x97\x5c\x91\x7a Quilo \x83\x73\x83\x8b\x83\x73\x83\x8b"
                         "\x83\xc6K Ver 1.0 2010 " +
                         squares +
                         " \r\n"
                         "     0523  3 1  2\r\n" +
                         QByteArray(14, ' ') +
                         "\x98\x67\x98\x41 \x87\x42 \x87\x45  \r\n"
                         "    \r\n"
                         "\x81\x40\r\n");
  }
}

TEST(Bracket, ListColours) {
  Session s;
  s.run(kField + "select Combo6 0\nclick Command12");
  const auto& list = s.app().main().c("List1");
  ASSERT_TRUE(list.back && list.fore);
  EXPECT_EQ(list.back->r, 0);
  EXPECT_EQ(list.back->g, 64);
  EXPECT_EQ(list.back->b, 64);
  EXPECT_EQ(list.fore->r, 192);
  EXPECT_EQ(list.fore->g, 192);
  EXPECT_EQ(list.fore->b, 192);
}

TEST(Bracket, YearSetsCountAndLargestBracket) {
  struct Case {
    int year;  // entry of Combo6: 0 is 2010
    int largest, count;
  } cases[] = {{0, 6, 2}, {1, 7, 2}, {2, 8, 2}, {3, 8, 2}, {4, 8, 3}, {5, 8, 3}, {14, 8, 4}, {17, 8, 4}};
  for (const auto& c : cases) {
    Session s;
    // One above the largest is skipped, the largest taken; then ① and ②.
    s.write_table("waku_1.txt", {c.largest + 1, c.largest});
    s.write_table("waku_2.txt", {0, 1});
    s.write_table("waku_3.txt", {0, 2});
    s.write_table("waku_4.txt", {0, 3});
    // In 2026 the year list runs to 2027 (entry 17). A 9 is no bracket: skipped.
    s.run("date 2026-05-01");
    const auto d = s.dump(kField + kFirstEntries + QString("select Combo6 %1\nclick Command12").arg(c.year));
    QStringList expected = {circled(c.largest), "①", "②", "③", "", ""};
    for (int k = c.count; k < 6; ++k) expected[k] = "";
    EXPECT_EQ(brackets_drawn(d), expected) << "year entry " << c.year;
    EXPECT_TRUE(events_of(d, "message").isEmpty());
    EXPECT_EQ(strings(control(d, "List1")["lines"]).value(4),
              "          枠連 " + expected[0] + " " + expected[1] + " " + expected[2] + " " + expected[3]);
  }
}

TEST(Bracket, NotSoldWithoutAPickedYearOrNineRunners) {
  const struct {
    QString script;
    QString message;
  } cases[] = {
      // A typed year has no list position, and the count of brackets comes from it.
      {kField + "type Combo6 2011", "枠連は年を一覧から選んで下さい（入力した年では予想できません）"},
      {kField, "枠連は年を一覧から選んで下さい（入力した年では予想できません）"},  // as at start-up
      {"select Combo6 1\nselect Combo7 3", "8頭のレースでは枠連は発売されません（9頭以上で発売されます）"},
      {"select Combo6 1", "5頭のレースでは枠連は発売されません（9頭以上で発売されます）"},
      {kField + "select Combo6 1\nselect Combo3 1\nselect Combo4 29",
       "2011年02月30日という日はありません。レースの日付を確かめて下さい"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.script.toStdString());
    Session s;
    s.write_table("waku_1.txt", {0, 0, 0, 1});
    s.write_table("waku_2.txt", {0, 0, 0, 2});
    s.run(QString(kFirstEntries) + c.script);
    s.dump();
    const auto d = s.dump("click Command12");
    EXPECT_EQ(messages(d), QStringList{c.message});
    EXPECT_EQ(events(d).size(), 1);
    EXPECT_EQ(brackets_drawn(d), QStringList({"", "", "", "", "", ""}));
    EXPECT_TRUE(strings(control(d, "List1")["lines"]).isEmpty());
    EXPECT_FALSE(visible(d, "result_card"));
    EXPECT_TRUE(d["history"].toObject()["runs"].toArray().isEmpty());
  }
  // A field size that is no number is not checked.
  Session s;
  s.write_table("waku_1.txt", {0, 0, 0, 1});
  s.write_table("waku_2.txt", {0, 0, 0, 2});
  const auto d = s.dump(QString(kFirstEntries) + "select Combo6 1\ntype Combo7 多頭数\nclick Command12");
  EXPECT_EQ(brackets_drawn(d).mid(0, 2), QStringList({"①", "②"}));
  EXPECT_EQ(d["history"].toObject()["runs"].toArray().size(), 1);
}

TEST(Bracket, RowMovesWithDateAndPanel) {
  struct Case {
    const char* selects;
    int row;
  } cases[] = {
      {"", 0},
      {"select Combo4 1", 2},
      {"select Combo1 1", 2},
      {"select Combo2 1", 2},
      {"select Combo3 1", 1},
      {"select Combo5 1", 1},
      {"select Combo1 3\nselect Combo4 5\nselect Combo5 2", 18},
      {"select Combo1 17\nselect Combo2 17\nselect Combo3 11\nselect Combo4 30\nselect Combo5 17", 156},
  };
  Session s;
  s.write_table("waku_1.txt", std::vector<int>(kWakuRows, 1));
  s.write_table("waku_2.txt", std::vector<int>(kWakuRows, 2));
  s.run(kField + "select Combo6 0");
  for (const auto& c : cases) {
    const auto d = s.dump(QString(kFirstEntries) + c.selects + "\nclick Command12");
    EXPECT_EQ(caption(d, "Label4(0)"), QString::number(c.row)) << c.selects;
    EXPECT_EQ(caption(d, "Label4(1)"), QString::number(c.row)) << c.selects;
    EXPECT_EQ(brackets_drawn(d).mid(0, 2), QStringList({"①", "②"}));
  }
}

TEST(Bracket, EmptyPanelBoxesStepDownIntoTheTable) {
  // At start-up the panel boxes have no selection; a typed day has none either:
  // the row starts at -2 - 2 - 2 - 1 = -7.
  Session s;
  s.write_table("waku_1.txt", {4});
  s.write_table("waku_2.txt", {5});
  const auto d = s.dump(kField + "select Combo6 0\ntype Combo4 \"01\"\nclick Command12");
  EXPECT_EQ(brackets_drawn(d).mid(0, 2), QStringList({"④", "⑤"}));
  EXPECT_EQ(caption(d, "Label4(0)"), "0");
  EXPECT_EQ(caption(d, "Label4(1)"), "0");
  EXPECT_TRUE(events_of(d, "message").isEmpty());
}

TEST(Bracket, RunningOutOfRowsStopsWithAMessage) {
  struct Case {
    const char* name;
    std::vector<int> waku_2;
  } cases[] = {
      {"nothing usable", {0}},
      {"always the first bracket again", std::vector<int>(kWakuRows, 1)},
  };
  for (const auto& c : cases) {
    Session s;
    s.write_table("waku_1.txt", {1});
    s.write_table("waku_2.txt", c.waku_2);
    s.dump();
    const auto d = s.dump(kField + kFirstEntries + "select Combo6 0\nclick Command12");
    const auto messages = events_of(d, "message");
    ASSERT_EQ(messages.size(), 1) << c.name;
    EXPECT_EQ(messages[0].toObject()["text"].toString(), "waku_2.txt に使える値が足りません");
    EXPECT_EQ(messages[0].toObject()["title"].toString(), "競馬予想 Quilo ピルピルθK");
    EXPECT_EQ(messages[0].toObject()["buttons"].toString(), "OK");
    // The last row read is the table's last; the result stage does not run.
    EXPECT_EQ(state(d)["crt_row"].toInt(), kWakuRows - 1);
    EXPECT_TRUE(strings(control(d, "List1")["lines"]).isEmpty());
    EXPECT_FALSE(control(d, "List1").contains("back"));
    EXPECT_EQ(strings(state(d)["output_lines"])[0], "");
  }
}
