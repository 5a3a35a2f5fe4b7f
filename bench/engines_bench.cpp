// Table loading and every engine's stages, headless: the pauses of the
// headless platform return at once, so these are the engines' own costs.
#include "app/app.h"
#include "app/startup.h"
#include "engines/engines.h"
#include "files/table_files.h"
#include "media/headless_platform.h"

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QDir>

#include <memory>

using namespace quilo;

namespace {

// An App started in the folder of the committed tables, with a race entered.
struct Fixture {
  HeadlessPlatform platform;
  std::unique_ptr<App> app;

  explicit Fixture(const char* odds1 = "2.5", const char* odds2 = "5.0") {
    QDir::setCurrent(QStringLiteral(QUILO_DATA_DIR));
    app = std::make_unique<App>(platform);
    app->start();
    auto pick = [&](const char* key, int index) {
      Control& c = app->main().c(QLatin1String(key));
      c.selected = index;
      c.text = c.items.value(index);
    };
    pick("Combo6", 2);
    pick("Combo3", 4);
    pick("Combo4", 9);
    pick("Combo2", 4);
    pick("Combo14", 1);
    pick("Combo13", 6);
    pick("Combo5", 10);
    pick("Combo1", 11);
    pick("Combo8", 1);
    pick("Combo9", 5);
    pick("Combo7", 9);
    pick("place_extra_box", 1);
    app->main().c(form1::Text1).text = QString::fromLatin1(odds1);
    app->main().c(form1::Text2).text = QString::fromLatin1(odds2);
    platform.drop_events();
  }

  // The event log grows with every run; empty it now and then.
  void tidy(benchmark::State& state) {
    if ((state.iterations() & 255) == 0) platform.drop_events();
  }
};

void BM_LoadTwelveTables(benchmark::State& state) {
  Fixture f;
  for (auto _ : state) {
    for (int n = 1; n < kCrtColumns; ++n) load_crt_file(f.app->main(), crt_file_name(n), n);
    for (int n = 1; n < kWakuColumns; ++n) load_waku_file(f.app->main(), waku_file_name(n), n);
    benchmark::DoNotOptimize(f.app->main().s.crt_table[8][0]);
  }
}
BENCHMARK(BM_LoadTwelveTables)->Unit(benchmark::kMicrosecond);

// One engine stage, run over and over on the same inputs.
template <auto Stage>
void BM_Stage(benchmark::State& state) {
  Fixture f;
  for (auto _ : state) {
    Stage(f.app->main());
    f.tidy(state);
  }
}
BENCHMARK(BM_Stage<&yosou_loto6_Q>)->Name("trifecta/draw");
BENCHMARK(BM_Stage<&yosou_loto6_crt>)->Name("trifecta/result");
BENCHMARK(BM_Stage<&yosou_numbers3_Q>)->Name("makai_trifecta/draw");
BENCHMARK(BM_Stage<&yosou_numbers3_crt>)->Name("makai_trifecta/result");
BENCHMARK(BM_Stage<&yosou_numbers_mini_Q>)->Name("exacta/draw");
BENCHMARK(BM_Stage<&yosou_numbers_mini_crt>)->Name("exacta/result");
BENCHMARK(BM_Stage<&yosou_numbers4_Q>)->Name("onibaku_exacta/draw");
BENCHMARK(BM_Stage<&yosou_numbers4_crt>)->Name("onibaku_exacta/result");
BENCHMARK(BM_Stage<&yosou_mini_loto_Q>)->Name("place/draw");
BENCHMARK(BM_Stage<&yosou_mini_loto_crt>)->Name("place/result");
BENCHMARK(BM_Stage<&yosou_WAKU_Q>)->Name("bracket/draw");
BENCHMARK(BM_Stage<&yosou_WAKU_crt>)->Name("bracket/result");

// A whole command as a press of its button, stagings included (without waiting).
void BM_Command(benchmark::State& state, const char* command, const char* o1, const char* o2) {
  Fixture f(o1, o2);
  for (auto _ : state) {
    f.app->click(QStringLiteral("Form1"), QLatin1String(command));
    f.tidy(state);
  }
}
BENCHMARK_CAPTURE(BM_Command, trifecta, "Command8", "2.5", "5.0");
BENCHMARK_CAPTURE(BM_Command, makai_trifecta, "Command1", "1.3", "2.0");
BENCHMARK_CAPTURE(BM_Command, exacta, "Command3", "2.5", "5.0");
BENCHMARK_CAPTURE(BM_Command, onibaku_exacta_new_nebula, "Command6", "2.5", "5.0");
BENCHMARK_CAPTURE(BM_Command, advice, "Command4", "2.5", "5.0");
BENCHMARK_CAPTURE(BM_Command, place, "Command11", "2.5", "5.0");
BENCHMARK_CAPTURE(BM_Command, bracket, "Command12", "2.5", "5.0");
BENCHMARK_CAPTURE(BM_Command, teaching, "Command13", "2.5", "5.0");

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication qapp(argc, argv);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
