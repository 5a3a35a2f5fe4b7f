// The chance count and the effects the predictions stage their results with:
// the exacta chance lamp, the background scenes, the makai escalation and the
// timed stagings on the window background. Every effect is a row of a table.
#include "presentation/effects.h"

#include <optional>
#include <vector>

namespace quilo {
namespace {

// ---- Effect tables -------------------------------------------------------------------

struct EffectRow {
  const char* caption;  // result line 2
  const char* sound;    // nullptr: none
  const char* picture;
};

// show_exacta_chance: the lamp in Image2 by level; levels from 4 on look like 0.
const EffectRow kExactaChance[] = {
    {"", nullptr, "PIRUPIRUoff.bmp"},
    {"【ＰＩＲＵＰＩＲＵチャンス】", "bosu28_a.wav", "PIRUPIRU.bmp"},
    {"【チェリーＰＩＲＵＰＩＲＵチャンス】", "status2.wav", "cherrey.bmp"},
    {"【７ＰＩＲＵＰＩＲＵチャンス】", "status2.wav", "7seven.bmp"},
};
const EffectRow kExactaChanceBeyond = {"", nullptr, "PIRUPIRUoff.bmp"};

// show_background: the scene in Image4 by level; levels from 5 on show the earth.
const EffectRow kBackgrounds[] = {
    {"[翠甲星帝地球背景]", nullptr, "zelkiachikiyou.bmp"},
    {"[翠甲星帝星雲背景]", nullptr, "zelkiaseiun.bmp"},
    {"[翠甲星帝ブラックホール背景]", nullptr, "zelkiablackhool.bmp"},
    {"[翠甲星帝閃光背景]", nullptr, "zelkiasenkou.bmp"},
    {"[翠甲星帝爆発背]", "voice100million.wav", "zelkiabakuhatsu.bmp"},
};
const EffectRow kBackgroundBeyond = {"[翠甲星帝地球背景]", nullptr, "zelkiachikiyou.bmp"};

template <std::size_t N>
const EffectRow& row_for_level(const EffectRow (&rows)[N], const EffectRow& beyond, int level) {
  return level >= 0 && level < int(N) ? rows[level] : beyond;
}

// The makai escalation: the makai count's thresholds of the first
// favourite's odds, and the window background for each one passed.
struct EscalationRow {
  float threshold;
  const char* picture;
};
const EscalationRow kMakaiEscalation[] = {
    {2.9f, "qubuorra77.bmp"},
    {2.1f, "blackhoolg11.bmp"},
    {1.7f, "ankokuseiun658.bmp"},
    {1.4f, "ankokuseiun657.bmp"},
};
const char* const kMakaiEscalationSound = "status5.wav";

// Whether the first favourite's odds O1 pass the escalation row.
bool passes(const EscalationRow& row, float o1) { return o1 <= row.threshold; }

// ---- Stagings ------------------------------------------------------------------------

// One step: the sound (if any), then the window background (if any), then the
// pause (none when 0).
struct StagingStep {
  const char* sound;
  const char* picture;
  float pause;
};
using Steps = std::vector<StagingStep>;

const Steps kMakaiStaging = {
    {nullptr, "Image206.jpg", 2},          {"bigshot1.wav", "Image206_1.jpg", 1},
    {"bigshot1.wav", "Image206_2.jpg", 0}, {"bigshot1.wav", nullptr, 2},
    {nullptr, "Image2666.JPG", 1},         {"status5.wav", "Image2667.JPG", 0},
};

// The ending of an onibaku sequence, chosen by the 2nd favourite's odds as
// they read when the sequence reaches it. The last ending has no condition.
struct Ending {
  bool (*when)(float o2);
  Steps steps;
};

struct Sequence {
  Steps body;
  std::vector<Ending> endings;
};

bool below_3_4(float o2) { return o2 < 3.4f; }
bool between_3_4_and_3_9(float o2) { return 3.4f < o2 && o2 < 3.9f; }

const Sequence kMakaiBlackHole = {
    {
        {nullptr, "makaigazou.jpg", 2},
        {nullptr, "makaigazou01.jpg", 1},
        {nullptr, "makaigazou02.jpg", 1},
        {nullptr, "makaigazou03.jpg", 1},
        {"status1.wav", "makaigazou04.jpg", 1},
        {"status1.wav", "makaigazou05.jpg", 1},
        {"status1.wav", "makaigazou06.jpg", 1},
        {"status1.wav", "ブラックホール緑PIRU1.bmp", 2},
        {"status1.wav", "blackhoulg02.bmp", 2},
    },
    {
        {below_3_4, {{"status3.wav", "blackhoolg11.bmp", 1}, {nullptr, "blackhoulg01.bmp", 0}}},
        {nullptr, {{"status3.wav", "blackhoulg03.bmp", 0}}},
    },
};

const Sequence kOnibaku = {
    {
        {nullptr, "Image204.jpg", 2},
        {nullptr, "Image2060.jpg", 1},
        {"status2.wav", "onibakuu0.JPG", 1},
        {"status2.wav", "kibaku00.bmp", 1},
        {"status2.wav", "onibakuu.JPG", 1},
        {"status2.wav", "Image206_1.jpg", 2},
        {"status2.wav", "Image206_2.jpg", 2},
    },
    {
        {between_3_4_and_3_9, {{"status4.wav", "newseiunPIRU7.bmp", 0}}},
        {nullptr, {{"status4.wav", "newseiunPIRU1.bmp", 0}}},
    },
};

const Sequence kNewNebula = {
    {
        {nullptr, "Image204.jpg", 2},
        {nullptr, "Image2060.jpg", 2},
        {"status1.wav", "onibakuu0.JPG", 2},
        {"status1.wav", "kibaku00.bmp", 2},
        {"status1.wav", "newseiunPIRU1.bmp", 2},
        {"status1.wav", "newseiunPIRU2.bmp", 2},
        {"status1.wav", "newseiunPIRU3.bmp", 2},
    },
    {
        {between_3_4_and_3_9, {{"status5.wav", "newseiunPIRU7.bmp", 0}}},
        {nullptr, {{"status5.wav", "newseiunPIRU6.bmp", 0}}},
    },
};

// Which onibaku sequence plays, by the two favourites' odds; the first row
// that applies wins, the last applies always.
struct SequenceChoice {
  bool (*when)(float o1, float o2);
  const Sequence* sequence;
};
const SequenceChoice kOnibakuChoice[] = {
    {[](float o1, float o2) { return 1.1f < o1 && o1 <= 1.9f && o2 <= 3.8f; }, &kMakaiBlackHole},
    {[](float o1, float o2) { return 1.1f < o1 && o1 <= 1.9f && o2 > 3.8f; }, &kOnibaku},
    {[](float, float) { return true; }, &kNewNebula},
};

}  // namespace

namespace {

// One for each of yosou_num 1..4 that equals one of the lucky values 6..8.
int lucky_matches(const SharedState& s) {
  int matches = 0;
  for (int k = 1; k <= 4; ++k) {
    const QString& slot = s.yosou_num[k];
    if (slot == s.yosou_num[6] || slot == s.yosou_num[7] || slot == s.yosou_num[8]) ++matches;
  }
  return matches;
}

}  // namespace

void count_chance_level(MainWindow& m, std::span<const float> thresholds) {
  int level = lucky_matches(m.s);
  // The commands make sure the odds are a number before they count.
  if (const auto o1 = m.odds(1))
    for (float t : thresholds) level += *o1 <= t;
  m.s.chance_level = static_cast<std::int16_t>(level);
}

void count_makai_chance_level(MainWindow& m) {
  int level = lucky_matches(m.s);
  if (const auto o1 = m.odds(1)) {
    for (const EscalationRow& row : kMakaiEscalation) {
      if (!passes(row, *o1)) continue;
      ++level;
      m.play_se(QString::fromUtf8(kMakaiEscalationSound));
      m.load_gf_background(QString::fromUtf8(row.picture));
    }
  }
  m.s.chance_level = static_cast<std::int16_t>(level);
}

void show_exacta_chance(MainWindow& m, int level) {
  const EffectRow& row = row_for_level(kExactaChance, kExactaChanceBeyond, level);
  m.set_result_line(2, QString::fromUtf8(row.caption));
  if (row.sound) m.play_se(QString::fromUtf8(row.sound));
  m.load_gf_picture(form1::Image2, QString::fromUtf8(row.picture));
}

void show_background(MainWindow& m, int level, bool level0_caption) {
  const EffectRow& row = row_for_level(kBackgrounds, kBackgroundBeyond, level);
  m.set_result_line(2, level == 0 && !level0_caption ? QString() : QString::fromUtf8(row.caption));
  if (row.sound) m.play_se(QString::fromUtf8(row.sound));
  m.load_gf_picture(form1::Image4, QString::fromUtf8(row.picture));
}

namespace {

// The first picture that STEPS from FROM on show, or nullptr.
const char* next_picture(const Steps& steps, std::size_t from) {
  for (std::size_t i = from; i < steps.size(); ++i)
    if (steps[i].picture) return steps[i].picture;
  return nullptr;
}

// Plays STEPS. Before each pause the platform hears of the picture that comes
// after it (AFTERWARDS once the steps have none left), so that it is ready
// when its time comes.
void play_steps(MainWindow& app, const Steps& steps, const char* afterwards = nullptr) {
  for (std::size_t i = 0; i < steps.size(); ++i) {
    const StagingStep& step = steps[i];
    if (step.sound) app.play_se(QString::fromUtf8(step.sound));
    if (step.picture) app.load_gf_background(QString::fromUtf8(step.picture));
    if (step.pause <= 0) continue;
    const char* coming = next_picture(steps, i + 1);
    if (!coming) coming = afterwards;
    if (coming) app.gf_background_ahead(QString::fromUtf8(coming));
    app.WaitTimer(step.pause);
  }
}

// The ending of SEQUENCE for the 2nd favourite's odds O2, or nullptr.
const Ending* ending_for(const Sequence& sequence, std::optional<float> o2) {
  for (const Ending& ending : sequence.endings)
    if (!ending.when || (o2 && ending.when(*o2))) return &ending;
  return nullptr;
}

// The onibaku sequence the odds typed in choose. Odds that are no number (the
// command checks them first) choose the one that applies in every other case.
const Sequence& onibaku_sequence(const MainWindow& m) {
  if (const auto o1 = m.odds(1), o2 = m.odds(2); o1 && o2) {
    for (const auto& choice : kOnibakuChoice)
      if (choice.when(*o1, *o2)) return *choice.sequence;
  }
  return kNewNebula;
}

// The window picture the makai escalation ends on for the first favourite's
// odds, or nullptr when it passes no threshold.
const char* makai_escalation_picture(const MainWindow& m) {
  const char* last = nullptr;
  if (const auto o1 = m.odds(1))
    for (const EscalationRow& row : kMakaiEscalation)
      if (passes(row, *o1)) last = row.picture;
  return last;
}

}  // namespace

void play_makai_staging(MainWindow& m) { play_steps(m, kMakaiStaging); }

void makai_escalation_ahead(MainWindow& m) {
  if (const char* picture = makai_escalation_picture(m)) m.gf_background_ahead(QString::fromUtf8(picture));
}

QStringList makai_opening_pictures(const MainWindow&) {
  return {QString::fromUtf8(next_picture(kMakaiStaging, 0))};
}

QStringList onibaku_opening_pictures(const MainWindow& m) {
  return {QString::fromUtf8(next_picture(onibaku_sequence(m).body, 0))};
}

void play_onibaku_staging(MainWindow& m) {
  const Sequence* sequence = &onibaku_sequence(m);
  // The ending the odds choose now is the one got ready during the last pause.
  const Ending* likely = ending_for(*sequence, m.odds(2));
  play_steps(m, sequence->body, likely ? next_picture(likely->steps, 0) : nullptr);
  // The 2nd favourite's odds are read again now: the user may have changed
  // them during the pauses.
  if (const Ending* ending = ending_for(*sequence, m.odds(2))) play_steps(m, ending->steps);
}

}  // namespace quilo
