// Saves a screenshot of one X window, for the measurements' before-and-after
// pictures: quilo_grab_window WINDOW_ID OUT.png|OUT.jpg
#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>

#include <cstdio>

int main(int argc, char** argv) {
  QGuiApplication app(argc, argv);
  const QStringList args = app.arguments();
  bool ok = false;
  const WId window = args.size() == 3 ? args[1].toULongLong(&ok, 0) : 0;
  if (!ok) {
    std::fprintf(stderr, "usage: quilo_grab_window WINDOW_ID OUT.png|OUT.jpg\n");
    return 2;
  }
  const QPixmap shot = app.primaryScreen()->grabWindow(window);
  if (shot.isNull() || !shot.save(args[2], nullptr, 90)) {
    std::fprintf(stderr, "quilo_grab_window: cannot grab window %s into %s\n", argv[1], argv[2]);
    return 1;
  }
  return 0;
}
