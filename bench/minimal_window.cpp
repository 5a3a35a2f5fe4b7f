// The smallest Qt Widgets program with a window of the main window's size:
// the yardstick for the program's start-up time and memory. It prints
// "shown NS CPU_NS" (CLOCK_MONOTONIC, and the processor time the process has
// taken) once its first paint has gone to the screen.
#include <QApplication>
#include <QTimer>
#include <QWidget>

#include <cstdio>
#include <ctime>

namespace {

class Window : public QWidget {
 protected:
  void paintEvent(QPaintEvent*) override {
    if (shown_) return;
    shown_ = true;
    QTimer::singleShot(0, this, [] {
      timespec t{}, cpu{};
      clock_gettime(CLOCK_MONOTONIC, &t);
      clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &cpu);
      std::fprintf(stderr, "shown %lld %lld\n", (long long)t.tv_sec * 1000000000LL + t.tv_nsec,
                   (long long)cpu.tv_sec * 1000000000LL + cpu.tv_nsec);
    });
  }

 private:
  bool shown_ = false;
};

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  Window w;
  w.setWindowTitle(QStringLiteral("minimal"));
  w.setFixedSize(899, 518);
  w.show();
  return app.exec();
}
