#include "gui/font_warmup.h"

#include "platform/desktop_env.h"

namespace quilo {

// The system keeps one font configuration per process and makes it safely
// from any thread; Qt's own initialisation later finds it ready.
FontWarmup::FontWarmup() : thread_([] { platform::load_font_configuration(); }) {}

FontWarmup::~FontWarmup() {
  if (thread_.joinable()) thread_.join();
}

}  // namespace quilo
