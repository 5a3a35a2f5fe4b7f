#include "media/headless_platform.h"

#include <cmath>

namespace quilo {

void HeadlessPlatform::play_se(const QString& file) {
  log({{"kind", "se"}, {"file", file}});
}

void HeadlessPlatform::midi_open(const QString& file) {
  // Like the real device, an alias that is still open cannot be opened again.
  if (music_playing.isEmpty()) music_playing = file;
  log({{"kind", "midi_open"}, {"file", file}});
}

void HeadlessPlatform::midi_close() {
  music_playing.clear();
  log({{"kind", "midi_close"}});
}

void HeadlessPlatform::picture_loaded(const QString& form, const QString& target,
                                      const QString& file) {
  if (target == QLatin1String("background")) {
    QJsonObject e{{"kind", "background"}, {"file", file}};
    if (form != QLatin1String("Form1")) e.insert("form", form);
    log(e);
  } else {
    log({{"kind", "picture"}, {"target", target}, {"file", file}});
  }
}

void HeadlessPlatform::pause(float seconds) {
  log({{"kind", "pause"}, {"seconds", double(seconds)}});
  if (seconds < 0) return;
  if (on_pause) on_pause(seconds);
  clock = std::fmod(clock + double(seconds), 86400.0);
}

void HeadlessPlatform::skip_pause(float seconds) {
  // Logged like a pause, but the clock stands still.
  log({{"kind", "pause"}, {"seconds", double(seconds)}, {"skipped", true}});
}

Answer HeadlessPlatform::message(const QString& text, const QString& title, Buttons buttons) {
  Answer answer = Answer::OK;
  if (buttons == Buttons::OKCancel && !answers.empty()) {
    answer = answers.front();
    answers.pop_front();
  }
  log({{"kind", "message"},
       {"text", text},
       {"title", title},
       {"buttons", buttons == Buttons::OK ? "OK" : "OKCancel"},
       {"answer", answer == Answer::OK ? "OK" : "Cancel"}});
  return answer;
}

PrintResult HeadlessPlatform::print(const QStringList& lines) {
  if (!printer_available)
    return {false, QStringLiteral("プリンターが見つかりません。")};
  log({{"kind", "print"}, {"lines", QJsonArray::fromStringList(lines)}});
  return {};
}

QJsonArray HeadlessPlatform::take_events() {
  QJsonArray out;
  std::swap(out, events_);
  return out;
}

}  // namespace quilo
