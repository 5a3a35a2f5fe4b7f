// The makai trifecta prediction (Command1), driven like a user.
#include "prediction_checks.h"

using namespace quilo;
using namespace quilo::test;

namespace {

const char* const kTitle = "  ■■■■  Quilo ピルピルθK 魔界３連単 予想結果 ■■■■";

const QStringList kStaging = {"background Image206.jpg",   "pause 2",         "se bigshot1.wav",
                              "background Image206_1.jpg", "pause 1",         "se bigshot1.wav",
                              "background Image206_2.jpg", "se bigshot1.wav", "pause 2",
                              "background Image2666.JPG",  "pause 1",         "se status5.wav",
                              "background Image2667.JPG"};

}  // namespace

TEST(MakaiTrifecta, WorkedExample) {
  Session s;
  // 1 January with Combo2 "12" (entry 11) and Combo5 " 2" (entry 1): row 18 + 11 + 2 = 31.
  CrtTables(0).row(31, {11, 22, 33, 43, 1, 27, 40, 9}).write(s);
  s.run(
      "select Combo6 0\nselect Combo8 0\nselect Combo9 10\nselect Combo7 13\ntype Text1 2.0\ntype Text2 4.0");
  s.run(panel_script(1, 12, 5, 2, 7));
  s.dump();
  s.app().main().label("Label4", 7).text = "kept 7";
  s.app().main().label("Label4", 15).text = "kept 15";
  const auto d = s.dump("click Command1");

  expect_run(d, TicketKind::Trifecta,
             {{kTitle, " 2010年01月01日 東京11R", "[翠甲星帝ブラックホール背景]",
               " 7⇒ 2⇒ 1 ,  7⇒ 5⇒7 ,  7⇒12⇒ 1 ,  7⇒ 1⇒0"},
              {" 7", " 2", " 1", " 7", " 5", "7", " 7", "12", " 1", " 7", " 1", "0"},
              {"1", "12", "5", "2", "7", "7", "0", "3"},
              repeated("31", 7) + QStringList{"kept 7", "11", "22", "33", "43", "1", "27", "40", "kept 15"},
              31,
              2});
  EXPECT_EQ(event_lines(d),
            QStringList({"picture Image2 PIRUPIRUoff.bmp", "picture Image1 3renbaken.bmp"}) + kStaging +
                QStringList({"pause 2", "midi_close", "se status5.wav", "background qubuorra77.bmp",
                             "se status5.wav", "background blackhoolg11.bmp",
                             "picture Image4 zelkiablackhool.bmp"}));
  EXPECT_EQ(state(d)["yosou_mode"].toInt(), 1);
  EXPECT_EQ(state(d)["yosou_keta"].toInt(), 7);
  EXPECT_FALSE(visible(d, "Image2"));
  EXPECT_EQ(d["background"].toString(), "blackhoolg11.bmp");
  // Row 2 holds horse 7 twice and row 4 horse 0: both are marked and left
  // out of the total and the history, their cells as drawn.
  EXPECT_EQ(caption(d, "Label14"), "合計★★★６枚★★★６００円");
  EXPECT_EQ(QList<bool>({visible(d, "unbuyable_mark(0)"), visible(d, "unbuyable_mark(1)"),
                         visible(d, "unbuyable_mark(2)"), visible(d, "unbuyable_mark(3)")}),
            QList<bool>({false, true, false, true}));
  EXPECT_EQ(caption(d, "unbuyable_mark(1)"), "購入不可");
  const QJsonArray bets = d["history"].toObject()["runs"].toArray()[0].toObject()["bets"].toArray();
  ASSERT_EQ(bets.size(), 4);
  EXPECT_EQ(bets[1].toObject()["why"].toString(), "同じ馬 7 が2回入っています");
  EXPECT_FALSE(bets[1].toObject()["buyable"].toBool(true));
  EXPECT_EQ(bets[3].toObject()["why"].toString(), "馬番 0 の馬はいません");
  EXPECT_FALSE(bets[0].toObject().contains("buyable"));
  EXPECT_TRUE(s.platform().music_playing.isEmpty());
}

TEST(MakaiTrifecta, RejectsOutOfRangeAndRepeatsInPositions2To6) {
  Session s;
  // A typed panel: Combo2 and Combo5 count as -1, so 1 January reads row 15.
  CrtTables t(0);
  t.set(1, 15, 44).set(1, 16, 0).set(1, 17, 43);  // 44 and 0 skipped
  t.set(2, 17, 43).set(2, 18, 5);                 // repeat of 43 skipped
  t.set(3, 18, 5).set(3, 19, 43).set(3, 20, 10);  // two repeats skipped
  t.set(4, 20, 20);
  t.set(5, 20, 10).set(5, 21, 30);  // repeat of position 3
  t.set(6, 21, 20).set(6, 22, 31);  // repeat of position 4
  t.set(7, 22, 43);                 // position 7 may repeat
  t.set(1, 22, -1);
  t.write(s);
  s.run(kTypedPanel + "\ntype Text1 9\ntype Text2 9");
  const auto d = s.dump("click Command1");
  EXPECT_EQ(label_captions(d, "Label4", 0, 6), QStringList({"17", "18", "20", "20", "21", "22", "22"}));
  EXPECT_EQ(label_captions(d, "Label4", 8, 14), QStringList({"43", "5", "10", "20", "30", "31", "43"}));
  EXPECT_EQ(yosou_slots(d, 6, 8), QStringList({"1", "3", "3"}));
  EXPECT_EQ(state(d)["crt_row"].toInt(), 22);
  EXPECT_EQ(result_lines(d)[3], "15⇒13⇒10 , 15⇒12⇒1 , 15⇒11⇒10 , 15⇒10⇒3");
}

TEST(MakaiTrifecta, BaseRowByDateAndTwoPanelHorses) {
  const struct {
    QString script;
    int row;
  } cases[] = {
      {"", 15},                 // Combo2 and Combo5 typed: -1 each
      {"select Combo2 1", 17},  // picking " 2" instead of typing it
      {"type Combo2 2", 15},
      {"select Combo5 0", 17},
      {"select Combo5 1", 19},  // Combo5 moves two rows per entry
      {"select Combo2 16\nselect Combo5 17", 18 + 16 + 34},
      {"select Combo4 1", 18},  // a day later: 3 rows on
      {"select Combo3 1", 19},  // a month later: 4 rows on
      {"select Combo14 8\nselect Combo13 9\nselect Combo1 6\nselect Combo6 4", 15},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.script.toStdString());
    Session s;
    CrtTables t(0, 100);
    for (int col = 1; col <= 7; ++col) t.fill(col, col);
    t.write(s);
    s.run(kTypedPanel + "\n" + c.script + "\ntype Text1 9\ntype Text2 9");
    const auto d = s.dump("click Command1");
    EXPECT_EQ(state(d)["crt_row"].toInt(), c.row);
    EXPECT_EQ(label_captions(d, "Label4", 0, 6), repeated(QString::number(c.row), 7));
  }
}

TEST(MakaiTrifecta, ChanceLevelEscalationAndBackground) {
  const struct {
    const char* name;
    QString panel;
    QString odds1;
    int level;
    QString line2;
    QString window;       // the window's background at the end
    QStringList effects;  // events after the music stops
  } cases[] = {
      {"level 0: no caption, staging picture stays",
       panel_script(1, 2, 4, 6, 3),
       "3.0",
       0,
       "",
       "Image2667.JPG",
       {"picture Image4 zelkiachikiyou.bmp"}},
      {"panel 3 matches slot 8",
       panel_script(3, 2, 4, 6, 1),
       "3.0",
       1,
       "[翠甲星帝星雲背景]",
       "Image2667.JPG",
       {"picture Image4 zelkiaseiun.bmp"}},
      {"a 3 and the 5 of lucky value 6",
       panel_script(3, 5, 4, 6, 1),
       "3.0",
       2,
       "[翠甲星帝ブラックホール背景]",
       "Image2667.JPG",
       {"picture Image4 zelkiablackhool.bmp"}},
      {"2.9 exactly",
       panel_script(1, 2, 4, 6, 3),
       "2.9",
       1,
       "[翠甲星帝星雲背景]",
       "qubuorra77.bmp",
       {"se status5.wav", "background qubuorra77.bmp", "picture Image4 zelkiaseiun.bmp"}},
      {"1.7 exactly",
       panel_script(1, 2, 4, 6, 3),
       "1.7",
       3,
       "[翠甲星帝閃光背景]",
       "ankokuseiun658.bmp",
       {"se status5.wav", "background qubuorra77.bmp", "se status5.wav", "background blackhoolg11.bmp",
        "se status5.wav", "background ankokuseiun658.bmp", "picture Image4 zelkiasenkou.bmp"}},
      {"1.4 exactly",
       panel_script(1, 2, 4, 6, 3),
       "1.4",
       4,
       "[翠甲星帝爆発背]",
       "ankokuseiun657.bmp",
       {"se status5.wav", "background qubuorra77.bmp", "se status5.wav", "background blackhoolg11.bmp",
        "se status5.wav", "background ankokuseiun658.bmp", "se status5.wav", "background ankokuseiun657.bmp",
        "se voice100million.wav", "picture Image4 zelkiabakuhatsu.bmp"}},
      {"1.4 and a 3: earth with caption",
       panel_script(1, 2, 4, 3, 6),
       "1.4",
       5,
       "[翠甲星帝地球背景]",
       "ankokuseiun657.bmp",
       {"se status5.wav", "background qubuorra77.bmp", "se status5.wav", "background blackhoolg11.bmp",
        "se status5.wav", "background ankokuseiun658.bmp", "se status5.wav", "background ankokuseiun657.bmp",
        "picture Image4 zelkiachikiyou.bmp"}},
      // Lucky value 6 ends in 5: the panel horse 5 matches it, 15 does not.
      {"last digit of a lucky value",
       panel_script(5, 15, 4, 1, 3),
       "3.0",
       1,
       "[翠甲星帝星雲背景]",
       "Image2667.JPG",
       {"picture Image4 zelkiaseiun.bmp"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Session s;
    // Every row gives the values 11, 12, 13, 14, 16, 25 and 40 (last digits 5 and 0).
    CrtTables t(0, 100);
    const int values[] = {11, 12, 13, 14, 16, 25, 40};
    for (int col = 1; col <= 7; ++col) t.fill(col, values[col - 1]);
    t.write(s);
    s.run(c.panel + "\nselect Combo7 13\ntype Text2 1\ntype Text1 " + c.odds1);
    s.dump();
    const auto d = s.dump("click Command1");
    EXPECT_EQ(state(d)["chance_level"].toInt(), c.level);
    EXPECT_EQ(result_lines(d)[2], c.line2);
    EXPECT_EQ(d["background"].toString(), c.window);
    const QStringList ev = event_lines(d);
    EXPECT_EQ(ev.mid(ev.indexOf("midi_close") + 1), c.effects);
    EXPECT_EQ(yosou_slots(d, 6, 8), QStringList({"5", "0", "3"}));
  }
}
