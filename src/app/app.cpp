#include "app/app.h"

#include "app/numbers.h"
#include "model/window_design.h"

#include <QHash>

namespace quilo {
namespace {

using Handler = void (App::*)();

struct ButtonRow {
  const char* form;
  ControlName control;
  Handler handler;
  bool guarded;      // ignored while another command runs
  bool hides_card;   // the result card goes when the command starts
};

// Every button (and option) of every window and the handler it runs.
const ButtonRow kButtons[] = {
    {"Form1", form1::Command3, &App::Command3_Click, true, true},
    {"Form1", form1::Command8, &App::Command8_Click, true, true},
    {"Form1", form1::Command6, &App::Command6_Click, true, true},
    {"Form1", form1::Command1, &App::Command1_Click, true, true},
    {"Form1", form1::Command2, &App::Command2_Click, true, true},
    {"Form1", form1::Command10, &App::Command10_Click, true, false},
    {"Form1", form1::Command5, &App::Command5_Click, false, false},
    {"Form1", form1::Command4, &App::Command4_Click, true, true},
    {"Form1", form1::Command11, &App::Command11_Click, true, true},
    {"Form1", form1::Command12, &App::Command12_Click, true, true},
    {"Form1", form1::Command13, &App::Command13_Click, true, true},
    {"Form2", form2::Command2, &App::Form2_Command2_Click, false, false},
    {"Form3", form3::Command1, &App::Form3_Command1_Click, false, false},
    {"Form3", form3::Command2, &App::Form3_Command2_Click, false, false},
    {"Form3", form3::Option1, &App::Form3_Option1_Click, false, false},
    {"Form3", form3::Option2, &App::Form3_Option2_Click, false, false},
};

const ButtonRow* find_button(const QString& form, const QString& control) {
  for (const auto& row : kButtons)
    if (form == QLatin1String(row.form) && control == QLatin1String(row.control.key)) return &row;
  return nullptr;
}

}  // namespace

App::App(Platform& platform)
    : form1(form1_design()), form2(form2_design()), form3(form3_design()), platform_(platform) {
  // A control that the code names but the design lacks stops the program here,
  // before any window shows, not at the click that would need it.
  check_control_names(form1, form2, form3);
}

bool App::has_button(const QString& form, const QString& control) const {
  return find_button(form, control) != nullptr;
}

bool App::accepts_click(const QString& form, const QString& control) const {
  const ButtonRow* row = find_button(form, control);
  if (!row) return false;
  const Form& f = form == QLatin1String("Form1")   ? form1
                  : form == QLatin1String("Form2") ? form2
                                                   : form3;
  if (!f.open) return false;
  return !(row->guarded && busy());
}

bool App::click(const QString& form, const QString& control) {
  const ButtonRow* row = find_button(form, control);
  if (!row) return false;
  if (!accepts_click(form, control)) return true;
  // A skip asked for ahead belongs to the outermost command.
  if (busy_ == 0) {
    skipping_ = skip_next_;
    skip_next_ = false;
  }
  // Lowered again however the command ends, an unexpected exception included.
  struct BusyGuard {
    App& app;
    explicit BusyGuard(App& a) : app(a) { ++app.busy_; }
    ~BusyGuard() {
      if (--app.busy_ == 0) app.skipping_ = false;
    }
  } guard(*this);
  if (row->hides_card) hide_result_card();
  try {
    (this->*(row->handler))();
  } catch (const RunAborted&) {
    // The main window was closed during a pause: the run ends here.
  }
  return true;
}

void App::skip_staging() {
  if (busy()) skipping_ = true;
}

}  // namespace quilo
