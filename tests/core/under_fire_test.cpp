// Buttons pressed while a command waits, and the program closed in the middle
// of a staging: every pause of every command that pauses, every button of
// every window.
#include "prediction_checks.h"

#include <QFile>
#include <QFileInfo>

using namespace quilo;
using namespace quilo::test;

namespace {

// Every button and option of every window but THE END.
std::vector<App::ButtonId> buttons() {
  std::vector<App::ButtonId> out;
  for (const App::ButtonId& b : App::buttons())
    if (!(b.form == "Form1" && b.control == "Command5")) out.push_back(b);
  return out;
}

// The commands of the main window, each with odds that take it through its
// longest staging.
const struct {
  const char* command;
  const char* odds1;
  const char* odds2;
} kCommands[] = {
    {"Command8", "1.5", "3.6"},  {"Command3", "1.5", "3.6"},  {"Command1", "1.3", "2.0"},
    {"Command6", "1.5", "3.6"},  // makai black hole
    {"Command6", "1.5", "4.5"},  // onibaku
    {"Command6", "2.5", "3.6"},  // new nebula
    {"Command4", "1.5", "3.6"},  {"Command11", "1.5", "3.6"}, {"Command12", "1.5", "3.6"},
    {"Command13", "1.5", "3.6"}, {"Command2", "1.5", "3.6"},  {"Command10", "1.5", "3.6"},
};

// A user who has entered a race, made an exacta prediction, and opened the
// explanation, output and 成績 windows with a file name typed.
void set_up(Session& s, const char* odds1, const char* odds2) {
  s.run(QString("type Text1 %1\ntype Text2 %2\n").arg(odds1, odds2) + panel_script(2, 4, 6, 8, 10) +
        "\nselect Combo6 4\nselect Combo8 1\nselect Combo9 3\nselect Combo7 6\n"
        "click Command3\nclick Command2\nclick Command10\nclick Command14\ntype Form3.Text1 fire.txt");
  s.dump();
}

QString button_name(const App::ButtonId& b) { return b.form + "." + b.control; }

QByteArray file_bytes(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// What the result list, the stored output and the drawn digits hold.
struct Snapshot {
  QStringList list;
  std::vector<QString> output;
  std::vector<QString> yosou;
  bool operator==(const Snapshot&) const = default;
};

Snapshot snapshot(App& app) {
  return {app.main().c("List1").lines,
          {app.main().s.output_lines.begin(), app.main().s.output_lines.begin() + 8},
          {std::begin(app.main().s.yosou_num), std::end(app.main().s.yosou_num)}};
}

// The events of a session, its folder written as "<folder>" (the CSV export
// names the file it wrote).
QStringList events_of(const Session& s, const QJsonObject& dump) {
  QStringList ev = event_lines(dump);
  ev.replaceInStrings(QFileInfo(s.path("x")).path(), "<folder>");
  return ev;
}

// The positions of the pauses in a list of events.
std::vector<int> pause_positions(const QStringList& ev) {
  std::vector<int> out;
  for (int i = 0; i < ev.size(); ++i)
    if (ev[i].startsWith("pause ")) out.push_back(i);
  return out;
}

}  // namespace

// A press during a pause does what it does outside a run, or nothing while
// the main window's commands are busy: the run goes on as if alone.
TEST(UnderFire, EveryButtonDuringEveryPause) {
  int runs = 0;
  for (const auto& cmd : kCommands) {
    SCOPED_TRACE(std::string(cmd.command) + " odds " + cmd.odds1 + " " + cmd.odds2);
    Session alone;
    set_up(alone, cmd.odds1, cmd.odds2);
    const auto expected = alone.dump(QString("click ") + cmd.command);
    const QStringList expected_ev = event_lines(expected);
    const std::vector<int> pauses = pause_positions(expected_ev);

    // Each button pressed once in the set-up state, without a run: its effects
    // and, for 出力実行, the file it writes.
    std::map<QString, QStringList> alone_effects;
    std::map<QString, QByteArray> alone_file;
    for (const App::ButtonId& b : buttons()) {
      Session once;
      set_up(once, cmd.odds1, cmd.odds2);
      once.app().click(b.form, b.control);
      alone_effects[button_name(b)] = events_of(once, once.dump());
      alone_file[button_name(b)] = file_bytes(once.path("fire.txt"));
    }
    ASSERT_FALSE(alone_file["Form3.Command1"].isEmpty());

    for (std::size_t k = 1; k <= pauses.size(); ++k) {
      for (const App::ButtonId& b : buttons()) {
        const QString name = button_name(b);
        SCOPED_TRACE(QString("%1 during pause %2").arg(name).arg(k).toStdString());
        Session s;
        set_up(s, cmd.odds1, cmd.odds2);
        std::size_t seen = 0;
        bool pressed_while_busy = false;
        s.platform().on_pause = [&](float) {
          if (++seen != k) return;
          pressed_while_busy = s.app().busy();
          s.app().click(b.form, b.control);
        };
        const auto d = s.dump(QString("click ") + cmd.command);
        ++runs;
        ASSERT_TRUE(pressed_while_busy);

        // The press's own effects come right at its pause; the run's are unchanged.
        const bool ignored = b.form == "Form1";
        QStringList want = expected_ev;
        if (!ignored) {
          const QStringList own = alone_effects[name];
          for (int i = 0; i < own.size(); ++i) want.insert(pauses[k - 1] + 1 + i, own[i]);
        }
        EXPECT_EQ(events_of(s, d), want);
        EXPECT_EQ(result_lines(d), result_lines(expected));
        EXPECT_EQ(state(d), state(expected));
        EXPECT_FALSE(s.app().busy());
        // 出力実行 during the run writes the result that was there before it.
        EXPECT_EQ(file_bytes(s.path("fire.txt")), name == "Form3.Command1" ? alone_file[name] : "");
      }
    }
  }
  EXPECT_GT(runs, 100);
}

// THE END, or the main window's close box, in the middle of a staging ends
// the run at that pause: nothing of it happens afterwards, what it had shown
// stays as it was, and the music is off.
TEST(UnderFire, ClosingDuringEveryPause) {
  for (const bool close_box : {false, true}) {
    for (const auto& cmd : kCommands) {
      Session alone;
      set_up(alone, cmd.odds1, cmd.odds2);
      // The state at each pause of the undisturbed run.
      std::vector<Snapshot> at_pause;
      alone.platform().on_pause = [&](float) { at_pause.push_back(snapshot(alone.app())); };
      const QStringList expected_ev = event_lines(alone.dump(QString("click ") + cmd.command));
      const std::vector<int> pauses = pause_positions(expected_ev);
      ASSERT_EQ(pauses.size(), at_pause.size());

      for (std::size_t k = 1; k <= pauses.size(); ++k) {
        SCOPED_TRACE(QString("%1 (%2, %3) %4 at pause %5")
                         .arg(cmd.command, cmd.odds1, cmd.odds2, close_box ? "close box" : "THE END")
                         .arg(k)
                         .toStdString());
        Session s;
        set_up(s, cmd.odds1, cmd.odds2);
        std::size_t seen = 0;
        s.platform().on_pause = [&](float) {
          if (++seen != k) return;
          if (close_box)
            s.app().main_window_closed();
          else
            s.app().click("Form1", "Command5");
        };
        const auto d = s.dump(QString("click ") + cmd.command);

        QStringList want = expected_ev.mid(0, pauses[k - 1] + 1);
        if (!close_box) want << "se gasha.wav";
        want << "midi_close";
        EXPECT_EQ(event_lines(d), want);
        EXPECT_TRUE(snapshot(s.app()) == at_pause[k - 1]);
        EXPECT_FALSE(d["windows"].toObject()["Form1"].toBool());
        EXPECT_TRUE(s.platform().music_playing.isEmpty());
        EXPECT_FALSE(s.app().busy());
        // Nothing on the main window answers any more.
        EXPECT_FALSE(s.app().accepts_click("Form1", cmd.command));
      }
    }
  }
}
