// Synthesis toolkit of the sound effects: oscillators, envelopes, noise,
// filters, the formant voice, the reverb, loudness and the WAV encoder.
#include "wave.h"

#include <QtEndian>

#include <algorithm>
#include <array>

namespace quilo::audio {

float waveAt(Wave w, float ph) {
  switch (w) {
    case Wave::Sine:
      return std::sin(kTwoPi * ph);
    case Wave::Triangle:
      return ph < 0.5f ? 4 * ph - 1 : 3 - 4 * ph;
    case Wave::Square:
      return ph < 0.5f ? 0.7f : -0.7f;
    case Wave::Saw:
      return (2 * ph - 1) * 0.8f;
    case Wave::Pulse25:
      return ph < 0.25f ? 0.7f : -0.7f;
  }
  return 0;
}

float Env::at(float t, float length) const {
  if (t < 0 || t > length) return 0;
  float v;
  if (t < attack) {
    v = t / attack;
  } else {
    const float td = t - attack;
    v = sustain + (1 - sustain) * std::exp(-td / std::max(decay, 1e-4f));
  }
  const float toEnd = length - t;
  if (toEnd < release) v *= toEnd / release;
  return v;
}

void addTone(Buffer& b, const Tone& t) {
  const size_t i0 = b.index(t.start), i1 = b.index(t.start + t.length);
  float ph = 0, ph2 = 0.37f;
  const float len = float(t.length);
  for (size_t i = i0; i < i1; ++i) {
    const float tt = float(i - i0) / kRate;
    float f = t.freq;
    if (t.freqEnd > 0) f = t.freq * std::pow(t.freqEnd / t.freq, tt / len);
    if (t.vibratoDepth > 0)
      f *= std::pow(2.0f,
                    t.vibratoDepth / 12.0f * std::sin(kTwoPi * t.vibratoHz * tt) * std::min(1.0f, tt * 4));
    ph += f / kRate;
    ph -= std::floor(ph);
    float v = waveAt(t.wave, ph);
    if (t.detune != 0) {
      ph2 += f * std::pow(2.0f, t.detune / 1200.0f) / kRate;
      ph2 -= std::floor(ph2);
      v = 0.5f * (v + waveAt(t.wave, ph2));
    }
    b.s[i] += v * t.amp * t.env.at(tt, len);
  }
}

void addFm(Buffer& b, double start, double length, float freq, float ratio, float index, float amp, Env env) {
  const size_t i0 = b.index(start), i1 = b.index(start + length);
  double pc = 0, pm = 0;
  for (size_t i = i0; i < i1; ++i) {
    const float tt = float(i - i0) / kRate;
    const float e = env.at(tt, float(length));
    pm += double(freq) * ratio / kRate;
    const float mod = std::sin(float(kTwoPi * (pm - std::floor(pm)))) * index * (0.3f + 0.7f * e);
    pc += double(freq) / kRate;
    const float ph = float(pc - std::floor(pc));
    b.s[i] += std::sin(kTwoPi * ph + mod) * amp * e;
  }
}

void Biquad::set(Type type, float freq, float q) {
  freq = std::clamp(freq, 10.0f, kRate * 0.45f);
  const float w0 = kTwoPi * freq / kRate;
  const float cw = std::cos(w0), alpha = std::sin(w0) / (2 * std::max(q, 0.05f));
  float a0;
  switch (type) {
    case LowPass:
      b0 = (1 - cw) / 2;
      b1 = 1 - cw;
      b2 = (1 - cw) / 2;
      break;
    case HighPass:
      b0 = (1 + cw) / 2;
      b1 = -(1 + cw);
      b2 = (1 + cw) / 2;
      break;
    case BandPass:
      b0 = alpha;
      b1 = 0;
      b2 = -alpha;
      break;
  }
  a0 = 1 + alpha;
  a1 = -2 * cw / a0;
  a2 = (1 - alpha) / a0;
  b0 /= a0;
  b1 /= a0;
  b2 /= a0;
}

float Biquad::operator()(float x) {
  const float y = b0 * x + b1 * x1 + b2 * x2 - a1 * y1 - a2 * y2;
  x2 = x1;
  x1 = x;
  y2 = y1;
  y1 = y;
  return y;
}

void addNoise(Buffer& b, const NoiseHit& n) {
  Rng rng(n.seed);
  Biquad bp;
  const size_t i0 = b.index(n.start), i1 = b.index(n.start + n.length);
  const float len = float(n.length);
  for (size_t i = i0; i < i1; ++i) {
    const float tt = float(i - i0) / kRate;
    float x = float(rng.uniform() * 2 - 1);
    if (n.q > 0) {
      if ((i - i0) % 32 == 0) {
        float c = n.centre;
        if (n.centreEnd > 0) c = n.centre * std::pow(n.centreEnd / n.centre, tt / len);
        bp.set(Biquad::BandPass, c, n.q);
      }
      x = bp(x) * 1.8f;
    }
    b.s[i] += x * n.amp * n.env.at(tt, len);
  }
}

void addVoice(Buffer& b, double start, const std::vector<VoiceKey>& keys, uint64_t seed, float amp) {
  if (keys.size() < 2) return;
  Rng rng(seed);
  Biquad f1, f2, f3, fric;
  const double end = keys.back().t;
  const size_t i0 = b.index(start), i1 = b.index(start + end);
  double phase = 0;
  float glottalLp = 0;
  size_t k = 0;
  for (size_t i = i0; i < i1; ++i) {
    const double t = double(i - i0) / kRate;
    while (k + 2 < keys.size() && keys[k + 1].t <= t) ++k;
    const VoiceKey &a = keys[k], &c = keys[k + 1];
    const float u = float(std::clamp((t - a.t) / std::max(1e-6, c.t - a.t), 0.0, 1.0));
    auto lerp = [u](float x, float y) { return x + (y - x) * u; };
    const float pitch = lerp(a.pitch, c.pitch);
    if ((i - i0) % 16 == 0) {
      f1.set(Biquad::BandPass, lerp(a.f1, c.f1), 5.0f);
      f2.set(Biquad::BandPass, lerp(a.f2, c.f2), 7.0f);
      f3.set(Biquad::BandPass, lerp(a.f3, c.f3), 9.0f);
      fric.set(Biquad::BandPass, lerp(a.hissCentre, c.hissCentre), 1.6f);
    }
    // glottal pulse: a sharp-closing sawtooth softened by a one-pole filter, with a little jitter
    phase += pitch * (1.0 + 0.004 * (rng.uniform() - 0.5)) / kRate;
    phase -= std::floor(phase);
    // Rosenberg glottal flow; its slope (the radiated pressure) drives the vocal tract
    float flow = 0;
    if (phase < 0.6)
      flow = 0.5f * (1.0f - std::cos(float(M_PI * phase / 0.6)));
    else if (phase < 0.8)
      flow = std::cos(float(M_PI / 2 * (phase - 0.6) / 0.2));
    const float slope = (flow - glottalLp) * (kRate / 400.0f);
    glottalLp = flow;
    const float breath = float(rng.uniform() * 2 - 1);
    const float source = slope * lerp(a.voiced, c.voiced) * 0.5f + breath * 0.04f * lerp(a.voiced, c.voiced);
    const float vowel = f1(source) * 1.0f + f2(source) * 0.6f + f3(source) * 0.3f;
    const float hiss = fric(breath) * lerp(a.hiss, c.hiss) * 0.9f;
    b.s[i] += (vowel * 2.2f + hiss) * lerp(a.level, c.level) * amp;
  }
}

void lowpass(Buffer& b, float freq) {
  Biquad f;
  f.set(Biquad::LowPass, freq, 0.707f);
  for (float& x : b.s) x = f(x);
}

void highpass(Buffer& b, float freq) {
  Biquad f;
  f.set(Biquad::HighPass, freq, 0.707f);
  for (float& x : b.s) x = f(x);
}

void softClip(Buffer& b, float drive) {
  for (float& x : b.s) x = std::tanh(x * drive) / std::tanh(drive);
}

void reverb(Buffer& b, float wet, float room, float damping) {
  // Schroeder-style: four damped combs in parallel, two all-passes in series
  static const std::array<int, 4> combLen = {1116, 1188, 1277, 1356};
  static const std::array<int, 2> apLen = {556, 441};
  std::vector<float> out(b.s.size(), 0.0f);
  for (int L : combLen) {
    std::vector<float> line(size_t(L), 0.0f);
    float store = 0;
    size_t pos = 0;
    for (size_t i = 0; i < b.s.size(); ++i) {
      const float y = line[pos];
      store = y * (1 - damping) + store * damping;
      line[pos] = b.s[i] + store * room;
      out[i] += y * 0.25f;
      pos = (pos + 1) % size_t(L);
    }
  }
  for (int L : apLen) {
    std::vector<float> line(size_t(L), 0.0f);
    size_t pos = 0;
    for (float& x : out) {
      const float buf = line[pos];
      const float y = -x + buf;
      line[pos] = x + buf * 0.5f;
      x = y;
      pos = (pos + 1) % size_t(L);
    }
  }
  for (size_t i = 0; i < b.s.size(); ++i) b.s[i] = b.s[i] * (1 - wet * 0.5f) + out[i] * wet;
}

void fadeOut(Buffer& b, double seconds) {
  const size_t n = std::min(b.s.size(), size_t(seconds * kRate));
  for (size_t i = 0; i < n; ++i) b.s[b.s.size() - 1 - i] *= float(i) / float(n);
}

void normalize(Buffer& b, float peak) {
  float m = 0;
  for (float x : b.s) m = std::max(m, std::fabs(x));
  if (m <= 0) return;
  const float k = peak / m;
  for (float& x : b.s) x *= k;
}

void setLoudness(Buffer& b, float rmsDb, float peakDb) {
  const size_t window = kRate / 20;
  double sounding = 0;
  size_t count = 0;
  float peak = 0;
  for (size_t start = 0; start + window <= b.s.size(); start += window) {
    double power = 0;
    for (size_t i = start; i < start + window; ++i) power += double(b.s[i]) * b.s[i];
    if (power / double(window) > 1e-6) sounding += power, count += window;
  }
  for (float x : b.s) peak = std::max(peak, std::fabs(x));
  if (count == 0 || peak <= 0) return;
  const double rms = std::sqrt(sounding / double(count));
  const double k = std::min(std::pow(10.0, rmsDb / 20.0) / rms, std::pow(10.0, peakDb / 20.0) / peak);
  for (float& x : b.s) x = float(x * k);
}

QByteArray wavBytes(const Buffer& b) {
  const quint32 dataBytes = quint32(b.s.size() * 2);
  QByteArray out;
  out.reserve(int(44 + dataBytes));
  auto u32 = [&](quint32 v) {
    char c[4];
    qToLittleEndian(v, c);
    out.append(c, 4);
  };
  auto u16 = [&](quint16 v) {
    char c[2];
    qToLittleEndian(v, c);
    out.append(c, 2);
  };
  out.append("RIFF", 4);
  u32(36 + dataBytes);
  out.append("WAVE", 4);
  out.append("fmt ", 4);
  u32(16);
  u16(1);  // PCM
  u16(1);  // mono
  u32(kRate);
  u32(kRate * 2);  // byte rate
  u16(2);          // block align
  u16(16);         // bits per sample
  out.append("data", 4);
  u32(dataBytes);
  for (float x : b.s) u16(quint16(qint16(std::lround(std::clamp(x, -1.0f, 1.0f) * 32767.0f))));
  return out;
}

}  // namespace quilo::audio
