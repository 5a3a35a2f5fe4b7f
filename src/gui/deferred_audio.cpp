#include "gui/deferred_audio.h"

#include "files/install_layout.h"
#include "platform/modules.h"

#include <QLibrary>

#include <cstdio>

namespace quilo {

DeferredAudio::DeferredAudio(QString program_folder) : folder_(std::move(program_folder)) {}

// Here, where QLibrary is complete. The output goes before the library (members
// end in reverse order), and QLibrary never unloads the module anyway.
DeferredAudio::~DeferredAudio() = default;

void DeferredAudio::open() {
  if (tried_) return;
  tried_ = true;
  library_ = std::make_unique<QLibrary>(folder_ + QLatin1Char('/') +
                                        platform::module_file_name(QStringLiteral("quilo_audio")));
  auto create = reinterpret_cast<CreateAudioOutput>(library_->resolve(kCreateAudioOutput));
  QString error;
  if (!create) {
    error = library_->errorString();
  } else {
    const QString media = locate_install(folder_).media_folder;
    output_.reset(create(media + QStringLiteral("/se"), media + QStringLiteral("/music"), &error));
  }
  if (!output_) {
    std::fprintf(stderr, "quilo: no audio: %s\n", qPrintable(error));
    pending_music_.clear();
    pending_effect_.clear();
    return;
  }
  if (!pending_music_.isEmpty()) output_->play_music(pending_music_);
  if (!pending_effect_.isEmpty()) output_->play_effect(pending_effect_);
  pending_music_.clear();
  pending_effect_.clear();
}

void DeferredAudio::play_effect(const QString& file) {
  if (output_)
    output_->play_effect(file);
  else if (!tried_)
    pending_effect_ = file;  // a newer effect cuts off an older one
}

void DeferredAudio::play_music(const QString& file) {
  if (output_)
    output_->play_music(file);
  else if (!tried_ && pending_music_.isEmpty())
    pending_music_ = file;
}

void DeferredAudio::stop_music() {
  if (output_) output_->stop_music();
  pending_music_.clear();
}

bool DeferredAudio::music_playing() const {
  return output_ ? output_->music_playing() : !pending_music_.isEmpty();
}

}  // namespace quilo
