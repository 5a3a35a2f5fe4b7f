// Renders a General MIDI tune once, offline, through FluidSynth with the
// system's soundfont (platform/sound_fonts.h) and the settings of
// audio/synth_settings.h, and encodes the sound as Ogg Vorbis: the file the
// program plays, so that no synthesiser runs in it.
#pragma once

#include "audio/synth_settings.h"

#include <QByteArray>

#include <vector>

namespace quilo {

struct RenderedTune {
  std::vector<float> samples;  // interleaved stereo, full scale 1.0, at kMusicRate
  int mostVoices = 0;          // the most voices sounding at once
};

// The tune from its start until its last note has faded, on a synthesiser with
// room for POLYPHONY voices; no samples (with a message on standard error) when
// no soundfont can be read.
RenderedTune renderTune(const QByteArray& midi, int polyphony = kMusicVoices);

// Interleaved stereo samples as an Ogg Vorbis file at kMusicRate and
// kMusicQuality; the same samples give the same bytes.
QByteArray encodeVorbis(const std::vector<float>& samples);

}  // namespace quilo
