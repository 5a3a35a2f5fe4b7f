// The sound module: effects through SDL2_mixer, music through FluidSynth on
// SDL's audio thread, loaded beside the program once its window shows.
#include "audio/sdl_audio.h"

#include "audio/synth_settings.h"

#include <SDL.h>
#include <SDL_mixer.h>
#include <fluidsynth.h>

#include <QFile>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

namespace quilo {
namespace {

constexpr int kEffectChannel = 0;

// The soundfont: SDL_SOUNDFONTS (its first file) when set, else the first
// installed one of the list; empty when there is none.
QByteArray find_soundfont() {
  QList<QByteArray> candidates{qgetenv("SDL_SOUNDFONTS").split(':').value(0)};
  for (const char* sf : kSoundfonts) candidates << QByteArray(sf);
  for (const QByteArray& sf : candidates)
    if (!sf.isEmpty() && QFile::exists(QFile::decodeName(sf))) return sf;
  return {};
}

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

SdlAudio::SdlAudio(QString se_folder, QString midi_folder)
    : se_folder_(std::move(se_folder)), midi_folder_(std::move(midi_folder)) {
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
  open_synth();
  ready_ = true;
}

void SdlAudio::open_synth() {
  int rate = 0, channels = 0;
  Uint16 format = 0;
  Mix_QuerySpec(&rate, &format, &channels);
  if (format != AUDIO_S16SYS || channels != 2) {
    std::fprintf(stderr, "quilo: no music: the device is not 16-bit stereo\n");
    return;
  }
  const QByteArray soundfont = find_soundfont();
  if (soundfont.isEmpty()) {
    std::fprintf(stderr, "quilo: no music: no General MIDI soundfont is installed\n");
    return;
  }
  fluid_set_log_function(FLUID_WARN, nullptr, nullptr);  // its notes are not the user's
  fluid_set_log_function(FLUID_INFO, nullptr, nullptr);
  settings_ = new_fluid_settings();
  fluid_settings_setnum(settings_, "synth.sample-rate", rate);
  // Only the instruments a piece chooses are read into memory.
  fluid_settings_setint(settings_, "synth.dynamic-sample-loading", 1);
  fluid_settings_setint(settings_, "synth.polyphony", kMusicVoices);
  fluid_settings_setnum(settings_, "synth.gain", kMusicGain);
  synth_ = new_fluid_synth(settings_);
  if (!synth_ || fluid_synth_sfload(synth_, soundfont.constData(), 1) == FLUID_FAILED) {
    std::fprintf(stderr, "quilo: no music: soundfont %s cannot be read\n", soundfont.constData());
    if (synth_) delete_fluid_synth(synth_);
    delete_fluid_settings(settings_);
    synth_ = nullptr;
    settings_ = nullptr;
    return;
  }
  Mix_HookMusic(&SdlAudio::render, this);
}

void SdlAudio::render(void* self, std::uint8_t* stream, int bytes) {
  auto* a = static_cast<SdlAudio*>(self);
  const std::lock_guard<std::mutex> lock(a->mutex_);
  if (!a->sounding_) {
    std::memset(stream, 0, size_t(bytes));  // no piece and no fading note: no work
    return;
  }
  const int frames = bytes / 4;
  fluid_synth_write_s16(a->synth_, frames, stream, 0, 2, stream, 1, 2);
  if ((!a->player_ || fluid_player_get_status(a->player_) != FLUID_PLAYER_PLAYING) &&
      fluid_synth_get_active_voice_count(a->synth_) == 0)
    a->sounding_ = false;
}

SdlAudio::~SdlAudio() {
  if (!ready_) return;
  Mix_HaltChannel(-1);
  Mix_HookMusic(nullptr, nullptr);
  stop_music();
  if (synth_) delete_fluid_synth(synth_);
  if (settings_) delete_fluid_settings(settings_);
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
  if (!synth_) return;
  const QByteArray path = QFile::encodeName(midi_folder_ + QLatin1Char('/') + file);
  const std::lock_guard<std::mutex> lock(mutex_);
  // One device: a piece that is still open is not replaced.
  if (player_) return;
  if (!fluid_is_midifile(path.constData())) {
    std::fprintf(stderr, "quilo: music %s: not a readable MIDI file\n", qPrintable(file));
    return;
  }
  player_ = new_fluid_player(synth_);
  if (!player_ || fluid_player_add(player_, path.constData()) != FLUID_OK ||
      fluid_player_play(player_) != FLUID_OK) {
    std::fprintf(stderr, "quilo: music %s cannot be played\n", qPrintable(file));
    if (player_) delete_fluid_player(player_);
    player_ = nullptr;
    return;
  }
  sounding_ = true;
}

void SdlAudio::stop_music() {
  const std::lock_guard<std::mutex> lock(mutex_);
  if (!player_) return;
  fluid_player_stop(player_);
  delete_fluid_player(player_);
  player_ = nullptr;
  fluid_synth_system_reset(synth_);  // silent at once, every channel as new
  sounding_ = false;
}

bool SdlAudio::music_playing() const {
  const std::lock_guard<std::mutex> lock(mutex_);
  return player_ && fluid_player_get_status(player_) == FLUID_PLAYER_PLAYING;
}

}  // namespace quilo

extern "C" Q_DECL_EXPORT quilo::AudioOutput* quilo_create_audio_output(const QString& se_folder,
                                                                       const QString& midi_folder,
                                                                       QString* error) {
  auto audio = std::make_unique<quilo::SdlAudio>(se_folder, midi_folder);
  if (!audio->ready()) {
    if (error) *error = audio->error();
    return nullptr;
  }
  return audio.release();
}
