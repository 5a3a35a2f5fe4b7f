#include "app/app.h"

#include "app/startup.h"
#include "engines/engines.h"
#include "engines/prediction_commands.h"
#include "files/append_journal.h"
#include "presentation/effects.h"
#include "presentation/result_card.h"
#include "presentation/shell_commands.h"
#include "presentation/teaching.h"
#include "state/titles.h"

namespace quilo {
namespace {

using Handler = void (*)(App&);
using Opening = QStringList (*)(const MainWindow&);

struct ButtonRow {
  const char* form;
  ControlName control;
  Handler handler;
  bool guarded;                                             // ignored while another command runs
  bool hides_card;                                          // the result card goes when the command starts
  Opening opening = nullptr;                                // the pictures it shows at once, to get ready
  std::optional<Prediction> (*run)(MainWindow&) = nullptr;  // a prediction command: runs on the main window
};

// Every button (and option) of every window and the command it runs.
const ButtonRow kButtons[] = {
    {"Form1", form1::Command2, [](App& a) { Command2_Click(a.main(), a.explanation()); }, true, true},
    {"Form1", form1::Command10, [](App& a) { Command10_Click(a.main(), a.output()); }, true, false},
    {"Form1", form1::Command5, [](App& a) { Command5_Click(a.main()); }, false, false},
    {"Form1", form1::Command4, [](App& a) { Command4_Click(a.main()); }, true, true},
    {"Form1", form1::Command13, [](App& a) { Command13_Click(a.main()); }, true, true},
    {"Form1", form1::Command14, [](App& a) { Command14_Click(a.main(), a.history()); }, true, false},
    {"Form2", form2::Command2, [](App& a) { a.explanation().Command2_Click(); }, false, false},
    {"Form3", form3::Command1, [](App& a) { a.output().Command1_Click(); }, false, false},
    {"Form3", form3::Command2, [](App& a) { a.output().Command2_Click(); }, false, false},
    {"Form3", form3::Option1, [](App& a) { a.output().Option1_Click(); }, false, false},
    {"Form3", form3::Option2, [](App& a) { a.output().Option2_Click(); }, false, false},
    {"Form3", form3::Option3, [](App& a) { a.output().Option3_Click(); }, false, false},
    {"Form4", form4::Command1, [](App& a) { a.history().Command1_Click(); }, false, false},
    {"Form4", form4::Command2, [](App& a) { a.history().Command2_Click(); }, false, false},
    {"Form4", form4::Command3, [](App& a) { a.history().Command3_Click(); }, false, false},
    {"Form4", form4::Command4, [](App& a) { a.history().Command4_Click(); }, false, false},
    {"Form4", form4::Command5, [](App& a) { a.history().Command5_Click(); }, false, false},
    {"Form4", form4::Command6, [](App& a) { a.history().Command6_Click(); }, false, false},
    {"Form4", form4::Command7, [](App& a) { a.history().Command7_Click(); }, false, false},
    {"Form4", form4::Command8, [](App& a) { a.history().Command8_Click(); }, false, false},
    {"Form4", form4::Command9, [](App& a) { a.history().Command9_Click(); }, false, false},
    {"Form4", form4::Option1, [](App& a) { a.history().Option1_Click(); }, false, false},
    {"Form4", form4::Option2, [](App& a) { a.history().Option2_Click(); }, false, false},
};

// The prediction commands from their own table, then every other button:
// a prediction is guarded, and the result card goes when one starts.
const std::vector<ButtonRow>& all_buttons() {
  static const std::vector<ButtonRow> rows = [] {
    std::vector<ButtonRow> out;
    for (const PredictionCommand& p : prediction_commands())
      out.push_back({"Form1", p.control, nullptr, true, true, p.opening, p.run});
    out.insert(out.end(), std::begin(kButtons), std::end(kButtons));
    return out;
  }();
  return rows;
}

const ButtonRow* find_button(const QString& form, const QString& control) {
  for (const auto& row : all_buttons())
    if (form == QLatin1String(row.form) && control == QLatin1String(row.control.key)) return &row;
  return nullptr;
}

// The windows that follow their own picks, and where a pick goes.
struct PickRow {
  const char* form;
  bool (*select)(App&, const QString& control, int index);
};

const PickRow kPicks[] = {
    {"Form3", [](App& a, const QString& control, int index) { return a.output().select(control, index); }},
    {"Form4", [](App& a, const QString& control, int index) { return a.history().select(control, index); }},
};

const PickRow* find_pick(const QString& form) {
  for (const auto& row : kPicks)
    if (form == QLatin1String(row.form)) return &row;
  return nullptr;
}

}  // namespace

App::App(Platform& platform, const QString& history_file)
    : main_(platform),
      output_(platform, main_.s.output_lines, main_.startup_files),
      history_(platform, main_.startup_files),
      history_file_(history_file) {
  // A control that the code names but the design lacks stops the program here,
  // before any window shows, not at the click that would need it.
  check_control_names(main_.form, explanation_.form, output_.form, history_.form);
}

Form* App::form(const QString& name) {
  if (name == QLatin1String("Form1")) return &main_.form;
  if (name == QLatin1String("Form2")) return &explanation_.form;
  if (name == QLatin1String("Form3")) return &output_.form;
  if (name == QLatin1String("Form4")) return &history_.form;
  return nullptr;
}

const Form* App::form(const QString& name) const { return const_cast<App*>(this)->form(name); }

void App::start() {
  Form_Load(main_);
  // Output files that the start-up's look at unfinished appends left as they were.
  for (const QString& notice : take_append_notices())
    main_.platform().message(notice, kAppTitle, Buttons::OK);
  history_.use_file(history_file_);
}

std::vector<App::ButtonId> App::buttons() {
  std::vector<ButtonId> out;
  for (const auto& row : all_buttons())
    out.push_back({QLatin1String(row.form), QLatin1String(row.control.key)});
  return out;
}

bool App::has_button(const QString& form, const QString& control) const {
  return find_button(form, control) != nullptr;
}

bool App::pick(const QString& form, const QString& control, int index) {
  const PickRow* row = find_pick(form);
  return row && row->select(*this, control, index);
}

bool App::follows_picks(const QString& form) { return find_pick(form) != nullptr; }

bool App::accepts_click(const QString& form_name, const QString& control) const {
  const ButtonRow* row = find_button(form_name, control);
  if (!row) return false;
  const Form* f = form(form_name);
  if (!f || !f->open) return false;
  return !(row->guarded && busy());
}

QStringList App::opening_pictures(const QString& form_name, const QString& control) const {
  const ButtonRow* row = find_button(form_name, control);
  if (!row || !row->opening || !accepts_click(form_name, control)) return {};
  return row->opening(main_);
}

bool App::click(const QString& form, const QString& control) {
  const ButtonRow* row = find_button(form, control);
  if (!row) return false;
  if (!accepts_click(form, control)) return true;
  // A skip asked for ahead belongs to the outermost command.
  if (busy_ == 0) {
    main_.skipping = skip_next_;
    skip_next_ = false;
  }
  // Lowered again however the command ends, an unexpected exception included.
  struct BusyGuard {
    App& app;
    explicit BusyGuard(App& a) : app(a) { ++app.busy_; }
    ~BusyGuard() {
      if (--app.busy_ == 0) app.main_.skipping = false;
    }
  } guard(*this);
  if (row->hides_card) hide_result_card(main_);
  const bool outermost = busy_ == 1;
  // A prediction is dated by the press that asked for it, however long its staging runs.
  const QDateTime pressed = outermost ? main_.platform().now() : QDateTime();
  // Only a run that reached its result is a prediction worth remembering.
  std::optional<Prediction> completed;
  try {
    if (row->run)
      completed = row->run(main_);
    else
      row->handler(*this);
  } catch (const RunAborted&) {
    // The main window was closed during a pause: the run ends here.
  }
  if (outermost && completed) history_.record(*completed, pressed);
  return true;
}

void App::skip_staging() {
  if (busy()) main_.skipping = true;
}

void App::main_window_closed() { form1_closed_by_user(main_); }

}  // namespace quilo
