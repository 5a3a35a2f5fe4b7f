// How the music synthesiser is set up: its sample rate, its gain and how many
// voices it sounds at once. The tunes are made to stay well below the voices
// (a note beyond them would cut another one off); each voice costs memory.
// The gain brings the tunes to about -20 dBFS RMS, the effects' loudness,
// with their peaks below -1 dBFS; it costs no processor time.
#pragma once

namespace quilo {

inline constexpr int kMusicVoices = 96;
inline constexpr int kMusicRate = 22050;
inline constexpr double kMusicGain = 0.6;

}  // namespace quilo
