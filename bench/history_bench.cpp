// The history: recording one completed run into the file, and opening the
// 成績 window (reading the file, settling every bet, the figures, the chart
// data, and the window's tables and chart drawn) over 10,000 recorded runs.
#include "gui/form_view.h"
#include "gui/picture_cache.h"
#include "history/history_window.h"
#include "media/headless_platform.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QTemporaryDir>

#include <memory>

using namespace quilo;

namespace {

// A run as the trifecta records it, on one of 120 race days a year.
Prediction run_on(int n) {
  Prediction p;
  p.command = "Command8";
  const int day = n / 12;  // twelve races a day
  p.race = {QString::number(2010 + day / 120),
            QStringLiteral("%1").arg(1 + day / 10 % 12, 2, 10, QChar('0')),
            QStringLiteral("%1").arg(1 + day % 10 * 3, 2, 10, QChar('0')),
            n % 2 ? "中山" : "東京",
            QStringLiteral("%1Ｒ").arg(1 + n % 12, 2, 10, QChar('0')),
            "16頭"};
  p.odds1 = "2.5";
  p.odds2 = "5.0";
  p.chance_level = n % 7;
  for (int row = 0; row < 4; ++row)
    p.bets.push_back(
        {BetType::Trifecta, {1 + n % 16, 1 + (n + row + 1) % 16, 1 + (n + 7) % 16}, 400 - 100 * row});
  p.lines = {"  ■■■■  Quilo ピルピルθK ３連単 予想結果 ■■■■", "     2010年04月10日 東京01Ｒ",
             "    [翠甲星帝地球背景]", "     5⇒ 2⇒12 ,  5⇒ 7⇒12 ,  5⇒11⇒12 ,  5⇒8⇒12", "　"};
  return p;
}

RaceResult result_of(int n) {
  RaceResult r;
  r.first = 1 + n % 16, r.second = 1 + (n + 1) % 16, r.third = 1 + (n + 7) % 16;
  r.bracket1 = 1, r.bracket2 = 2, r.exacta = 1500, r.trifecta = 23400, r.bracket = 700,
  r.place = {130, 200, 310};
  return r;
}

const QDateTime kWhen(QDate(2010, 4, 10), QTime(12, 0));

void BM_RecordRun(benchmark::State& state) {
  QTemporaryDir dir;
  HistoryStore store(dir.filePath("history.sqlite"), kWhen);
  const Prediction p = run_on(7);
  for (auto _ : state) benchmark::DoNotOptimize(store.record(p, kWhen));
}
BENCHMARK(BM_RecordRun)->Unit(benchmark::kMicrosecond);

// A history file of `runs` runs, the results of nine races in ten entered.
QString filled_history(const QTemporaryDir& dir, int runs) {
  const QString file = dir.filePath("history.sqlite");
  HistoryStore store(file, kWhen);
  for (int n = 0; n < runs; ++n) {
    store.record(run_on(n), kWhen);
    if (n % 10) store.save_result(race_key(run_on(n).race), result_of(n), kWhen);
  }
  return file;
}

void BM_ReadHistory(benchmark::State& state) {
  QTemporaryDir dir;
  const QString file = filled_history(dir, int(state.range(0)));
  HistoryStore store(file, kWhen);
  for (auto _ : state) benchmark::DoNotOptimize(store.read());
}
BENCHMARK(BM_ReadHistory)->Arg(10000)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_HistoryFigures(benchmark::State& state) {
  QTemporaryDir dir;
  const QString file = filled_history(dir, int(state.range(0)));
  HistoryStore store(file, kWhen);
  const auto contents = store.read();
  const auto& runs = contents->runs;
  const auto& results = contents->results;
  for (auto _ : state) {
    benchmark::DoNotOptimize(summarize(runs, results));
    benchmark::DoNotOptimize(balance_over_time(runs, results, std::nullopt));
  }
}
BENCHMARK(BM_HistoryFigures)->Arg(10000)->Unit(benchmark::kMillisecond)->Iterations(5);

// The history window on a filled history file.
struct FilledWindow {
  explicit FilledWindow(int runs) { window.open_store(filled_history(dir, runs)); }
  QTemporaryDir dir;
  HeadlessPlatform platform;
  StartupFiles own_files;
  HistoryWindow window{platform, own_files};
};

void BM_HistoryWindowModel(benchmark::State& state) {
  FilledWindow filled(int(state.range(0)));
  HistoryWindow& window = filled.window;
  for (auto _ : state) {
    window.Form_Load();
    window.Command4_Click();
  }
}
BENCHMARK(BM_HistoryWindowModel)->Arg(10000)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_OpenHistoryWindow(benchmark::State& state) {
  FilledWindow filled(int(state.range(0)));
  HistoryWindow& window = filled.window;
  PictureCache pictures{QStringLiteral(QUILO_GF_DIR)};
  FormView view(window.form, pictures);
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
