// The main window's world, which its commands and engines work on: its
// controls, the state its commands share, the random-number generator, and
// the media, message and pause operations. The commands are functions over
// it (engines/, presentation/, app/shell_commands.h); it knows none of them.
#pragma once

#include "files/startup_files.h"
#include "media/platform.h"
#include "model/control_names.h"
#include "model/form.h"
#include "model/shared_state.h"
#include "state/random.h"
#include "state/titles.h"

#include <QString>

#include <optional>

namespace quilo {

// Thrown by a pause when the main window has been closed meanwhile: the
// command that paused stops there.
struct RunAborted {};

class MainWindow {
 public:
  explicit MainWindow(Platform& platform);
  MainWindow(const MainWindow&) = delete;
  MainWindow& operator=(const MainWindow&) = delete;

  Form form;      // Form1, the one source of truth for its controls
  SharedState s;  // what the commands hand on to each other
  Lcg24Random rng;
  // The files the start-up read; the output never writes into one of them.
  StartupFiles startup_files;
  // Started by hand in a folder without tables: the per-user folder that the
  // start-up's message offers to start over in (empty: no offer), and whether
  // the user took it.
  QString user_folder_offer;
  bool start_over_requested = false;

  Platform& platform() { return platform_; }

  // ---- Controls ---------------------------------------------------------------------
  Control& c(ControlName name) { return form[name]; }
  const Control& c(ControlName name) const { return form[name]; }
  Control& label(ControlArray array, int index) { return form(array, index); }
  QString text(ControlName name) const { return form[name].text; }
  int selected(ControlName name) const { return form[name].selected; }
  // By a key made at run time ("Label1(37)"), as tests and the views do.
  Control& c(const QString& key) { return form[key]; }
  const Control& c(const QString& key) const { return form[key]; }
  Control& label(const QString& name, int index) { return form.at(name, index); }
  QString text(const QString& key) const { return form[key].text; }
  // The lines of the hidden result list List1.
  void set_result_line(int i, const QString& line) { set_list_line(form[form1::List1], i, line); }
  QString result_line(int i) const { return list_line(form[form1::List1], i); }

  // ---- Media ------------------------------------------------------------------------
  void play_midi(const QString& file);
  void close_midi();
  void play_se(const QString& file);
  // target: an image control of the main window.
  void load_gf_picture(ControlName target, const QString& file);
  // The main window's background picture.
  void load_gf_background(const QString& file);
  // The background a staging shows after the coming pause (it may be got ready).
  void gf_background_ahead(const QString& file) { platform_.picture_ahead(file); }
  // Pauses while the windows stay alive; throws RunAborted when the main
  // window was closed before or during the pause. While the running command
  // is skipped, the pause returns at once.
  void WaitTimer(float seconds);
  bool skipping = false;

  // ---- Odds -------------------------------------------------------------------------
  // Runs the blank-odds check; false when a message stopped the command.
  bool check_odds_entered();
  // The odds as a single-precision number, or nullopt (no message). which: 1 or 2.
  std::optional<float> odds(int which) const;
  // The same, or a message and nullopt when the text is not a number.
  std::optional<float> odds_or_message(int which);

 private:
  Platform& platform_;
};

}  // namespace quilo
