// Minimal Standard MIDI File writer (format 1, PPQ timing).
#pragma once

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <vector>

namespace quilo::midi {

class Track {
 public:
  explicit Track(const QString& name = {});

  void tempo(uint32_t tick, double bpm);
  void timeSignature(uint32_t tick, int numerator, int denominatorPow2);
  void program(uint32_t tick, int channel, int program);
  void control(uint32_t tick, int channel, int controller, int value);
  // Adds a note-on at `tick` and its note-off `length` ticks later.
  void note(uint32_t tick, uint32_t length, int channel, int key, int velocity);

  QByteArray encode() const;

 private:
  struct Event {
    uint32_t tick;
    int order;  // at equal ticks: meta, then note-offs, then controls, then note-ons
    QByteArray bytes;
  };
  void add(uint32_t tick, int order, QByteArray bytes);
  std::vector<Event> events_;
};

QByteArray file(const std::vector<Track>& tracks, int ticksPerQuarter);

}  // namespace quilo::midi
