// The table loader on arbitrary file contents: a crt or waku column read
// into the shared tables, with at most one message for the file.
#include "app/app.h"
#include "app/startup.h"
#include "fuzz_support.h"
#include "media/headless_platform.h"

using namespace quilo;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static HeadlessPlatform platform;
  static App app(platform);
  fuzz::work_folder();
  if (size == 0) return 0;
  // The first byte picks the table: crt columns 1..8 or waku columns 1..4.
  const bool waku = data[0] & 0x80;
  const int column = waku ? 1 + data[0] % 4 : 1 + data[0] % 8;
  const QString name =
      waku ? QStringLiteral("waku_%1.txt").arg(column) : QStringLiteral("crt_%1.txt").arg(column);
  fuzz::write_file(name, QByteArray(reinterpret_cast<const char*>(data + 1), qsizetype(size - 1)));

  platform.take_events();
  if (waku)
    load_waku_file(app.main(), name, column);
  else
    load_crt_file(app.main(), name, column);
  const QJsonArray events = platform.take_events();
  FUZZ_CHECK(events.size() <= 1, "%d events", int(events.size()));
  for (const auto& e : events)
    FUZZ_CHECK(e.toObject().value("kind").toString() == QLatin1String("message"), "not a message");
  return 0;
}
