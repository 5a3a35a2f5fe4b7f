// The desktop on Linux and other X11 or Wayland systems: the display named by
// DISPLAY or WAYLAND_DISPLAY, and the fonts through Fontconfig, which Qt reads
// them with.
#include "platform/desktop_env.h"

#include <QByteArrayList>

#include <fontconfig/fontconfig.h>

namespace quilo::platform {

bool display_unnamed(const QByteArray& qpa_platform) {
  const QByteArray plugin = qpa_platform.split(':').value(0);
  const bool needs_display = plugin.isEmpty() || plugin == "xcb" || plugin == "wayland";
  return needs_display && qEnvironmentVariableIsEmpty("DISPLAY") &&
         qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
}

DisplaySetting display_setting() { return {"DISPLAY", qgetenv("DISPLAY")}; }

void load_font_configuration() { FcInit(); }

}  // namespace quilo::platform
