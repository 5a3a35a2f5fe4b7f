// The trifecta prediction (Command8), driven like a user.
#include "prediction_checks.h"

using namespace quilo;
using namespace quilo::test;

namespace {

// 15 May 2010, 東京 11R, 18頭, odds 1.5 and 4.0.
const char* const kRace =
    "select Combo6 0\nselect Combo3 4\nselect Combo4 14\nselect Combo8 0\nselect Combo9 10\nselect Combo7 "
    "13\n"
    "type Text1 1.5\ntype Text2 4.0";

const char* const kTitle = "  ■■■■  Quilo ピルピルθK ３連単 予想結果 ■■■■";

}  // namespace

TEST(Trifecta, WorkedExampleReadsRow76) {
  Session s;
  CrtTables(0).row(76, {9, 8, 7, 6, 5, 4, 2, 9}).write(s);
  s.run(kRace);
  s.run(panel_script(1, 3, 5, 12, 7));
  s.dump();
  const auto d = s.dump("click Command8");

  expect_run(
      d, TicketKind::Trifecta,
      {{kTitle, " 2010年05月15日 東京11R", "[翠甲星帝爆発背]", " 3⇒ 1⇒ 7 ,  3⇒ 5⇒ 7 ,  3⇒12⇒ 7 ,  3⇒4⇒ 7"},
       {" 3", " 1", " 7", " 3", " 5", " 7", " 3", "12", " 7", " 3", "4", " 7"},
       {"1", "3", "5", "12", "7", "4", "2", "9"},
       repeated("76", 8) + QStringList{"9", "8", "7", "6", "5", "4", "2", "9"},
       76,
       4});
  EXPECT_EQ(event_lines(d), QStringList({"background kihonfuremu.bmp", "picture Image2 PIRUPIRUoff.bmp",
                                         "picture Image1 3renbaken.bmp", "se voice047.wav", "pause 2",
                                         "se voice100million.wav", "picture Image4 zelkiabakuhatsu.bmp"}));
  EXPECT_EQ(state(d)["yosou_mode"].toInt(), 1);
  EXPECT_EQ(state(d)["yosou_keta"].toInt(), 8);
  EXPECT_TRUE(visible(d, "Image2"));
  EXPECT_EQ(control(d, "Image1")["picture"].toString(), "3renbaken.bmp");
  EXPECT_EQ(caption(d, "Label14"), "合計★★★１０枚★★★１,０００円");
  EXPECT_EQ(caption(d, "Label1(2)"), "11");
  EXPECT_EQ(caption(d, "Label1(14)"), "0201000010005");
  // The diagnostic column stays hidden.
  for (int i = 0; i <= 15; ++i) EXPECT_FALSE(visible(d, QString("Label4(%1)").arg(i)));
}

TEST(Trifecta, RejectedValuesShiftEveryLaterPosition) {
  Session s;
  // 1 January: row 18. Column 1 skips 0, -3 and 12 and takes row 21; column 2
  // starts there; column 3 skips 10 and takes row 22, where the rest follow,
  // repeating digits freely.
  CrtTables t(0);
  t.set(1, 18, 0).set(1, 19, -3).set(1, 20, 12).set(1, 21, 5);
  t.set(2, 21, 7).set(3, 21, 10).set(3, 22, 3);
  for (int c = 4; c <= 8; ++c) t.set(c, 22, c == 6 ? 9 : 5);
  t.set(1, 30, 1);  // rows read earlier than this are never read again
  t.write(s);
  s.run(kBuyablePanel + "\ntype Text1 5\ntype Text2 5");
  s.dump();
  const auto d = s.dump("click Command8");
  EXPECT_EQ(label_captions(d, "Label4", 0, 15), QStringList({"21", "21", "22", "22", "22", "22", "22", "22",
                                                             "5", "7", "3", "5", "5", "9", "5", "5"}));
  EXPECT_EQ(yosou_slots(d, 6, 8), QStringList({"9", "5", "5"}));
  EXPECT_EQ(state(d)["crt_row"].toInt(), 22);
}

TEST(Trifecta, BaseRowByMonthAndDay) {
  const struct {
    QString script;
    int row;
  } cases[] = {
      {"select Combo3 0\nselect Combo4 0", 18},
      {"select Combo3 0\nselect Combo4 1", 21},  // a day later: 3 rows on
      {"select Combo3 1\nselect Combo4 0", 22},  // a month later: 4 rows on
      {"select Combo3 0\nselect Combo4 4", 30},  // 5 January ...
      {"select Combo3 3\nselect Combo4 0", 30},  // ... and 1 April read the same row
      {"select Combo3 11\nselect Combo4 30", 152},
      {"type Combo3 05\nselect Combo4 0", 14},  // a typed month counts as -1
      {"type Combo3 05\ntype Combo4 15", 11},
      // Year, racecourse, race and field size play no part.
      {"select Combo6 3\nselect Combo8 1\nselect Combo9 5\nselect Combo7 3\nselect Combo3 0\n"
       "select Combo4 0",
       18},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.script.toStdString());
    Session s;
    CrtTables(3).write(s);
    s.run(kBuyablePanel + "\n" + c.script + "\ntype Text1 5\ntype Text2 5");
    const auto d = s.dump("click Command8");
    EXPECT_EQ(state(d)["crt_row"].toInt(), c.row);
    EXPECT_EQ(label_captions(d, "Label4", 0, 7), repeated(QString::number(c.row), 8));
  }
}

TEST(Trifecta, SameDateAndTableSameDigits) {
  Session s;  // the committed tables
  s.run(QString(kRace) + "\n" + panel_script(2, 4, 6, 8, 10));
  const auto first = s.dump("click Command8");
  const auto second = s.dump("click Command8");
  EXPECT_EQ(label_captions(first, "Label4", 0, 15), label_captions(second, "Label4", 0, 15));
  EXPECT_EQ(result_lines(first), result_lines(second));
  EXPECT_EQ(state(first)["crt_row"].toInt(), state(second)["crt_row"].toInt());
  EXPECT_GE(state(first)["crt_row"].toInt(), 76);
  for (const QString& digit : label_captions(first, "Label4", 8, 15)) {
    EXPECT_GE(digit.toInt(), 1);
    EXPECT_LE(digit.toInt(), 9);
  }
}

TEST(Trifecta, UntouchedPanelIsOneHorseFiveTimes) {
  Session s;
  CrtTables(0).row(18, {2, 2, 2, 2, 2, 6, 1, 3}).write(s);
  s.run("type Text1 9.9\ntype Text2 9.9");
  s.dump();
  const auto d = s.dump("click Command8");
  EXPECT_EQ(messages(d),
            QStringList{"「1人気馬番」と「2～6人気馬番」（左）が同じ馬 1 です。別々の馬を入れて下さい"});
  EXPECT_EQ(event_lines(d).size(), 1);
  EXPECT_TRUE(result_lines(d).isEmpty());
}

TEST(Trifecta, ChanceLevelAndBackground) {
  const struct {
    const char* name;
    QString panel;            // panel script
    std::vector<int> digits;  // digits 6, 7, 8
    QString odds1;
    int level;
    QString line2;
    QStringList effects;  // events after the pause
  } cases[] = {
      {"no match, long odds",
       panel_script(10, 11, 12, 13, 1),
       {1, 2, 3},
       "3.5",
       0,
       "[翠甲星帝地球背景]",
       {"picture Image4 zelkiachikiyou.bmp"}},
      {"3.4 counts",
       panel_script(10, 11, 12, 13, 1),
       {1, 2, 3},
       "3.4",
       1,
       "[翠甲星帝星雲背景]",
       {"picture Image4 zelkiaseiun.bmp"}},
      {"2.8",
       panel_script(10, 11, 12, 13, 1),
       {1, 2, 3},
       "2.8",
       2,
       "[翠甲星帝ブラックホール背景]",
       {"picture Image4 zelkiablackhool.bmp"}},
      {"1.9",
       panel_script(10, 11, 12, 13, 1),
       {1, 2, 3},
       "1.9",
       3,
       "[翠甲星帝閃光背景]",
       {"picture Image4 zelkiasenkou.bmp"}},
      {"1.6",
       panel_script(10, 11, 12, 13, 1),
       {1, 2, 3},
       "1.6",
       4,
       "[翠甲星帝爆発背]",
       {"se voice100million.wav", "picture Image4 zelkiabakuhatsu.bmp"}},
      {"just above 1.6",
       panel_script(10, 11, 12, 13, 1),
       {1, 2, 3},
       "1.61",
       3,
       "[翠甲星帝閃光背景]",
       {"picture Image4 zelkiasenkou.bmp"}},
      {"full-width odds",
       panel_script(10, 11, 12, 13, 1),
       {1, 2, 3},
       "　１．６　",
       4,
       "[翠甲星帝爆発背]",
       {"se voice100million.wav", "picture Image4 zelkiabakuhatsu.bmp"}},
      // Panel 10..18 never match, whatever the digits.
      {"panel 10 to 18",
       panel_script(10, 11, 17, 18, 1),
       {1, 8, 1},
       "9",
       0,
       "[翠甲星帝地球背景]",
       {"picture Image4 zelkiachikiyou.bmp"}},
      {"one match",
       panel_script(4, 11, 12, 13, 1),
       {1, 4, 3},
       "9",
       1,
       "[翠甲星帝星雲背景]",
       {"picture Image4 zelkiaseiun.bmp"}},
      {"slot 5 not compared",
       panel_script(10, 11, 12, 13, 4),
       {4, 4, 4},
       "9",
       0,
       "[翠甲星帝地球背景]",
       {"picture Image4 zelkiachikiyou.bmp"}},
      {"1.6 and one match: earth",
       panel_script(2, 11, 12, 13, 1),
       {2, 5, 5},
       "1.6",
       5,
       "[翠甲星帝地球背景]",
       {"picture Image4 zelkiachikiyou.bmp"}},
      // Four different horses match at most three different digits.
      {"three match, shortest odds",
       panel_script(5, 6, 7, 1, 2),
       {5, 6, 7},
       "1.0",
       7,
       "[翠甲星帝地球背景]",
       {"picture Image4 zelkiachikiyou.bmp"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Session s;
    CrtTables(1).row(18, {1, 1, 1, 1, 1, c.digits[0], c.digits[1], c.digits[2]}).write(s);
    s.run(c.panel + "\nselect Combo7 13\ntype Text2 1\ntype Text1 \"" + c.odds1 + "\"");
    s.dump();
    const auto d = s.dump("click Command8");
    EXPECT_EQ(state(d)["chance_level"].toInt(), c.level);
    EXPECT_EQ(result_lines(d)[2], c.line2);
    const QStringList ev = event_lines(d);
    EXPECT_EQ(ev.mid(ev.indexOf("pause 2") + 1), c.effects);
  }
}

TEST(Trifecta, ListLinesFromFourOnStay) {
  Session s;
  CrtTables(5).write(s);
  s.run(kBuyablePanel + "\ntype Text1 5\ntype Text2 5");
  s.dump();
  // Fewer lines than four: the list grows to four.
  auto d = s.dump("click Command8");
  EXPECT_EQ(result_lines(d).size(), 4);
  for (int i = 0; i < 7; ++i) set_list_line(s.app().main().c("List1"), i, QString("old %1").arg(i));
  s.app().main().s.output_lines[5] = "kept";
  d = s.dump("click Command8");
  const QStringList lines = result_lines(d);
  ASSERT_EQ(lines.size(), 7);
  EXPECT_EQ(lines[3], " 2⇒ 1⇒ 5 ,  2⇒ 3⇒ 5 ,  2⇒ 4⇒ 5 ,  2⇒5⇒ 5");
  EXPECT_EQ(lines.mid(4), QStringList({"old 4", "old 5", "old 6"}));
  EXPECT_EQ(strings(state(d)["output_lines"])[4], "");
  EXPECT_EQ(strings(state(d)["output_lines"])[5], "kept");
}

TEST(Trifecta, LastRowOfTheTableIsRead) {
  Session s;
  // 31 December reads row 152; the only usable values sit in row 5000.
  CrtTables t(0, 5001);
  t.row(5000, {1, 2, 3, 4, 5, 6, 7, 8});
  t.write(s);
  s.run(kBuyablePanel + "\nselect Combo3 11\nselect Combo4 30\ntype Text1 5\ntype Text2 5");
  const auto d = s.dump("click Command8");
  EXPECT_TRUE(messages(d).isEmpty());
  EXPECT_EQ(state(d)["crt_row"].toInt(), 5000);
  EXPECT_EQ(label_captions(d, "Label4", 0, 7), repeated("5000", 8));
  EXPECT_EQ(result_lines(d)[3], " 2⇒ 1⇒ 5 ,  2⇒ 3⇒ 5 ,  2⇒ 4⇒ 5 ,  2⇒6⇒ 5");
}
