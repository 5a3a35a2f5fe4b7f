// The General MIDI soundfonts the system's packages install, which the media
// generator renders the tunes with at build time (the program itself reads
// none: it plays the rendered files).
#pragma once

#include <QStringList>

namespace quilo::platform {

// Their files, the one to use first first; present or not.
QStringList general_midi_soundfonts();

}  // namespace quilo::platform
