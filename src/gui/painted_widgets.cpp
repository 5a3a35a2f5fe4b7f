#include "gui/painted_widgets.h"

#include <QPainter>

namespace quilo {

void ShapeFrame::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.setPen(QPen(QColor(200, 160, 64), 1));
  p.drawRect(rect().adjusted(0, 0, -1, -1));
}

void BoxedLabel::paintEvent(QPaintEvent* e) {
  QLabel::paintEvent(e);
  QPainter p(this);
  p.setPen(palette().color(QPalette::WindowText));
  p.drawRect(rect().adjusted(2, 1, -3, -2));
}

void ResultCard::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.setRenderHint(QPainter::Antialiasing);
  const QColor base = palette().color(QPalette::Window);
  const QRectF outer = QRectF(rect()).adjusted(1, 1, -1, -1);
  QLinearGradient fill(outer.topLeft(), outer.bottomLeft());
  fill.setColorAt(0, base.lighter(170));
  fill.setColorAt(1, base);
  p.setPen(QPen(QColor(214, 176, 84), 2));
  p.setBrush(fill);
  p.drawRoundedRect(outer, 9, 9);
  p.setPen(QPen(QColor(255, 230, 150, 110), 1));
  p.setBrush(Qt::NoBrush);
  p.drawRoundedRect(outer.adjusted(4, 4, -4, -4), 6, 6);

  // Result lines carry blanks for the file's layout; centred, they would
  // only push the text aside.
  QStringList lines = text().split(QLatin1Char('\n'));
  for (QString& line : lines) line = line.trimmed();
  const QString heading = lines.value(0);
  const QString body = lines.mid(1).join(QLatin1Char('\n'));
  QRect area = rect().adjusted(12, 10, -12, -10);
  const int heading_height = fontMetrics().height() + 6;
  p.setPen(QColor(255, 214, 90));
  p.drawText(QRect(area.left(), area.top(), area.width(), heading_height),
             Qt::AlignHCenter | Qt::AlignVCenter | Qt::TextWordWrap, heading);
  p.setPen(QColor(200, 160, 64, 160));
  p.drawLine(area.left() + 16, area.top() + heading_height + 2, area.right() - 16,
             area.top() + heading_height + 2);
  area.setTop(area.top() + heading_height + 6);
  p.setPen(palette().color(QPalette::WindowText));
  p.drawText(area, Qt::AlignCenter | Qt::TextWordWrap, body);
}

}  // namespace quilo
