// Each tune needs fewer voices at once than the program's synthesiser has: a
// note beyond them would cut off another one. The tunes are rendered offline
// with the soundfont and rate the program uses, and their busiest moment is
// compared with that limit.
#include "audio/synth_settings.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <QFile>

#include <fluidsynth.h>

#include <algorithm>

using namespace quilo;

namespace {

constexpr const char* kSoundfont = "/usr/share/sounds/sf2/TimGM6mb.sf2";

// The most voices sounding at once while TUNE plays, on a synthesiser with
// room for far more.
int busiest(const QByteArray& tune) {
  fluid_set_log_function(FLUID_WARN, nullptr, nullptr);
  fluid_settings_t* settings = new_fluid_settings();
  fluid_settings_setnum(settings, "synth.sample-rate", kMusicRate);
  fluid_settings_setint(settings, "synth.polyphony", 1024);
  fluid_synth_t* synth = new_fluid_synth(settings);
  int most = -1;
  if (fluid_synth_sfload(synth, kSoundfont, 1) != FLUID_FAILED) {
    fluid_player_t* player = new_fluid_player(synth);
    fluid_player_add(player, tune.constData());
    fluid_player_play(player);
    most = 0;
    std::int16_t buffer[2 * 1024];
    const int limit = kMusicRate * 180 / 1024;  // no tune is longer than three minutes
    for (int i = 0; i < limit && fluid_player_get_status(player) == FLUID_PLAYER_PLAYING; ++i) {
      fluid_synth_write_s16(synth, 1024, buffer, 0, 2, buffer, 1, 2);
      most = std::max(most, fluid_synth_get_active_voice_count(synth));
    }
    delete_fluid_player(player);
  }
  delete_fluid_synth(synth);
  delete_fluid_settings(settings);
  return most;
}

}  // namespace

TEST(Music, TunesFitTheSynthesiser) {
  if (!QFile::exists(kSoundfont)) GTEST_SKIP() << "no soundfont " << kSoundfont;
  for (const char* name : {"nakipop.mid", "nakipops.mid"}) {
    const QByteArray tune = QByteArray(QUILO_MEDIA_DIR) + "/music/midi/" + name;
    ASSERT_TRUE(QFile::exists(QString::fromUtf8(tune))) << name;
    const int most = busiest(tune);
    EXPECT_GT(most, 0) << name << " sounds no note";
    // A margin for the effects of timing on release tails.
    EXPECT_LE(most, kMusicVoices * 7 / 8) << name;
  }
}
