#include "layout.h"

#include "model/window_design.h"

#include <algorithm>

namespace quilo::layout {

namespace {

QRect px(const ControlDesign& c) {
  return QRect(twips_to_px(c.left), twips_to_px(c.top), twips_to_px(c.width), twips_to_px(c.height));
}

const std::vector<FormDesign>& forms() {
  static const std::vector<FormDesign> all = all_form_designs();
  return all;
}

const FormDesign& mainForm() { return forms().front(); }

// Labels that the ticket prints: those without a colour of their own over the
// ticket picture (the bordered bet cells, the texts, the markers, the total).
bool printedOnTicket(const ControlDesign& c, const QRect& ticket) {
  return c.kind == Kind::Label && c.back.type != ColorDesign::Type::Rgb && px(c).intersects(ticket);
}

}  // namespace

QSize mainClient() {
  return QSize(twips_to_px(mainForm().client_width), twips_to_px(mainForm().client_height));
}

QRect mainControl(const QString& key) {
  for (const ControlDesign& c : mainForm().controls)
    if (c.key() == key) return px(c);
  return QRect();
}

QSize buttonSize(const QString& form, const QString& name) {
  for (const FormDesign& f : forms()) {
    if (f.name != form) continue;
    for (const ControlDesign& c : f.controls)
      if (c.name == name) return px(c).size();
  }
  return QSize();
}

QRect ticketPicture() { return mainControl(QStringLiteral("Image1")); }

std::vector<Place> ticketLabels() {
  const QRect ticket = ticketPicture();
  std::vector<Place> out;
  for (const ControlDesign& c : mainForm().controls)
    if (printedOnTicket(c, ticket)) out.push_back({c.key(), px(c).translated(-ticket.topLeft())});
  return out;
}

QRect ticketPlate() {
  const QRect ticket = ticketPicture();
  int bottom = ticket.bottom();
  for (const ControlDesign& c : mainForm().controls)
    if (printedOnTicket(c, ticket)) bottom = std::max(bottom, px(c).bottom());
  return QRect(ticket.left(), ticket.top(), ticket.width(), bottom - ticket.top() + 2);
}

QRect captionBand() {
  // Start from the top strip left of the button column's frame, then give
  // way to every control that reaches into it: those starting low shorten
  // it, those starting high cut it off at the side.
  const QRect column = mainControl(QStringLiteral("Shape2"));
  QRect band(12, 10, column.left() - 24, 60);
  for (const ControlDesign& c : mainForm().controls) {
    const QRect r = px(c);
    if (!r.intersects(band)) continue;
    if (r.top() >= band.top() + 40)
      band.setBottom(r.top() - 7);
    else if (r.center().x() > band.center().x())
      band.setRight(r.left() - 9);
    else
      band.setLeft(r.right() + 9);
  }
  return band;
}

}  // namespace quilo::layout
