#include "media/headless_platform.h"

#include <QJsonDocument>

#include <cmath>

namespace quilo {

void HeadlessPlatform::play_se(const QString& file) { log({{"kind", "se"}, {"file", file}}); }

void HeadlessPlatform::midi_open(const QString& file) {
  // Like the real device, an alias that is still open cannot be opened again.
  if (music_playing.isEmpty()) music_playing = file;
  log({{"kind", "midi_open"}, {"file", file}});
}

void HeadlessPlatform::midi_close() {
  music_playing.clear();
  log({{"kind", "midi_close"}});
}

void HeadlessPlatform::picture_loaded(const QString& form, const QString& target, const QString& file) {
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
  // Without an answer given, the default button is pressed, as Enter would.
  Answer answer = buttons == Buttons::OKCancelSafe ? Answer::Cancel : Answer::OK;
  if (buttons != Buttons::OK && !answers.empty()) {
    answer = answers.front();
    answers.pop_front();
  }
  QJsonObject entry{{"kind", "message"},
                    {"text", text},
                    {"title", title},
                    {"buttons", buttons == Buttons::OK ? "OK" : "OKCancel"},
                    {"answer", answer == Answer::OK ? "OK" : "Cancel"}};
  if (buttons == Buttons::OKCancelSafe) entry.insert("default", "Cancel");
  log(entry);
  return answer;
}

std::optional<QString> HeadlessPlatform::choose_save_file(const QString& title, const QString& suggested,
                                                          const QString& filter) {
  std::optional<QString> chosen;
  if (!chosen_files.empty()) {
    if (!chosen_files.front().isEmpty()) chosen = chosen_files.front();
    chosen_files.pop_front();
  }
  log({{"kind", "file_dialog"},
       {"title", title},
       {"suggested", suggested},
       {"filter", filter},
       {"chosen", chosen ? QJsonValue(*chosen) : QJsonValue()}});
  return chosen;
}

PrintResult HeadlessPlatform::print(const QStringList& lines) {
  if (!printer_available) return {PrintResult::Status::NoPrinter, {}};
  log({{"kind", "print"}, {"lines", QJsonArray::fromStringList(lines)}});
  return {};
}

QString with_valid_text(const QString& text) {
  QString out;
  for (qsizetype i = 0; i < text.size(); ++i) {
    const QChar c = text[i];
    const bool paired = c.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate();
    if (paired) {
      ++i;
      continue;
    }
    if (!c.isSurrogate()) continue;
    if (out.isNull()) out = text;
    out[i] = QChar(QChar::ReplacementCharacter);
  }
  return out.isNull() ? text : out;
}

QJsonValue with_valid_text(const QJsonValue& value) {
  switch (value.type()) {
    case QJsonValue::String:
      return with_valid_text(value.toString());
    case QJsonValue::Array: {
      QJsonArray a = value.toArray();
      for (qsizetype i = 0; i < a.size(); ++i) a[i] = with_valid_text(a.at(i));
      return a;
    }
    case QJsonValue::Object: {
      QJsonObject o = value.toObject();
      for (auto it = o.begin(); it != o.end(); ++it) it.value() = with_valid_text(it.value());
      return o;
    }
    default:
      return value;
  }
}

void HeadlessPlatform::log(const QJsonObject& event) {
  if (!events_.isEmpty()) events_ += ',';
  starts_.push_back(events_.size());
  events_ += QJsonDocument(with_valid_text(event).toObject()).toJson(QJsonDocument::Compact);
  if (events_.size() <= kEventLogLimit) return;
  // Let the oldest go, down to half the limit: each event is copied at most
  // twice on average, and the newest ones are kept whole.
  size_t drop = 0;
  while (drop + 1 < starts_.size() && events_.size() - starts_[drop] > kEventLogLimit / 2) ++drop;
  const qsizetype cut = starts_[drop];
  events_.remove(0, cut);
  starts_.erase(starts_.begin(), starts_.begin() + qsizetype(drop));
  for (qsizetype& at : starts_) at -= cut;
  dropped_ += std::int64_t(drop);
}

QByteArray HeadlessPlatform::take_events_text() {
  QByteArray out = "[";
  if (dropped_ > 0) {
    out += QJsonDocument(QJsonObject{{"kind", "dropped"}, {"events", qint64(dropped_)}})
               .toJson(QJsonDocument::Compact);
    if (!events_.isEmpty()) out += ',';
  }
  out += events_ + ']';
  drop_events();
  return out;
}

QJsonArray HeadlessPlatform::take_events() { return QJsonDocument::fromJson(take_events_text()).array(); }

void HeadlessPlatform::drop_events() {
  events_.clear();
  starts_.clear();
  dropped_ = 0;
}

}  // namespace quilo

namespace quilo {

QDateTime HeadlessPlatform::now() {
  return QDateTime(date, QTime::fromMSecsSinceStartOfDay(int(std::fmod(clock, 86400.0) * 1000)));
}

}  // namespace quilo
