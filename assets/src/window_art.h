// What every background of the main window shares: the frame drawn inside
// the part the window shows, and the paper the ticket's lowest labels lie on
// where they reach below the ticket picture.
#pragma once

#include <QColor>
#include <QPainter>
#include <QRectF>

namespace quilo {

// The ticket's stub: the strip of the ticket that holds the shop, the date,
// the total and the code numbers. The ticket pictures end in it and the
// backgrounds continue it below them, so both use these colours.
inline const QColor kStubPaper(248, 247, 238);
inline const QColor kTicketInk(34, 110, 70);

// The part of a main window background that the window shows (the pictures
// are taller than the window).
QRectF mainVisible();

// Paper under the ticket's labels where they reach below the ticket picture,
// with the ticket's edge line and a soft shadow round the whole ticket.
void ticketBed(QPainter& p);

}  // namespace quilo
