// Plays every generated sound effect and tune through SDL2_mixer (the rendered
// tunes as the program does, their MIDI sources through SDL2_mixer's own
// synthesiser with the installed General MIDI sound font) into SDL's disk
// audio driver, and checks that what comes out is not silence.
//
//   quilo_media_audible_test <path to quilo_mediagen> <path to media_manifest.txt>

#include <SDL.h>
#include <SDL_mixer.h>

#include <unistd.h>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

namespace fs = std::filesystem;

namespace {

constexpr int kRate = 44100;
constexpr int kChannels = 2;
constexpr std::uintmax_t kOneSecond = kRate * kChannels * 2;

std::uintmax_t sizeOf(const fs::path& raw) {
  std::error_code ec;
  const auto n = fs::file_size(raw, ec);
  return ec ? 0 : n;
}

// Plays one file into `raw`; returns an error text or an empty string. `start`
// receives the offset where playback began: the driver writes silence while the
// file (and, for MIDI, the sound font) is being loaded.
std::string play(const fs::path& file, const fs::path& raw, bool music, std::uintmax_t& start) {
  setenv("SDL_AUDIODRIVER", "disk", 1);
  setenv("SDL_DISKAUDIOFILE", raw.c_str(), 1);
  setenv("SDL_DISKAUDIODELAY", "2", 1);  // faster than real time
  if (SDL_Init(SDL_INIT_AUDIO) != 0) return std::string("SDL_Init: ") + SDL_GetError();
  std::string error;
  if (Mix_OpenAudio(kRate, AUDIO_S16SYS, kChannels, 1024) != 0) {
    error = std::string("Mix_OpenAudio: ") + Mix_GetError();
  } else {
    Mix_Chunk* chunk = nullptr;
    Mix_Music* tune = nullptr;
    if (music) {
      tune = Mix_LoadMUS(file.c_str());
      if (!tune || Mix_PlayMusic(tune, 0) != 0) error = std::string("cannot play music: ") + Mix_GetError();
    } else {
      chunk = Mix_LoadWAV(file.c_str());
      if (!chunk || Mix_PlayChannel(-1, chunk, 0) < 0)
        error = std::string("cannot play sound: ") + Mix_GetError();
    }
    start = sizeOf(raw);
    // at most about one second of output, and never longer than a few seconds of wall time
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(8);
    while (error.empty() && std::chrono::steady_clock::now() < deadline) {
      const bool playing = music ? Mix_PlayingMusic() : Mix_Playing(-1) > 0;
      if (!playing || sizeOf(raw) >= start + kOneSecond) break;
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    Mix_HaltChannel(-1);
    Mix_HaltMusic();
    if (chunk) Mix_FreeChunk(chunk);
    if (tune) Mix_FreeMusic(tune);
    Mix_CloseAudio();
  }
  SDL_Quit();
  return error;
}

double rmsOf(const fs::path& raw, std::uintmax_t from) {
  std::ifstream in(raw, std::ios::binary);
  std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  bytes.erase(bytes.begin(), bytes.begin() + std::ptrdiff_t(std::min<std::uintmax_t>(
                                                 from & ~std::uintmax_t(3), bytes.size())));
  double sum = 0;
  const size_t n = bytes.size() / 2;
  for (size_t i = 0; i < n; ++i) {
    int16_t v;
    std::memcpy(&v, bytes.data() + 2 * i, 2);
    sum += double(v) * v;
  }
  return n ? std::sqrt(sum / double(n)) / 32768.0 : 0.0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: %s QUILO_MEDIAGEN MEDIA_MANIFEST\n", argv[0]);
    return 2;
  }
  const char* soundFont = "/usr/share/sounds/sf2/TimGM6mb.sf2";
  if (!getenv("SDL_SOUNDFONTS") && fs::exists(soundFont)) setenv("SDL_SOUNDFONTS", soundFont, 1);
  if (!getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);

  const fs::path dir = fs::temp_directory_path() / ("quilo_audible_" + std::to_string(getpid()));
  fs::create_directories(dir);
  const std::string cmd = std::string("\"") + argv[1] + "\" \"" + dir.string() + "\" > /dev/null";
  if (std::system(cmd.c_str()) != 0) {
    std::printf("FAIL: generator run\n");
    return 1;
  }

  std::ifstream manifest(argv[2]);
  std::vector<std::string> files;
  for (std::string line; std::getline(manifest, line);) {
    if (line.rfind("se/", 0) == 0 || line.rfind("music/", 0) == 0) files.push_back(line);
  }
  int passed = 0, failed = 0;
  if (files.empty()) {
    std::printf("FAIL: no sounds listed in the manifest\n");
    ++failed;
  }
  for (size_t i = 0; i < files.size(); ++i) {
    const fs::path file = dir / files[i];
    const fs::path raw = dir / ("out" + std::to_string(i) + ".raw");
    const bool music = files[i].rfind("music/", 0) == 0;
    std::uintmax_t start = 0;
    const std::string error = play(file, raw, music, start);
    const double rms = error.empty() ? rmsOf(raw, start) : 0.0;
    // MIDI goes through a sound font at moderate gain: a lower bar than for the effects
    const double floor = music ? 0.003 : 0.01;
    if (error.empty() && rms > floor) {
      ++passed;
      std::printf("ok   %-28s RMS %.4f\n", files[i].c_str(), rms);
    } else {
      ++failed;
      std::printf("FAIL %-28s %s RMS %.4f\n", files[i].c_str(), error.c_str(), rms);
    }
  }
  fs::remove_all(dir);
  std::printf("media_audible: %d passed, %d failed\n", passed, failed);
  return failed == 0 ? 0 : 1;
}
