// The music and the sound effects sound at one loudness: the tunes rendered
// offline as the sound module plays them, the effects as their files hold
// them. Loudness is the RMS of the 50 ms windows that sound (above -60 dBFS);
// no sample may reach full scale, the peaks stay at or below -1 dBFS.
#include "audio/synth_settings.h"
#include "offline_synth.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QtEndian>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <span>
#include <sstream>
#include <string>
#include <vector>

using namespace quilo;
using namespace quilo::test;

namespace {

struct Level {
  double rms_db = -200;   // RMS of the sounding windows, dBFS
  double peak_db = -200;  // the largest sample, dBFS
  double high_db = -200;  // the share of the power above 4 kHz, dB
  int clipped = 0;        // samples at full scale
};

double db(double power_or_amplitude, double factor) {
  return power_or_amplitude > 0 ? factor * std::log10(power_or_amplitude) : -200;
}

// Levels of SAMPLES, CHANNELS interleaved, at RATE.
Level measure(std::span<const std::int16_t> samples, int channels, int rate) {
  Level level;
  const size_t window = size_t(rate / 20) * size_t(channels);
  double sounding = 0, total = 0, high = 0;
  size_t sounding_count = 0;
  // A second-order high-pass at 4 kHz (bilinear transform), one state per channel.
  const double w = 2 * M_PI * 4000.0 / rate, alpha = std::sin(w) / (2 * M_SQRT1_2), c = std::cos(w);
  const double a0 = 1 + alpha, b0 = (1 + c) / 2 / a0, b1 = -(1 + c) / a0, a1 = -2 * c / a0,
               a2 = (1 - alpha) / a0;
  std::vector<double> x1(channels), x2(channels), y1(channels), y2(channels);
  int peak = 0;
  for (size_t start = 0; start + window <= samples.size(); start += window) {
    double power = 0;
    for (size_t i = start; i < start + window; ++i) {
      const double x = samples[i] / 32768.0;
      power += x * x;
      const int ch = int(i % size_t(channels));
      const double y = b0 * x + b1 * x1[ch] + b0 * x2[ch] - a1 * y1[ch] - a2 * y2[ch];
      x2[ch] = x1[ch], x1[ch] = x, y2[ch] = y1[ch], y1[ch] = y;
      high += y * y;
      peak = std::max(peak, std::abs(int(samples[i])));
      level.clipped += samples[i] >= 32767 || samples[i] <= -32767;
    }
    total += power;
    if (power / double(window) > 1e-6) {
      sounding += power;
      sounding_count += window;
    }
  }
  if (sounding_count) level.rms_db = db(sounding / double(sounding_count), 10);
  level.peak_db = db(peak / 32768.0, 20);
  if (total > 0) level.high_db = db(high / total, 10);
  return level;
}

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

std::string describe(const std::string& name, const Level& l) {
  std::ostringstream out;
  out.precision(1);
  out << std::fixed << name << ": RMS " << l.rms_db << " dBFS, peak " << l.peak_db << " dBFS, above 4 kHz "
      << l.high_db << " dB, " << l.clipped << " samples at full scale";
  return out.str();
}

// One loudness for everything the program sounds.
constexpr double kQuietest = -23, kLoudest = -17, kHighestPeak = -1;

void expect_level(const std::string& name, const Level& l) {
  const std::string figures = describe(name, l);
  std::printf("%s\n", figures.c_str());
  EXPECT_GE(l.rms_db, kQuietest) << figures;
  EXPECT_LE(l.rms_db, kLoudest) << figures;
  EXPECT_LE(l.peak_db, kHighestPeak) << figures;
  EXPECT_EQ(l.clipped, 0) << figures;
}

}  // namespace

TEST(Loudness, TunesAtTheProgramsLevel) {
  if (!QFile::exists(kSoundfont)) GTEST_SKIP() << "no soundfont " << kSoundfont;
  for (const char* name : {"nakipop.mid", "nakipops.mid"}) {
    const Rendered r = render_tune(QByteArray(QUILO_MEDIA_DIR) + "/music/midi/" + name, 1024);
    ASSERT_FALSE(r.samples.empty()) << name;
    const Level l = measure(r.samples, 2, kMusicRate);
    expect_level(name, l);
    // Not dull: the cymbals, the attacks and the bright leads come through.
    EXPECT_GE(l.high_db, -22) << describe(name, l);
  }
}

TEST(Loudness, EffectsAtTheLevelOfTheMusic) {
  const QDir se(QStringLiteral(QUILO_MEDIA_DIR "/se"));
  const QStringList effects = se.entryList({QStringLiteral("*.wav")}, QDir::Files);
  ASSERT_EQ(effects.size(), 12);
  for (const QString& effect : effects) {
    const Wav wav = read_wav(se.filePath(effect));
    ASSERT_FALSE(wav.samples.empty()) << effect.toStdString();
    expect_level(effect.toStdString(), measure(wav.samples, wav.channels, wav.rate));
  }
}
