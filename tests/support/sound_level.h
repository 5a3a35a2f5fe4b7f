// The loudness of 16-bit sound: the RMS of its 50 ms windows that sound, its
// peak, its share of power above 4 kHz and its samples at full scale, for the
// tests that check the program's music and effects sound at one level.
#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace quilo::test {

struct SoundLevel {
  double rms_db = -200;   // RMS of the sounding windows (above -60 dBFS), dBFS
  double peak_db = -200;  // the largest sample, dBFS
  double high_db = -200;  // the share of the power above 4 kHz, dB
  int clipped = 0;        // samples at full scale
};

// Levels of SAMPLES, CHANNELS interleaved, at RATE.
SoundLevel measure_level(std::span<const std::int16_t> samples, int channels, int rate);
// "NAME: RMS … dBFS, peak … dBFS, above 4 kHz … dB, N samples at full scale".
std::string describe_level(const std::string& name, const SoundLevel& level);

// One loudness for everything the program sounds.
inline constexpr double kQuietestRms = -23, kLoudestRms = -17, kHighestPeak = -1;

}  // namespace quilo::test
