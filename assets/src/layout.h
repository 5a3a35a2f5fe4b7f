// Where the main window puts its controls, read from the window design, so
// that its pictures can keep those places plain and put their captions where
// they are seen. Rectangles are in window pixels.
#pragma once

#include <QRect>
#include <QSize>
#include <QString>

#include <vector>

namespace quilo::layout {

// The visible part of the main window's background pictures.
QSize mainClient();

// A main window control by key ("Image1", "Label1(4)", "Shape2"); an empty
// rectangle for an unknown key.
QRect mainControl(const QString& key);

// The size of a picture button's control in any window ("Form1", "Command8").
QSize buttonSize(const QString& form, const QString& name);

// The ticket: the picture control and the labels printed over it, which
// reach a few pixels below the picture. The backgrounds continue the ticket's
// paper under them.
QRect ticketPicture();
QRect ticketPlate();
// The ticket's labels relative to the ticket picture, each with its key.
struct Place {
  QString key;
  QRect rect;
};
std::vector<Place> ticketLabels();

// The widest free band above the controls, left of the button column: where
// the stagings put their big captions.
QRect captionBand();

}  // namespace quilo::layout
