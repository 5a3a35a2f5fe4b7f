// The tunes rendered offline as the sound module plays them: the soundfont,
// rate and gain of the program's synthesiser, 16-bit stereo out.
#pragma once

#include <QByteArray>

#include <cstdint>
#include <vector>

namespace quilo::test {

// The soundfont the sound module would choose: the first one present; empty
// when none is.
QByteArray program_soundfont();

struct Rendered {
  std::vector<std::int16_t> samples;  // interleaved left and right
  int most_voices = -1;               // the most voices sounding at once; -1: nothing rendered
};

// Plays TUNE to its end (three minutes at most) on a synthesiser with room for
// POLYPHONY voices; nothing when there is no soundfont.
Rendered render_tune(const QByteArray& tune, int polyphony);

}  // namespace quilo::test
