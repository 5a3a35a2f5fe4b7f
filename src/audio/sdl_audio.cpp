// The sound module: effects and the rendered tunes through SDL2_mixer, loaded
// beside the program once its window shows.
#include "audio/sdl_audio.h"

#include "audio/synth_settings.h"

#include <SDL.h>
#include <SDL_mixer.h>

#include <QFile>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <memory>

namespace quilo {
namespace {

constexpr int kEffectChannel = 0;

// A short two-tone chime, played when an effect file is missing.
Mix_Chunk* make_default_sound() {
  const int frames = kMusicRate * 15 / 100;
  auto* samples = static_cast<Sint16*>(SDL_malloc(sizeof(Sint16) * 2 * frames));
  if (!samples) return nullptr;
  for (int i = 0; i < frames; ++i) {
    const double t = double(i) / kMusicRate;
    const double f = i < frames / 2 ? 880.0 : 660.0;
    const double env = std::exp(-6.0 * t);
    const auto v = static_cast<Sint16>(9000 * env * std::sin(2 * M_PI * f * t));
    samples[2 * i] = samples[2 * i + 1] = v;
  }
  Mix_Chunk* chunk =
      Mix_QuickLoad_RAW(reinterpret_cast<Uint8*>(samples), Uint32(sizeof(Sint16) * 2 * frames));
  if (chunk) chunk->allocated = 1;  // let Mix_FreeChunk free the samples
  return chunk;
}

}  // namespace

SdlAudio::SdlAudio(QString se_folder, QString music_folder)
    : se_folder_(std::move(se_folder)), music_folder_(std::move(music_folder)) {
  // SIGINT and SIGTERM keep their usual meaning: SDL would otherwise turn
  // them into events that nobody reads, and the program could not be stopped.
  SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
  if (SDL_Init(SDL_INIT_AUDIO) != 0) {
    error_ = QString::fromUtf8(SDL_GetError());
    return;
  }
  if (Mix_OpenAudio(kMusicRate, AUDIO_S16SYS, 2, 2048) != 0) {
    error_ = QStringLiteral("no audio device: ") + QString::fromUtf8(Mix_GetError());
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    return;
  }
  Mix_AllocateChannels(1);
  default_sound_ = make_default_sound();
  ready_ = true;
}

SdlAudio::~SdlAudio() {
  if (!ready_) return;
  Mix_HaltChannel(-1);
  stop_music();
  for (Mix_Chunk* c : chunks_)
    if (c) Mix_FreeChunk(c);
  if (default_sound_) Mix_FreeChunk(default_sound_);
  Mix_CloseAudio();
  Mix_Quit();
  SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

Mix_Chunk* SdlAudio::chunk(const QString& file) {
  auto it = chunks_.find(file);
  if (it != chunks_.end()) return *it;
  Mix_Chunk* c = Mix_LoadWAV(QFile::encodeName(se_folder_ + QLatin1Char('/') + file).constData());
  if (!c) std::fprintf(stderr, "quilo: sound %s: %s\n", qPrintable(file), Mix_GetError());
  chunks_.insert(file, c);
  return c;
}

void SdlAudio::play_effect(const QString& file) {
  Mix_Chunk* c = chunk(file);
  if (!c) c = default_sound_;
  if (c) Mix_PlayChannel(kEffectChannel, c, 0);
}

void SdlAudio::play_music(const QString& file) {
  // One device: a piece that is still open is not replaced.
  if (music_) return;
  const QString path = music_folder_ + QLatin1Char('/') + rendered_tune(file);
  music_ = Mix_LoadMUS(QFile::encodeName(path).constData());
  if (!music_) {
    std::fprintf(stderr, "quilo: music %s: %s\n", qPrintable(file), Mix_GetError());
    return;
  }
  if (Mix_PlayMusic(music_, 0) != 0) {  // played once, to its end
    std::fprintf(stderr, "quilo: music %s cannot be played: %s\n", qPrintable(file), Mix_GetError());
    stop_music();
  }
}

void SdlAudio::stop_music() {
  if (!music_) return;
  Mix_HaltMusic();  // silent at once
  Mix_FreeMusic(music_);
  music_ = nullptr;
}

bool SdlAudio::music_playing() const { return music_ && Mix_PlayingMusic(); }

}  // namespace quilo

extern "C" Q_DECL_EXPORT quilo::AudioOutput* quilo_create_audio_output(const QString& se_folder,
                                                                       const QString& music_folder,
                                                                       QString* error) {
  auto audio = std::make_unique<quilo::SdlAudio>(se_folder, music_folder);
  if (!audio->ready()) {
    if (error) *error = audio->error();
    return nullptr;
  }
  return audio.release();
}
