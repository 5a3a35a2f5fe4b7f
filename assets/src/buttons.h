// Glossy arcade-style push buttons, drawn in a normal and a pressed look.
#pragma once

#include <QColor>
#include <QImage>
#include <QSize>
#include <QString>

namespace quilo {

struct ButtonLook {
    enum Kind { Plain, Flashy, Oni, Makai, Option };
    QString text;
    QString sub;                 // small latin word beside the caption
    QColor base;                 // body colour
    Kind kind = Plain;
    QColor textTop = QColor(255, 255, 255);
    QColor textBottom = QColor(255, 244, 200);
    double textScale = 1.0;
};

QImage buttonImage(QSize size, const ButtonLook &look, bool down);

} // namespace quilo
