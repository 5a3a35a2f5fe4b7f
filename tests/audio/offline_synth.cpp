// Offline rendering of a tune with the program's synthesiser settings.
#include "offline_synth.h"

#include "audio/synth_settings.h"

#include <QFile>

#include <fluidsynth.h>

#include <algorithm>

namespace quilo::test {

QByteArray program_soundfont() {
  for (const char* sf : kSoundfonts)
    if (QFile::exists(QFile::decodeName(sf))) return sf;
  return {};
}

Rendered render_tune(const QByteArray& tune, int polyphony) {
  fluid_set_log_function(FLUID_WARN, nullptr, nullptr);
  fluid_settings_t* settings = new_fluid_settings();
  fluid_settings_setnum(settings, "synth.sample-rate", kMusicRate);
  fluid_settings_setnum(settings, "synth.gain", kMusicGain);
  fluid_settings_setint(settings, "synth.polyphony", polyphony);
  fluid_synth_t* synth = new_fluid_synth(settings);
  Rendered out;
  const QByteArray soundfont = program_soundfont();
  if (!soundfont.isEmpty() && fluid_synth_sfload(synth, soundfont.constData(), 1) != FLUID_FAILED) {
    fluid_player_t* player = new_fluid_player(synth);
    fluid_player_add(player, tune.constData());
    fluid_player_play(player);
    out.most_voices = 0;
    constexpr int kBlock = 1024;
    const int limit = kMusicRate * 180 / kBlock;
    for (int i = 0; i < limit && fluid_player_get_status(player) == FLUID_PLAYER_PLAYING; ++i) {
      const size_t at = out.samples.size();
      out.samples.resize(at + 2 * kBlock);
      std::int16_t* block = out.samples.data() + at;
      fluid_synth_write_s16(synth, kBlock, block, 0, 2, block, 1, 2);
      out.most_voices = std::max(out.most_voices, fluid_synth_get_active_voice_count(synth));
    }
    delete_fluid_player(player);
  }
  delete_fluid_synth(synth);
  delete_fluid_settings(settings);
  return out;
}

}  // namespace quilo::test
