// The music and the sound effects sound at one loudness: the tunes as the
// generator rendered them (the files the sound module plays), the effects as
// their files hold them. Loudness is the RMS of the 50 ms windows that sound (above -60 dBFS);
// no sample may reach full scale, the peaks stay at or below -1 dBFS.
#include "audio/synth_settings.h"
#include "sound_level.h"
#include "test_support.h"

#include <gtest/gtest.h>
#include <vorbis/vorbisfile.h>

#include <QDir>
#include <QFile>
#include <QtEndian>

#include <algorithm>
#include <cstdint>
#include <cstring>
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

// The 16-bit samples of an Ogg Vorbis file, decoded as SDL2_mixer decodes it
// (libvorbisfile), and its channels and rate.
Wav read_vorbis(const QString& path) {
  Wav wav;
  OggVorbis_File file;
  if (ov_fopen(QFile::encodeName(path).constData(), &file) != 0) return wav;
  const vorbis_info* info = ov_info(&file, -1);
  wav.channels = info->channels;
  wav.rate = int(info->rate);
  char buffer[8192];
  int section = 0;
  for (long n; (n = ov_read(&file, buffer, sizeof buffer, 0, 2, 1, &section)) > 0;) {
    const size_t at = wav.samples.size();
    wav.samples.resize(at + size_t(n) / 2);
    std::memcpy(wav.samples.data() + at, buffer, size_t(n / 2 * 2));
  }
  ov_clear(&file);
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
  for (const char* name : {"nakipop.mid", "nakipops.mid"}) {
    const Wav tune = read_vorbis(QStringLiteral(QUILO_MEDIA_DIR "/music/") + rendered_tune(name));
    ASSERT_FALSE(tune.samples.empty()) << name;
    ASSERT_EQ(tune.channels, 2) << name;
    ASSERT_EQ(tune.rate, kMusicRate) << name;
    const SoundLevel l = measure_level(tune.samples, 2, kMusicRate);
    expect_level(rendered_tune(name).toStdString(), l);
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
