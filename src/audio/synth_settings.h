// How the tunes are made from their MIDI files: the media generator renders
// each one once, at build time, through FluidSynth with these settings (and
// the system's soundfont, platform/sound_fonts.h) and encodes it as Ogg
// Vorbis; the sound module plays the rendered file at the same rate. The tunes are made to stay well below
// the voices (a note beyond them would cut another one off). The gain brings the tunes to about -20 dBFS RMS,
// the effects' loudness, with their peaks below -1 dBFS.
#pragma once

#include <QString>

namespace quilo {

inline constexpr int kMusicVoices = 96;
inline constexpr int kMusicRate = 22050;
inline constexpr double kMusicGain = 0.6;
// Ogg Vorbis quality (-0.1 .. 1): about 48 kbit/s for stereo at this rate.
inline constexpr float kMusicQuality = 0.2f;

// The rendered file of a tune, in the music folder: "nakipop.mid" -> "nakipop.ogg".
inline QString rendered_tune(const QString& midi_file) {
  const qsizetype dot = midi_file.lastIndexOf(QLatin1Char('.'));
  return (dot < 0 ? midi_file : midi_file.left(dot)) + QStringLiteral(".ogg");
}

}  // namespace quilo
