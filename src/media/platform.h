// The one seam between the program's behaviour and the machine it runs on:
// sound, music, pictures, the pause, message boxes, the printer and the clock.
// The desktop program implements it with Qt and SDL2_mixer; the headless
// runner and the tests with a virtual clock and a log of every effect.
#pragma once

#include <QDateTime>
#include <QString>

#include <QStringList>
#include <optional>

namespace quilo {

// OKCancelSafe: OK and キャンセル with キャンセル as the default, for a question
// whose OK replaces or removes something of the user's.
enum class Buttons { OK, OKCancel, OKCancelSafe };
enum class Answer { OK, Cancel };

struct PrintResult {
  enum class Status { Printed, NoPrinter, Failed };
  Status status = Status::Printed;
  QString error;  // what went wrong, for the user, when Failed
  bool ok() const { return status == Status::Printed; }
};

class Platform {
 public:
  virtual ~Platform() = default;

  // Starts a wave effect from the se folder and returns at once; a new effect
  // cuts off the one still playing.
  virtual void play_se(const QString& file) = 0;
  // Opens a MIDI file from the music/midi folder as the one music device and
  // starts it (played once). Failures are silent.
  virtual void midi_open(const QString& file) = 0;
  // Stops the music and closes the device; harmless when nothing is open.
  virtual void midi_close() = 0;

  // A picture from the GF folder has just been put into an image control
  // ("Image2") or, with target "background", behind a window. The model already
  // holds it; this lets the platform load (and cache) or log it.
  virtual void picture_loaded(const QString& form, const QString& target, const QString& file) = 0;
  // A running staging will show this picture after the pause that follows:
  // the platform may get it ready meanwhile. Nothing is shown or logged.
  virtual void picture_ahead(const QString& file) { (void)file; }

  // Pauses the calling command for the given seconds while the windows stay
  // alive. A negative time returns at once.
  virtual void pause(float seconds) = 0;
  // A pause that the user skipped: it returns at once.
  virtual void skip_pause(float seconds) = 0;

  virtual Answer message(const QString& text, const QString& title, Buttons buttons) = 0;

  // Prints one line per entry on the default printer, as one document.
  virtual PrintResult print(const QStringList& lines) = 0;
  // Whether there is a default printer to print on.
  virtual bool has_printer() = 0;
  // Asks the user where to save a file (the platform's own file dialog,
  // starting at `suggested`); nullopt when the user cancels. The caller asks
  // before replacing a file, not the dialog.
  virtual std::optional<QString> choose_save_file(const QString& title, const QString& suggested,
                                                  const QString& filter) = 0;

  // Time of day in seconds since midnight.
  virtual double time_of_day() = 0;
  // The date and time of day, for what the program records.
  virtual QDateTime now() = 0;
};

}  // namespace quilo
