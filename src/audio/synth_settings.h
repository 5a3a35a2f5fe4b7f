// How the music synthesiser is set up: its sample rate and how many voices it
// sounds at once. The tunes are made to stay well below the voices (a note
// beyond them would cut another one off); each voice costs memory.
#pragma once

namespace quilo {

inline constexpr int kMusicVoices = 96;
inline constexpr int kMusicRate = 22050;

}  // namespace quilo
