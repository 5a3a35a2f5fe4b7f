#include "state/main_window.h"

#include "model/window_design.h"
#include "text/numbers.h"

namespace quilo {

MainWindow::MainWindow(Platform& platform) : form(form1_design()), platform_(platform) {}

// ---- Media ---------------------------------------------------------------------------

void MainWindow::play_midi(const QString& file) { platform_.midi_open(file); }

void MainWindow::close_midi() { platform_.midi_close(); }

void MainWindow::play_se(const QString& file) { platform_.play_se(file); }

void MainWindow::load_gf_picture(ControlName target, const QString& file) {
  form[target].picture = file;
  platform_.picture_loaded(form.name(), target.text(), file);
}

void MainWindow::load_gf_background(const QString& file) {
  form.background = file;
  platform_.picture_loaded(form.name(), QStringLiteral("background"), file);
}

void MainWindow::WaitTimer(float seconds) {
  if (!form.open) throw RunAborted{};
  if (skipping)
    platform_.skip_pause(seconds);
  else
    platform_.pause(seconds);
  if (!form.open) throw RunAborted{};
}

// ---- Odds ------------------------------------------------------------------------------

bool MainWindow::check_odds_entered() {
  if (trim_blanks(text(form1::Text1)).isEmpty()) {
    platform_.message(QStringLiteral("1番人気のオッズが入力されていません"), kOddsTitle, Buttons::OK);
    return false;
  }
  if (trim_blanks(text(form1::Text2)).isEmpty()) {
    platform_.message(QStringLiteral("2番人気のオッズが入力されていません"), kOddsTitle, Buttons::OK);
    return false;
  }
  return true;
}

std::optional<float> MainWindow::odds(int which) const {
  return parse_odds(text(which == 1 ? form1::Text1 : form1::Text2));
}

std::optional<float> MainWindow::odds_or_message(int which) {
  auto v = odds(which);
  if (!v)
    platform_.message(QStringLiteral("%1番人気のオッズが数値ではありません").arg(which), kOddsTitle,
                      Buttons::OK);
  return v;
}

}  // namespace quilo
