#include "scenario/scenario.h"

#include "platform/file_ops.h"
#include "presentation/shell_commands.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonParseError>
#include <QRegularExpression>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <stdexcept>

namespace quilo {
namespace {

// "Form3.Text1" -> ("Form3", "Text1"); "Combo8" -> ("Form1", "Combo8").
std::pair<QString, QString> split_control(const QString& name) {
  static const QRegularExpression re(QStringLiteral("^(Form[1-4])\\.(.+)$"));
  const auto m = re.match(name);
  if (m.hasMatch()) return {m.captured(1), m.captured(2)};
  return {QStringLiteral("Form1"), name};
}

// What the scenario mode does with each kind of control: what a dump shows of
// it, what typing does to it and what picking entry i of it does. One row per
// kind; a missing action means the kind does not take it.
using DumpFields = void (*)(const Control&, QJsonObject&);
using TypeInto = void (*)(Control&, const QString&);
using PickEntry = bool (*)(App&, const QString& form, Control&, int index);

struct KindActions {
  Kind kind;
  DumpFields dump;
  TypeInto type;
  PickEntry pick;
};

void dump_text(const Control& c, QJsonObject& o) { o.insert("text", c.text); }
void dump_selected(const Control& c, QJsonObject& o) { o.insert("selected", c.selected); }
void dump_items(const Control& c, QJsonObject& o) { o.insert("items", QJsonArray::fromStringList(c.items)); }

// Typing into a combo leaves no entry picked.
void type_combo(Control& c, const QString& v) {
  c.text = v;
  c.selected = -1;
}
void type_text(Control& c, const QString& v) { c.text = v; }

bool pick_combo_entry(App& app, const QString& form, Control& c, int index) {
  // A window that follows its choices (the history window's chart) is told at once.
  if (App::follows_picks(form)) return app.pick(form, c.key(), index);
  if (index < 0 || index >= c.items.size()) return false;
  c.selected = index;
  c.text = c.items[index];
  return true;
}

// The lists and tables pick through their window, as a user's click does.
bool pick_in_window(App& app, const QString& form, Control& c, int index) {
  return app.pick(form, c.key(), index);
}

QJsonArray rows_json(const std::vector<QStringList>& rows) {
  QJsonArray out;
  for (const QStringList& row : rows) out.append(QJsonArray::fromStringList(row));
  return out;
}

QJsonArray series_json(const std::vector<ChartSeries>& series) {
  QJsonArray out;
  for (const ChartSeries& s : series) {
    QJsonArray points;
    for (const auto& [date, value] : s.points) points.append(QJsonArray{date.toString(Qt::ISODate), value});
    out.append(QJsonObject{{"name", s.name}, {"points", points}});
  }
  return out;
}

const KindActions kKindActions[] = {
    {Kind::Combo, [](const Control& c, QJsonObject& o) { dump_text(c, o), dump_selected(c, o); }, type_combo,
     pick_combo_entry},
    {Kind::Text, dump_text, type_text, nullptr},
    {Kind::Label, [](const Control& c, QJsonObject& o) { o.insert("caption", c.text); }, nullptr, nullptr},
    {Kind::Card, [](const Control& c, QJsonObject& o) { o.insert("caption", c.text); }, nullptr, nullptr},
    {Kind::Image, [](const Control& c, QJsonObject& o) { o.insert("picture", c.picture); }, nullptr, nullptr},
    {Kind::List,
     [](const Control& c, QJsonObject& o) { o.insert("lines", QJsonArray::fromStringList(c.lines)); },
     nullptr, nullptr},
    {Kind::Option, [](const Control& c, QJsonObject& o) { o.insert("checked", c.checked); }, nullptr,
     nullptr},
    {Kind::DriveList,
     [](const Control& c, QJsonObject& o) { dump_text(c, o), dump_selected(c, o), dump_items(c, o); },
     nullptr, pick_in_window},
    {Kind::DirList, [](const Control& c, QJsonObject& o) { dump_text(c, o), dump_items(c, o); }, nullptr,
     pick_in_window},
    {Kind::FileList, [](const Control& c, QJsonObject& o) { dump_selected(c, o), dump_items(c, o); }, nullptr,
     pick_in_window},
    {Kind::Table,
     [](const Control& c, QJsonObject& o) {
       o.insert("columns", QJsonArray::fromStringList(c.items)), o.insert("rows", rows_json(c.rows));
       dump_selected(c, o);
     },
     nullptr, pick_in_window},
    {Kind::Chart, [](const Control& c, QJsonObject& o) { o.insert("series", series_json(c.series)); },
     nullptr, nullptr},
    {Kind::Button, nullptr, nullptr, nullptr},
    {Kind::Shape, nullptr, nullptr, nullptr},
};

const KindActions& actions(Kind kind) {
  for (const auto& row : kKindActions)
    if (row.kind == kind) return row;
  throw std::logic_error("a kind of control without scenario actions");
}

QJsonObject control_json(const Control& c) {
  QJsonObject o;
  if (const DumpFields dump = actions(c.design.kind).dump) dump(c, o);
  o.insert("visible", c.visible);
  if (c.back) o.insert("back", c.back->hex());
  if (c.fore) o.insert("fore", c.fore->hex());
  return o;
}

QJsonArray strings_json(const QString* begin, const QString* end) {
  QJsonArray a;
  for (auto* p = begin; p != end; ++p) a.append(*p);
  return a;
}

// A VALUE is the rest of the line, or a JSON string literal when it starts with '"'.
// A lone surrogate that a literal escapes ("\ud800") is no character: it is
// typed as U+FFFD.
std::optional<QString> parse_value(const QString& raw) {
  if (!raw.startsWith(QLatin1Char('"'))) return raw;
  QJsonParseError err;
  const auto doc = QJsonDocument::fromJson(("[" + raw + "]").toUtf8(), &err);
  if (err.error != QJsonParseError::NoError || !doc.isArray() || doc.array().size() != 1 ||
      !doc.array().at(0).isString())
    return std::nullopt;
  return with_valid_text(doc.array().at(0).toString());
}

// A JSON value as compact text (a bare string or number too).
QByteArray json_text(const QJsonValue& value) {
  const QByteArray wrapped = QJsonDocument(QJsonArray{with_valid_text(value)}).toJson(QJsonDocument::Compact);
  return wrapped.mid(1, wrapped.size() - 2);
}

// What each verb of a script line does with the rest of the line: nothing
// when it worked, else what is wrong with the line.
using ActionResult = std::optional<QString>;

ActionResult set_time(ScenarioRunner& r, const QString& rest) {
  static const QRegularExpression re(QStringLiteral("^(\\d{1,2}):(\\d{2}):(\\d{2})$"));
  const auto m = re.match(rest.trimmed());
  if (!m.hasMatch()) return QStringLiteral("time needs HH:MM:SS");
  const int h = m.captured(1).toInt(), mi = m.captured(2).toInt(), s = m.captured(3).toInt();
  if (h > 23 || mi > 59 || s > 59) return QStringLiteral("time out of range");
  r.platform().clock = h * 3600 + mi * 60 + s;
  return std::nullopt;
}

ActionResult set_date(ScenarioRunner& r, const QString& rest) {
  const QDate date = QDate::fromString(rest.trimmed(), Qt::ISODate);
  if (!date.isValid() || rest.trimmed().size() != 10) return QStringLiteral("date needs YYYY-MM-DD");
  r.platform().date = date;
  return std::nullopt;
}

ActionResult queue_answer(ScenarioRunner& r, const QString& rest) {
  if (rest == QLatin1String("OK"))
    r.platform().answers.push_back(Answer::OK);
  else if (rest == QLatin1String("Cancel"))
    r.platform().answers.push_back(Answer::Cancel);
  else
    return QStringLiteral("answer needs OK or Cancel");
  return std::nullopt;
}

// The file the next file dialog returns; `choose ""` cancels it.
ActionResult queue_chosen_file(ScenarioRunner& r, const QString& rest) {
  const auto value = parse_value(rest);
  if (!value) return QStringLiteral("bad string literal");
  r.platform().chosen_files.push_back(*value);
  return std::nullopt;
}

// Starts the program itself, once the path is there.
ActionResult set_folder(ScenarioRunner& r, const QString& rest) {
  if (rest.isEmpty()) return QStringLiteral("folder needs a path");
  r.start();
  r.app().output().set_folder(rest);
  return std::nullopt;
}

ActionResult skip_next_command(ScenarioRunner& r, const QString& rest) {
  if (!rest.trimmed().isEmpty()) return QStringLiteral("skip takes nothing");
  r.app().skip_next_command();
  return std::nullopt;
}

ActionResult write_dump(ScenarioRunner& r, const QString& rest) {
  if (!rest.trimmed().isEmpty()) return QStringLiteral("dump takes nothing");
  const QByteArray line = r.dump_line();
  if (!r.sink) {
    r.output << QString::fromUtf8(line);
  } else if (!r.sink(line)) {
    return QStringLiteral("the dump could not be written");
  }
  return std::nullopt;
}

ActionResult click_button(ScenarioRunner& r, const QString& rest) {
  App& app = r.app();
  const auto [form, key] = split_control(rest.trimmed());
  if (!app.has_button(form, key)) return QStringLiteral("no button %1").arg(rest.trimmed());
  // Like typing into it, pressing a button of a window that is not open is
  // an error of the script.
  if (!app.form(form)->open) return QStringLiteral("%1 is not open").arg(form);
  app.click(form, key);
  return std::nullopt;
}

// The control that a select or type line names, in an open window, and the
// text after it.
struct Target {
  QString form, key;
  Control* control = nullptr;
  const KindActions* kind = nullptr;
  QString value;
};

ActionResult find_target(ScenarioRunner& r, const char* verb, const QString& rest, Target& target) {
  const int sp = rest.indexOf(QLatin1Char(' '));
  if (sp <= 0) return QStringLiteral("%1 needs a control and a value").arg(QLatin1String(verb));
  const auto [form_name, key] = split_control(rest.left(sp));
  Form& form = *r.app().form(form_name);
  Control* control = form.find(key);
  if (!control) return QStringLiteral("no control %1").arg(rest.left(sp));
  if (!form.open) return QStringLiteral("%1 is not open").arg(form_name);
  target = {form_name, key, control, &actions(control->design.kind), rest.mid(sp + 1)};
  return std::nullopt;
}

ActionResult select_entry(ScenarioRunner& r, const QString& rest) {
  Target t;
  if (auto err = find_target(r, "select", rest, t)) return err;
  bool ok = false;
  const int index = t.value.trimmed().toInt(&ok);
  if (!ok) return QStringLiteral("select needs an entry number");
  if (!t.kind->pick) return QStringLiteral("cannot select in %1").arg(t.key);
  if (!t.kind->pick(r.app(), t.form, *t.control, index))
    return QStringLiteral("%1 has no entry %2").arg(t.key).arg(index);
  return std::nullopt;
}

ActionResult type_into(ScenarioRunner& r, const QString& rest) {
  Target t;
  if (auto err = find_target(r, "type", rest, t)) return err;
  const auto value = parse_value(t.value);
  if (!value) return QStringLiteral("bad string literal");
  if (!t.kind->type || !t.control->design.typable) return QStringLiteral("cannot type into %1").arg(t.key);
  t.kind->type(*t.control, *value);
  return std::nullopt;
}

// The verbs of a script line. starts: the main window's load runs first
// (once); the others work before it, or start it themselves.
struct Verb {
  const char* name;
  bool starts;
  ActionResult (*run)(ScenarioRunner&, const QString& rest);
};

const Verb kVerbs[] = {
    {"time", false, set_time},             // time HH:MM:SS
    {"date", false, set_date},             // date YYYY-MM-DD
    {"answer", false, queue_answer},       // answer OK | Cancel
    {"choose", false, queue_chosen_file},  // choose "PATH"
    {"folder", false, set_folder},         // folder PATH
    {"skip", true, skip_next_command},     // skip
    {"dump", true, write_dump},            // dump
    {"click", true, click_button},         // click CONTROL
    {"select", true, select_entry},        // select CONTROL INDEX
    {"type", true, type_into},             // type CONTROL VALUE
};

}  // namespace

ScenarioRunner::ScenarioRunner(const QString& history_file)
    : app_(std::make_unique<App>(platform_, history_file)) {}

void ScenarioRunner::start() {
  if (started_) return;
  started_ = true;
  app_->start();
}

void ScenarioRunner::finish() { start(); }

std::optional<QString> ScenarioRunner::run_script(const QString& script) {
  const QStringList lines = script.split(QLatin1Char('\n'));
  for (const QString& line : lines) {
    if (auto err = run_line(line)) return err;
  }
  return std::nullopt;
}

std::optional<QString> ScenarioRunner::run_line(const QString& raw_line) {
  ++line_no_;
  QString line = raw_line;
  if (line.endsWith(QLatin1Char('\r'))) line.chop(1);
  if (line.trimmed().isEmpty() || line.trimmed().startsWith(QLatin1Char('#'))) return std::nullopt;
  const int sp = line.indexOf(QLatin1Char(' '));
  const QString verb = sp < 0 ? line : line.left(sp);
  const QString rest = sp < 0 ? QString() : line.mid(sp + 1);
  std::optional<QString> err;
  try {
    err = run_action(verb, rest);
  } catch (const std::exception& e) {
    err = QString::fromUtf8(e.what());
  }
  if (err) return QStringLiteral("line %1: %2: %3").arg(line_no_).arg(*err, raw_line);
  return std::nullopt;
}

std::optional<QString> ScenarioRunner::run_action(const QString& verb, const QString& rest) {
  for (const Verb& v : kVerbs) {
    if (verb != QLatin1String(v.name)) continue;
    if (v.starts) start();
    return v.run(*this, rest);
  }
  // The main window's load runs before a verb it does not know is refused.
  start();
  return QStringLiteral("unknown action");
}

QJsonObject ScenarioRunner::dump() { return QJsonDocument::fromJson(dump_line()).object(); }

QByteArray ScenarioRunner::dump_line() {
  const App& a = *app_;
  QJsonObject controls;
  for (const Control& c : a.main().form.controls()) controls.insert(c.key(), control_json(c));
  for (const Form* f : {&a.explanation().form, &a.output().form, &a.history().form}) {
    if (!f->open) continue;
    for (const Control& c : f->controls())
      controls.insert(f->name() + QLatin1Char('.') + c.key(), control_json(c));
  }

  const SharedState& s = a.main().s;
  QJsonObject state{
      {"yosou_num", strings_json(s.yosou_num.data(), s.yosou_num.data() + s.yosou_num.size())},
      {"yosou_mode", s.yosou_mode},
      {"yosou_keta", s.yosou_keta},
      {"yosou_max", s.yosou_max},
      {"crt_row", s.crt_row},
      {"chance_level", s.chance_level},
      {"output_lines", strings_json(s.output_lines.data(), s.output_lines.data() + 8)},
      {"reveal_press_count", s.reveal_press_count},
      {"reveal_stage", s.reveal_stage},
      {"reveal_thresholds", QJsonArray{kRevealPressThreshold, kRevealStageThreshold}},
      {"teaching_count", s.teaching_count},
  };

  QJsonObject windows{{"Form1", a.main().form.open},
                      {"Form2", a.explanation().form.open},
                      {"Form3", a.output().form.open},
                      {"Form4", a.history().form.open}};

  // Read first: the history file opens when first needed, and what its
  // opening tells the user belongs to this dump's events.
  const QJsonObject history = app_->history().dump();

  // Keys in the order a JSON object of them is written (by name); the events
  // are spliced in as the text they were logged as.
  return "{\"background\":" + json_text(a.main().form.background) + ",\"controls\":" + json_text(controls) +
         ",\"events\":" + platform_.take_events_text() + ",\"history\":" + json_text(history) +
         ",\"state\":" + json_text(state) + ",\"windows\":" + json_text(windows) + "}";
}

int run_scenario_file(const QString& path, const QString& output_folder, const QString& history_file) {
  const bool from_stdin = path == QLatin1String("-");
  FILE* in = from_stdin ? stdin : std::fopen(QFile::encodeName(path).constData(), "rb");
  if (!in) {
    std::fprintf(stderr, "quilo: cannot read the scenario %s: %s\n", qPrintable(path), std::strerror(errno));
    return 2;
  }
  // A folder opens, but there is nothing to read in it.
  if (const auto st = platform::file_status(in); st && st->kind == platform::FileKind::Folder) {
    std::fprintf(stderr, "quilo: cannot read the scenario %s: it is a folder\n", qPrintable(path));
    if (!from_stdin) std::fclose(in);
    return 2;
  }
  ScenarioRunner runner(history_file);
  if (!output_folder.isEmpty()) {
    runner.app().output().set_folder(output_folder);
    runner.app().history().export_folder = output_folder;
  }
  // Each dump is written at once and not kept; a dump that cannot be written
  // (a full disk, a closed pipe) ends the run.
  int write_error = 0;
  runner.sink = [&write_error](const QByteArray& line) {
    const bool ok = std::fwrite(line.constData(), 1, size_t(line.size()), stdout) == size_t(line.size()) &&
                    std::fputc('\n', stdout) != EOF && std::fflush(stdout) == 0;
    if (!ok) write_error = errno;
    return ok;
  };
  int code = 0;
  char* buf = nullptr;
  size_t cap = 0;
  ssize_t n;
  while ((n = ::getline(&buf, &cap, in)) >= 0) {
    QByteArray bytes(buf, n);
    if (bytes.endsWith('\n')) bytes.chop(1);
    const auto err = runner.run_line(QString::fromUtf8(bytes));
    if (write_error) {
      std::fprintf(stderr, "quilo: cannot write the dump to standard output: %s\n",
                   std::strerror(write_error));
      code = 1;
      break;
    }
    if (err) {
      std::fprintf(stderr, "quilo: scenario %s\n", err->toUtf8().constData());
      code = 2;
      break;
    }
  }
  if (code == 0 && std::ferror(in)) {
    std::fprintf(stderr, "quilo: cannot read the scenario %s: %s\n", qPrintable(path), std::strerror(errno));
    code = 2;
  }
  std::free(buf);
  if (!from_stdin) std::fclose(in);
  if (code == 0) runner.finish();
  return code;
}

}  // namespace quilo
