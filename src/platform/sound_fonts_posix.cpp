// The soundfonts of Debian's packages (timgm6mb-soundfont, fluid-soundfont-gm
// and the default link between them).
#include "platform/sound_fonts.h"

namespace quilo::platform {

QStringList general_midi_soundfonts() {
  return {
      QStringLiteral("/usr/share/sounds/sf2/TimGM6mb.sf2"),
      QStringLiteral("/usr/share/sounds/sf2/default-GM.sf2"),
      QStringLiteral("/usr/share/sounds/sf2/FluidR3_GM.sf2"),
  };
}

}  // namespace quilo::platform
