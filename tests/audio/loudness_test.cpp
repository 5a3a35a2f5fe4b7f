// The music and the sound effects sound at one loudness: the tunes rendered
// offline as the sound module plays them, the effects as their files hold
// them. Loudness is the RMS of the 50 ms windows that sound (above -60 dBFS);
// no sample may reach full scale, the peaks stay at or below -1 dBFS.
#include "audio/synth_settings.h"
#include "offline_synth.h"
#include "sound_level.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QtEndian>

#include <algorithm>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

using namespace quilo;
using namespace quilo::test;

namespace {

// The samples of a 16-bit PCM WAV file and its channels and rate.
struct Wav {
  std::vector<std::int16_t> samples;
  int channels = 0, rate = 0;
};

Wav read_wav(const QString& path) {
  QFile f(path);
  Wav wav;
  if (!f.open(QIODevice::ReadOnly)) return wav;
  const QByteArray bytes = f.readAll();
  for (qsizetype at = 12; at + 8 <= bytes.size();) {
    const QByteArray id = bytes.mid(at, 4);
    const auto size = qsizetype(qFromLittleEndian<quint32>(bytes.constData() + at + 4));
    const char* body = bytes.constData() + at + 8;
    if (id == "fmt " && size >= 16) {
      wav.channels = qFromLittleEndian<quint16>(body + 2);
      wav.rate = int(qFromLittleEndian<quint32>(body + 4));
    } else if (id == "data") {
      const qsizetype n = std::min(size, bytes.size() - at - 8) / 2;
      for (qsizetype i = 0; i < n; ++i) wav.samples.push_back(qFromLittleEndian<qint16>(body + 2 * i));
    }
    at += 8 + size + (size & 1);
  }
  return wav;
}

void expect_level(const std::string& name, const SoundLevel& l) {
  const std::string figures = describe_level(name, l);
  std::printf("%s\n", figures.c_str());
  EXPECT_GE(l.rms_db, kQuietestRms) << figures;
  EXPECT_LE(l.rms_db, kLoudestRms) << figures;
  EXPECT_LE(l.peak_db, kHighestPeak) << figures;
  EXPECT_EQ(l.clipped, 0) << figures;
}

}  // namespace

TEST(Loudness, TunesAtTheProgramsLevel) {
  if (program_soundfont().isEmpty()) GTEST_SKIP() << "no General MIDI soundfont installed";
  for (const char* name : {"nakipop.mid", "nakipops.mid"}) {
    const Rendered r = render_tune(QByteArray(QUILO_MEDIA_DIR) + "/music/midi/" + name, 1024);
    ASSERT_FALSE(r.samples.empty()) << name;
    const SoundLevel l = measure_level(r.samples, 2, kMusicRate);
    expect_level(name, l);
    // Not dull: the cymbals, the attacks and the bright leads come through.
    EXPECT_GE(l.high_db, -22) << describe_level(name, l);
  }
}

TEST(Loudness, EffectsAtTheLevelOfTheMusic) {
  const QDir se(QStringLiteral(QUILO_MEDIA_DIR "/se"));
  const QStringList effects = se.entryList({QStringLiteral("*.wav")}, QDir::Files);
  ASSERT_EQ(effects.size(), 12);
  for (const QString& effect : effects) {
    const Wav wav = read_wav(se.filePath(effect));
    ASSERT_FALSE(wav.samples.empty()) << effect.toStdString();
    expect_level(effect.toStdString(), measure_level(wav.samples, wav.channels, wav.rate));
  }
}
