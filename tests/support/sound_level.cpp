// Measuring the loudness of 16-bit sound.
#include "sound_level.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <sstream>
#include <vector>

namespace quilo::test {
namespace {

double db(double power_or_amplitude, double factor) {
  return power_or_amplitude > 0 ? factor * std::log10(power_or_amplitude) : -200;
}

}  // namespace

SoundLevel measure_level(std::span<const std::int16_t> samples, int channels, int rate) {
  SoundLevel level;
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

std::string describe_level(const std::string& name, const SoundLevel& l) {
  std::ostringstream out;
  out.precision(1);
  out << std::fixed << name << ": RMS " << l.rms_db << " dBFS, peak " << l.peak_db << " dBFS, above 4 kHz "
      << l.high_db << " dB, " << l.clipped << " samples at full scale";
  return out.str();
}

}  // namespace quilo::test
