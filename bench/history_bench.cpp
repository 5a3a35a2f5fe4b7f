// The history over 10,000 recorded runs (history_sample.h, recorded as the
// program records them): recording one run with the 成績 window open, and
// opening the window (its races, the bets of the newest, the figures and
// the chart summed by the database), as a model and with its views laid out
// and painted; reading every run back, as the CSV export does.
// bench/history_scale.py measures the same at 10k, 100k and 1M runs.
#include "gui/form_view.h"
#include "gui/picture_cache.h"
#include "history_fill.h"
#include "history_sample.h"
#include "media/headless_platform.h"
#include "windows/history_window.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>

using namespace quilo;
using namespace quilo::bench;

namespace {

// A history file of `runs` runs, made once per size and copied for each case.
QString filled_history(const QTemporaryDir& dir, qint64 runs) {
  static QTemporaryDir cache;
  const QString made = cache.filePath(QStringLiteral("history-%1.sqlite").arg(runs));
  if (!QFile::exists(made))
    if (const QString error = fill_history(made, runs, FillWay::Store); !error.isEmpty())
      qFatal("%s", qPrintable(error));
  const QString file = dir.filePath(QStringLiteral("history.sqlite"));
  QFile::copy(made, file);
  return file;
}

// The 成績 window on a filled history file, with its views.
struct FilledWindow {
  explicit FilledWindow(qint64 runs) : runs(runs) { window.open_store(filled_history(dir, runs)); }
  qint64 runs;
  QTemporaryDir dir;
  HeadlessPlatform platform;
  StartupFiles own_files;
  HistoryWindow window{platform, own_files};
  PictureCache pictures{QStringLiteral(QUILO_GF_DIR)};
  FormView view{window.form, pictures};
};

// Each run on a new race, its result not yet in and not the race picked in
// the window: the list takes it, the figures stay.
void BM_RecordRunWindowOpen(benchmark::State& state) {
  FilledWindow filled(state.range(0));
  filled.view.show();
  filled.window.Form_Load();
  filled.view.refresh();
  qint64 n = (race_of_run(filled.runs - 1) + 1) * qint64(kRunsPerRace);
  for (auto _ : state) {
    filled.window.record(sample_run(n), recorded_at(n));
    filled.view.refresh();
    ++n;
  }
  if (filled.platform.take_events_text() != "[]") state.SkipWithError("a message while recording");
}
BENCHMARK(BM_RecordRunWindowOpen)->Arg(10000)->Unit(benchmark::kMillisecond);

void BM_OpenHistoryWindowModel(benchmark::State& state) {
  FilledWindow filled(state.range(0));
  HistoryWindow& window = filled.window;
  for (auto _ : state) {
    window.Form_Load();
    window.Command4_Click();
  }
}
BENCHMARK(BM_OpenHistoryWindowModel)->Arg(10000)->Unit(benchmark::kMillisecond)->Iterations(10);

void BM_OpenHistoryWindow(benchmark::State& state) {
  FilledWindow filled(state.range(0));
  HistoryWindow& window = filled.window;
  FormView& view = filled.view;
  view.show();
  std::size_t races = 0;
  for (auto _ : state) {
    window.Form_Load();
    view.refresh();
    benchmark::DoNotOptimize(view.grab());  // tables and chart laid out and painted
    state.PauseTiming();
    races = window.form[form4::Grid1].rows.size();
    window.Command4_Click();
    window.form.reset();
    view.refresh();
    state.ResumeTiming();
  }
  state.counters["races"] = double(races);  // as the window listed them
}
BENCHMARK(BM_OpenHistoryWindow)->Arg(10000)->Unit(benchmark::kMillisecond)->Iterations(10);

void BM_ReadHistory(benchmark::State& state) {
  FilledWindow filled(state.range(0));
  for (auto _ : state) benchmark::DoNotOptimize(filled.window.store().read());
}
BENCHMARK(BM_ReadHistory)->Arg(10000)->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace

int main(int argc, char** argv) {
  if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  install_font_substitutions();
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
