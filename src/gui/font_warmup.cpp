#include "gui/font_warmup.h"

#include <fontconfig/fontconfig.h>

namespace quilo {

// Fontconfig keeps one configuration per process and makes it safely from
// any thread; Qt's own initialisation later finds it ready.
FontWarmup::FontWarmup() : thread_([] { FcInit(); }) {}

FontWarmup::~FontWarmup() {
  if (thread_.joinable()) thread_.join();
}

}  // namespace quilo
