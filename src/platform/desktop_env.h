// What the desktop program needs of the desktop it starts on before Qt's
// window system connection is made: whether a display is named at all, and
// the system's font configuration, read ahead of the first text laid out.
#pragma once

#include <QByteArray>

namespace quilo::platform {

// Whether Qt's platform plugin `qpa_platform` (its name; empty for the
// default one) shows its windows on a display that nothing names: Qt would
// then abort with a message about its plugins.
bool display_unnamed(const QByteArray& qpa_platform);

// The environment variable that names the display, and what it holds (empty
// when it is not set), for the message when no display can be reached.
struct DisplaySetting {
  const char* variable = "";
  QByteArray value;
};
DisplaySetting display_setting();

// Reads the system's font configuration and font caches now (they are kept
// for the whole process, whichever thread reads them), so that the first
// text laid out does not wait for them; safe from any thread.
void load_font_configuration();

}  // namespace quilo::platform
