// Glossy arcade-style push buttons, drawn in a normal and a pressed look.
#pragma once

#include <QColor>
#include <QImage>
#include <QRgb>
#include <QSize>
#include <QString>

namespace quilo {

struct ButtonLook {
  enum Kind { Plain, Flashy, Oni, Makai, Option };
  QString text;
  QString sub;  // small latin word beside the caption
  QColor base;  // body colour
  Kind kind = Plain;
  QColor textTop = QColor(255, 255, 255);
  QColor textBottom = QColor(255, 244, 200);
  double textScale = 1.0;
};

// A button, see-through round its rounded body.
QImage buttonImage(QSize size, const ButtonLook& look, bool down);

// The colour that stands for see-through in the button picture files (they
// are 24-bit BMP files, without alpha); the program keys it out.
constexpr QRgb kButtonKey = 0xffff00ff;
QImage keyedButtonImage(QSize size, const ButtonLook& look, bool down);

}  // namespace quilo
