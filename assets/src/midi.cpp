#include "midi.h"

#include <algorithm>
#include <cmath>

namespace quilo::midi {

namespace {

void appendVarLen(QByteArray& out, uint32_t v) {
  char buf[5];
  int n = 0;
  buf[n++] = char(v & 0x7f);
  while (v >>= 7) buf[n++] = char((v & 0x7f) | 0x80);
  while (n) out.append(buf[--n]);
}

void appendU32(QByteArray& out, uint32_t v) {
  for (int s = 24; s >= 0; s -= 8) out.append(char((v >> s) & 0xff));
}

void appendU16(QByteArray& out, uint16_t v) {
  out.append(char(v >> 8));
  out.append(char(v & 0xff));
}

QByteArray bytes(std::initializer_list<int> list) {
  QByteArray b;
  for (int v : list) b.append(char(v & 0xff));
  return b;
}

}  // namespace

Track::Track(const QString& name) {
  if (!name.isEmpty()) {
    const QByteArray text = name.toUtf8();
    QByteArray b = bytes({0xff, 0x03});
    appendVarLen(b, uint32_t(text.size()));
    add(0, 0, b + text);
  }
}

void Track::add(uint32_t tick, int order, QByteArray b) { events_.push_back({tick, order, std::move(b)}); }

void Track::tempo(uint32_t tick, double bpm) {
  const uint32_t us = uint32_t(std::lround(60000000.0 / bpm));
  add(tick, 0, bytes({0xff, 0x51, 0x03, int(us >> 16), int(us >> 8), int(us)}));
}

void Track::timeSignature(uint32_t tick, int numerator, int denominatorPow2) {
  add(tick, 0, bytes({0xff, 0x58, 0x04, numerator, denominatorPow2, 24, 8}));
}

void Track::program(uint32_t tick, int channel, int program) {
  add(tick, 2, bytes({0xc0 | channel, program}));
}

void Track::control(uint32_t tick, int channel, int controller, int value) {
  add(tick, 2, bytes({0xb0 | channel, controller, value}));
}

void Track::note(uint32_t tick, uint32_t length, int channel, int key, int velocity) {
  velocity = std::clamp(velocity, 1, 127);
  add(tick, 3, bytes({0x90 | channel, key, velocity}));
  add(tick + std::max<uint32_t>(length, 1), 1, bytes({0x80 | channel, key, 64}));
}

QByteArray Track::encode() const {
  std::vector<Event> sorted = events_;
  std::stable_sort(sorted.begin(), sorted.end(), [](const Event& a, const Event& b) {
    return a.tick != b.tick ? a.tick < b.tick : a.order < b.order;
  });
  QByteArray body;
  uint32_t last = 0;
  for (const Event& e : sorted) {
    appendVarLen(body, e.tick - last);
    body.append(e.bytes);
    last = e.tick;
  }
  appendVarLen(body, 0);
  body.append(bytes({0xff, 0x2f, 0x00}));
  QByteArray chunk("MTrk");
  appendU32(chunk, uint32_t(body.size()));
  return chunk + body;
}

QByteArray file(const std::vector<Track>& tracks, int ticksPerQuarter) {
  QByteArray out("MThd");
  appendU32(out, 6);
  appendU16(out, 1);
  appendU16(out, uint16_t(tracks.size()));
  appendU16(out, uint16_t(ticksPerQuarter));
  for (const Track& t : tracks) out.append(t.encode());
  return out;
}

}  // namespace quilo::midi
