// A button that shows only its control's picture, with a pressed look (the
// picture's "_down" twin); it draws the picture the model names now.
#pragma once

#include "model/control.h"

#include <QAbstractButton>

#include <functional>

namespace quilo {

class PictureCache;

// The pressed look of button picture FILE: "name_down.ext" beside it.
QString pressed_picture(const QString& file);

class PictureButton : public QAbstractButton {
  Q_OBJECT
 public:
  PictureButton(PictureCache& pictures, const Control& control, QWidget* parent);
  // Shows the pressed look while latched (a selected option button).
  void set_latched(bool latched);
  bool latched() const { return latched_; }
  // An option button: a screen reader hears a radio button, checked while latched.
  bool is_option() const { return control_.design.kind == Kind::Option; }

  // The pointer came onto the button, the keyboard focus reached it or it
  // went down: a press may follow. on_depart: pointer and focus have both
  // left it.
  std::function<void()> on_approach, on_depart;

 protected:
  void paintEvent(QPaintEvent*) override;
  // Enter presses the button as Space does.
  void keyPressEvent(QKeyEvent*) override;
  void enterEvent(QEnterEvent*) override;
  void leaveEvent(QEvent*) override;
  void focusInEvent(QFocusEvent*) override;
  void focusOutEvent(QFocusEvent*) override;

 private:
  PictureCache& pictures_;
  const Control& control_;
  bool latched_ = false;
};

}  // namespace quilo
