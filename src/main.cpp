// Quilo: the desktop program, or with --script the headless scenario mode.
#include "files/append_journal.h"
#include "files/install_layout.h"
#include "files/user_folder.h"
#include "gui/desktop_shell.h"
#include "gui/font_warmup.h"
#include "gui/qt_translations.h"
#include "platform/desktop_env.h"
#include "scenario/scenario.h"
#include "state/titles.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QMessageBox>
#include <QProcess>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

void usage(FILE* out) {
  std::fprintf(
      out,
      "usage: quilo [--user-folder] [--history H]              start the program (reads its tables from "
      "the current folder)\n"
      "       quilo [--user-folder] [--history H] --script F   run the scenario file F headless ('-' reads "
      "standard input)\n"
      "       quilo --version | --help\n"
      "\n"
      "  --user-folder  work in the per-user folder ($XDG_DATA_HOME/quilo), made on first start\n"
      "                 with copies of the installed tables; the output window opens on the home folder\n"
      "  --history H    record the predictions and results in the history file H; without it the\n"
      "                 program uses $XDG_DATA_HOME/quilo/history.sqlite and --script keeps them in memory\n"
      "  Qt's -platform NAME, -display NAME, -style NAME and -reverse are passed on to Qt.\n");
}

bool is(const char* arg, const char* option) { return std::strcmp(arg, option) == 0; }

// Options that Qt's application object reads, with the value that follows them.
bool qt_option_with_value(const char* arg) {
  return is(arg, "-platform") || is(arg, "-display") || is(arg, "-style");
}

// Without a display Qt aborts with a message about its platform plugins. Say
// what is missing and how to run without a window instead, and end cleanly.
[[noreturn]] void no_display() {
  const quilo::platform::DisplaySetting display = quilo::platform::display_setting();
  if (display.value.isEmpty())
    std::fprintf(stderr,
                 "quilo: 画面がないため、ウィンドウを開けません（%s が設定されていません）。\n"
                 "quilo: cannot open a window: no display (%s is not set).\n",
                 display.variable, display.variable);
  else
    std::fprintf(stderr,
                 "quilo: 画面 %s に接続できないため、ウィンドウを開けません。\n"
                 "quilo: cannot open a window: the display %s cannot be reached.\n",
                 display.value.constData(), display.value.constData());
  std::fprintf(stderr,
               "       ウィンドウなしで動かすには / to run without a window:  quilo --script FILE"
               "  ('-' reads standard input)\n");
  std::fflush(stderr);
  std::_Exit(1);
}

QtMessageHandler qt_default_handler = nullptr;

// Catches Qt's fatal failure to reach the window system while the
// application object is made; every other message goes on as usual.
void startup_messages(QtMsgType type, const QMessageLogContext& context, const QString& text) {
  if (type == QtFatalMsg) no_display();
  // Qt's own warnings before that failure say the same less clearly.
  if (context.category && std::strncmp(context.category, "qt.qpa.", 7) == 0) return;
  if (qt_default_handler) qt_default_handler(type, context, text);
}

// No display is named at all, and Qt would look for one: fail early.
void check_display(const char* platform_arg) {
  const QByteArray platform = platform_arg ? QByteArray(platform_arg) : qgetenv("QT_QPA_PLATFORM");
  if (quilo::platform::display_unnamed(platform)) no_display();
}

// Makes the per-user working folder and moves into it. Returns an error text
// for the user, or an empty string; `notice` gets what the user should be
// told about copies an upgrade refreshed.
QString enter_user_folder(QString& notice) {
  const QString folder = quilo::default_user_folder();
  const QString data = quilo::locate_install(QCoreApplication::applicationDirPath()).data_folder;
  if (data.isEmpty())
    std::fprintf(stderr, "quilo: no installed tables found beside %s\n",
                 qPrintable(QCoreApplication::applicationDirPath()));
  const quilo::UserFolderResult made = quilo::prepare_user_folder(folder, data);
  if (!made.ok) return made.error;
  if (!made.refreshed.isEmpty()) notice = quilo::refreshed_notice(made.refreshed);
  if (!QDir::setCurrent(folder)) return QStringLiteral("作業フォルダ %1 に移動できませんでした").arg(folder);
  return {};
}

}  // namespace

int main(int argc, char** argv) {
  bool user_folder = false;
  const char* script = nullptr;
  const char* history = nullptr;
  const char* platform = nullptr;
  bool display_named = false;
  for (int i = 1; i < argc; ++i) {
    const char* arg = argv[i];
    if (is(arg, "--help") || is(arg, "-h")) {
      usage(stdout);
      return 0;
    }
    if (is(arg, "--version")) {
      std::printf("quilo %s\n", QUILO_VERSION);
      return 0;
    }
    if (is(arg, "--user-folder")) {
      user_folder = true;
    } else if (is(arg, "--script") || is(arg, "--history") || qt_option_with_value(arg)) {
      if (i + 1 >= argc) {
        std::fprintf(stderr, "quilo: %s needs a value\n", arg);
        usage(stderr);
        return 2;
      }
      ++i;
      if (is(arg, "--script")) script = argv[i];
      if (is(arg, "--history")) history = argv[i];
      if (is(arg, "-platform")) platform = argv[i];
      if (is(arg, "-display")) display_named = true;
    } else if (!is(arg, "-reverse")) {
      std::fprintf(stderr, "quilo: unknown option %s\n", arg);
      usage(stderr);
      return 2;
    }
  }

  // Appends that a killed or cut-off program left half done are taken back
  // before anything reads or writes an output file.
  quilo::recover_unfinished_appends();

  if (script) {
    QCoreApplication app(argc, argv);
    QString path = QString::fromLocal8Bit(script);
    // A script named relative to where the command was given, not the user folder.
    if (path != QLatin1String("-")) path = QDir::current().absoluteFilePath(path);
    // Automation keeps its history in memory unless told otherwise.
    const QString history_file =
        history ? QDir::current().absoluteFilePath(QString::fromLocal8Bit(history)) : QString();
    QString output_folder;
    if (user_folder) {
      QString notice;
      const QString error = enter_user_folder(notice);
      if (!error.isEmpty()) {
        std::fprintf(stderr, "quilo: %s\n", error.toUtf8().constData());
        return 1;
      }
      if (!notice.isEmpty()) std::fprintf(stderr, "quilo: %s\n", notice.toUtf8().constData());
      output_folder = QDir::homePath();
    }
    return quilo::run_scenario_file(path, output_folder, history_file);
  }

  const QString history_file = history ? QDir::current().absoluteFilePath(QString::fromLocal8Bit(history))
                                       : quilo::default_history_file();
  if (!display_named) check_display(platform);
  quilo::FontWarmup font_warmup;
  qt_default_handler = qInstallMessageHandler(startup_messages);
  QApplication app(argc, argv);
  qInstallMessageHandler(qt_default_handler);
  QApplication::setApplicationName(QStringLiteral("Quilo"));
  quilo::install_font_substitutions();
  quilo::install_qt_translations();
  QString output_folder;
  QString notice;
  if (user_folder) {
    const QString error = enter_user_folder(notice);
    if (!error.isEmpty()) {
      QMessageBox::critical(nullptr, quilo::kAppTitle, error);
      return 1;
    }
    output_folder = QDir::homePath();
  }
  quilo::DesktopShell shell(QCoreApplication::applicationDirPath(), history_file);
  if (!output_folder.isEmpty()) {
    shell.app().output().start_folder = output_folder;
    shell.app().history().export_folder = output_folder;
  }
  // Started by hand where there are no tables: the start-up offers the
  // per-user folder, as the menu entry uses it.
  if (!user_folder) shell.app().main().user_folder_offer = quilo::default_user_folder();
  shell.start();
  if (shell.app().main().start_over_requested) {
    QStringList args = QCoreApplication::arguments().mid(1);
    args.prepend(QStringLiteral("--user-folder"));
    if (QProcess::startDetached(QCoreApplication::applicationFilePath(), args)) return 0;
    QMessageBox::critical(
        nullptr, quilo::kAppTitle,
        QStringLiteral("作業フォルダで始め直せませんでした。quilo --user-folder で起動して下さい。"));
    return 1;
  }
  if (!notice.isEmpty() && shell.app().main().form.open)
    shell.app().main().platform().message(notice, quilo::kAppTitle, quilo::Buttons::OK);
  if (!shell.app().main().form.open) return 0;
  return app.exec();
}
