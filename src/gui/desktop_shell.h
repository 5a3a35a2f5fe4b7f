// The desktop program: the model, the desktop platform and the three windows,
// wired together.
#pragma once

#include "app/app.h"
#include "gui/desktop_platform.h"
#include "gui/form_view.h"

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
  FormView& view(int form_number);

 private:
  void sync_window(FormView& view, Form& form);
  void open_audio();

  DesktopPlatform platform_;
  std::unique_ptr<App> app_;
  std::unique_ptr<FormView> form1_view_, form2_view_, form3_view_, form4_view_;
};

}  // namespace quilo
