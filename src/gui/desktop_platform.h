// The platform of the desktop program: the audio module for sound and music, Qt for
// message boxes, printing and the pause.
#pragma once

#include "gui/deferred_audio.h"
#include "gui/picture_cache.h"
#include "media/platform.h"

#include <QPointer>
#include <QWidget>

#include <functional>
#include <vector>

class QEventLoop;

namespace quilo {

class DesktopPlatform : public Platform {
 public:
  // program_folder: the folder that holds the program; its media folders are
  // found from there (see app/install_layout.h).
  explicit DesktopPlatform(const QString& program_folder);

  void play_se(const QString& file) override;
  void midi_open(const QString& file) override;
  void midi_close() override;
  void picture_loaded(const QString& form, const QString& target, const QString& file) override;
  void picture_ahead(const QString& file) override;
  void pause(float seconds) override;
  void skip_pause(float seconds) override;
  Answer message(const QString& text, const QString& title, Buttons buttons) override;
  PrintResult print(const QStringList& lines) override;
  bool has_printer() override;
  std::optional<QString> choose_save_file(const QString& title, const QString& suggested,
                                          const QString& filter) override;
  double time_of_day() override;
  QDateTime now() override { return QDateTime::currentDateTime(); }

  // Ends every pause that is waiting now (the main window has closed).
  void interrupt_pauses();

  PictureCache& pictures() { return pictures_; }
  DeferredAudio& audio() { return audio_; }

  // Called before the program waits (a pause, a message box) so that the
  // windows show the model as it is now.
  std::function<void()> before_wait;
  // The window that message boxes belong to.
  std::function<QWidget*()> active_window;
  // Told of each new background of the main window (measurements).
  std::function<void(const QString& file)> on_background;

 private:
  PictureCache pictures_;
  DeferredAudio audio_;
  std::vector<QEventLoop*> loops_;
};

}  // namespace quilo
