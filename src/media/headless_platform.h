// The platform without a window, sound or printer: a virtual clock, scripted
// answers to message boxes and an ordered log of every effect.
#pragma once

#include "media/platform.h"

#include <QJsonArray>
#include <QJsonObject>

#include <deque>
#include <functional>

namespace quilo {

class HeadlessPlatform : public Platform {
 public:
  void play_se(const QString& file) override;
  void midi_open(const QString& file) override;
  void midi_close() override;
  void picture_loaded(const QString& form, const QString& target, const QString& file) override;
  void pause(float seconds) override;
  void skip_pause(float seconds) override;
  Answer message(const QString& text, const QString& title, Buttons buttons) override;
  PrintResult print(const QStringList& lines) override;
  double time_of_day() override { return clock; }

  // Returns the events logged since the last call and forgets them.
  QJsonArray take_events();
  const QJsonArray& events() const { return events_; }

  double clock = 12 * 3600.0;      // virtual time of day, seconds since midnight
  std::deque<Answer> answers;      // answers to the next OK/Cancel questions
  bool printer_available = true;   // false: printing reports no printer
  QString music_playing;           // the open music file, "" for none
  // Runs at the start of every pause, with the pause's length: lets a test act
  // as a user who presses buttons while a command waits.
  std::function<void(float)> on_pause;

 private:
  void log(QJsonObject event) { events_.append(event); }
  QJsonArray events_;
};

}  // namespace quilo
