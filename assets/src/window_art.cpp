#include "window_art.h"

#include "layout.h"
#include "paint.h"

namespace quilo {

QRectF mainVisible() { return QRectF(QPointF(0, 0), QSizeF(layout::mainClient())); }

void ticketBed(QPainter& p) {
  const QRectF picture = layout::ticketPicture();
  const QRectF plate = layout::ticketPlate();
  p.save();
  // a soft shadow lifts the ticket off busy backgrounds
  QPainterPath outline;
  outline.addRoundedRect(plate, 5, 5);
  glowPath(p, outline.translated(1.5, 2.5), QColor(0, 0, 0, 170), 6);
  if (plate.bottom() > picture.bottom()) {
    // the stub continues below the picture; the picture's side edges run on
    // into it, and it closes the ticket with rounded corners
    const QRectF stub(plate.left(), picture.bottom() - 4, plate.width(),
                      plate.bottom() - picture.bottom() + 4);
    QPainterPath paper;
    paper.addRoundedRect(stub, 4, 4);
    p.setPen(Qt::NoPen);
    p.setBrush(kStubPaper);
    p.drawPath(paper);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(kTicketInk, 1.0));
    p.drawRoundedRect(stub.adjusted(0.5, 0.5, -0.5, -0.5), 4, 4);
  }
  p.restore();
}

}  // namespace quilo
