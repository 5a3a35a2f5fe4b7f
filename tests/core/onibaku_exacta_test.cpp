// The onibaku exacta prediction (Command6), driven like a user.
#include "prediction_checks.h"

using namespace quilo;
using namespace quilo::test;

namespace {

const char* const kTitle = "  ■■■■  Quilo ピルピルθK 鬼爆馬単 予想結果 ■■■■";

// Columns 1..8 hold 1..8 in every row: every position is taken at once.
CrtTables column_numbers(int rows = 200) {
  CrtTables t(0, rows);
  for (int col = 1; col <= 8; ++col) t.fill(col, col);
  return t;
}

}  // namespace

TEST(OnibakuExacta, WorkedExampleAfterStartUp) {
  Session s;
  CrtTables(0).row(11, {1, 2, 3, 4, 5, 6, 7, 8}).write(s);
  // Combo14, Combo2 and Combo5 typed (entry -1 each): row 4 × 0 + 11.
  s.run(
      "select Combo8 0\nselect Combo9 10\nselect Combo7 13\ntype Text1 4.0\ntype Text2 5.0\n"
      "type Combo14 \" 9\"\ntype Combo2 \" 5\"\nselect Combo13 11\ntype Combo5 \" 3\"\n"
      "select Combo1 6");
  s.dump();
  const auto d = s.dump("click Command6");
  // Empty slots after start-up all match: level 4, the explosion scene.
  expect_run(d, TicketKind::Exacta,
             {{kTitle, " 2010年01月01日 東京11R", " ", " 7◆ 5 ,  7◆12 ,  7◆ 3 ,  7◆ 9"},
              {" 7", " 5", " 7", "12", " 7", " 3", " 7", " 9"},
              {"9", "5", "12", "3", "7", "6", "7", "8"},
              repeated("11", 8) + QStringList{"1", "2", "3", "4", "5", "6", "7", "8"},
              11,
              4});
  EXPECT_EQ(event_lines(d), QStringList({"picture Image2 PIRUPIRUoff.bmp",
                                         "picture Image1 umatanbaken.bmp",
                                         "se voice100million.wav",
                                         "picture Image4 zelkiabakuhatsu.bmp",
                                         "background Image204.jpg",
                                         "pause 2",
                                         "background Image2060.jpg",
                                         "pause 2",
                                         "se status1.wav",
                                         "background onibakuu0.JPG",
                                         "pause 2",
                                         "se status1.wav",
                                         "background kibaku00.bmp",
                                         "pause 2",
                                         "se status1.wav",
                                         "background newseiunPIRU1.bmp",
                                         "pause 2",
                                         "se status1.wav",
                                         "background newseiunPIRU2.bmp",
                                         "pause 2",
                                         "se status1.wav",
                                         "background newseiunPIRU3.bmp",
                                         "pause 2",
                                         "se status5.wav",
                                         "background newseiunPIRU6.bmp",
                                         "pause 2",
                                         "midi_close"}));
  EXPECT_EQ(state(d)["yosou_mode"].toInt(), 0);
  EXPECT_EQ(state(d)["yosou_keta"].toInt(), 7);
  EXPECT_FALSE(visible(d, "Image2"));
  EXPECT_EQ(control(d, "Image4")["picture"].toString(), "zelkiabakuhatsu.bmp");
  EXPECT_EQ(d["background"].toString(), "newseiunPIRU6.bmp");
  EXPECT_EQ(caption(d, "Label14"), "合計★★★１０枚★★★１,０００円");
  EXPECT_TRUE(s.platform().music_playing.isEmpty());
}

TEST(OnibakuExacta, CountOnEmptySlotsAfterStartUp) {
  const struct {
    QString odds1;
    int level;
    QStringList scene;
  } cases[] = {
      {"9.9", 4, {"se voice100million.wav", "picture Image4 zelkiabakuhatsu.bmp"}},
      {"3.6", 4, {"se voice100million.wav", "picture Image4 zelkiabakuhatsu.bmp"}},
      {"3.5", 5, {"picture Image4 zelkiachikiyou.bmp"}},
      {"2.3", 7, {"picture Image4 zelkiachikiyou.bmp"}},
      {"1.7", 8, {"picture Image4 zelkiachikiyou.bmp"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.odds1.toStdString());
    Session s;
    column_numbers().write(s);
    s.run(kTypedPanel + "\ntype Text2 5\ntype Text1 " + c.odds1);
    s.dump();
    const auto d = s.dump("click Command6");
    EXPECT_EQ(state(d)["chance_level"].toInt(), c.level);
    EXPECT_EQ(event_lines(d).mid(2, c.scene.size()), c.scene);
    EXPECT_EQ(result_lines(d)[2], " ");  // the result carries no caption
  }
}

TEST(OnibakuExacta, SecondPressCountsTheFirstPressDigits) {
  Session s;
  column_numbers().write(s);
  // Panel slot 1 holds 6 after the first run, and digit 6 is 6.
  s.run(kTypedPanel + "\ntype Text1 9\ntype Text2 9\ntype Combo14 6");
  s.dump();
  const auto first = s.dump("click Command6");
  EXPECT_EQ(state(first)["chance_level"].toInt(), 4);
  EXPECT_EQ(yosou_slots(first, 1, 8), QStringList({"6", "11", "12", "13", "15", "6", "7", "8"}));
  const auto second = s.dump("click Command6");
  EXPECT_EQ(state(second)["chance_level"].toInt(), 1);
  EXPECT_EQ(control(second, "Image4")["picture"].toString(), "zelkiaseiun.bmp");
}

TEST(OnibakuExacta, CountsWhatAnotherPredictionLeft) {
  Session s;
  column_numbers().write(s);
  // The exacta leaves panel 3 and digits 6, 7, 8: panel 7 and 8 match.
  s.run("select Combo7 13\ntype Text1 9\ntype Text2 9\n" + panel_script(7, 8, 3, 4, 5));
  s.run("click Command3");
  s.dump();
  const auto d = s.dump("click Command6");
  EXPECT_EQ(state(d)["chance_level"].toInt(), 2);
  EXPECT_EQ(control(d, "Image4")["picture"].toString(), "zelkiablackhool.bmp");
}

TEST(OnibakuExacta, BaseRowByMonthAndThreePanelHorses) {
  const struct {
    QString script;
    int row;
  } cases[] = {
      {"", 11},                 // nothing picked in Combo5, Combo2, Combo14
      {"select Combo3 2", 19},  // month: 4 rows per entry
      {"select Combo4 20\nselect Combo6 3\nselect Combo8 1\nselect Combo9 7", 11},
      {"select Combo5 0", 14},  // Combo5: 3 rows per entry
      {"select Combo5 2", 20},
      {"select Combo2 0", 13},  // Combo2 and Combo14: 2 rows per entry
      {"select Combo2 3", 19},
      {"select Combo14 17", 47},
      {"select Combo13 15\nselect Combo1 16", 11},
      {"select Combo5 0\nselect Combo2 1\nselect Combo14 2", 24},
      {"select Combo3 11\nselect Combo5 17\nselect Combo2 16\nselect Combo14 15", 175},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.script.toStdString());
    Session s;
    column_numbers().write(s);
    s.run(kTypedPanel + "\n" + c.script + "\ntype Text1 9\ntype Text2 9");
    const auto d = s.dump("click Command6");
    EXPECT_EQ(state(d)["crt_row"].toInt(), c.row);
    EXPECT_EQ(label_captions(d, "Label4", 0, 7), repeated(QString::number(c.row), 8));
  }
}

TEST(OnibakuExacta, RejectsOutOfRangeAndRepeatsInPositions2To6) {
  Session s;
  CrtTables t(-2);
  t.set(1, 11, 0);                               // 0 taken at once
  t.set(2, 11, 0).set(2, 12, 10).set(2, 13, 5);  // repeat and 10 skipped
  t.set(3, 13, 5).set(3, 14, 6);
  t.set(4, 14, 7).set(5, 14, 8);
  t.set(6, 14, 0).set(6, 15, 7).set(6, 16, 9);  // repeats of positions 1 and 4 skipped
  t.set(7, 16, 0).set(8, 16, 9);                // positions 7 and 8 may repeat
  t.write(s);
  s.run(kTypedPanel + "\ntype Text1 9\ntype Text2 9");
  const auto d = s.dump("click Command6");
  EXPECT_EQ(label_captions(d, "Label4", 0, 15), QStringList({"11", "13", "14", "14", "14", "16", "16", "16",
                                                             "0", "5", "6", "7", "8", "9", "0", "9"}));
  EXPECT_EQ(yosou_slots(d, 6, 8), QStringList({"9", "0", "9"}));
}

TEST(OnibakuExacta, StagingChosenByBothOdds) {
  const struct {
    QString odds1, odds2, window;
    double seconds;  // staging and the preparation pause
  } cases[] = {
      {"1.5", "3.3", "blackhoulg01.bmp", 13 + 2},
      {"1.5", "3.8", "blackhoulg03.bmp", 12 + 2},
      {"1.5", "3.85", "newseiunPIRU7.bmp", 10 + 2},
      {"1.1", "3.5", "newseiunPIRU7.bmp", 14 + 2},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE((c.odds1 + " / " + c.odds2).toStdString());
    Session s;
    column_numbers().write(s);
    s.run(kTypedPanel + "\ntype Text1 " + c.odds1 + "\ntype Text2 " + c.odds2);
    s.dump();
    const auto d = s.dump("click Command6");
    EXPECT_EQ(d["background"].toString(), c.window);
    double seconds = 0;
    for (const auto& e : events_of(d, "pause")) seconds += e.toObject()["seconds"].toDouble();
    EXPECT_EQ(seconds, c.seconds);
  }
}
