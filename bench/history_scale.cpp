// The history at scale, driven by bench/history_scale.py:
//   quilo_history_scale fill FILE RUNS [--store | --version2]
//       makes a history file of RUNS made-up runs (history_sample.h)
//   quilo_history_scale check RUNS
//       fills two files both ways and fails unless the program sees the same history in both
//   quilo_history_scale measure FILE [REPEAT]
//       opens FILE (which it changes: use a copy) and prints one JSON line: the first
//       opening of the store (with its check and any migration), a second opening,
//       the first opening of the 成績 window with its views, later ones (median of
//       REPEAT), recording a run with the window open (median of 4 x REPEAT), the
//       time of each query the opening makes, and the process's peak memory
//   quilo_history_scale peak FILE
//       opens the 成績 window with its views once and prints the peak memory
#include "gui/form_view.h"
#include "gui/picture_cache.h"
#include "history_fill.h"
#include "history_sample.h"
#include "media/headless_platform.h"
#include "windows/history_window.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <functional>

using namespace quilo;
using namespace quilo::bench;

namespace {

int fail(const QString& why) {
  std::fprintf(stderr, "quilo_history_scale: %s\n", qPrintable(why));
  return 1;
}

// Fails when the program showed the user a message (its events in the error).
bool quiet(HeadlessPlatform& platform, const QString& when) {
  const QByteArray events = platform.take_events_text();
  if (events == "[]") return true;
  fail(QStringLiteral("a message %1: %2").arg(when, QString::fromUtf8(events)));
  return false;
}

// The peak resident memory of this process so far, in MiB.
double peak_mib() {
  QFile status(QStringLiteral("/proc/self/status"));
  if (!status.open(QIODevice::ReadOnly)) return -1;
  for (const QByteArray& line : status.readAll().split('\n'))
    if (line.startsWith("VmHWM:")) return line.mid(6).trimmed().split(' ').value(0).toDouble() / 1024;
  return -1;
}

double ms_of(const std::function<void()>& work) {
  QElapsedTimer t;
  t.start();
  work();
  return double(t.nsecsElapsed()) / 1e6;
}

double median(std::vector<double> v) {
  if (v.empty()) return -1;
  std::sort(v.begin(), v.end());
  return v.size() % 2 ? v[v.size() / 2] : (v[v.size() / 2 - 1] + v[v.size() / 2]) / 2;
}

// The window on a file, as the program opens it, with its views.
struct OpenWindow {
  HeadlessPlatform platform;
  StartupFiles own_files;
  HistoryWindow window{platform, own_files};
};

// What the program sees of a history: the dump (runs, results, figures of
// both ledgers), the listed races and every race's bets.
QJsonObject seen(HistoryWindow& window) {
  QJsonObject dump = window.dump();
  dump.remove(QStringLiteral("file"));
  int total = 0;
  const auto races = window.store().races(1 << 30, &total);
  QJsonArray listed;
  for (const auto& r : races.value_or(std::vector<HistoryStore::RaceRow>{})) {
    QJsonArray bets;
    for (const auto& b : window.store().race_bets(r.key).value_or(std::vector<HistoryStore::BetRow>{}))
      bets.append(QJsonArray{b.run, b.when, b.command, b.chance_level, b.bought, b.bought_stake.value_or(-1),
                             bet_type_key(b.bet.type), combination_text(b.bet.type, b.bet.numbers),
                             b.bet.stake, b.settled ? int(b.settled->outcome) : -1,
                             b.settled ? b.settled->yen : -1});
    listed.append(QJsonArray{r.key, r.race.year, r.race.month, r.race.day, r.race.racecourse, r.race.race,
                             r.race.field_size, r.runs, r.bets, r.hits, r.payback, r.finish.value_or("-"),
                             bets});
  }
  dump.insert(QStringLiteral("races"), listed);
  dump.insert(QStringLiteral("race_total"), total);
  return dump;
}

int check(qint64 runs) {
  QTemporaryDir dir;
  QJsonObject views[2];
  const FillWay ways[] = {FillWay::Store, FillWay::Tables};
  for (int i = 0; i < 2; ++i) {
    const QString file = dir.filePath(QStringLiteral("history%1.sqlite").arg(i));
    if (const QString error = fill_history(file, runs, ways[i]); !error.isEmpty()) return fail(error);
    OpenWindow open;
    open.window.open_store(file);
    if (!quiet(open.platform, QStringLiteral("opening ") + file)) return 1;
    views[i] = seen(open.window);
  }
  if (views[0] != views[1]) {
    for (const QString& key : views[0].keys())
      if (views[0][key] != views[1][key]) std::fprintf(stderr, "differs: %s\n", qPrintable(key));
    return fail(QStringLiteral("the two ways of filling give different histories"));
  }
  const QJsonObject all = views[0][QStringLiteral("summary")].toObject()[QStringLiteral("all")].toObject();
  std::printf("check: %lld runs the same both ways (%d races, %d bets settled)\n", runs,
              views[0][QStringLiteral("race_total")].toInt(),
              all[QStringLiteral("overall")].toObject()[QStringLiteral("bets")].toInt());
  return 0;
}

int measure(const QString& file, int repeat) {
  QJsonObject out;
  std::unique_ptr<OpenWindow> open = std::make_unique<OpenWindow>();
  out[QStringLiteral("open_ms")] = ms_of([&] { open->window.open_store(file); });
  if (!quiet(open->platform, QStringLiteral("opening ") + file)) return 1;
  out[QStringLiteral("schema")] = open->window.store().schema_version();
  const int runs = open->window.store().run_count();
  out[QStringLiteral("runs")] = runs;
  open = std::make_unique<OpenWindow>();
  out[QStringLiteral("reopen_ms")] = ms_of([&] { open->window.open_store(file); });

  HistoryWindow& window = open->window;
  PictureCache pictures{QStringLiteral(QUILO_GF_DIR)};
  FormView view(window.form, pictures);
  view.show();
  // The first opening in a session also counts the rows out of range.
  out[QStringLiteral("first_load_ms")] = ms_of([&] {
    window.Form_Load();
    view.refresh();
    view.grab();
  });
  window.Command4_Click();
  window.form.reset();
  view.refresh();
  std::vector<double> model, shown;
  for (int i = 0; i < repeat; ++i) {
    model.push_back(ms_of([&] { window.Form_Load(); }));
    window.Command4_Click();
    window.form.reset();
    view.refresh();
    shown.push_back(ms_of([&] {
      window.Form_Load();
      view.refresh();
      view.grab();  // tables and chart laid out and painted
    }));
  }
  out[QStringLiteral("load_model_ms")] = median(model);
  out[QStringLiteral("load_ms")] = median(shown);
  out[QStringLiteral("races_listed")] = int(window.form[form4::Grid1].rows.size());

  // Where the opening goes: each of the store's queries it makes (all time,
  // every prediction), median of REPEAT.
  const HistoryStore& store = window.store();
  const auto first = store.races(1, nullptr);
  const QString newest = first && !first->empty() ? first->front().key : QString();
  const std::pair<const char*, std::function<void()>> parts[] = {
      {"left_out", [&] { store.left_out(); }},
      {"races", [&] { store.races(1000, nullptr); }},
      {"race_bets", [&] { store.race_bets(newest); }},
      {"figures", [&] { store.figures(Ledger::Predictions, Grouping::BetType, {}); }},
      {"overall", [&] { store.overall(Ledger::Predictions, {}); }},
      {"fold_races",
       [&] {
         RaceFold fold;
         store.fold_races(Ledger::Predictions, {}, std::nullopt, fold);
       }},
  };
  QJsonObject parts_ms;
  for (const auto& [name, work] : parts) {
    std::vector<double> times;
    for (int i = 0; i < repeat; ++i) times.push_back(ms_of(work));
    parts_ms[QLatin1String(name)] = median(times);
  }
  out[QStringLiteral("parts_ms")] = parts_ms;

  // New runs on new races (no result yet, not the race picked), with the
  // window open and its views brought up to date.
  std::vector<double> record, record_shown;
  const int records = 4 * repeat;
  const qint64 first_new = (race_of_run(runs - 1) + 1) * qint64(kRunsPerRace);
  for (int i = 0; i < records; ++i) {
    const qint64 n = first_new + i;
    record.push_back(ms_of([&] { window.record(sample_run(n), recorded_at(n)); }));
    record_shown.push_back(ms_of([&] {
      window.record(sample_run(n + records), recorded_at(n + records));
      view.refresh();
    }));
  }
  out[QStringLiteral("record_ms")] = median(record);
  out[QStringLiteral("record_view_ms")] = median(record_shown);
  // Another run on the race picked in the window (the newest when it opened),
  // and one on a race whose result is in: the window shows them at once.
  window.Form_Load();
  out[QStringLiteral("record_picked_ms")] =
      ms_of([&] { window.record(sample_run(first_new + 2 * records - 1), recorded_at(runs)); });
  out[QStringLiteral("record_settled_ms")] = ms_of([&] { window.record(sample_run(0), recorded_at(runs)); });
  if (!quiet(open->platform, QStringLiteral("while measuring"))) return 1;
  out[QStringLiteral("peak_mib")] = peak_mib();
  std::printf("%s\n", QJsonDocument(out).toJson(QJsonDocument::Compact).constData());
  return 0;
}

int peak(const QString& file) {
  OpenWindow open;
  open.window.open_store(file);
  PictureCache pictures{QStringLiteral(QUILO_GF_DIR)};
  FormView view(open.window.form, pictures);
  view.show();
  open.window.Form_Load();
  view.refresh();
  view.grab();
  std::printf("{\"peak_mib\": %.1f, \"races_listed\": %lld}\n", peak_mib(),
              qint64(open.window.form[form4::Grid1].rows.size()));
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  install_font_substitutions();
  const QStringList args = app.arguments().mid(1);
  const QString verb = args.value(0);
  if (verb == QLatin1String("fill") && args.size() >= 3) {
    const FillWay way = args.contains(QStringLiteral("--store"))      ? FillWay::Store
                        : args.contains(QStringLiteral("--version2")) ? FillWay::TablesVersion2
                                                                      : FillWay::Tables;
    const QString error = fill_history(args[1], args[2].toLongLong(), way);
    return error.isEmpty() ? 0 : fail(error);
  }
  if (verb == QLatin1String("check") && args.size() == 2) return check(args[1].toLongLong());
  if (verb == QLatin1String("measure") && args.size() >= 2)
    return measure(args[1], args.value(2, "5").toInt());
  if (verb == QLatin1String("peak") && args.size() == 2) return peak(args[1]);
  return fail(
      QStringLiteral("usage: fill FILE RUNS [--store|--version2] | check RUNS | measure FILE [REPEAT] | "
                     "peak FILE"));
}
