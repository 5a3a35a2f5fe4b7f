// The desktop program: the model, the desktop platform and the four windows,
// wired together. The other windows' views are made when they first open, so
// that a start costs only the main window.
#pragma once

#include "app/app.h"
#include "gui/desktop_platform.h"
#include "gui/form_view.h"

#include <QPointer>

#include <memory>

namespace quilo {

class DesktopShell {
 public:
  // history_file: the history file; empty keeps the history in memory.
  explicit DesktopShell(const QString& program_folder, const QString& history_file = {});
  ~DesktopShell();

  // Runs the main window's start-up and shows the windows the model opens.
  void start();
  // Shows, hides and refreshes every window from the model.
  void refresh_all();

  App& app() { return *app_; }
  DesktopPlatform& platform() { return platform_; }
  // The view of Form1 .. Form4, made now if it was not yet.
  FormView& view(int form_number);

 private:
  Form& form_of(int form_number);
  FormView& make_view(int form_number);
  void sync_window(int form_number);
  void open_audio();

  DesktopPlatform platform_;
  std::unique_ptr<App> app_;
  std::unique_ptr<FormView> views_[4];  // Form1 .. Form4; null until first needed
  QPointer<QWidget> pressed_window_;    // the window whose button runs a command now
};

}  // namespace quilo
