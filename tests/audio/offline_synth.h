// The tunes rendered offline as the sound module plays them: the soundfont,
// rate and gain of the program's synthesiser, 16-bit stereo out.
#pragma once

#include <QByteArray>

#include <cstdint>
#include <vector>

namespace quilo::test {

inline constexpr const char* kSoundfont = "/usr/share/sounds/sf2/TimGM6mb.sf2";

struct Rendered {
  std::vector<std::int16_t> samples;  // interleaved left and right
  int most_voices = -1;               // the most voices sounding at once; -1: nothing rendered
};

// Plays TUNE to its end (three minutes at most) on a synthesiser with room for
// POLYPHONY voices.
Rendered render_tune(const QByteArray& tune, int polyphony);

}  // namespace quilo::test
