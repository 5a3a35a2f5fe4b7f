// A Qt window that projects one form of the model: a widget for every
// control, named after it, placed by its twips; user edits go back into the
// model, and refresh() brings the widgets up to the model. What the window's
// buttons and lists do is given to it: the view knows no command.
#pragma once

#include "model/form.h"

#include <QHash>
#include <QSet>
#include <QWidget>

#include <functional>

namespace quilo {

class PictureCache;

class FormView : public QWidget {
  Q_OBJECT
 public:
  FormView(Form& form, PictureCache& pictures);

  // Brings every widget up to the model.
  void refresh();
  QWidget* widget(const QString& key) const { return widgets_.value(key); }
  // The pictures the window draws as the model is now: its background, its
  // picture controls' and its buttons' (pressed looks too).
  QSet<QString> shown_pictures() const;

  // A button or option of the window was pressed.
  std::function<void(const QString& key)> press;
  // A press of the button may follow (the pointer or the keyboard focus is on
  // it), or no longer (both left it).
  std::function<void(const QString& key)> approach;
  std::function<void(const QString& key)> depart;
  // Whether a press of the button would run now (while the window is open).
  std::function<bool(const QString& key)> button_enabled;
  // Entry `index` of a drive, folder or file list, a row of a table, or (in a
  // window that is told of it) an entry of a combo's list was picked.
  std::function<void(const QString& key, int index)> pick;
  // Called after a press or a pick has run, so that all windows can refresh.
  std::function<void()> after_command;
  // Called when the window system closes the window.
  std::function<void()> on_closed;
  // Called once, after the window's first paint.
  std::function<void()> on_first_paint;
  // Called after each paint of the window (measurements hook in here).
  std::function<void()> on_painted;
  // Called for Esc or a click on the window's own background, in a window
  // without a button for Esc: the user wants the running staging skipped.
  std::function<void()> on_skip;
  // Called when the window becomes the active window again.
  std::function<void()> on_activated;

 protected:
  bool event(QEvent* e) override;
  void paintEvent(QPaintEvent*) override;
  void closeEvent(QCloseEvent*) override;
  void keyPressEvent(QKeyEvent*) override;
  void mousePressEvent(QMouseEvent*) override;

 public:
  // For the makers of the controls' widgets (form_view.cpp):
  PictureCache& pictures() { return pictures_; }
  const Form& form() const { return form_; }
  // The design's font on a new widget, when it differs from the window's.
  void apply_font(QWidget* w, const ControlDesign& design) const;
  // A button of the window was pressed: the command runs, then the focus
  // goes back to the button.
  void button_pressed(const QString& key, QWidget* button);
  // Presses a button of the window as a click does (Enter in a box that names one).
  void press_button(const QString& key);
  // An entry of a list was picked.
  void entry_picked(const QString& key, int index);
  // Whether the button may be pressed now; a button about to be disabled
  // hands the keyboard focus to the window, not to the next button.
  bool button_allowed(const QString& key, QWidget* button);

 private:
  QFont font_for(const FontDesign& design) const;

  Form& form_;
  PictureCache& pictures_;
  QHash<QString, QWidget*> widgets_;
  QString shown_background_;
  bool painted_ = false;
};

// Maps the font names of the window designs onto the fonts the machine has.
void install_font_substitutions();

}  // namespace quilo
