// What the four prediction commands share: the odds checks, a table column
// that runs out, and one run at a time.
#include "prediction_checks.h"
#include "presentation/shell_commands.h"

#include <QRegularExpression>

using namespace quilo;
using namespace quilo::test;

namespace {

const char* const kCommands[] = {"Command8", "Command1", "Command3", "Command6"};

// Every column holds its own number in every row (of the whole table by default).
CrtTables full_columns(int rows = kCrtRows) {
  CrtTables t(0, rows);
  for (int col = 1; col <= 8; ++col) t.fill(col, col);
  return t;
}

// The result lines are as before the command, but for the onibaku command's
// background caption, which comes before its staging.
void expect_no_result_lines(const QJsonObject& d, const QJsonObject& before, const QString& command) {
  QStringList expected = result_lines(before);
  if (command == "Command6") {
    while (expected.size() < 3) expected << QString();
    expected[2] = result_lines(d).value(2);
    EXPECT_TRUE(expected[2].startsWith("[翠甲星帝")) << expected[2].toStdString();
  }
  EXPECT_EQ(result_lines(d), expected);
}

}  // namespace

TEST(PredictionCommands, OddsChecksStopBeforeAnyEffect) {
  const struct {
    QString text1, text2;
    QString message[4];  // per command in kCommands order; "" = the command runs
  } cases[] = {
      {"",
       "",
       {"1番人気のオッズが入力されていません", "1番人気のオッズが入力されていません",
        "1番人気のオッズが入力されていません", "1番人気のオッズが入力されていません"}},
      {"  ",
       "2.0",
       {"1番人気のオッズが入力されていません", "1番人気のオッズが入力されていません",
        "1番人気のオッズが入力されていません", "1番人気のオッズが入力されていません"}},
      {"2.0",
       " ",
       {"2番人気のオッズが入力されていません", "2番人気のオッズが入力されていません",
        "2番人気のオッズが入力されていません", "2番人気のオッズが入力されていません"}},
      {"abc",
       "2.0",
       {"1番人気のオッズが数値ではありません", "1番人気のオッズが数値ではありません",
        "1番人気のオッズが数値ではありません", "1番人気のオッズが数値ではありません"}},
      {"1.5倍",
       "abc",
       {"1番人気のオッズが数値ではありません", "1番人気のオッズが数値ではありません",
        "1番人気のオッズが数値ではありません", "1番人気のオッズが数値ではありません"}},
      // Only the onibaku command compares the 2nd favourite's odds.
      {"2.0", "abc", {"", "", "", "2番人気のオッズが数値ではありません"}},
      {"１．５", " 4.0 ", {"", "", "", ""}},
  };
  for (const auto& c : cases) {
    for (int i = 0; i < 4; ++i) {
      SCOPED_TRACE((QString(kCommands[i]) + " [" + c.text1 + "] [" + c.text2 + "]").toStdString());
      Session s;
      full_columns(200).write(s);
      s.run(kBuyablePanel + QString("\ntype Text1 \"%1\"\ntype Text2 \"%2\"").arg(c.text1, c.text2));
      const auto before = s.dump();
      const auto d = s.dump(QString("click ") + kCommands[i]);
      if (c.message[i].isEmpty()) {
        EXPECT_TRUE(messages(d).isEmpty()) << messages(d).join("|").toStdString();
        EXPECT_TRUE(event_lines(d).contains("pause 2"));
        continue;
      }
      ASSERT_EQ(events(d).size(), 1);
      const QJsonObject m = events(d)[0].toObject();
      EXPECT_EQ(m["text"].toString(), c.message[i]);
      EXPECT_EQ(m["title"].toString(), "●Quilo ピルピルθK●");
      EXPECT_EQ(m["buttons"].toString(), "OK");
      // Nothing else changed: window, ticket, list and state are as before.
      QJsonObject a = before, b = d;
      a.remove("events");
      b.remove("events");
      EXPECT_EQ(a, b);
    }
  }
}

TEST(PredictionCommands, ColumnRunningOutEndsTheCommand) {
  const struct {
    const char* command;
    int column;
    int value;  // the whole column holds it
    const char* why;
    int staging_pauses;
  } cases[] = {
      {"Command8", 3, 0, "no digit 1..9", 0},   {"Command8", 8, 10, "no digit 1..9", 0},
      {"Command3", 5, 10, "no digit 0..9", 0},  {"Command3", 2, 1, "only a repeat of position 1", 0},
      {"Command1", 4, 44, "no value 1..43", 4}, {"Command1", 6, 1, "only a repeat", 4},
      {"Command6", 1, -1, "no digit 0..9", 7},  {"Command6", 3, 2, "only a repeat", 7},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.command) + " " + c.why);
    Session s;
    full_columns().fill(c.column, c.value).write(s);
    // 31 December with the panel's last entries: the highest rows any engine starts from.
    s.run("select Combo3 11\nselect Combo4 30\nselect Combo7 13\ntype Text1 9\ntype Text2 9\n" +
          panel_script(18, 17, 16, 15, 14));
    s.dump();
    for (int i = 0; i < 6; ++i) set_list_line(s.app().main().c("List1"), i, QString("old %1").arg(i));
    for (int i = 0; i < 4; ++i) s.app().main().s.output_lines[i] = QString("out %1").arg(i);
    const auto before = s.dump();
    const auto d = s.dump(QString("click ") + c.command);
    const QStringList ev = event_lines(d);
    ASSERT_FALSE(ev.isEmpty());
    EXPECT_EQ(ev.last(), QString("message crt_%1.txt に使える値が足りません").arg(c.column));
    // A table that runs out is a table failure: the program's own title.
    EXPECT_EQ(events_of(d, "message")[0].toObject()["title"].toString(), "競馬予想 Quilo ピルピルθK");
    EXPECT_EQ(messages(d).size(), 1);
    // No preparation pause, no music stop, no result.
    EXPECT_FALSE(ev.contains("midi_close"));
    EXPECT_EQ(ev.filter(QRegularExpression("^pause ")).size(), c.staging_pauses);
    expect_no_result_lines(d, before, c.command);
    EXPECT_EQ(output_lines(d), output_lines(before));
    const TicketKind kind = QString(c.command) == "Command8" || QString(c.command) == "Command1"
                                ? TicketKind::Trifecta
                                : TicketKind::Exacta;
    for (int row = 1; row <= 4; ++row)
      EXPECT_EQ(caption(d, ticket_cell(kind, row, 1)), caption(before, ticket_cell(kind, row, 1)));
    // The positions before the column were taken and shown.
    for (int j = 1; j < c.column; ++j)
      EXPECT_EQ(caption(d, QString("Label4(%1)").arg(j + 7)), QString::number(j));
    EXPECT_LE(state(d)["crt_row"].toInt(), 5000);
    EXPECT_FALSE(s.app().busy());
    EXPECT_TRUE(d["windows"].toObject()["Form1"].toBool());
  }
}

TEST(PredictionCommands, SecondPredictionDuringAPauseDoesNotRun) {
  const struct {
    const char* first;
    const char* second;
  } cases[] = {
      {"Command8", "Command3"}, {"Command3", "Command8"}, {"Command1", "Command6"},
      {"Command6", "Command1"}, {"Command8", "Command8"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.first) + " then " + c.second);
    const QString script =
        "select Combo7 13\ntype Text1 1.8\ntype Text2 3.6\n" + panel_script(2, 4, 6, 8, 10);
    // The same run alone ...
    Session alone;
    full_columns(200).write(alone);
    alone.run(script);
    alone.dump();
    const auto expected = alone.dump(QString("click ") + c.first);
    // ... and with the other button pressed at every pause.
    Session s;
    full_columns(200).write(s);
    s.run(script);
    s.dump();
    int presses = 0;
    s.platform().on_pause = [&](float) {
      ++presses;
      s.app().click("Form1", c.second);
    };
    const auto d = s.dump(QString("click ") + c.first);
    EXPECT_GT(presses, 0);
    EXPECT_EQ(event_lines(d), event_lines(expected));
    EXPECT_EQ(result_lines(d), result_lines(expected));
    EXPECT_EQ(state(d), state(expected));
    EXPECT_FALSE(s.app().busy());
    // Afterwards the second button works again.
    EXPECT_TRUE(event_lines(s.dump(QString("click ") + c.second)).contains("pause 2"));
  }
}

TEST(PredictionCommands, TheEndDuringAPauseStopsTheRun) {
  const struct {
    const char* command;
    int at_pause;  // THE END pressed during this pause (1 = the first)
  } cases[] = {
      {"Command8", 1},                   // the preparation pause
      {"Command3", 1}, {"Command1", 1},  // the opening staging
      {"Command1", 4}, {"Command1", 5},  // the preparation pause
      {"Command6", 1}, {"Command6", 7},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.command) + " pause " + std::to_string(c.at_pause));
    Session s;
    full_columns(200).write(s);
    s.run(kBuyablePanel + "\ntype Text1 1.5\ntype Text2 3.0");
    s.dump();
    for (int i = 0; i < 4; ++i) s.app().main().s.output_lines[i] = QString("out %1").arg(i);
    const auto before = s.dump();
    int pauses = 0;
    s.platform().on_pause = [&](float) {
      if (++pauses == c.at_pause) s.app().click("Form1", "Command5");
    };
    const auto d = s.dump(QString("click ") + c.command);
    const QStringList ev = event_lines(d);
    // THE END's sound and music stop are the last effects: nothing after the pause.
    ASSERT_GE(ev.size(), 3);
    EXPECT_TRUE(ev[ev.size() - 3].startsWith("pause "));
    EXPECT_EQ(ev.mid(ev.size() - 2), QStringList({"se gasha.wav", "midi_close"}));
    EXPECT_EQ(ev.filter("pause").size(), c.at_pause);
    expect_no_result_lines(d, before, c.command);
    EXPECT_EQ(output_lines(d), output_lines(before));
    EXPECT_FALSE(d["windows"].toObject()["Form1"].toBool());
    EXPECT_TRUE(s.platform().music_playing.isEmpty());
    EXPECT_FALSE(s.app().busy());
  }
}

TEST(PredictionCommands, EachTakesTheRevealStep) {
  for (const char* command : kCommands) {
    SCOPED_TRACE(command);
    Session s;
    full_columns(200).write(s);
    s.run(kBuyablePanel + "\ntype Text1 5\ntype Text2 5");
    for (int i = 0; i < kRevealPressThreshold; ++i) s.run("click Command2");
    const auto d = s.dump(QString("click ") + command);
    EXPECT_EQ(state(d)["reveal_stage"].toInt(), 1);
    EXPECT_EQ(state(d)["reveal_press_count"].toInt(), 0);
  }
}
