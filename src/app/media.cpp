// Music, sound effects, pictures and the pause, as the commands use them.
#include "app/app.h"

namespace quilo {

void App::play_midi(const QString& file) { platform_.midi_open(file); }

void App::close_midi() { platform_.midi_close(); }

void App::play_se(const QString& file) { platform_.play_se(file); }

void App::load_gf_picture(ControlName target, const QString& file) {
  form1[target].picture = file;
  platform_.picture_loaded(form1.name(), target.text(), file);
}

void App::load_gf_background(const QString& file) {
  form1.background = file;
  platform_.picture_loaded(form1.name(), QStringLiteral("background"), file);
}

void App::WaitTimer(float seconds) {
  if (!form1.open) throw RunAborted{};
  if (skipping_)
    platform_.skip_pause(seconds);
  else
    platform_.pause(seconds);
  if (!form1.open) throw RunAborted{};
}

}  // namespace quilo
