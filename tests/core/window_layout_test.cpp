// Controls added to the windows find a free place: the history button on the
// main window and every control of the history window overlap nothing, and
// each lies inside its window.
#include "model/window_design.h"

#include <gtest/gtest.h>

#include <QRect>

using namespace quilo;

namespace {

QRect place(const ControlDesign& c) { return QRect(c.left, c.top, c.width, c.height); }

// Every control of the design that `c` overlaps, frames that hold it whole aside.
QStringList overlapped(const FormDesign& form, const ControlDesign& c) {
  QStringList out;
  for (const ControlDesign& other : form.controls) {
    if (other.key() == c.key() || !place(other).intersects(place(c))) continue;
    if (other.kind == Kind::Shape && place(other).contains(place(c))) continue;
    out << other.key();
  }
  return out;
}

}  // namespace

TEST(WindowLayout, NewControlsOverlapNothingAndFitTheirWindow) {
  const struct {
    FormDesign form;
    QStringList keys;  // empty: every control
  } cases[] = {
      {form1_design(), {"Command14"}},
      {form4_design(), {}},
  };
  for (const auto& c : cases) {
    const QRect window(0, 0, c.form.client_width, c.form.client_height);
    for (const ControlDesign& control : c.form.controls) {
      if (!c.keys.isEmpty() && !c.keys.contains(control.key())) continue;
      SCOPED_TRACE((c.form.name + "." + control.key()).toStdString());
      EXPECT_TRUE(window.contains(place(control)));
      EXPECT_EQ(overlapped(c.form, control), QStringList());
    }
  }
}
