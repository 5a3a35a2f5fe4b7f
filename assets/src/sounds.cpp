// Sound effects, each synthesised from scratch.

#include "media.h"
#include "wave.h"

namespace quilo {

namespace {

using namespace audio;

// fm009: bright two-note bell chime for button feedback.
Buffer chime() {
  Buffer b(0.75);
  const Env bell{0.002f, 0.18f, 0.0f, 0.05f};
  addFm(b, 0.0, 0.7, noteHz(88), 3.5f, 2.2f, 0.45f, bell);  // E7-ish sparkle on top
  addFm(b, 0.0, 0.7, noteHz(76), 2.0f, 1.6f, 0.5f, Env{0.002f, 0.25f, 0.0f, 0.05f});
  addFm(b, 0.07, 0.65, noteHz(83), 2.0f, 1.6f, 0.5f, Env{0.002f, 0.3f, 0.0f, 0.08f});
  addFm(b, 0.07, 0.65, noteHz(95), 3.5f, 1.2f, 0.25f, bell);
  reverb(b, 0.25f, 0.7f);
  normalize(b);
  return b;
}

// A click of the capsule machine's ratchet: hard plastic knock plus a tick.
void ratchetClick(Buffer& b, double t, float amp, uint64_t seed) {
  addNoise(b, {t, 0.012, amp * 0.9f, 3200, 0, 2.5f, Env{0.0005f, 0.003f, 0, 0.002f}, seed});
  addTone(b,
          {t, 0.04, 900 + float(seed % 7) * 40, 0, Wave::Sine, amp * 0.5f, Env{0.0005f, 0.008f, 0, 0.005f}});
  addTone(b, {t, 0.05, 1850, 0, Wave::Sine, amp * 0.25f, Env{0.0005f, 0.006f, 0, 0.005f}});
}

// gasha: the handle is cranked (rattling ratchet), then the capsule drops and bounces.
Buffer gasha() {
  Buffer b(1.45);
  Rng rng(9);
  double t = 0.02;
  for (int turn = 0; turn < 2; ++turn) {
    for (int i = 0; i < 9; ++i) {
      ratchetClick(b, t, 0.55f + 0.1f * float(rng.uniform()), rng.next());
      t += 0.034 + 0.006 * rng.uniform();
    }
    t += 0.09;
  }
  // capsule rattling inside, then the clunk into the tray
  for (int i = 0; i < 6; ++i) ratchetClick(b, t + i * 0.018 + 0.01 * rng.uniform(), 0.25f, rng.next());
  const double drop = t + 0.16;
  addTone(b, {drop, 0.35, 180, 90, Wave::Sine, 0.9f, Env{0.001f, 0.07f, 0, 0.05f}});
  addTone(b, {drop, 0.25, 520, 470, Wave::Sine, 0.45f, Env{0.001f, 0.05f, 0, 0.05f}});
  addNoise(b, {drop, 0.08, 0.6f, 900, 0, 1.2f, Env{0.001f, 0.02f, 0, 0.02f}, 77});
  // two little bounces of the plastic ball
  for (int i = 1; i <= 2; ++i) {
    const double tb = drop + 0.12 * i - 0.02 * i * i;
    addTone(b, {tb, 0.12, 560, 500, Wave::Sine, 0.3f / float(i), Env{0.001f, 0.03f, 0, 0.03f}});
    addNoise(b,
             {tb, 0.03, 0.25f / float(i), 1500, 0, 1.5f, Env{0.001f, 0.008f, 0, 0.01f}, 78u + uint64_t(i)});
  }
  reverb(b, 0.15f, 0.6f);
  normalize(b);
  return b;
}

// voice047: a shouted "yoshi!" built from formants.
Buffer yoshi() {
  Buffer b(0.8);
  //       t      pitch  F1    F2     F3    voiced hiss  hissC  level
  const std::vector<VoiceKey> keys = {
      {0.00, 190, 280, 2250, 3000, 1.0f, 0.0f, 4000, 0.0f},
      {0.03, 200, 300, 2100, 2950, 1.0f, 0.0f, 4000, 0.8f},  // y
      {0.09, 225, 480, 900, 2600, 1.0f, 0.0f, 4000, 1.0f},   // o
      {0.20, 240, 500, 860, 2550, 1.0f, 0.0f, 4000, 1.0f},
      {0.24, 240, 420, 1500, 2600, 0.1f, 0.8f, 3200, 0.9f},  // sh
      {0.34, 240, 300, 2100, 3000, 0.0f, 1.0f, 3300, 0.9f},
      {0.38, 260, 290, 2300, 3100, 1.0f, 0.1f, 3500, 1.0f},  // i!
      {0.56, 200, 290, 2350, 3150, 1.0f, 0.0f, 3500, 0.8f},
      {0.70, 170, 300, 2300, 3100, 0.8f, 0.0f, 3500, 0.0f},
  };
  addVoice(b, 0.03, keys, 47, 0.7f);
  highpass(b, 90);
  reverb(b, 0.12f, 0.55f);
  normalize(b);
  return b;
}

// door02: a slow creak as the door swings, then the thud and latch.
Buffer door() {
  Buffer b(1.5);
  Rng rng(2);
  // stick-slip creak: a train of tiny impulses at a wandering rate, through wooden resonances
  Biquad r1, r2, r3;
  r1.set(Biquad::BandPass, 620, 12);
  r2.set(Biquad::BandPass, 1150, 10);
  r3.set(Biquad::BandPass, 1750, 9);
  double phase = 0;
  const double creakEnd = 0.75;
  for (size_t i = 0; i < b.index(creakEnd); ++i) {
    const double t = double(i) / kRate;
    const double rate = 45 + 40 * std::sin(t * 5.5) + 25 * std::sin(t * 13.0 + 1.0);
    phase += rate / kRate;
    float impulse = 0;
    if (phase >= 1.0) {
      phase -= 1.0;
      impulse = float(0.6 + 0.4 * rng.uniform());
    }
    const float env = float(std::sin(M_PI * t / creakEnd));
    const float x = impulse * env;
    b.s[i] += (r1(x) * 1.0f + r2(x) * 0.8f + r3(x) * 0.5f) * 18.0f;
  }
  // the door meets the frame
  const double hit = 0.82;
  addTone(b, {hit, 0.45, 95, 55, Wave::Sine, 1.0f, Env{0.002f, 0.12f, 0, 0.1f}});
  addTone(b, {hit, 0.3, 190, 150, Wave::Triangle, 0.35f, Env{0.002f, 0.06f, 0, 0.05f}});
  addNoise(b, {hit, 0.25, 0.7f, 350, 120, 0.9f, Env{0.001f, 0.05f, 0, 0.05f}, 5});
  // latch
  addNoise(b, {hit + 0.05, 0.03, 0.35f, 3800, 0, 3.0f, Env{0.0005f, 0.006f, 0, 0.005f}, 6});
  addTone(b, {hit + 0.05, 0.06, 2400, 0, Wave::Sine, 0.15f, Env{0.0005f, 0.015f, 0, 0.01f}});
  reverb(b, 0.3f, 0.75f);
  normalize(b);
  return b;
}

// bosu28_a: slot machine bonus jingle in chip-tune style.
Buffer bonus() {
  Buffer b(1.7);
  const int run[] = {72, 76, 79, 84, 88, 91};
  double t = 0;
  for (int n : run) {
    addTone(b, {t, 0.07, noteHz(n), 0, Wave::Square, 0.3f, Env{0.002f, 0.05f, 0.4f, 0.01f}});
    t += 0.055;
  }
  const double hit = t + 0.05;
  struct Step {
    double at, len;
    int note;
  };
  const Step fanfare[] = {{0.0, 0.11, 79}, {0.13, 0.11, 81}, {0.26, 0.11, 83}, {0.39, 0.8, 84}};
  for (const Step& s : fanfare) {
    Tone lead{hit + s.at, s.len, noteHz(s.note), 0, Wave::Pulse25, 0.32f, Env{0.003f, 0.2f, 0.6f, 0.05f}};
    if (s.len > 0.5) {
      lead.vibratoHz = 6;
      lead.vibratoDepth = 0.25f;
    }
    addTone(b, lead);
    addTone(
        b, {hit + s.at, s.len, noteHz(s.note - 12), 0, Wave::Triangle, 0.3f, Env{0.003f, 0.2f, 0.6f, 0.05f}});
  }
  for (int n : {64, 67, 72})
    addTone(b, {hit + 0.39, 0.8, noteHz(n), 0, Wave::Square, 0.1f, Env{0.01f, 0.3f, 0.5f, 0.1f}});
  addTone(b, {hit + 0.39, 0.8, noteHz(48), 0, Wave::Triangle, 0.45f, Env{0.005f, 0.3f, 0.4f, 0.1f}});
  for (int i = 0; i < 8; ++i)
    addNoise(b,
             {hit + i * 0.065, 0.03, 0.18f, 8000, 0, 0.8f, Env{0.001f, 0.01f, 0, 0.01f}, 30u + uint64_t(i)});
  reverb(b, 0.18f, 0.6f);
  normalize(b);
  return b;
}

// status1..5: stings growing in intensity with the level.
Buffer status(int level) {
  switch (level) {
    case 1: {
      Buffer b(0.5);
      addTone(b, {0.0, 0.2, noteHz(81), 0, Wave::Sine, 0.5f, Env{0.003f, 0.08f, 0, 0.05f}});
      addTone(b, {0.09, 0.35, noteHz(88), 0, Wave::Sine, 0.5f, Env{0.003f, 0.12f, 0, 0.08f}});
      reverb(b, 0.25f, 0.6f);
      normalize(b, 0.6f);
      return b;
    }
    case 2: {
      Buffer b(0.75);
      const int notes[] = {84, 88, 91};
      for (int i = 0; i < 3; ++i)
        addTone(b,
                {i * 0.08, 0.4, noteHz(notes[i]), 0, Wave::Triangle, 0.4f, Env{0.003f, 0.12f, 0.1f, 0.1f}});
      reverb(b, 0.35f, 0.75f);
      normalize(b, 0.7f);
      return b;
    }
    case 3: {
      Buffer b(1.0);
      addTone(b, {0.0, 0.3, 220, 1320, Wave::Square, 0.25f, Env{0.01f, 1.0f, 1.0f, 0.02f}});
      for (int n : {72, 76, 79, 84})
        addTone(b, {0.3, 0.6, noteHz(n), 0, Wave::Saw, 0.16f, Env{0.005f, 0.2f, 0.3f, 0.15f}, 0, 0, 8});
      addTone(b, {0.3, 0.3, 120, 50, Wave::Sine, 0.6f, Env{0.002f, 0.08f, 0, 0.05f}});
      reverb(b, 0.3f, 0.7f);
      normalize(b, 0.8f);
      return b;
    }
    case 4: {
      Buffer b(1.4);
      for (int i = 0; i < 6; ++i)
        addTone(b, {i * 0.09, 0.09, noteHz(i % 2 ? 88 : 81), 0, Wave::Square, 0.22f,
                    Env{0.002f, 0.1f, 0.8f, 0.01f}});
      addNoise(b, {0.0, 0.6, 0.35f, 800, 6000, 1.2f, Env{0.5f, 1.0f, 1.0f, 0.02f}, 44});
      for (int n : {69, 73, 76, 81})
        addTone(b, {0.6, 0.7, noteHz(n), 0, Wave::Saw, 0.15f, Env{0.004f, 0.25f, 0.3f, 0.2f}, 5, 0.15f, 10});
      addTone(b, {0.6, 0.4, 140, 45, Wave::Sine, 0.8f, Env{0.001f, 0.1f, 0, 0.08f}});
      addNoise(b, {0.6, 0.5, 0.3f, 5000, 0, 0.7f, Env{0.001f, 0.15f, 0, 0.1f}, 45});
      reverb(b, 0.3f, 0.75f);
      normalize(b, 0.85f);
      return b;
    }
    default: {
      Buffer b(2.4);
      // riser, impact, brass stack, sparkle and crash
      addNoise(b, {0.0, 0.55, 0.45f, 400, 9000, 1.0f, Env{0.5f, 1.0f, 1.0f, 0.01f}, 51});
      addTone(b, {0.0, 0.55, 110, 880, Wave::Saw, 0.18f, Env{0.5f, 1.0f, 1.0f, 0.01f}});
      addTone(b, {0.55, 0.8, 160, 32, Wave::Sine, 1.0f, Env{0.001f, 0.25f, 0, 0.2f}});
      addNoise(b, {0.55, 1.6, 0.22f, 6000, 2500, 0.6f, Env{0.001f, 0.45f, 0, 0.5f}, 52});
      for (int n : {48, 60, 64, 67, 72, 76, 79, 84})
        addTone(b, {0.55, 1.6, noteHz(n), 0, Wave::Saw, 0.16f, Env{0.01f, 0.5f, 0.5f, 0.5f}, 5.5f, 0.12f, 9});
      for (int i = 0; i < 12; ++i)
        addTone(b, {0.65 + i * 0.06, 0.25, noteHz(84 + (i * 7) % 24), 0, Wave::Sine, 0.18f,
                    Env{0.002f, 0.08f, 0, 0.05f}});
      softClip(b, 1.6f);
      reverb(b, 0.35f, 0.8f);
      fadeOut(b, 0.4);
      normalize(b, 0.89f);
      return b;
    }
  }
}

// bigshot1: a huge cannon-like impact with a rolling tail.
Buffer bigShot() {
  Buffer b(2.3);
  addNoise(b, {0.0, 0.015, 1.0f, 2500, 0, 0.3f, Env{0.0003f, 0.004f, 0, 0.004f}, 61});
  addTone(b, {0.0, 1.6, 150, 30, Wave::Sine, 1.0f, Env{0.001f, 0.45f, 0, 0.3f}});
  addTone(b, {0.0, 0.6, 75, 40, Wave::Triangle, 0.5f, Env{0.001f, 0.2f, 0, 0.1f}});
  addNoise(b, {0.0, 1.4, 0.55f, 1800, 120, 0.5f, Env{0.001f, 0.3f, 0, 0.3f}, 62});
  // debris rumble
  addNoise(b, {0.2, 1.8, 0.35f, 180, 90, 0.7f, Env{0.1f, 0.6f, 0, 0.6f}, 63});
  softClip(b, 2.2f);
  reverb(b, 0.25f, 0.82f, 0.45f);
  fadeOut(b, 0.5);
  normalize(b);
  return b;
}

// voice100million: "ichioku!" shouted over a fanfare.
Buffer jackpotVoice() {
  Buffer b(2.5);
  //       t      pitch  F1    F2     F3    voiced hiss  hissC  level
  const std::vector<VoiceKey> keys = {
      {0.00, 230, 290, 2300, 3100, 1.0f, 0.0f, 4000, 0.0f},
      {0.03, 240, 290, 2300, 3100, 1.0f, 0.0f, 4000, 1.0f},  // i
      {0.12, 245, 290, 2300, 3100, 1.0f, 0.0f, 4000, 1.0f},
      {0.14, 245, 290, 2300, 3100, 0.0f, 0.0f, 4000, 0.0f},  // closure
      {0.17, 245, 290, 2300, 3100, 0.0f, 1.0f, 3600, 1.0f},  // ch
      {0.23, 250, 290, 2300, 3100, 0.2f, 0.8f, 3600, 1.0f},
      {0.25, 255, 290, 2300, 3100, 1.0f, 0.0f, 3600, 1.0f},  // i
      {0.33, 260, 300, 2200, 3000, 1.0f, 0.0f, 3600, 1.0f},
      {0.38, 275, 500, 880, 2600, 1.0f, 0.0f, 3600, 1.0f},  // o
      {0.58, 300, 510, 860, 2550, 1.0f, 0.0f, 3600, 1.0f},
      {0.60, 300, 450, 1200, 2500, 0.0f, 0.0f, 2000, 0.0f},  // k closure
      {0.64, 300, 330, 1300, 2500, 0.0f, 1.0f, 2000, 0.9f},  // k burst
      {0.66, 295, 330, 1200, 2450, 1.0f, 0.1f, 2000, 1.0f},  // u
      {0.90, 240, 320, 1150, 2400, 1.0f, 0.0f, 2000, 0.9f},
      {1.05, 200, 320, 1150, 2400, 0.7f, 0.0f, 2000, 0.0f},
  };
  addVoice(b, 0.05, keys, 100, 0.75f);
  highpass(b, 100);
  // fanfare: a swelling chord under the voice, then ta-ta-ta-taaa
  Buffer brass(2.5);
  for (int n : {60, 64, 67})
    addTone(brass, {0.0, 1.0, noteHz(n), 0, Wave::Saw, 0.1f, Env{0.8f, 1.0f, 1.0f, 0.1f}, 5, 0.1f, 8});
  struct Hit {
    double at, len;
    std::vector<int> notes;
  };
  const Hit hits[] = {{1.05, 0.12, {67, 72, 76}},
                      {1.2, 0.12, {67, 72, 76}},
                      {1.35, 0.12, {67, 72, 76}},
                      {1.5, 0.95, {72, 76, 79, 84}}};
  for (const Hit& h : hits)
    for (int n : h.notes)
      addTone(brass, {h.at, h.len, noteHz(n), 0, Wave::Saw, 0.32f, Env{0.01f, 0.25f, 0.6f, 0.12f},
                      h.len > 0.5 ? 5.5f : 0.0f, h.len > 0.5 ? 0.12f : 0.0f, 9});
  lowpass(brass, 4200);
  for (size_t i = 0; i < b.s.size(); ++i) b.s[i] += brass.s[i];
  addTone(b, {1.5, 0.5, 110, 45, Wave::Sine, 0.6f, Env{0.001f, 0.15f, 0, 0.1f}});
  addNoise(b, {1.5, 0.9, 0.3f, 7000, 4000, 0.6f, Env{0.001f, 0.3f, 0, 0.3f}, 101});
  reverb(b, 0.25f, 0.75f);
  fadeOut(b, 0.25);
  normalize(b);
  return b;
}

// Every effect ends with a short fade so that no reverb tail is cut off with a
// click, and sounds at the loudness of the music (a little below its peak, so
// that rounding to 16 bits never reaches full scale).
QByteArray finished(Buffer b) {
  fadeOut(b, 0.04);
  setLoudness(b, -20.0f, -1.1f);
  return wavBytes(b);
}

void addWav(MediaList& list, const char* name, std::function<Buffer()> make) {
  list.push_back({QStringLiteral("se/") + QLatin1String(name), [make] { return finished(make()); }, {}});
}

}  // namespace

void addSoundEffects(MediaList& list) {
  addWav(list, "fm009.wav", chime);
  addWav(list, "gasha.wav", gasha);
  addWav(list, "voice047.wav", yoshi);
  addWav(list, "door02.wav", door);
  addWav(list, "bosu28_a.wav", bonus);
  for (int i = 1; i <= 5; ++i) {
    const QString name = QStringLiteral("status%1.wav").arg(i);
    list.push_back({QStringLiteral("se/") + name, [i] { return finished(status(i)); }, {}});
  }
  addWav(list, "bigshot1.wav", bigShot);
  addWav(list, "voice100million.wav", jackpotVoice);
}

}  // namespace quilo
