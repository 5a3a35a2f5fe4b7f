// The two General MIDI tunes: the upbeat opening song and the calm tune of
// the output window. Written as bars of chords and melody and arranged into
// lead, chords, pad, bass and drum tracks; each is also rendered to the sound
// the program plays.

#include "media.h"
#include "midi.h"
#include "tune_render.h"

#include <QStringList>

#include <QtGlobal>
#include <map>
#include <string>

namespace quilo {

namespace {

constexpr int kPpq = 480;
constexpr int kEighth = kPpq / 2;
constexpr int kBar = kPpq * 4;
constexpr int kDrums = 9;

// GM drum keys
enum Drum {
  Kick = 36,
  SideStick = 37,
  Snare = 38,
  HatClosed = 42,
  TomLow = 45,
  HatPedal = 44,
  HatOpen = 46,
  TomMid = 47,
  TomHigh = 50,
  Crash = 49,
  Ride = 51
};

struct Chord {
  int root;                // pitch class 0..11
  std::vector<int> tones;  // intervals from the root
};

Chord chord(const std::string& name) {
  static const std::map<std::string, Chord> table = {
      {"C", {0, {0, 4, 7}}},      {"Dm", {2, {0, 3, 7}}},     {"Em", {4, {0, 3, 7}}},
      {"E", {4, {0, 4, 7}}},      {"E7", {4, {0, 4, 10}}},    {"F", {5, {0, 4, 7}}},
      {"G", {7, {0, 4, 7}}},      {"G7", {7, {0, 4, 10}}},    {"Am", {9, {0, 3, 7}}},
      {"Fmaj7", {5, {0, 4, 11}}}, {"Cadd9", {0, {0, 4, 14}}},
  };
  return table.at(name);
}

// A bar: one or two chords ("F/G" splits the bar) and melody as (key, eighths), key < 0 for a rest.
struct Bar {
  std::string chords;
  std::vector<std::pair<int, int>> melody;
};

struct Section {
  std::vector<Bar> bars;
  int leadProgram;
  enum Feel { Intro, Verse, Build, Chorus, Break, Ending } feel;
};

std::vector<std::pair<Chord, int>> barChords(const std::string& text) {
  const QStringList parts = QString::fromStdString(text).split(QLatin1Char('/'));
  std::vector<std::pair<Chord, int>> out;
  const int each = 8 / int(parts.size());
  for (const QString& p : parts) out.push_back({chord(p.toStdString()), each});
  return out;
}

// Close voicing of a chord around middle C.
std::vector<int> voicing(const Chord& c, int low) {
  std::vector<int> keys;
  for (int iv : c.tones) {
    int k = c.root + iv;
    while (k < low) k += 12;
    while (k >= low + 12) k -= 12;
    keys.push_back(k);
  }
  return keys;
}

// Shortens the release of every note on a channel by `timecents` (1200 halves
// it), through the SoundFont NRPN for the volume envelope's release. Long
// overlapping tails cost the synthesiser a voice each and blur the chords.
void shorterRelease(midi::Track& t, int channel, int timecents) {
  const int data = 8192 - timecents / 2;  // this NRPN counts in steps of two timecents
  t.control(0, channel, 99, 120);         // NRPN MSB: SoundFont generators
  t.control(0, channel, 98, 38);          // NRPN LSB: release of the volume envelope
  t.control(0, channel, 38, data & 127);  // data entry, low seven bits first
  t.control(0, channel, 6, data >> 7);
}

QByteArray openingSong() {
  // 144 BPM, 36 bars: one minute.
  const int A4 = 69, B4 = 71, C5 = 72, D5 = 74, E5 = 76, F5 = 77, G5 = 79, A5 = 81, B5 = 83, C6 = 84, D6 = 86,
            E6 = 88, G4 = 67, Gs4 = 68, R = -1;
  const std::vector<Section> song = {
      {{{"F", {{A5, 2}, {G5, 1}, {A5, 1}, {C6, 2}, {A5, 2}}},
        {"G", {{G5, 2}, {F5, 1}, {G5, 1}, {B5, 2}, {D6, 2}}},
        {"Em", {{E6, 3}, {D6, 1}, {B5, 2}, {G5, 2}}},
        {"Am", {{A5, 6}, {R, 2}}}},
       80,
       Section::Intro},
      {{{"Am", {{E5, 1}, {E5, 1}, {E5, 1}, {D5, 1}, {C5, 2}, {A4, 2}}},
        {"F", {{C5, 1}, {C5, 1}, {D5, 1}, {C5, 1}, {A4, 2}, {R, 2}}},
        {"G", {{B4, 1}, {B4, 1}, {C5, 1}, {D5, 1}, {G5, 2}, {E5, 2}}},
        {"C", {{E5, 6}, {R, 2}}},
        {"Am", {{E5, 1}, {E5, 1}, {G5, 1}, {E5, 1}, {D5, 2}, {C5, 2}}},
        {"F", {{C5, 1}, {D5, 1}, {E5, 1}, {F5, 1}, {E5, 2}, {C5, 2}}},
        {"G", {{D5, 2}, {E5, 1}, {D5, 1}, {B4, 2}, {G4, 2}}},
        {"E", {{Gs4, 4}, {B4, 4}}}},
       73,
       Section::Verse},
      {{{"Dm", {{F5, 2}, {E5, 1}, {D5, 1}, {A4, 2}, {D5, 2}}},
        {"Em", {{G5, 2}, {F5, 1}, {E5, 1}, {B4, 2}, {E5, 2}}},
        {"F", {{A5, 2}, {G5, 1}, {F5, 1}, {C5, 2}, {F5, 2}}},
        {"G", {{G5, 2}, {A5, 2}, {B5, 2}, {D6, 2}}}},
       73,
       Section::Build},
      {{{"F", {{C6, 3}, {A5, 1}, {A5, 2}, {G5, 2}}},
        {"G", {{B5, 2}, {A5, 1}, {G5, 1}, {G5, 2}, {D5, 2}}},
        {"Em", {{E5, 1}, {G5, 1}, {B5, 2}, {A5, 1}, {G5, 1}, {E5, 2}}},
        {"Am", {{A5, 6}, {G5, 1}, {A5, 1}}},
        {"F", {{C6, 3}, {A5, 1}, {C6, 2}, {D6, 2}}},
        {"G", {{D6, 2}, {C6, 1}, {B5, 1}, {B5, 2}, {G5, 2}}},
        {"C", {{C6, 2}, {B5, 1}, {C6, 1}, {E6, 2}, {D6, 2}}},
        {"C", {{C6, 6}, {R, 2}}}},
       81,
       Section::Chorus},
      {{{"Am", {{E6, 1}, {D6, 1}, {C6, 1}, {B5, 1}, {A5, 2}, {E5, 2}}},
        {"G", {{G5, 1}, {A5, 1}, {B5, 1}, {D6, 1}, {B5, 4}}}},
       80,
       Section::Break},
      {{{"F", {{C6, 3}, {A5, 1}, {A5, 2}, {G5, 2}}},
        {"G", {{B5, 2}, {A5, 1}, {G5, 1}, {G5, 2}, {D5, 2}}},
        {"Em", {{E5, 1}, {G5, 1}, {B5, 2}, {A5, 1}, {G5, 1}, {E5, 2}}},
        {"Am", {{A5, 6}, {G5, 1}, {A5, 1}}},
        {"F", {{C6, 3}, {A5, 1}, {C6, 2}, {D6, 2}}},
        {"G", {{D6, 2}, {C6, 1}, {B5, 1}, {B5, 2}, {G5, 2}}},
        {"C", {{C6, 2}, {B5, 1}, {C6, 1}, {E6, 2}, {D6, 2}}},
        {"C", {{C6, 6}, {R, 2}}}},
       81,
       Section::Chorus},
      {{{"F/G", {{A5, 2}, {G5, 2}, {F5, 2}, {D5, 2}}}, {"C", {{C5, 8}}}}, 80, Section::Ending},
  };

  midi::Track conductor(QStringLiteral("nakipop"));
  conductor.tempo(0, 144);
  conductor.timeSignature(0, 4, 2);
  midi::Track lead(QStringLiteral("Lead")), bells(QStringLiteral("Bells")), keys(QStringLiteral("Piano")),
      pad(QStringLiteral("Pad")), bass(QStringLiteral("Bass")), drums(QStringLiteral("Drums"));
  enum { chLead = 0, chKeys = 1, chBass = 2, chPad = 3, chBells = 4 };
  keys.program(0, chKeys, 5);     // electric piano 2
  bass.program(0, chBass, 33);    // fingered bass
  pad.program(0, chPad, 89);      // warm pad
  bells.program(0, chBells, 11);  // vibraphone
  shorterRelease(keys, chKeys, 1200);
  shorterRelease(pad, chPad, 1200);
  shorterRelease(bells, chBells, 1200);
  const std::pair<int, int> volumes[] = {{chLead, 100}, {chKeys, 82},  {chBass, 104},
                                         {chPad, 58},   {chBells, 64}, {kDrums, 100}};
  for (auto [ch, vol] : volumes) {
    midi::Track& t = ch == chLead    ? lead
                     : ch == chKeys  ? keys
                     : ch == chBass  ? bass
                     : ch == chPad   ? pad
                     : ch == chBells ? bells
                                     : drums;
    t.control(0, ch, 7, vol);
    t.control(0, ch, 91, ch == kDrums ? 30 : 50);
    t.control(0, ch, 10, ch == chKeys ? 48 : ch == chPad ? 80 : ch == chBells ? 90 : 64);
  }

  uint32_t tick = 0;
  for (const Section& sec : song) {
    lead.program(tick, chLead, sec.leadProgram);
    for (size_t b = 0; b < sec.bars.size(); ++b) {
      const Bar& bar = sec.bars[b];
      const bool lastBar = b + 1 == sec.bars.size();
      // melody
      int pos = 0;
      for (auto [key, len] : bar.melody) {
        if (key > 0) {
          const int vel = (pos % 4 == 0 ? 104 : 92) + (sec.feel == Section::Chorus ? 8 : 0);
          lead.note(tick + pos * kEighth, uint32_t(len * kEighth - 20), chLead, key, vel);
          if (sec.feel == Section::Chorus)
            bells.note(tick + pos * kEighth, uint32_t(len * kEighth), chBells, key - 12, 70);
        }
        pos += len;
      }
      if (pos != 8) qFatal("bar %zu of a section does not fill four beats", b);
      // harmony
      int at = 0;
      for (const auto& [c, len] : barChords(bar.chords)) {
        const uint32_t t0 = tick + uint32_t(at * kEighth);
        const std::vector<int> v = voicing(c, 55);
        const int bassKey = 36 + c.root;
        if (sec.feel == Section::Ending && lastBar) {
          for (int k : v) keys.note(t0, kBar - 10, chKeys, k, 90);
          for (int k : voicing(c, 67)) pad.note(t0, kBar - 10, chPad, k, 80);
          bass.note(t0, kBar - 10, chBass, bassKey, 110);
        } else {
          // syncopated comping
          static const int hits[][2] = {{0, 3}, {3, 1}, {4, 2}, {6, 2}};
          for (auto [h, hl] : hits) {
            if (h >= len) continue;
            for (int k : v)
              keys.note(t0 + h * kEighth, uint32_t(std::min(hl, len - h) * kEighth - 30), chKeys, k,
                        h == 0 ? 84 : 70);
          }
          if (sec.feel == Section::Chorus || sec.feel == Section::Build || sec.feel == Section::Ending)
            for (int k : voicing(c, 67))
              pad.note(t0, uint32_t(len * kEighth - 10), chPad, k, sec.feel == Section::Chorus ? 76 : 62);
          // bass line
          for (int e = 0; e < len; ++e) {
            int key = bassKey;
            int vel = e % 2 == 0 ? 100 : 84;
            if (sec.feel == Section::Chorus || sec.feel == Section::Break) {
              if (e % 4 == 3) key += 12;
            } else if (e == 4 || e == 6) {
              key += 7;
            } else if (e % 2 == 1 && sec.feel != Section::Build) {
              continue;
            }
            bass.note(t0 + e * kEighth, kEighth - 30, chBass, key, vel);
          }
        }
        at += len;
      }
      // drums
      const bool firstBar = b == 0;
      if (firstBar) drums.note(tick, kEighth, kDrums, Crash, 110);
      if (sec.feel == Section::Ending && lastBar) {
        drums.note(tick, kEighth, kDrums, Kick, 120);
        drums.note(tick, kEighth, kDrums, Crash, 120);
      } else {
        for (int e = 0; e < 8; ++e) {
          const uint32_t t = tick + e * kEighth;
          const bool fill = lastBar && e >= 6 && sec.feel != Section::Ending;
          if (fill) {
            const int toms[] = {TomHigh, TomHigh, TomMid, TomLow};
            for (int s = 0; s < 2; ++s)
              drums.note(t + s * kEighth / 2, kEighth / 2, kDrums,
                         sec.feel == Section::Build ? Snare : toms[(e - 6) * 2 + s],
                         90 + 8 * (e - 6) + 4 * s);
            continue;
          }
          const bool chorus = sec.feel == Section::Chorus;
          if (e == 0 || e == 4 || (e == 3 && sec.feel != Section::Intro) || (chorus && e == 7))
            drums.note(t, kEighth, kDrums, Kick, e % 4 == 0 ? 112 : 96);
          if (e == 2 || e == 6) drums.note(t, kEighth, kDrums, Snare, 104);
          if (chorus && e % 2 == 1)
            drums.note(t, kEighth, kDrums, HatOpen, 78);
          else
            drums.note(t, kEighth / 2, kDrums, HatClosed, e % 2 == 0 ? 96 : 76);
        }
        if (sec.feel == Section::Chorus && b == 4) drums.note(tick, kEighth, kDrums, Crash, 100);
      }
      tick += kBar;
    }
  }
  return midi::file({conductor, lead, bells, keys, pad, bass, drums}, kPpq);
}

QByteArray outputTune() {
  // 80 BPM, 13 bars: a little under forty seconds.
  const int A4 = 69, B4 = 71, C5 = 72, D5 = 74, E5 = 76, F5 = 77, G5 = 79, A5 = 81, B5 = 83, C6 = 84, D6 = 86,
            R = -1;
  const std::vector<Bar> bars = {
      {"C", {{E5, 4}, {G5, 2}, {E5, 2}}},
      {"G", {{D5, 4}, {B4, 2}, {D5, 2}}},
      {"Am", {{C5, 4}, {E5, 2}, {A5, 2}}},
      {"Em", {{G5, 6}, {R, 2}}},
      {"F", {{A5, 4}, {G5, 2}, {F5, 2}}},
      {"C", {{E5, 4}, {C5, 2}, {E5, 2}}},
      {"Dm", {{F5, 2}, {E5, 2}, {D5, 2}, {A4, 2}}},
      {"G", {{B4, 6}, {D5, 2}}},
      {"F", {{C5, 2}, {F5, 2}, {A5, 2}, {C6, 2}}},
      {"G", {{B5, 4}, {A5, 2}, {G5, 2}}},
      {"Em/Am", {{G5, 2}, {E5, 2}, {A5, 2}, {C6, 2}}},
      {"Dm/G", {{D6, 2}, {C6, 2}, {B5, 2}, {D6, 2}}},
      {"Cadd9", {{C6, 8}}},
  };
  midi::Track conductor(QStringLiteral("nakipops"));
  conductor.tempo(0, 80);
  conductor.timeSignature(0, 4, 2);
  midi::Track melody(QStringLiteral("Celesta")), piano(QStringLiteral("Piano")),
      strings(QStringLiteral("Strings")), bass(QStringLiteral("Bass")), drums(QStringLiteral("Drums"));
  enum { chMelody = 0, chPiano = 1, chBass = 2, chStrings = 3 };
  melody.program(0, chMelody, 8);     // celesta
  piano.program(0, chPiano, 0);       // acoustic grand
  strings.program(0, chStrings, 49);  // slow strings
  bass.program(0, chBass, 32);        // acoustic bass
  melody.control(0, chMelody, 7, 127);
  piano.control(0, chPiano, 7, 120);
  strings.control(0, chStrings, 7, 112);
  bass.control(0, chBass, 7, 116);
  drums.control(0, kDrums, 7, 84);
  for (int ch : {chMelody, chPiano, chStrings, chBass})
    (ch == chMelody    ? melody
     : ch == chPiano   ? piano
     : ch == chStrings ? strings
                       : bass)
        .control(0, ch, 91, 70);

  uint32_t tick = 0;
  for (size_t b = 0; b < bars.size(); ++b) {
    const Bar& bar = bars[b];
    const bool last = b + 1 == bars.size();
    int pos = 0;
    for (auto [key, len] : bar.melody) {
      if (key > 0)
        melody.note(tick + pos * kEighth, uint32_t(len * kEighth - 10), chMelody, key, pos == 0 ? 124 : 114);
      pos += len;
    }
    if (pos != 8) qFatal("bar %zu does not fill four beats", b);
    int at = 0;
    for (const auto& [c, len] : barChords(bar.chords)) {
      const uint32_t t0 = tick + uint32_t(at * kEighth);
      const int r = 48 + c.root;
      const std::vector<int> arp = {r, r + 7, r + 12, r + 12 + c.tones[1], r + 19, r + 24};
      static const int pattern[] = {0, 1, 2, 3, 4, 3, 2, 1};
      if (last) {
        for (int i = 0; i < 5; ++i) piano.note(t0 + i * 60, kBar - i * 60, chPiano, arp[size_t(i)], 100);
      } else {
        for (int e = 0; e < len; ++e)
          piano.note(t0 + e * kEighth, kEighth * 2, chPiano, arp[size_t(pattern[e])], e == 0 ? 104 : 90);
      }
      for (int k : voicing(c, 60)) strings.note(t0, uint32_t(len * kEighth - 10), chStrings, k, 96);
      bass.note(t0, uint32_t(len * kEighth - 40), chBass, 36 + c.root, 112);
      at += len;
    }
    if (b >= 4 && !last) {
      for (int beat = 0; beat < 4; ++beat) {
        drums.note(tick + beat * kPpq, kEighth, kDrums, HatPedal, 50);
        if (beat % 2 == 1) drums.note(tick + beat * kPpq, kEighth, kDrums, SideStick, 52);
      }
      drums.note(tick, kEighth, kDrums, Kick, 58);
    }
    if (last) drums.note(tick, kEighth, kDrums, Ride, 60);
    tick += kBar;
  }
  return midi::file({conductor, melody, piano, strings, bass, drums}, kPpq);
}

}  // namespace

// Each tune as its MIDI source and as the sound the program plays, rendered
// from that source.
void addMusic(MediaList& list) {
  struct Tune {
    const char* name;
    QByteArray (*make)();
  };
  static const Tune kTunes[] = {{"nakipop", openingSong}, {"nakipops", outputTune}};
  for (const auto& [name, tune] : kTunes) {
    list.push_back({QStringLiteral("music/midi/%1.mid").arg(QLatin1String(name)), tune, {}});
    list.push_back({QStringLiteral("music/%1.ogg").arg(QLatin1String(name)),
                    [tune] {
                      const std::vector<float> sound = renderTune(tune()).samples;
                      return sound.empty() ? QByteArray() : encodeVorbis(sound);
                    },
                    {}});
  }
}

}  // namespace quilo
