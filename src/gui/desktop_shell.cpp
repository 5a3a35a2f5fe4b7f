#include "gui/desktop_shell.h"

#include "gui/frame_trace.h"

#include <QApplication>
#include <QTimer>
#include <QWindow>

#include <algorithm>

namespace quilo {
namespace {

// The pictures the main window shows first: its picture controls (drawn when
// the window is filled in) and its background (drawn when it paints).
QStringList first_pictures(const Form& form) {
  QStringList files;
  for (const Control& c : form.controls())
    if (c.design.kind == Kind::Image && c.visible && !c.picture.isEmpty()) files << c.picture;
  if (!form.background.isEmpty()) files << form.background;
  files.removeDuplicates();
  return files;
}

}  // namespace

DesktopShell::DesktopShell(const QString& program_folder, const QString& history_file)
    : platform_(program_folder), app_(std::make_unique<App>(platform_, history_file)) {
  // Decoded while the window is being built.
  platform_.pictures().prefetch(first_pictures(app_->main().form));
  FormView& main = make_view(1);

  // Esc or a click on the main window's background during a command: the
  // rest of the command runs without waiting.
  main.on_skip = [this] {
    app_->skip_staging();
    if (app_->skipping()) platform_.interrupt_pauses();
  };
  // The sound opens once the main window is on screen (or a second after the
  // start, should it never be painted): the window does not wait for it.
  main.on_first_paint = [this] { QTimer::singleShot(0, views_[0].get(), [this] { open_audio(); }); };

  // Measurements: what the main window shows, and when.
  if (frame_trace::enabled()) {
    main.on_painted = [this] {
      // Reported once the whole window, its controls too, has gone to the screen.
      QTimer::singleShot(0, views_[0].get(),
                         [file = app_->main().form.background] { frame_trace::painted(file); });
    };
    platform_.on_background = frame_trace::background_changed;
    platform_.pictures().on_decoded = frame_trace::decoded;
    platform_.pictures().on_released = frame_trace::released;
  }

  platform_.before_wait = [this] { refresh_all(); };
  // A message box belongs to the window whose button ran the command: once it
  // closes, that window has the focus again (so Esc still closes 出力画面
  // after printing), however many boxes come one after another.
  platform_.active_window = [this]() -> QWidget* {
    if (pressed_window_ && pressed_window_->isVisible()) return pressed_window_;
    if (QWidget* w = QApplication::activeWindow()) return w;
    return app_->main().form.open ? views_[0].get() : nullptr;
  };
}

DesktopShell::~DesktopShell() = default;

Form& DesktopShell::form_of(int n) {
  Form* forms[] = {&app_->main().form, &app_->explanation().form, &app_->output().form,
                   &app_->history().form};
  return *forms[std::clamp(n, 1, 4) - 1];
}

FormView& DesktopShell::make_view(int n) {
  n = std::clamp(n, 1, 4);
  auto& slot = views_[n - 1];
  slot = std::make_unique<FormView>(form_of(n), platform_.pictures());
  FormView* v = slot.get();
  const QString form = v->objectName();
  v->press = [this, form, v](const QString& key) {
    // A press during another command's pause: that command's boxes go back
    // to its own window afterwards.
    const QPointer<QWidget> outer = pressed_window_;
    pressed_window_ = v;
    app_->click(form, key);
    pressed_window_ = outer;
  };
  v->button_enabled = [this, form](const QString& key) { return app_->accepts_click(form, key); };
  v->after_command = [this] { refresh_all(); };
  // What a command shows at once is decoded while the pointer rests on its
  // button, so that its first picture is as quick to the screen as the rest.
  v->approach = [this, form](const QString& key) {
    const QStringList files = app_->opening_pictures(form, key);
    if (!files.isEmpty()) platform_.pictures().prefetch(files);
  };
  v->depart = [this](const QString&) {
    if (!app_->busy()) platform_.pictures().forget_ahead();
  };
  if (n == 1) {
    v->on_closed = [this] {
      app_->main_window_closed();
      platform_.interrupt_pauses();
      refresh_all();
    };
  } else {
    v->on_closed = [this, n] { form_of(n).open = false; };
  }
  if (App::follows_picks(form))
    v->pick = [this, form](const QString& key, int index) { app_->pick(form, key, index); };
  if (n == 4) {
    // Runs that another instance recorded meanwhile show when the user comes back.
    v->on_activated = [this] {
      if (app_->history().refresh_if_changed()) sync_window(4);
    };
  }
  return *v;
}

FormView& DesktopShell::view(int n) {
  auto& slot = views_[std::clamp(n, 1, 4) - 1];
  return slot ? *slot : make_view(n);
}

void DesktopShell::start() {
  app_->start();
  // The program starts over in the per-user folder: this window never shows.
  if (app_->main().start_over_requested) return;
  refresh_all();
  QTimer::singleShot(1000, views_[0].get(), [this] { open_audio(); });
}

void DesktopShell::open_audio() {
  // A program that has already ended stays silent.
  if (app_->main().form.open) platform_.audio().open();
}

void DesktopShell::sync_window(int n) {
  Form& form = form_of(n);
  // A window that never opened has no view yet.
  if (!views_[n - 1] && !form.open) return;
  FormView& view = this->view(n);
  FormView& main = *views_[0];
  view.refresh();
  if (form.open && !view.isVisible()) {
    if (form.design().left || form.design().top)
      view.move(twips_to_px(form.design().left), twips_to_px(form.design().top));
    // The other windows stay above the main window, so that a click there
    // does not bury them: window managers keep a dialog over the window it is
    // transient for (X11 marks only dialog-like windows as transient).
    if (&view != &main && main.windowHandle()) {
      view.setWindowFlag(Qt::Dialog);
      view.winId();
      view.windowHandle()->setTransientParent(main.windowHandle());
    }
    view.show();
    view.raise();
  } else if (!form.open && view.isVisible()) {
    view.close();
  }
}

void DesktopShell::refresh_all() {
  // The main window closing ends every pause of the run it interrupts.
  if (!app_->main().form.open) platform_.interrupt_pauses();
  for (int n : {2, 3, 4, 1}) sync_window(n);
  // What the windows no longer show is let go (a staging's next picture is
  // kept by the cache itself).
  QSet<QString> shown;
  for (const auto& v : views_)
    if (v) shown += v->shown_pictures();
  platform_.pictures().keep_only(shown);
}

}  // namespace quilo
