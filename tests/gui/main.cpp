#include "gui/form_view.h"

#include <gtest/gtest.h>

#include <QApplication>

int main(int argc, char** argv) {
  // Views are tested on the offscreen platform unless a display is asked for.
  if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  if (!qEnvironmentVariableIsSet("SDL_AUDIODRIVER")) qputenv("SDL_AUDIODRIVER", "dummy");
  QApplication app(argc, argv);
  quilo::install_font_substitutions();
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
