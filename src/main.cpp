// Quilo: the desktop program, or with --script the headless scenario mode.
#include "gui/desktop_shell.h"
#include "scenario/scenario.h"

#include <QApplication>
#include <QCoreApplication>

#include <cstdio>
#include <cstring>

namespace {

void usage() {
  std::printf(
      "usage: quilo              start the program (reads its tables from the current folder)\n"
      "       quilo --script F   run the scenario file F headless ('-' reads standard input)\n");
}

}  // namespace

int main(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    if (!std::strcmp(argv[i], "--help") || !std::strcmp(argv[i], "-h")) {
      usage();
      return 0;
    }
    if (!std::strcmp(argv[i], "--script")) {
      if (i + 1 >= argc) {
        usage();
        return 2;
      }
      QCoreApplication app(argc, argv);
      return quilo::run_scenario_file(QString::fromLocal8Bit(argv[i + 1]));
    }
  }

  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Quilo"));
  quilo::install_font_substitutions();
  quilo::DesktopShell shell(QCoreApplication::applicationDirPath());
  shell.start();
  if (!shell.app().form1.open) return 0;
  return app.exec();
}
