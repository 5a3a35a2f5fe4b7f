// A Qt window that projects one form of the model: a widget for every
// control, named after it, placed by its twips; user edits go back into the
// model, and refresh() brings the widgets up to the model.
#pragma once

#include "model/form.h"

#include <QAbstractButton>
#include <QHash>
#include <QPixmap>
#include <QWidget>

#include <functional>

namespace quilo {

class App;
class PictureCache;

// A button that shows only its control's picture, with a pressed look (the
// picture's "_down" twin). Its pictures are decoded when first drawn.
class PictureButton : public QAbstractButton {
  Q_OBJECT
 public:
  PictureButton(PictureCache& pictures, const Control& control, QWidget* parent);
  // Shows the pressed look while latched (a selected option button).
  void set_latched(bool latched);
  bool latched() const { return latched_; }

 protected:
  void paintEvent(QPaintEvent*) override;
  // Enter presses the button as Space does.
  void keyPressEvent(QKeyEvent*) override;

 private:
  PictureCache& pictures_;
  const Control& control_;
  bool latched_ = false;
};

class FormView : public QWidget {
  Q_OBJECT
 public:
  FormView(App& app, Form& form, PictureCache& pictures);

  // Brings every widget up to the model.
  void refresh();
  QWidget* widget(const QString& key) const { return widgets_.value(key); }

  // Called after a button press has run, so that all windows can refresh.
  std::function<void()> after_command;
  // Called when the window system closes the window.
  std::function<void()> on_closed;
  // Called once, after the window's first paint.
  std::function<void()> on_first_paint;
  // Called for Esc or a click on the window's own background, in a window
  // without a button for Esc: the user wants the running staging skipped.
  std::function<void()> on_skip;

 protected:
  void paintEvent(QPaintEvent*) override;
  void closeEvent(QCloseEvent*) override;
  void keyPressEvent(QKeyEvent*) override;
  void mousePressEvent(QMouseEvent*) override;

 private:
  QWidget* make_widget(Control& c);
  void refresh_control(Control& c, QWidget* w);
  QFont font_for(const FontDesign& design) const;

  App& app_;
  Form& form_;
  PictureCache& pictures_;
  QHash<QString, QWidget*> widgets_;
  QString shown_background_;
  bool painted_ = false;
};

// Maps the font names of the window designs onto the IPA fonts.
void install_font_substitutions();

}  // namespace quilo
