// Quilo: the desktop program, or with --script the headless scenario mode.
#include "app/user_folder.h"
#include "gui/desktop_shell.h"
#include "gui/font_warmup.h"
#include "scenario/scenario.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QMessageBox>

#include <cstdio>
#include <cstring>

namespace {

void usage() {
  std::printf(
      "usage: quilo [--user-folder]              start the program (reads its tables from the current folder)\n"
      "       quilo [--user-folder] --script F   run the scenario file F headless ('-' reads standard input)\n"
      "\n"
      "  --user-folder  work in the per-user folder ($XDG_DATA_HOME/quilo), made on first start\n"
      "                 with copies of the installed tables; the output window opens on the home folder\n");
}

// Makes the per-user working folder and moves into it. Returns an error text
// for the user, or an empty string.
QString enter_user_folder() {
  const QString folder = quilo::default_user_folder();
  const QString data = quilo::installed_data_folder(QCoreApplication::applicationDirPath());
  if (data.isEmpty())
    std::fprintf(stderr, "quilo: no installed tables found beside %s\n",
                 qPrintable(QCoreApplication::applicationDirPath()));
  const quilo::UserFolderResult made = quilo::prepare_user_folder(folder, data);
  if (!made.ok) return made.error;
  if (!QDir::setCurrent(folder))
    return QStringLiteral("作業フォルダ %1 に移動できませんでした").arg(folder);
  return {};
}

}  // namespace

int main(int argc, char** argv) {
  bool user_folder = false;
  const char* script = nullptr;
  for (int i = 1; i < argc; ++i) {
    if (!std::strcmp(argv[i], "--help") || !std::strcmp(argv[i], "-h")) {
      usage();
      return 0;
    }
    if (!std::strcmp(argv[i], "--user-folder")) {
      user_folder = true;
    } else if (!std::strcmp(argv[i], "--script")) {
      if (i + 1 >= argc) {
        usage();
        return 2;
      }
      script = argv[++i];
    }
  }

  if (script) {
    QCoreApplication app(argc, argv);
    QString path = QString::fromLocal8Bit(script);
    // A script named relative to where the command was given, not the user folder.
    if (path != QLatin1String("-")) path = QDir::current().absoluteFilePath(path);
    QString output_folder;
    if (user_folder) {
      const QString error = enter_user_folder();
      if (!error.isEmpty()) {
        std::fprintf(stderr, "quilo: %s\n", error.toUtf8().constData());
        return 1;
      }
      output_folder = QDir::homePath();
    }
    return quilo::run_scenario_file(path, output_folder);
  }

  quilo::FontWarmup font_warmup;
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Quilo"));
  quilo::install_font_substitutions();
  QString output_folder;
  if (user_folder) {
    const QString error = enter_user_folder();
    if (!error.isEmpty()) {
      QMessageBox::critical(nullptr, QStringLiteral("競馬予想 Quilo ピルピルθK"), error);
      return 1;
    }
    output_folder = QDir::homePath();
  }
  quilo::DesktopShell shell(QCoreApplication::applicationDirPath());
  if (!output_folder.isEmpty()) shell.app().form3_start_folder = output_folder;
  shell.start();
  if (!shell.app().form1.open) return 0;
  return app.exec();
}
