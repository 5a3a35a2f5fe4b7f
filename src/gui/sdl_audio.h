// Music and sound effects through SDL2_mixer: one music channel (MIDI through
// FluidSynth and a General MIDI soundfont) and one effect channel, so that a
// new effect cuts off the one still playing.
#pragma once

#include <QHash>
#include <QString>

struct Mix_Chunk;
typedef struct _Mix_Music Mix_Music;

namespace quilo {

class SdlAudio {
 public:
  SdlAudio(QString se_folder, QString midi_folder);
  ~SdlAudio();
  SdlAudio(const SdlAudio&) = delete;
  SdlAudio& operator=(const SdlAudio&) = delete;

  bool ready() const { return ready_; }
  void play_effect(const QString& file);
  void play_music(const QString& file);
  void stop_music();
  bool music_playing() const;

 private:
  Mix_Chunk* chunk(const QString& file);

  QString se_folder_, midi_folder_;
  bool ready_ = false;
  QHash<QString, Mix_Chunk*> chunks_;
  Mix_Chunk* default_sound_ = nullptr;
  Mix_Music* music_ = nullptr;
};

}  // namespace quilo
