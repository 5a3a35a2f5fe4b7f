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
  // Decoded while the windows are being built.
  platform_.pictures().prefetch(first_pictures(app_->main().form));
  form1_view_ = std::make_unique<FormView>(app_->main().form, platform_.pictures());
  form2_view_ = std::make_unique<FormView>(app_->explanation().form, platform_.pictures());
  form3_view_ = std::make_unique<FormView>(app_->output().form, platform_.pictures());
  form4_view_ = std::make_unique<FormView>(app_->history().form, platform_.pictures());

  for (FormView* v : {form1_view_.get(), form2_view_.get(), form3_view_.get(), form4_view_.get()}) {
    const QString form = v->objectName();
    v->press = [this, form](const QString& key) { app_->click(form, key); };
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
  }
  form3_view_->pick = [this](const QString& key, int index) { app_->output().select(key, index); };
  form4_view_->pick = [this](const QString& key, int index) { app_->history().select(key, index); };
  form1_view_->on_closed = [this] {
    app_->main_window_closed();
    platform_.interrupt_pauses();
    refresh_all();
  };
  // Esc or a click on the main window's background during a command: the
  // rest of the command runs without waiting.
  form1_view_->on_skip = [this] {
    app_->skip_staging();
    if (app_->skipping()) platform_.interrupt_pauses();
  };
  form2_view_->on_closed = [this] { app_->explanation().form.open = false; };
  form3_view_->on_closed = [this] { app_->output().form.open = false; };
  form4_view_->on_closed = [this] { app_->history().form.open = false; };

  // The sound opens once the main window is on screen (or a second after the
  // start, should it never be painted): the window does not wait for it.
  form1_view_->on_first_paint = [this] {
    QTimer::singleShot(0, form1_view_.get(), [this] { open_audio(); });
  };

  // Measurements: what the main window shows, and when.
  if (frame_trace::enabled()) {
    form1_view_->on_painted = [this] {
      // Reported once the whole window, its controls too, has gone to the screen.
      QTimer::singleShot(0, form1_view_.get(),
                         [file = app_->main().form.background] { frame_trace::painted(file); });
    };
    platform_.on_background = frame_trace::background_changed;
    platform_.pictures().on_decoded = frame_trace::decoded;
    platform_.pictures().on_released = frame_trace::released;
  }

  platform_.before_wait = [this] { refresh_all(); };
  platform_.active_window = [this]() -> QWidget* {
    if (QWidget* w = QApplication::activeWindow()) return w;
    return app_->main().form.open ? form1_view_.get() : nullptr;
  };
}

DesktopShell::~DesktopShell() = default;

FormView& DesktopShell::view(int n) {
  FormView* views[] = {form1_view_.get(), form2_view_.get(), form3_view_.get(), form4_view_.get()};
  return *views[std::clamp(n, 1, 4) - 1];
}

void DesktopShell::start() {
  app_->start();
  refresh_all();
  QTimer::singleShot(1000, form1_view_.get(), [this] { open_audio(); });
}

void DesktopShell::open_audio() {
  // A program that has already ended stays silent.
  if (app_->main().form.open) platform_.audio().open();
}

void DesktopShell::sync_window(FormView& view, Form& form) {
  view.refresh();
  if (form.open && !view.isVisible()) {
    if (form.design().left || form.design().top)
      view.move(twips_to_px(form.design().left), twips_to_px(form.design().top));
    // The other windows stay above the main window, so that a click there
    // does not bury them: window managers keep a dialog over the window it is
    // transient for (X11 marks only dialog-like windows as transient).
    if (&view != form1_view_.get() && form1_view_->windowHandle()) {
      view.setWindowFlag(Qt::Dialog);
      view.winId();
      view.windowHandle()->setTransientParent(form1_view_->windowHandle());
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
  sync_window(*form2_view_, app_->explanation().form);
  sync_window(*form3_view_, app_->output().form);
  sync_window(*form4_view_, app_->history().form);
  sync_window(*form1_view_, app_->main().form);
  // What the windows no longer show is let go (a staging's next picture is
  // kept by the cache itself).
  platform_.pictures().keep_only(form1_view_->shown_pictures() + form2_view_->shown_pictures() +
                                 form3_view_->shown_pictures() + form4_view_->shown_pictures());
}

}  // namespace quilo
