// Small synthesis toolkit for the sound effects: a mono float buffer with
// oscillators, envelopes, noise, resonant filters, a formant voice and a
// room reverb, plus a 16-bit PCM WAV encoder.
#pragma once

#include "noise.h"

#include <QByteArray>

#include <cmath>
#include <functional>
#include <vector>

namespace quilo::audio {

constexpr int kRate = 44100;
constexpr float kTwoPi = 6.28318530718f;

struct Buffer {
  std::vector<float> s;
  explicit Buffer(double seconds) : s(size_t(seconds * kRate), 0.0f) {}
  size_t index(double t) const { return std::min(s.size(), size_t(std::max(0.0, t) * kRate)); }
  double seconds() const { return double(s.size()) / kRate; }
};

enum class Wave { Sine, Triangle, Square, Saw, Pulse25 };

// Naive waveforms from a phase in [0,1).
float waveAt(Wave w, float phase);

// Exponential/linear envelope: attack, then decay towards `sustain`, release at the end.
struct Env {
  float attack = 0.005f, decay = 0.1f, sustain = 0.0f, release = 0.05f;
  float at(float t, float length) const;
};

struct Tone {
  double start = 0, length = 0.2;
  float freq = 440, freqEnd = 0;  // freqEnd > 0: exponential glide
  Wave wave = Wave::Sine;
  float amp = 0.5f;
  Env env;
  float vibratoHz = 0, vibratoDepth = 0;  // depth in semitones
  float detune = 0;                       // second oscillator, in cents (0 = off)
};
void addTone(Buffer& b, const Tone& t);

// Two-operator FM: modulator at ratio * freq, index decays with the envelope.
void addFm(Buffer& b, double start, double length, float freq, float ratio, float index, float amp, Env env);

// White noise burst through a band-pass (centre/width may glide).
struct NoiseHit {
  double start = 0, length = 0.1;
  float amp = 0.5f;
  float centre = 2000, centreEnd = 0, q = 1.0f;  // q <= 0: unfiltered
  Env env;
  uint64_t seed = 1;
};
void addNoise(Buffer& b, const NoiseHit& n);

// RBJ biquad.
class Biquad {
 public:
  enum Type { LowPass, HighPass, BandPass };
  void set(Type type, float freq, float q);
  float operator()(float x);

 private:
  float b0 = 1, b1 = 0, b2 = 0, a1 = 0, a2 = 0, x1 = 0, x2 = 0, y1 = 0, y2 = 0;
};

// Formant-synthesised voice. Keyframes give pitch, formants, voicing and level.
struct VoiceKey {
  double t;
  float pitch;       // Hz of the glottal pulse
  float f1, f2, f3;  // formant centres
  float voiced;      // 0..1 amount of glottal source
  float hiss;        // 0..1 amount of fricative noise
  float hissCentre;  // centre of the fricative band
  float level;       // overall level
};
void addVoice(Buffer& b, double start, const std::vector<VoiceKey>& keys, uint64_t seed, float amp = 0.6f);

void lowpass(Buffer& b, float freq);
void highpass(Buffer& b, float freq);
void softClip(Buffer& b, float drive);
void reverb(Buffer& b, float wet, float room = 0.8f, float damping = 0.3f);
void fadeOut(Buffer& b, double seconds);
void normalize(Buffer& b, float peak = 0.89f);
// Scales to an RMS of RMS_DB dBFS over the 50 ms windows that sound (above
// -60 dBFS), or less where the peak would pass PEAK_DB dBFS: every effect
// then sounds as loud as the music.
void setLoudness(Buffer& b, float rmsDb, float peakDb);

// Musical helpers.
inline float noteHz(int midi) { return 440.0f * std::pow(2.0f, (midi - 69) / 12.0f); }

QByteArray wavBytes(const Buffer& b);

}  // namespace quilo::audio
