// Each tune needs fewer voices at once than the synthesiser the generator
// renders it with has: a note beyond them would cut off another one. The tunes
// are rendered as the generator renders them, but with room for far more
// voices, and their busiest moment is compared with that limit.
#include "audio/synth_settings.h"
#include "test_support.h"
#include "tune_render.h"

#include <gtest/gtest.h>

#include <QFile>

using namespace quilo;

TEST(Music, TunesFitTheSynthesiser) {
  for (const char* name : {"nakipop.mid", "nakipops.mid"}) {
    QFile tune(QStringLiteral(QUILO_MEDIA_DIR "/music/midi/") + QLatin1String(name));
    ASSERT_TRUE(tune.open(QIODevice::ReadOnly)) << name;
    const RenderedTune rendered = renderTune(tune.readAll(), 1024);
    ASSERT_FALSE(rendered.samples.empty()) << name << ": no soundfont";
    EXPECT_GT(rendered.mostVoices, 0) << name << " sounds no note";
    // A margin for the effects of timing on release tails.
    EXPECT_LE(rendered.mostVoices, kMusicVoices * 7 / 8) << name;
  }
}
