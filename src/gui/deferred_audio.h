// The desktop program's sound, opened late: the audio module is loaded and the
// device opened only when open() is called (after the main window is first
// shown). Music and effects asked for before then start when it opens.
#pragma once

#include "media/audio_output.h"

#include <QString>

#include <memory>

class QLibrary;

namespace quilo {

class DeferredAudio {
 public:
  // program_folder holds the module; se/ and music/ (the rendered tunes) are
  // in the media folder found from it (see app/install_layout.h).
  explicit DeferredAudio(QString program_folder);
  ~DeferredAudio();
  DeferredAudio(const DeferredAudio&) = delete;
  DeferredAudio& operator=(const DeferredAudio&) = delete;

  // Loads the module and opens the device, once; without them the program
  // goes on silent (the reason is written to standard error).
  void open();
  bool ready() const { return output_ != nullptr; }

  void play_effect(const QString& file);
  void play_music(const QString& file);
  void stop_music();
  bool music_playing() const;

 private:
  QString folder_;
  bool tried_ = false;
  std::unique_ptr<QLibrary> library_;
  std::unique_ptr<AudioOutput> output_;
  QString pending_music_, pending_effect_;
};

}  // namespace quilo
