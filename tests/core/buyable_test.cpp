// Bets a fan can buy: impossible dates and panels refused before anything
// shows, the year and racecourse lists, and what the place prediction writes
// after a trifecta.
#include "prediction_checks.h"

#include <gtest/gtest.h>

using namespace quilo;
using namespace quilo::test;

namespace {

const char* const kTicketCommands[] = {"Command8", "Command1", "Command3", "Command6"};

}  // namespace

TEST(Buyable, ImpossibleInputsStopEveryPredictionBeforeAnyEffect) {
  const struct {
    QString script;
    QString message;
    bool place;  // the place prediction refuses it too (it copies no panel)
  } cases[] = {
      {"select Combo3 1\nselect Combo4 29",
       "2010年02月30日という日はありません。レースの日付を確かめて下さい", true},
      {"select Combo3 3\nselect Combo4 30",
       "2010年04月31日という日はありません。レースの日付を確かめて下さい", true},
      {"select Combo6 1\nselect Combo3 1\nselect Combo4 28",
       "2011年02月29日という日はありません。レースの日付を確かめて下さい", true},
      {"type Combo3 13", "2010年13月01日という日はありません。レースの日付を確かめて下さい", true},
      {"select Combo13 0", "「1人気馬番」と「2～6人気馬番」（中）が同じ馬 1 です。別々の馬を入れて下さい",
       false},
      // " 5" picked and "5" typed are one horse.
      {"type Combo1 5\nselect Combo5 4",
       "「2～6人気馬番」（右）と「3人気馬番」が同じ馬 5 です。別々の馬を入れて下さい", false},
      {"select Combo1 11", "「3人気馬番」の馬番 12 の馬は 5頭のレースに出走しません", false},
      {"type Combo2 0", "「2～6人気馬番」（左）に馬番が入っていません（「0」）", false},
      {"type Combo2 abc", "「2～6人気馬番」（左）に馬番が入っていません（「abc」）", false},
  };
  for (const auto& c : cases) {
    for (const char* command : kTicketCommands) {
      SCOPED_TRACE((c.script + " " + command).toStdString());
      Session s;
      CrtTables(3).write(s);
      s.run(kBuyablePanel + "\ntype Text1 2.0\ntype Text2 3.0\n" + c.script);
      const auto before = s.dump();
      const auto d = s.dump(QString("click ") + command);
      EXPECT_EQ(messages(d), QStringList{c.message});
      EXPECT_EQ(events(d).size(), 1) << "no picture, sound or pause";
      EXPECT_EQ(d["controls"], before["controls"]);
      EXPECT_EQ(d["state"], before["state"]);
      EXPECT_TRUE(d["history"].toObject()["runs"].toArray().isEmpty());
    }
    Session s;
    s.run(kBuyablePanel + "\ntype Text1 2.0\ntype Text2 3.0\n" + c.script);
    s.dump();
    const auto d = s.dump("click Command11");
    EXPECT_EQ(messages(d).size(), c.place ? 1 : 0) << c.script.toStdString();
  }
}

TEST(Buyable, AFieldSizeWithoutANumberIsNotChecked) {
  Session s;  // the committed tables
  s.run("type Combo7 多頭数\ntype Text1 2.0\ntype Text2 3.0\n" + panel_script(1, 2, 15, 16, 18));
  s.dump();
  const auto d = s.dump("click Command3");
  EXPECT_TRUE(messages(d).isEmpty());
  EXPECT_EQ(result_lines(d)[3], " 1◆ 2 ,  1◆15 ,  1◆16 ,  1◆18");
  EXPECT_EQ(caption(d, "Label14"), "合計★★★１０枚★★★１,０００円");
}

TEST(Buyable, YearListRunsToNextYearAndEveryRacecourseIsListed) {
  const struct {
    QString date;  // the virtual clock's date, "" as it starts
    QString last;
    int count;
  } cases[] = {{"", "2015", 6}, {"date 2014-12-31", "2015", 6}, {"date 2026-03-01", "2027", 18}};
  for (const auto& c : cases) {
    Session s;
    s.run(c.date);
    s.dump();
    const QStringList years = s.app().main().c("Combo6").items;
    EXPECT_EQ(years.size(), c.count) << c.date.toStdString();
    EXPECT_EQ(years.first(), "2010");
    EXPECT_EQ(years.last(), c.last);
    const auto d = s.dump("select Combo6 " + QString::number(c.count - 1));
    EXPECT_EQ(control(d, "Combo6")["text"].toString(), c.last);
  }
  Session s;
  s.dump();
  EXPECT_EQ(s.app().main().c("Combo8").items,
            QStringList({"東京", "中山", "札幌", "函館", "福島", "新潟", "中京", "京都", "阪神", "小倉"}));
  const auto d = s.dump();
  EXPECT_EQ(control(d, "Combo8")["text"].toString(), "東京");
  EXPECT_EQ(control(d, "Combo8")["selected"].toInt(), -1);
}

TEST(Buyable, PlaceAfterATrifectaWritesOnlyItsOwnLines) {
  Session s;
  CrtTables(3).write(s);
  s.run(kBuyablePanel + "\ntype Text1 2.0\ntype Text2 3.0\nselect Combo9 7\nclick Command8\nclick Command11");
  const auto d = s.dump();
  const QStringList lines = result_lines(d);
  EXPECT_EQ(lines[1], "");
  EXPECT_EQ(lines[3], "");
  EXPECT_EQ(output_lines(d), QStringList({"□□□□□ 競馬予想 Quilo ピルピルθK Ver 1.0 2010 □□□□□ ",
                                          " 0101 () 0101 08R (複勝) ", lines[4], ""}));
  EXPECT_EQ(caption(d, "result_card"), lines[0] + "\n" + lines[2] + "\n" + lines[4]);
}
