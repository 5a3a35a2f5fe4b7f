// The platform without a window, sound or printer: a virtual clock, scripted
// answers to message boxes and an ordered log of every effect.
#pragma once

#include "media/platform.h"

#include <QJsonArray>
#include <QJsonObject>

#include <cstdint>
#include <deque>
#include <functional>

namespace quilo {

// The value with every lone UTF-16 surrogate in its texts replaced by U+FFFD:
// JSON text cannot carry one (it would be written as an escape that JSON
// readers reject).
QJsonValue with_valid_text(const QJsonValue& value);
QString with_valid_text(const QString& text);

// How much event text the log keeps for the next dump (some 3,000 predictions'
// worth): past it the oldest events are let go, so that a long run without a
// dump stays at one size.
inline constexpr qsizetype kEventLogLimit = qsizetype(1) << 20;

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
  bool has_printer() override { return printer_available; }
  // Logged; answers with the next of `chosen_files` (empty text: cancelled),
  // or cancels when there is none.
  std::optional<QString> choose_save_file(const QString& title, const QString& suggested,
                                          const QString& filter) override;
  std::deque<QString> chosen_files;
  double time_of_day() override { return clock; }
  // The virtual date and the virtual time of day.
  QDateTime now() override;

  // Returns the events logged since the last call and forgets them. When some
  // were let go (see kEventLogLimit), the first is {"events":N,"kind":"dropped"}.
  QJsonArray take_events();
  // The same as one compact JSON array, as text.
  QByteArray take_events_text();
  // Forgets the events logged so far.
  void drop_events();

  double clock = 12 * 3600.0;     // virtual time of day, seconds since midnight
  QDate date{2010, 1, 1};         // virtual date
  std::deque<Answer> answers;     // answers to the next OK/Cancel questions
  bool printer_available = true;  // false: printing reports no printer
  QString music_playing;          // the open music file, "" for none
  // Runs at the start of every pause, with the pause's length: lets a test act
  // as a user who presses buttons while a command waits.
  std::function<void(float)> on_pause;

 private:
  void log(const QJsonObject& event);
  // Kept as compact JSON text, joined by commas: a long run without a dump
  // costs what its events take to print, not the size of JSON objects.
  QByteArray events_;
  std::deque<qsizetype> starts_;  // where each kept event begins in events_
  std::int64_t dropped_ = 0;      // events let go since the last dump
};

}  // namespace quilo
