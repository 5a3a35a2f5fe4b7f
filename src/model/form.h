// A window of the program as plain values: its design and its controls.
#pragma once

#include "model/control.h"
#include "model/control_names.h"

#include <QHash>
#include <QString>

#include <deque>
#include <vector>

namespace quilo {

struct FormDesign {
  QString name;
  QString caption;
  int client_width = 0, client_height = 0;  // twips
  int left = 0, top = 0;                    // outer top-left on screen, twips
  ColorDesign back;
  FontDesign default_font;
  QString background;  // initial background picture
  // The button that Esc presses (empty: Esc presses none).
  QString escape_button;
  std::vector<ControlDesign> controls;
};

class Form {
 public:
  explicit Form(FormDesign design);
  // The views keep references to the controls for the window's whole life:
  // a form is neither copied nor moved, and its set of controls is fixed.
  Form(const Form&) = delete;
  Form& operator=(const Form&) = delete;

  const FormDesign& design() const { return design_; }
  const QString& name() const { return design_.name; }

  // Controls by key: "Combo8", "Label1(37)". Throws std::out_of_range for an
  // unknown key: a name that the program does not define is a programming error.
  Control& operator[](const QString& key);
  const Control& operator[](const QString& key) const;
  Control& at(const QString& name, int index);
  const Control& at(const QString& name, int index) const;
  // By the constants of control_names.h.
  Control& operator[](const ControlName& name) { return (*this)[name.text()]; }
  const Control& operator[](const ControlName& name) const { return (*this)[name.text()]; }
  Control& operator()(const ControlArray& array, int index) { return (*this)[array.key(index)]; }
  const Control& operator()(const ControlArray& array, int index) const { return (*this)[array.key(index)]; }
  Control* find(const QString& key);
  const Control* find(const QString& key) const;

  // The controls in design order; they can be changed, not added or removed.
  template <typename Iterator>
  struct Range {
    Iterator first, last;
    Iterator begin() const { return first; }
    Iterator end() const { return last; }
  };
  Range<std::deque<Control>::iterator> controls() { return {controls_.begin(), controls_.end()}; }
  Range<std::deque<Control>::const_iterator> controls() const {
    return {controls_.cbegin(), controls_.cend()};
  }

  // Resets every control to its design.
  void reset();

  QString background;  // current background picture file ("" for none)
  bool open = false;

 private:
  FormDesign design_;
  // A deque: its elements never move, so the references above stay valid.
  std::deque<Control> controls_;
  QHash<QString, std::size_t> by_key_;
};

// List box lines are addressed from 0. Setting line i replaces it when it
// exists and appends it when i equals the number of lines. When i is beyond
// the end, the gap is filled with empty lines first, so that a line always
// lands at the index it was meant for (the output reads lines by index).
void set_list_line(Control& list, int i, const QString& text);
// A line that does not exist reads as empty text.
QString list_line(const Control& list, int i);

}  // namespace quilo
