#include "gui/desktop_platform.h"

#include "files/install_layout.h"
#include "gui/line_printer.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QFileDialog>
#include <QGridLayout>
#include <QMessageBox>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>
#include <QPushButton>
#include <QTime>
#include <QTimer>

#include <algorithm>
#include <cmath>

namespace quilo {
namespace {

// Room a title bar takes besides the title: the window's icon and its
// minimise, maximise and close buttons, with some margin.
constexpr int kTitleBarExtra = 140;

}  // namespace

DesktopPlatform::DesktopPlatform(const QString& program_folder)
    : pictures_(locate_install(program_folder).media_folder + QStringLiteral("/GF")),
      audio_(program_folder) {}

void DesktopPlatform::play_se(const QString& file) { audio_.play_effect(file); }

void DesktopPlatform::midi_open(const QString& file) { audio_.play_music(file); }

void DesktopPlatform::midi_close() { audio_.stop_music(); }

void DesktopPlatform::picture_loaded(const QString&, const QString& target, const QString& file) {
  if (target == QLatin1String("background") && on_background) on_background(file);
  pictures_.get(file);  // decode now, so that the next repaint only draws
}

void DesktopPlatform::picture_ahead(const QString& file) { pictures_.prefetch({file}); }

void DesktopPlatform::pause(float seconds) {
  if (seconds < 0) return;
  if (before_wait) before_wait();
  // The pause sleeps in the event loop until a timer by the monotonic clock
  // ends it; events (repaints, clicks, typing) are handled as they come.
  const qint64 wait_ms = qint64(std::ceil(double(seconds) * 1000.0));
  QElapsedTimer clock;
  clock.start();
  QEventLoop loop;
  QTimer timer;
  timer.setSingleShot(true);
  timer.setTimerType(Qt::PreciseTimer);
  QObject::connect(&timer, &QTimer::timeout, &loop, &QEventLoop::quit);
  loops_.push_back(&loop);
  bool interrupted = false;
  while (!interrupted && clock.elapsed() <= wait_ms) {
    timer.start(int(wait_ms - clock.elapsed() + 1));
    if (loop.exec() != 0) interrupted = true;
  }
  loops_.erase(std::remove(loops_.begin(), loops_.end(), &loop), loops_.end());
}

void DesktopPlatform::skip_pause(float) {}

void DesktopPlatform::interrupt_pauses() {
  for (QEventLoop* loop : loops_) loop->exit(1);
}

Answer DesktopPlatform::message(const QString& text, const QString& title, Buttons buttons) {
  if (before_wait) before_wait();
  QMessageBox box(active_window ? active_window() : nullptr);
  box.setWindowTitle(title);
  box.setText(text);
  box.setIcon(QMessageBox::NoIcon);
  QPushButton* ok = box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
  QPushButton* cancel = nullptr;
  if (buttons != Buttons::OK) cancel = box.addButton(QStringLiteral("キャンセル"), QMessageBox::RejectRole);
  box.setDefaultButton(buttons == Buttons::OKCancelSafe ? cancel : ok);
  box.setEscapeButton(cancel ? static_cast<QAbstractButton*>(cancel) : ok);
  // A box as narrow as a short text would have its title cut by the window
  // manager: make room for the whole title and the frame's own buttons.
  if (auto* grid = qobject_cast<QGridLayout*>(box.layout())) {
    const int width = QFontMetrics(box.font()).horizontalAdvance(title) + kTitleBarExtra;
    grid->addItem(new QSpacerItem(width, 0, QSizePolicy::Minimum, QSizePolicy::Fixed), grid->rowCount(), 0, 1,
                  grid->columnCount());
  }
  box.exec();
  return box.clickedButton() == cancel && cancel ? Answer::Cancel : Answer::OK;
}

PrintResult DesktopPlatform::print(const QStringList& lines) {
  const QPrinterInfo info = QPrinterInfo::defaultPrinter();
  if (info.isNull()) return {PrintResult::Status::NoPrinter, {}};
  QPrinter printer(info, QPrinter::HighResolution);
  printer.setDocName(QStringLiteral("競馬予想 Quilo"));
  return print_lines(printer, lines, info.printerName());
}

std::optional<QString> DesktopPlatform::choose_save_file(const QString& title, const QString& suggested,
                                                         const QString& filter) {
  if (before_wait) before_wait();
  const QString chosen =
      QFileDialog::getSaveFileName(active_window ? active_window() : nullptr, title, suggested, filter,
                                   nullptr, QFileDialog::DontConfirmOverwrite);
  if (chosen.isEmpty()) return std::nullopt;
  return chosen;
}

bool DesktopPlatform::has_printer() { return !QPrinterInfo::defaultPrinter().isNull(); }

double DesktopPlatform::time_of_day() { return QTime::currentTime().msecsSinceStartOfDay() / 1000.0; }

}  // namespace quilo
