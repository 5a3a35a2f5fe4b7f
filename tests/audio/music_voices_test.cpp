// Each tune needs fewer voices at once than the program's synthesiser has: a
// note beyond them would cut off another one. The tunes are rendered offline
// with the soundfont and rate the program uses, and their busiest moment is
// compared with that limit.
#include "audio/synth_settings.h"
#include "offline_synth.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <QFile>

using namespace quilo;
using namespace quilo::test;

TEST(Music, TunesFitTheSynthesiser) {
  if (program_soundfont().isEmpty()) GTEST_SKIP() << "no General MIDI soundfont installed";
  for (const char* name : {"nakipop.mid", "nakipops.mid"}) {
    const QByteArray tune = QByteArray(QUILO_MEDIA_DIR) + "/music/midi/" + name;
    ASSERT_TRUE(QFile::exists(QString::fromUtf8(tune))) << name;
    // A synthesiser with room for far more voices than the program has.
    const int most = render_tune(tune, 1024).most_voices;
    EXPECT_GT(most, 0) << name << " sounds no note";
    // A margin for the effects of timing on release tails.
    EXPECT_LE(most, kMusicVoices * 7 / 8) << name;
  }
}
