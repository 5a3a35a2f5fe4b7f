// A Qt window that projects one form of the model: a widget for every
// control, named after it, placed by its twips; user edits go back into the
// model, and refresh() brings the widgets up to the model. What the window's
// buttons and lists do is given to it: the view knows no command.
#pragma once

#include "model/form.h"

#include <QHash>
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

  // A button or option of the window was pressed.
  std::function<void(const QString& key)> press;
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

 protected:
  void paintEvent(QPaintEvent*) override;
  void closeEvent(QCloseEvent*) override;
  void keyPressEvent(QKeyEvent*) override;
  void mousePressEvent(QMouseEvent*) override;

 private:
  // How the view makes and refreshes the widget of each kind of control.
  struct KindView;
  static const KindView& kind_view(Kind kind);

  QWidget* make_combo(Control& c);
  QWidget* make_text(Control& c);
  QWidget* make_label(Control& c);
  QWidget* make_card(Control& c);
  QWidget* make_image(Control& c);
  QWidget* make_shape(Control& c);
  QWidget* make_list(Control& c);
  QWidget* make_button(Control& c);
  QWidget* make_drive_list(Control& c);
  QWidget* make_folder_list(Control& c);
  QWidget* make_file_list(Control& c);
  QWidget* make_table(Control& c);
  QWidget* make_chart(Control& c);
  void refresh_combo(Control& c, QWidget* w);
  void refresh_text(Control& c, QWidget* w);
  void refresh_label(Control& c, QWidget* w);
  void refresh_card(Control& c, QWidget* w);
  void refresh_image(Control& c, QWidget* w);
  void refresh_list(Control& c, QWidget* w);
  void refresh_button(Control& c, QWidget* w);
  void refresh_drive_list(Control& c, QWidget* w);
  void refresh_folder_list(Control& c, QWidget* w);
  void refresh_file_list(Control& c, QWidget* w);
  void refresh_table(Control& c, QWidget* w);
  void refresh_chart(Control& c, QWidget* w);

  // Font and colours of the design, set on a new widget.
  void apply_font(QWidget* w, const ControlDesign& design) const;
  void picked(const QString& key, int index);
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
