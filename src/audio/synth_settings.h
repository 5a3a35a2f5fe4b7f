// How the music synthesiser is set up: its sample rate, its gain, how many
// voices it sounds at once and the soundfonts it looks for. The tunes are made to stay well below the voices
// (a note beyond them would cut another one off); each voice costs memory.
// The gain brings the tunes to about -20 dBFS RMS, the effects' loudness,
// with their peaks below -1 dBFS; it costs no processor time.
#pragma once

namespace quilo {

inline constexpr int kMusicVoices = 96;
inline constexpr int kMusicRate = 22050;
inline constexpr double kMusicGain = 0.6;
// Soundfonts that Debian's General MIDI packages install, the first one
// present is used (unless SDL_SOUNDFONTS names another).
inline constexpr const char* kSoundfonts[] = {
    "/usr/share/sounds/sf2/TimGM6mb.sf2",
    "/usr/share/sounds/sf2/default-GM.sf2",
    "/usr/share/sounds/sf2/FluidR3_GM.sf2",
};

}  // namespace quilo
