// The program's sound: one music channel and one effect channel. The SDL2_mixer
// implementation lives in a module of its own (quilo_audio, quilo_audio.so on
// Linux, beside the program), loaded after the main window is first shown, so
// that the sound libraries cost the start-up nothing. Music is asked for by
// its MIDI name; the module plays the file rendered from it.
#pragma once

#include <QString>

namespace quilo {

class AudioOutput {
 public:
  virtual ~AudioOutput() = default;
  virtual void play_effect(const QString& file) = 0;
  // A piece that is still open is not replaced.
  virtual void play_music(const QString& file) = 0;
  virtual void stop_music() = 0;
  virtual bool music_playing() const = 0;
};

// The module's one entry point: an opened audio output, or nullptr with the
// reason in *error.
using CreateAudioOutput = AudioOutput* (*)(const QString& se_folder, const QString& music_folder,
                                           QString* error);
inline constexpr char kCreateAudioOutput[] = "quilo_create_audio_output";

}  // namespace quilo
