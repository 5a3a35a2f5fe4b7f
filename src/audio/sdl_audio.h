// Music and sound effects through SDL2_mixer: one effect channel, so that a
// new effect cuts off the one still playing, and the music stream, which
// FluidSynth renders from MIDI with a General MIDI soundfont. The synthesiser
// and its soundfont are made once and serve every piece. Built into the audio
// module.
#pragma once

#include "media/audio_output.h"

#include <QHash>
#include <QString>

#include <cstdint>
#include <mutex>

#include <fluidsynth/types.h>

struct Mix_Chunk;

namespace quilo {

class SdlAudio : public AudioOutput {
 public:
  SdlAudio(QString se_folder, QString midi_folder);
  ~SdlAudio() override;
  SdlAudio(const SdlAudio&) = delete;
  SdlAudio& operator=(const SdlAudio&) = delete;

  // Whether the device opened; the reason it did not otherwise. Only an opened
  // one leaves the module's entry point.
  bool ready() const { return ready_; }
  const QString& error() const { return error_; }

  void play_effect(const QString& file) override;
  void play_music(const QString& file) override;
  void stop_music() override;
  bool music_playing() const override;

 private:
  Mix_Chunk* chunk(const QString& file);
  void open_synth();
  // SDL_mixer's music hook, on the audio thread.
  static void render(void* self, std::uint8_t* stream, int bytes);

  QString se_folder_, midi_folder_;
  bool ready_ = false;
  QString error_;
  QHash<QString, Mix_Chunk*> chunks_;
  Mix_Chunk* default_sound_ = nullptr;
  // The music: guarded by mutex_ against the audio thread.
  mutable std::mutex mutex_;
  fluid_settings_t* settings_ = nullptr;
  fluid_synth_t* synth_ = nullptr;
  fluid_player_t* player_ = nullptr;  // the open piece, until stop_music()
  bool sounding_ = false;             // the synthesiser may still be heard
};

}  // namespace quilo
