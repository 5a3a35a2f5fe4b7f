// The scenario reader on arbitrary lines, against small tables. Lines that
// would point the output window outside the working folder are dropped.
#include "fuzz_support.h"
#include "scenario/scenario.h"

using namespace quilo;

namespace {

void write_small_tables() {
  // Output files of earlier inputs go, so that every input starts alike.
  QDir dir = fuzz::work_folder();
  for (const QString& name : dir.entryList(QDir::Files | QDir::Hidden | QDir::System)) dir.remove(name);
  for (const QString& name : dir.entryList(QDir::Dirs | QDir::NoDotAndDotDot))
    QDir(dir.filePath(name)).removeRecursively();
  for (int n = 1; n <= 8; ++n) {
    QByteArray t;
    for (int row = 0; row < 40; ++row) t += QByteArray::number((row * 7 + n * 3) % 21 - 1) + "\r\n";
    fuzz::write_file(QStringLiteral("crt_%1.txt").arg(n), t);
  }
  for (int n = 1; n <= 4; ++n) {
    QByteArray t;
    for (int row = 0; row < 30; ++row) t += QByteArray::number((row * 5 + n) % 10) + "\r\n";
    fuzz::write_file(QStringLiteral("waku_%1.txt").arg(n), t);
  }
  fuzz::write_file(QStringLiteral("maharaja.txt"), "\x82\xa0,\"b,c\"\r\nd\r\n");
}

bool escapes_folder(const QString& line) {
  const QString t = line.trimmed();
  return t.startsWith(QLatin1String("folder")) || t.contains(QLatin1String("Dir1")) ||
         t.contains(QLatin1String("Drive1"));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const QStringList lines =
      QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size)).split(QLatin1Char('\n'));
  if (lines.size() > 200) return -1;
  write_small_tables();
  ScenarioRunner runner;
  for (const QString& line : lines) {
    if (escapes_folder(line)) continue;
    runner.run_line(line);
    if (runner.started()) {
      const App& app = runner.app();
      FUZZ_CHECK(!app.main().form["List1"].visible, "List1 visible");
      FUZZ_CHECK(app.main().s.chance_level >= 0 && app.main().s.chance_level <= 8, "chance level %d",
                 int(app.main().s.chance_level));
    }
  }
  runner.finish();
  runner.dump();
  return 0;
}
