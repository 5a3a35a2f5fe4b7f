// The teaching-file loader on arbitrary bytes (Windows-31J, broken or not),
// followed by the teaching command that shows one entry.
#include "app/app.h"
#include "fuzz_support.h"
#include "media/headless_platform.h"
#include "presentation/teaching.h"

using namespace quilo;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static HeadlessPlatform platform;
  static App app(platform);
  fuzz::work_folder();
  fuzz::write_file(QStringLiteral("maharaja.txt"),
                   QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)));
  platform.take_events();
  load_teaching_file(app.main(), QStringLiteral("maharaja.txt"));
  FUZZ_CHECK(app.main().s.teaching_count >= 0 && app.main().s.teaching_count <= kTeachingEntries, "count %d",
             int(app.main().s.teaching_count));
  FUZZ_CHECK(platform.take_events().size() <= 1, "more than one message");
  // Whatever was read, a teaching can be shown.
  app.click(QStringLiteral("Form1"), QStringLiteral("Command13"));
  FUZZ_CHECK(app.main().form["List1"].lines.size() <= kOutputLines, "list lines");
  return 0;
}
