// The exacta prediction (Command3), driven like a user.
#include "prediction_checks.h"

using namespace quilo;
using namespace quilo::test;

namespace {
const char* const kTitle = "  ■■■■ Quilo ピルピルθK 馬単 予想結果 ■■■■";
}

TEST(Exacta, WorkedExample) {
  Session s;
  // 31 December 2015: row 3 × 30 + 4 × 11 + 18 = 152.
  CrtTables(0).row(152, {0, 1, 2, 4, 6, 3, 8, 5}).write(s);
  s.run(
      "select Combo6 5\nselect Combo3 11\nselect Combo4 30\nselect Combo8 1\nselect Combo9 4\n"
      "select Combo7 13\ntype Text1 2.5\ntype Text2 4.0");
  s.run(panel_script(3, 5, 12, 1, 7));
  s.dump();
  const auto d = s.dump("click Command3");
  // Panel 3 and 5 match lucky digits 3, 8, 5; odds 2.5 pass no threshold: cherry.
  expect_run(d, TicketKind::Exacta,
             {{kTitle, " 2015年12月31日 中山05R", "【チェリーＰＩＲＵＰＩＲＵチャンス】",
               " 3◆ 5 ,  3◆12 ,  3◆ 1 ,  3◆ 7"},
              {" 3", " 5", " 3", "12", " 3", " 1", " 3", " 7"},
              {"3", "5", "12", "1", "7", "3", "8", "5"},
              repeated("152", 8) + QStringList{"0", "1", "2", "4", "6", "3", "8", "5"},
              152,
              2});
  EXPECT_EQ(event_lines(d), QStringList({"background kihonfuremu.bmp", "picture Image1 umatanbaken.bmp",
                                         "picture Image2 PIRUPIRUoff.bmp", "se voice047.wav", "pause 2",
                                         "se status2.wav", "picture Image2 cherrey.bmp"}));
  EXPECT_EQ(state(d)["yosou_mode"].toInt(), 0);
  EXPECT_EQ(state(d)["yosou_keta"].toInt(), 7);
  EXPECT_TRUE(visible(d, "Image2"));
  EXPECT_EQ(control(d, "Image2")["picture"].toString(), "cherrey.bmp");
  EXPECT_EQ(control(d, "Image1")["picture"].toString(), "umatanbaken.bmp");
  EXPECT_EQ(caption(d, "Label14"), "合計★★★１０枚★★★１,０００円");
  EXPECT_EQ(caption(d, "Label1(2)"), "05");
}

TEST(Exacta, ChanceLampByLevel) {
  const struct {
    const char* name;
    QString panel, odds1;
    int level;
    QString line2;
    QStringList effects;
  } cases[] = {
      {"no match", panel_script(1, 2, 12, 4, 7), "2.5", 0, "", {"picture Image2 PIRUPIRUoff.bmp"}},
      {"one match",
       panel_script(3, 2, 12, 4, 7),
       "2.5",
       1,
       "【ＰＩＲＵＰＩＲＵチャンス】",
       {"se bosu28_a.wav", "picture Image2 PIRUPIRU.bmp"}},
      {"cherry",
       panel_script(3, 5, 12, 1, 7),
       "2.5",
       2,
       "【チェリーＰＩＲＵＰＩＲＵチャンス】",
       {"se status2.wav", "picture Image2 cherrey.bmp"}},
      {"seven at 2.1",
       panel_script(3, 5, 12, 1, 7),
       "2.1",
       3,
       "【７ＰＩＲＵＰＩＲＵチャンス】",
       {"se status2.wav", "picture Image2 7seven.bmp"}},
      {"1.7: lamp off", panel_script(3, 5, 12, 1, 7), "1.7", 4, "", {"picture Image2 PIRUPIRUoff.bmp"}},
      {"one match and 1.8",
       panel_script(8, 2, 12, 4, 7),
       "1.8",
       2,
       "【チェリーＰＩＲＵＰＩＲＵチャンス】",
       {"se status2.wav", "picture Image2 cherrey.bmp"}},
      {"three match, 1.0", panel_script(3, 5, 8, 1, 7), "1.0", 5, "", {"picture Image2 PIRUPIRUoff.bmp"}},
      {"panel 13 and 15", panel_script(13, 15, 18, 10, 3), "2.2", 0, "", {"picture Image2 PIRUPIRUoff.bmp"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Session s;
    CrtTables(0).row(18, {0, 1, 2, 4, 6, 3, 8, 5}).write(s);
    s.run(c.panel + "\nselect Combo7 13\ntype Text2 1\ntype Text1 " + c.odds1);
    s.dump();
    s.app().main().set_result_line(2, "old");
    const auto d = s.dump("click Command3");
    EXPECT_EQ(state(d)["chance_level"].toInt(), c.level);
    EXPECT_EQ(result_lines(d)[2], c.line2);
    const QStringList ev = event_lines(d);
    EXPECT_EQ(ev.mid(ev.indexOf("pause 2") + 1), c.effects);
  }
}

TEST(Exacta, RejectsOutOfRangeAndRepeatsInPositions2To6) {
  Session s;
  CrtTables t(-1);
  t.set(1, 18, 10).set(1, 19, 0);                // 10 skipped, 0 taken
  t.set(2, 19, 0).set(2, 20, -1).set(2, 21, 9);  // repeat and -1 skipped
  t.set(3, 21, 9).set(3, 22, 0).set(3, 23, 1);   // two repeats skipped
  t.set(4, 23, 2).set(5, 23, 3);
  t.set(6, 23, 1).set(6, 24, 4);  // repeat of position 3 skipped
  t.set(7, 24, 0).set(8, 24, 4);  // positions 7 and 8 may repeat
  t.write(s);
  s.run(kTypedPanel + "\ntype Text1 5\ntype Text2 5");
  const auto d = s.dump("click Command3");
  EXPECT_EQ(label_captions(d, "Label4", 0, 15), QStringList({"19", "21", "23", "23", "23", "24", "24", "24",
                                                             "0", "9", "1", "2", "3", "4", "0", "4"}));
  EXPECT_EQ(yosou_slots(d, 6, 8), QStringList({"4", "0", "4"}));
  EXPECT_EQ(state(d)["crt_row"].toInt(), 24);
}

TEST(Exacta, SameRowForDifferentDates) {
  for (const char* date : {"select Combo3 0\nselect Combo4 4", "select Combo3 3\nselect Combo4 0"}) {
    Session s;
    CrtTables(0).row(30, {1, 2, 3, 4, 5, 6, 7, 8}).write(s);
    s.run(kTypedPanel + "\n" + date + "\ntype Text1 5\ntype Text2 5");
    const auto d = s.dump("click Command3");
    EXPECT_EQ(label_captions(d, "Label4", 0, 15),
              repeated("30", 8) + QStringList({"1", "2", "3", "4", "5", "6", "7", "8"}));
  }
}
