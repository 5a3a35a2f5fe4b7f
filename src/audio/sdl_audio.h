// Music and sound effects through SDL2_mixer: one effect channel, so that a
// new effect cuts off the one still playing, and the music stream, which plays
// a tune's file as the media generator rendered it from its MIDI source (Ogg
// Vorbis, decoded as it plays). No synthesiser runs in the program. Built into
// the audio module.
#pragma once

#include "media/audio_output.h"

#include <QHash>
#include <QString>

struct Mix_Chunk;
typedef struct _Mix_Music Mix_Music;

namespace quilo {

class SdlAudio : public AudioOutput {
 public:
  SdlAudio(QString se_folder, QString music_folder);
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

  QString se_folder_, music_folder_;
  bool ready_ = false;
  QString error_;
  QHash<QString, Mix_Chunk*> chunks_;
  Mix_Chunk* default_sound_ = nullptr;
  Mix_Music* music_ = nullptr;  // the open piece, until stop_music()
};

}  // namespace quilo
