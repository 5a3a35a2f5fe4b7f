// The controls the views draw themselves: a rectangle frame, a bordered
// label, and the result card.
#pragma once

#include <QLabel>
#include <QWidget>

namespace quilo {

// A rectangle frame drawn over the background.
class ShapeFrame : public QWidget {
 public:
  using QWidget::QWidget;

 protected:
  void paintEvent(QPaintEvent*) override;
};

// A bordered label (the ticket's bet cells) draws its box a little inside its
// place, so that the ◆ markers between neighbouring cells stay clear of it.
class BoxedLabel : public QLabel {
 public:
  using QLabel::QLabel;

 protected:
  void paintEvent(QPaintEvent* e) override;
};

// The result card: a dark panel with a gold frame over the ticket; its first
// line is the heading, the others are centred below it and wrap to the panel.
class ResultCard : public QLabel {
 public:
  using QLabel::QLabel;

 protected:
  void paintEvent(QPaintEvent*) override;
};

}  // namespace quilo
