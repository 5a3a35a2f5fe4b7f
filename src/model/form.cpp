#include "model/form.h"

#include <stdexcept>

namespace quilo {

QString Rgb::hex() const { return QString::asprintf("#%02X%02X%02X", r, g, b); }

Control::Control(ControlDesign s) : design(std::move(s)) {
  text = design.text;
  items = design.items;
  picture = design.picture;
  visible = design.initially_visible;
}

Form::Form(FormDesign design) : design_(std::move(design)) {
  for (const auto& c : design_.controls) {
    by_key_.insert(c.key(), controls_.size());
    controls_.emplace_back(c);
  }
  background = design_.background;
}

void Form::reset() {
  for (auto& c : controls_) c = Control(c.design);
  background = design_.background;
}

Control* Form::find(const QString& key) {
  auto it = by_key_.constFind(key);
  return it == by_key_.constEnd() ? nullptr : &controls_[*it];
}

const Control* Form::find(const QString& key) const {
  auto it = by_key_.constFind(key);
  return it == by_key_.constEnd() ? nullptr : &controls_[*it];
}

Control& Form::operator[](const QString& key) {
  if (auto* c = find(key)) return *c;
  throw std::out_of_range(("no control " + design_.name + "." + key).toStdString());
}

const Control& Form::operator[](const QString& key) const {
  if (auto* c = find(key)) return *c;
  throw std::out_of_range(("no control " + design_.name + "." + key).toStdString());
}

Control& Form::at(const QString& name, int index) {
  return (*this)[QStringLiteral("%1(%2)").arg(name).arg(index)];
}

const Control& Form::at(const QString& name, int index) const {
  return (*this)[QStringLiteral("%1(%2)").arg(name).arg(index)];
}

void set_list_line(Control& list, int i, const QString& text) {
  if (i < 0) return;
  while (list.lines.size() < i) list.lines.append(QString());
  if (i == list.lines.size())
    list.lines.append(text);
  else
    list.lines[i] = text;
}

QString list_line(const Control& list, int i) {
  if (i < 0 || i >= list.lines.size()) return QString();
  return list.lines[i];
}

}  // namespace quilo
