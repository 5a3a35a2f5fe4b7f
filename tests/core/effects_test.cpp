// The chance count, the lamp and background effects, the makai escalation and
// the timed stagings.
#include "presentation/effects.h"
#include "prediction_fixture.h"

#include <gtest/gtest.h>

using namespace quilo;
using namespace quilo::test;

namespace {

// A started session with Text1/Text2 and yosou_num yosou 1..8 set; events so far taken.
struct Effects {
  Session s{Session::Tables::None};  // no table is read here
  Effects(const QString& odds1, const QString& odds2 = "5.0",
          const QStringList& yosou = QStringList(8, QString())) {
    s.run(QString("type Text1 \"%1\"\ntype Text2 \"%2\"").arg(odds1, odds2));
    for (int i = 0; i < yosou.size(); ++i) s.app().main().s.yosou_num[i + 1] = yosou[i];
    s.dump();
  }
  App& app() { return s.app(); }
  QStringList events() { return event_lines(s.dump()); }
};

double total_pause(const QStringList& events) {
  double total = 0;
  for (const QString& e : events)
    if (e.startsWith("pause ")) total += e.mid(6).toDouble();
  return total;
}

}  // namespace

TEST(ChanceCount, DigitMatchesAndOddsThresholds) {
  const struct {
    const char* name;
    QStringList yosou;  // yosou_num 1..8
    QString odds1;
    std::vector<float> thresholds;
    int level;
  } cases[] = {
      // Exacta examples: panel 3 and 5 match lucky digits 3, 8, 5.
      {"cherry", {"3", "5", "12", "1", "7", "3", "8", "5"}, "2.5", {2.1f, 1.7f}, 2},
      {"seven", {"3", "5", "12", "1", "7", "3", "8", "5"}, "2.1", {2.1f, 1.7f}, 3},
      {"lamp off", {"3", "5", "12", "1", "7", "3", "8", "5"}, "1.7", {2.1f, 1.7f}, 4},
      {"repeat panel counts twice", {"4", "4", "9", "1", "", "4", "2", "2"}, "9", {3.4f}, 2},
      {"repeat digit once per slot", {"2", "6", "6", "6", "", "2", "2", "2"}, "9", {3.4f}, 1},
      {"slot 5 never compared", {"10", "11", "12", "13", "7", "7", "7", "7"}, "9", {3.4f}, 0},
      {"panel 10..18 never match digits", {"10", "11", "18", "16", "1", "1", "0", "8"}, "9", {3.4f}, 0},
      {"empty yosou match", {"", "", "", "", "", "", "", ""}, "3.6", {3.5f, 2.7f, 2.3f, 1.7f}, 4},
      {"empty yosou and short odds", {"", "", "", "", "", "", "", ""}, "1.7", {3.5f, 2.7f, 2.3f, 1.7f}, 8},
      {"threshold 3.4 counts", {"1", "2", "3", "4", "", "9", "9", "9"}, "3.4", {3.4f, 2.8f, 1.9f, 1.6f}, 1},
      {"just above 3.4", {"1", "2", "3", "4", "", "9", "9", "9"}, "3.41", {3.4f, 2.8f, 1.9f, 1.6f}, 0},
      {"2.8", {"1", "2", "3", "4", "", "9", "9", "9"}, "2.8", {3.4f, 2.8f, 1.9f, 1.6f}, 2},
      {"1.9", {"1", "2", "3", "4", "", "9", "9", "9"}, "1.9", {3.4f, 2.8f, 1.9f, 1.6f}, 3},
      {"1.6", {"1", "2", "3", "4", "", "9", "9", "9"}, "1.6", {3.4f, 2.8f, 1.9f, 1.6f}, 4},
      {"full-width 1.6", {"1", "2", "3", "4", "", "9", "9", "9"}, "１．６", {3.4f, 2.8f, 1.9f, 1.6f}, 4},
      {"1.6 and a match", {"1", "2", "3", "4", "", "4", "9", "9"}, "1.6", {3.4f, 2.8f, 1.9f, 1.6f}, 5},
      {"makai 1.4", {"1", "2", "3", "4", "", "9", "9", "9"}, "1.4", {2.9f, 2.1f, 1.7f, 1.4f}, 4},
      {"makai 2.9", {"1", "2", "3", "4", "", "9", "9", "9"}, "2.9", {2.9f, 2.1f, 1.7f, 1.4f}, 1},
      {"onibaku 2.3", {"1", "2", "3", "4", "", "9", "9", "9"}, "2.3", {3.5f, 2.7f, 2.3f, 1.7f}, 3},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Effects e(c.odds1, "5.0", c.yosou);
    App& app = e.app();
    const std::vector<float>& t = c.thresholds;
    count_chance_level(app.main(), t);
    EXPECT_EQ(app.main().s.chance_level, c.level);
    EXPECT_TRUE(e.events().isEmpty());
  }
}

TEST(ChanceCount, EscalationStepsFollowEachPassedThreshold) {
  const struct {
    QString odds1;
    QStringList events;
    int level;
  } cases[] = {
      {"3.0", {}, 0},
      {"2.9", {"se status5.wav", "background qubuorra77.bmp"}, 1},
      {"2.1",
       {"se status5.wav", "background qubuorra77.bmp", "se status5.wav", "background blackhoolg11.bmp"},
       2},
      {"1.5",
       {"se status5.wav", "background qubuorra77.bmp", "se status5.wav", "background blackhoolg11.bmp",
        "se status5.wav", "background ankokuseiun658.bmp"},
       3},
      {"1.4",
       {"se status5.wav", "background qubuorra77.bmp", "se status5.wav", "background blackhoolg11.bmp",
        "se status5.wav", "background ankokuseiun658.bmp", "se status5.wav", "background ankokuseiun657.bmp"},
       4},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.odds1.toStdString());
    Effects e(c.odds1, "5.0", {"1", "2", "3", "4", "", "9", "9", "9"});
    App& app = e.app();
    app.main().load_gf_background("Image2667.JPG");
    e.events();
    count_makai_chance_level(app.main());
    EXPECT_EQ(e.events(), c.events);
    EXPECT_EQ(app.main().s.chance_level, c.level);
    // The window ends on the smallest threshold passed, or keeps its picture.
    EXPECT_EQ(app.main().form.background,
              c.events.isEmpty() ? "Image2667.JPG" : c.events.last().mid(QString("background ").size()));
  }
}

TEST(Effects, ExactaChanceByLevel) {
  const struct {
    int level;
    QString line2;
    QStringList events;
  } cases[] = {
      {0, "", {"picture Image2 PIRUPIRUoff.bmp"}},
      {1, "【ＰＩＲＵＰＩＲＵチャンス】", {"se bosu28_a.wav", "picture Image2 PIRUPIRU.bmp"}},
      {2, "【チェリーＰＩＲＵＰＩＲＵチャンス】", {"se status2.wav", "picture Image2 cherrey.bmp"}},
      {3, "【７ＰＩＲＵＰＩＲＵチャンス】", {"se status2.wav", "picture Image2 7seven.bmp"}},
      {4, "", {"picture Image2 PIRUPIRUoff.bmp"}},
      {5, "", {"picture Image2 PIRUPIRUoff.bmp"}},
      {6, "", {"picture Image2 PIRUPIRUoff.bmp"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.level);
    Effects e("2.0");
    e.app().main().set_result_line(2, "old");
    show_exacta_chance(e.app().main(), c.level);
    EXPECT_EQ(e.app().main().result_line(2), c.line2);
    EXPECT_EQ(e.events(), c.events);
    EXPECT_EQ(e.app().main().c("Image2").picture, c.events.last().mid(QString("picture Image2 ").size()));
  }
}

TEST(Effects, BackgroundByLevel) {
  const struct {
    int level;
    QString line2_with, line2_without;
    QStringList events;
  } cases[] = {
      {0, "[翠甲星帝地球背景]", "", {"picture Image4 zelkiachikiyou.bmp"}},
      {1, "[翠甲星帝星雲背景]", "[翠甲星帝星雲背景]", {"picture Image4 zelkiaseiun.bmp"}},
      {2,
       "[翠甲星帝ブラックホール背景]",
       "[翠甲星帝ブラックホール背景]",
       {"picture Image4 zelkiablackhool.bmp"}},
      {3, "[翠甲星帝閃光背景]", "[翠甲星帝閃光背景]", {"picture Image4 zelkiasenkou.bmp"}},
      {4,
       "[翠甲星帝爆発背]",
       "[翠甲星帝爆発背]",
       {"se voice100million.wav", "picture Image4 zelkiabakuhatsu.bmp"}},
      {5, "[翠甲星帝地球背景]", "[翠甲星帝地球背景]", {"picture Image4 zelkiachikiyou.bmp"}},
      {8, "[翠甲星帝地球背景]", "[翠甲星帝地球背景]", {"picture Image4 zelkiachikiyou.bmp"}},
  };
  for (const auto& c : cases) {
    for (bool with : {true, false}) {
      SCOPED_TRACE(QString("level %1 %2").arg(c.level).arg(with).toStdString());
      Effects e("2.0");
      show_background(e.app().main(), c.level, with);
      EXPECT_EQ(e.app().main().result_line(2), with ? c.line2_with : c.line2_without);
      EXPECT_EQ(e.events(), c.events);
    }
  }
}

TEST(Staging, MakaiPlaysItsFixedSequence) {
  Effects e("9.9", "9.9");
  play_makai_staging(e.app().main());
  const QStringList ev = e.events();
  EXPECT_EQ(ev, QStringList(
                    {"background Image206.jpg", "pause 2", "se bigshot1.wav", "background Image206_1.jpg",
                     "pause 1", "se bigshot1.wav", "background Image206_2.jpg", "se bigshot1.wav", "pause 2",
                     "background Image2666.JPG", "pause 1", "se status5.wav", "background Image2667.JPG"}));
  EXPECT_EQ(total_pause(ev), 6);
  EXPECT_EQ(e.app().main().form.background, "Image2667.JPG");
}

namespace {

const QStringList kBlackHoleBody = {
    "background makaigazou.jpg",
    "pause 2",
    "background makaigazou01.jpg",
    "pause 1",
    "background makaigazou02.jpg",
    "pause 1",
    "background makaigazou03.jpg",
    "pause 1",
    "se status1.wav",
    "background makaigazou04.jpg",
    "pause 1",
    "se status1.wav",
    "background makaigazou05.jpg",
    "pause 1",
    "se status1.wav",
    "background makaigazou06.jpg",
    "pause 1",
    "se status1.wav",
    "background ブラックホール緑PIRU1.bmp",
    "pause 2",
    "se status1.wav",
    "background blackhoulg02.bmp",
    "pause 2",
};

QStringList onibaku_body() {
  return {"background Image204.jpg",
          "pause 2",
          "background Image2060.jpg",
          "pause 1",
          "se status2.wav",
          "background onibakuu0.JPG",
          "pause 1",
          "se status2.wav",
          "background kibaku00.bmp",
          "pause 1",
          "se status2.wav",
          "background onibakuu.JPG",
          "pause 1",
          "se status2.wav",
          "background Image206_1.jpg",
          "pause 2",
          "se status2.wav",
          "background Image206_2.jpg",
          "pause 2"};
}

QStringList nebula_body() {
  return {"background Image204.jpg",
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
          "pause 2"};
}

}  // namespace

TEST(Staging, OnibakuSequenceAndEndingByTheOdds) {
  const QStringList black_short =
      kBlackHoleBody + QStringList{"se status3.wav", "background blackhoulg03.bmp"};
  const QStringList black_long = kBlackHoleBody + QStringList{"se status3.wav", "background blackhoolg11.bmp",
                                                              "pause 1", "background blackhoulg01.bmp"};
  const QStringList oni7 = onibaku_body() + QStringList{"se status4.wav", "background newseiunPIRU7.bmp"};
  const QStringList oni1 = onibaku_body() + QStringList{"se status4.wav", "background newseiunPIRU1.bmp"};
  const QStringList neb7 = nebula_body() + QStringList{"se status5.wav", "background newseiunPIRU7.bmp"};
  const QStringList neb6 = nebula_body() + QStringList{"se status5.wav", "background newseiunPIRU6.bmp"};
  const struct {
    QString o1, o2;
    const QStringList* events;
    double seconds;
  } cases[] = {
      {"1.5", "3.8", &black_short, 12},  // 3.8 still chooses the black hole
      {"1.5", "3.4", &black_short, 12}, {"1.5", "3.3", &black_long, 13},
      {"1.9", "1.0", &black_long, 13},  // 1.9 is still inside
      {"1.11", "3.0", &black_long, 13}, {"1.5", "3.85", &oni7, 10},
      {"1.9", "3.81", &oni7, 10},       {"1.5", "3.9", &oni1, 10},
      {"1.2", "12", &oni1, 10},         {"1.1", "3.5", &neb7, 14},  // 1.1 is outside
      {"1.91", "3.5", &neb7, 14},       {"2.0", "3.9", &neb6, 14},
      {"2.0", "3.4", &neb6, 14},        {"1.0", "3.0", &neb6, 14},
      {"5.0", "3.41", &neb7, 14},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE((c.o1 + " / " + c.o2).toStdString());
    Effects e(c.o1, c.o2);
    play_onibaku_staging(e.app().main());
    const QStringList ev = e.events();
    EXPECT_EQ(ev, *c.events);
    EXPECT_EQ(total_pause(ev), c.seconds);
    EXPECT_EQ(e.app().main().form.background, c.events->last().mid(QString("background ").size()));
  }
}

TEST(Staging, OnibakuEndingReadsTheSecondOddsAgain) {
  const struct {
    QString o1, o2_start, o2_later;
    QStringList tail;  // the last events
  } cases[] = {
      // Black hole chosen at 3.0; the ending follows the 3.6 typed meanwhile.
      {"1.5", "3.0", "3.6", {"pause 2", "se status3.wav", "background blackhoulg03.bmp"}},
      {"1.5",
       "3.6",
       "3.0",
       {"se status3.wav", "background blackhoolg11.bmp", "pause 1", "background blackhoulg01.bmp"}},
      // Onibaku chosen at 4.5, ending by 3.85.
      {"1.5", "4.5", "3.85", {"pause 2", "se status4.wav", "background newseiunPIRU7.bmp"}},
      {"2.5", "3.5", "4.0", {"pause 2", "se status5.wav", "background newseiunPIRU6.bmp"}},
      // No number by then: the ending of every other case.
      {"2.5", "3.5", "abc", {"pause 2", "se status5.wav", "background newseiunPIRU6.bmp"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE((c.o2_start + " -> " + c.o2_later).toStdString());
    Effects e(c.o1, c.o2_start);
    int pauses = 0;
    e.s.platform().on_pause = [&](float) {
      if (++pauses == 1) e.app().main().c("Text2").text = c.o2_later;
    };
    play_onibaku_staging(e.app().main());
    const QStringList ev = e.events();
    EXPECT_EQ(ev.mid(ev.size() - c.tail.size()), c.tail);
  }
}
