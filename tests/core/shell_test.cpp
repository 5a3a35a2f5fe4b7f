// Start-up, the reference tables, the odds check, how to use, the reveal of
// the diagnostic column and exit.
#include "presentation/shell_commands.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

#include <sys/stat.h>

using namespace quilo;
using namespace quilo::test;

TEST(Startup, WindowStateAfterLoad) {
  Session s;
  const auto d = s.dump();
  EXPECT_EQ(control(d, "Combo9")["text"].toString(), "01Ｒ");
  EXPECT_EQ(control(d, "Combo9")["selected"].toInt(), -1);
  for (const char* key : {"Combo3", "Combo4"}) {
    EXPECT_EQ(control(d, key)["text"].toString(), "01") << key;
    EXPECT_EQ(control(d, key)["selected"].toInt(), 0) << key;
  }
  for (const char* key : {"Combo6", "Combo8", "Combo7", "Combo11", "Combo10", "Combo14", "Combo2", "Combo13",
                          "Combo5", "Combo1", "place_extra_box"})
    EXPECT_EQ(control(d, key)["selected"].toInt(), -1) << key;
  EXPECT_EQ(control(d, "Combo7")["text"].toString(), "5頭");
  EXPECT_EQ(control(d, "Combo14")["text"].toString(), " 1");
  EXPECT_EQ(control(d, "Text1")["text"].toString(), "");

  EXPECT_FALSE(visible(d, "List1"));
  for (int i = 0; i <= 15; ++i) EXPECT_FALSE(visible(d, QString("Label4(%1)").arg(i)));
  for (int i = 37; i <= 44; ++i) EXPECT_FALSE(visible(d, QString("Label1(%1)").arg(i)));
  for (int i = 0; i <= 7; ++i) EXPECT_FALSE(visible(d, QString("Label3(%1)").arg(i)));
  for (int i = 0; i <= 36; ++i) EXPECT_TRUE(visible(d, QString("Label1(%1)").arg(i)));
  EXPECT_EQ(caption(d, "Label5(10)"), "2～6人気馬番");
  EXPECT_EQ(control(d, "Image1")["picture"].toString(), "3renbaken.bmp");
  EXPECT_EQ(d["background"].toString(), "kihonfuremu.bmp");
  EXPECT_TRUE(d["windows"].toObject()["Form1"].toBool());
  EXPECT_FALSE(d["windows"].toObject()["Form2"].toBool());

  // The music closes, then starts before the tables are read; good tables say nothing.
  const QStringList ev = event_lines(d);
  ASSERT_GE(ev.size(), 2);
  EXPECT_EQ(ev[0], "midi_close");
  EXPECT_EQ(ev[1], "midi_open nakipop.mid");
  for (int i = 0; i < 8; ++i) EXPECT_FALSE(messages(d).join("").contains("crt_"));
  EXPECT_EQ(s.app().main().s.crt_table[1][0], 1);  // first value of crt_1.txt
}

TEST(Startup, NoTablesGivesOneMessageNamingTheFolderAndTheWaysOut) {
  // With or without the teaching file: one message covers it.
  for (bool teaching : {false, true}) {
    Session s(Session::Tables::None);
    if (teaching) s.write_file("maharaja.txt", "教え\r\n");
    const auto d = s.dump();
    ASSERT_EQ(messages(d).size(), 1) << teaching;
    const QString text = messages(d)[0];
    EXPECT_TRUE(text.contains(QDir::currentPath())) << text.toStdString();
    EXPECT_TRUE(text.contains("quilo --user-folder")) << text.toStdString();
    EXPECT_TRUE(text.contains("crt_1.txt") && text.contains("waku_4.txt")) << text.toStdString();
    const auto e = events_of(d, "message")[0].toObject();
    EXPECT_EQ(e["title"].toString(), "競馬予想 Quilo ピルピルθK");
    EXPECT_EQ(e["buttons"].toString(), "OK");
    // The music starts before the message, the window opens after it on zero tables.
    EXPECT_EQ(event_lines(d).indexOf("midi_open nakipop.mid"), 1);
    EXPECT_TRUE(d["windows"].toObject()["Form1"].toBool());
    for (int c = 1; c <= 8; ++c) EXPECT_EQ(s.app().main().s.crt_table[c][0], 0);
    EXPECT_EQ(state(d)["teaching_count"].toInt(), teaching ? 1 : 0);
  }
}

// Started by hand (not from the menu) in a folder without tables, the same
// message offers to start over in the per-user folder: OK takes it, Cancel
// goes on as without the offer.
TEST(Startup, NoTablesOffersToStartOverInTheUserFolder) {
  for (Answer answer : {Answer::OK, Answer::Cancel}) {
    Session s(Session::Tables::None);
    s.app().main().user_folder_offer = "/home/u/.local/share/quilo";
    s.platform().answers.push_back(answer);
    const auto d = s.dump();
    ASSERT_EQ(messages(d).size(), 1);
    EXPECT_TRUE(messages(d)[0].contains("作業フォルダ /home/u/.local/share/quilo に"))
        << messages(d)[0].toStdString();
    EXPECT_EQ(events_of(d, "message")[0].toObject()["buttons"].toString(), "OKCancel");
    EXPECT_EQ(s.app().main().start_over_requested, answer == Answer::OK);
    EXPECT_EQ(d["windows"].toObject()["Form1"].toBool(), answer == Answer::Cancel);
  }
}

TEST(Startup, SomeTablesMissingGetAMessageEach) {
  Session s;
  for (const char* name : {"crt_3.txt", "waku_2.txt", "maharaja.txt"}) QFile::remove(s.path(name));
  const auto d = s.dump();
  EXPECT_EQ(messages(d),
            QStringList({"crt_3.txtに異常発生！", "waku_2.txtに異常発生！", "maharaja.txtに異常発生！"}));
  EXPECT_EQ(s.app().main().s.crt_table[1][0], 1);  // the tables that are there are read
}

// Each case shapes one file and says what start-up reports and keeps.
struct TableCase {
  const char* name;
  QByteArray content;
  bool message;
  int stored_rows;  // rows holding the file's values; the rest stay 0
};

void PrintTo(const TableCase& c, std::ostream* os) { *os << c.name; }

class TableFiles : public ::testing::TestWithParam<TableCase> {};

QByteArray lines_of(int count, int value) {
  QByteArray b;
  for (int i = 0; i < count; ++i) b += QByteArray::number(value) + "\r\n";
  return b;
}

TEST_P(TableFiles, LoadAndReport) {
  const TableCase& tc = GetParam();
  Session s;
  s.write_file(tc.name, tc.content);
  const auto d = s.dump();
  const QString expected = QString::fromUtf8(tc.name) + "に異常発生！";
  EXPECT_EQ(messages(d).contains(expected), tc.message) << messages(d).join(",").toStdString();
  if (tc.message) {
    EXPECT_EQ(messages(d).size(), 1);
  }

  const bool crt = QString(tc.name).startsWith("crt");
  const int column = QString(tc.name).mid(crt ? 4 : 5, 1).toInt();
  const int rows = crt ? kCrtRows : kWakuRows;
  for (int r = 0; r < rows; ++r) {
    const int v = crt ? s.app().main().s.crt_table[column][r] : s.app().main().s.waku_table[column][r];
    if (r < tc.stored_rows)
      ASSERT_NE(v, 0) << "row " << r;
    else
      ASSERT_EQ(v, 0) << "row " << r;
  }
}

QByteArray bad_on_line_10() {
  QByteArray b;
  for (int i = 0; i < 9; ++i) b += "7\r\n";
  b += "40000\r\n";
  for (int i = 0; i < 20; ++i) b += "5\r\n";
  return b;
}

INSTANTIATE_TEST_SUITE_P(
    Startup, TableFiles,
    ::testing::Values(TableCase{"crt_2.txt", bad_on_line_10(), true, 9},
                      TableCase{"crt_3.txt", lines_of(5001, 4), false, 5001},
                      TableCase{"crt_3.txt", lines_of(5002, 4), true, 5001},
                      TableCase{"crt_4.txt", "", false, 0},
                      TableCase{"crt_5.txt", "3,4 5\r\n\r\n6\n-2\r\n\r\n", false, 5},
                      TableCase{"crt_6.txt", "1\r\n2\r\nabc\r\n4\r\n", true, 2},
                      TableCase{"crt_7.txt", "1\r\n2.5\r\n", true, 1},
                      TableCase{"crt_8.txt", "1,,2\r\n", true, 1},
                      TableCase{"crt_1.txt", QByteArray("\x01\xff\xfe garbage\0\0", 14), true, 0},
                      TableCase{"waku_1.txt", lines_of(1201, 3), false, 1201},
                      TableCase{"waku_2.txt", lines_of(1202, 3), true, 1201},
                      TableCase{"waku_4.txt", "-32768\r\n32767\r\n32768\r\n", true, 2},
                      // A UTF-8 byte-order mark at the start is no value; elsewhere it is.
                      TableCase{"crt_4.txt", "\xEF\xBB\xBF" + lines_of(3, 5), false, 3},
                      TableCase{"waku_3.txt",
                                "1\r\n\xEF\xBB\xBF"
                                "2\r\n",
                                true, 1},
                      // Far larger than any table: refused before it is read.
                      TableCase{"crt_2.txt", lines_of(3, 5) + QByteArray(4 * 1024 * 1024, ' '), true, 0}),
    [](const auto& info) { return "case" + std::to_string(info.index); });

TEST(Startup, FilesThatAreNoRegularFilesAreTheirFilesFailure) {
  // A pipe would hang the start, a device or a huge file would fill the
  // memory: each is refused with its file's usual message.
  Session s;
  QFile::remove(s.path("crt_1.txt"));
  ASSERT_EQ(::mkfifo(qPrintable(s.path("crt_1.txt")), 0600), 0);
  QFile::remove(s.path("crt_2.txt"));
  ASSERT_TRUE(QFile::link("/dev/zero", s.path("crt_2.txt")));
  QFile::remove(s.path("waku_1.txt"));
  ASSERT_TRUE(QDir(s.path("")).mkdir("waku_1.txt"));
  QFile::remove(s.path("maharaja.txt"));
  ASSERT_EQ(::mkfifo(qPrintable(s.path("maharaja.txt")), 0600), 0);
  const auto d = s.dump();
  EXPECT_EQ(messages(d), QStringList({"crt_1.txtに異常発生！", "crt_2.txtに異常発生！",
                                      "waku_1.txtに異常発生！", "maharaja.txtに異常発生！"}));
  EXPECT_TRUE(d["windows"].toObject()["Form1"].toBool());

  Session big;
  big.write_file("maharaja.txt", QByteArray(1024 * 1024 + 1, 'x'));
  EXPECT_EQ(messages(big.dump()), QStringList({"maharaja.txtに異常発生！"}));
  EXPECT_EQ(big.app().main().s.teaching_count, 0);
  Session zero;
  QFile::remove(zero.path("maharaja.txt"));
  ASSERT_TRUE(QFile::link("/dev/zero", zero.path("maharaja.txt")));
  EXPECT_EQ(messages(zero.dump()), QStringList({"maharaja.txtに異常発生！"}));
}

TEST(Startup, NegativeValuesStoredAsRead) {
  Session s;
  s.write_table("crt_5.txt", {-3, 0, -32768, 9});
  s.dump();
  EXPECT_EQ(s.app().main().s.crt_table[5][0], -3);
  EXPECT_EQ(s.app().main().s.crt_table[5][2], -32768);
  EXPECT_EQ(s.app().main().s.crt_table[5][3], 9);
}

TEST(OddsCheck, BlankBoxesStopWithTheirMessage) {
  struct Case {
    QString text1, text2, message;
  } cases[] = {
      {"", "", "1番人気のオッズが入力されていません"},
      {"   ", "2.0", "1番人気のオッズが入力されていません"},
      {"2.5", "", "2番人気のオッズが入力されていません"},
      {"2.5", "  ", "2番人気のオッズが入力されていません"},
      {"2.5", "abc", ""},
  };
  for (const auto& c : cases) {
    Session s;
    s.run(QString("type Text1 \"%1\"\ntype Text2 \"%2\"").arg(c.text1, c.text2));
    s.dump();
    const bool passed = s.app().main().check_odds_entered();
    const auto d = s.dump();
    EXPECT_EQ(passed, c.message.isEmpty());
    const auto msgs = events_of(d, "message");
    if (c.message.isEmpty()) {
      EXPECT_TRUE(msgs.isEmpty());
    } else {
      ASSERT_EQ(msgs.size(), 1);
      EXPECT_EQ(msgs[0].toObject()["text"].toString(), c.message);
      EXPECT_EQ(msgs[0].toObject()["title"].toString(), "●Quilo ピルピルθK●");
      EXPECT_EQ(msgs[0].toObject()["buttons"].toString(), "OK");
    }
  }
}

TEST(HowToUse, ClearsTicketFillsListOpensExplanationOnce) {
  Session s;
  s.dump();
  auto d = s.dump("click Command2");
  EXPECT_EQ(strings(control(d, "List1")["lines"]),
            QStringList({"「競馬予想 Quilo ピルピルθKの特徴」", "", " ① 効果の有る電卓予想",
                         " ② 高配当も狙える出目", " ③ 本命鉄板レース判断", ""}));
  EXPECT_FALSE(visible(d, "List1"));
  EXPECT_TRUE(visible(d, "Label1(0)"));
  for (int i = 1; i <= 44; ++i) EXPECT_FALSE(visible(d, QString("Label1(%1)").arg(i))) << i;
  for (int i = 0; i <= 7; ++i) EXPECT_FALSE(visible(d, QString("Label3(%1)").arg(i)));
  EXPECT_FALSE(visible(d, "Label14"));
  EXPECT_FALSE(visible(d, "Label7"));
  EXPECT_EQ(control(d, "Image1")["picture"].toString(), "usermane.bmp");
  EXPECT_TRUE(d["windows"].toObject()["Form2"].toBool());
  EXPECT_EQ(event_lines(d), QStringList({"picture Image1 usermane.bmp", "se fm009.wav"}));
  EXPECT_TRUE(d["controls"].toObject().contains("Form2.Command2"));

  // Again while the explanation is open: sound and list again, still one window.
  d = s.dump("click Command2");
  EXPECT_EQ(event_lines(d), QStringList({"picture Image1 usermane.bmp", "se fm009.wav"}));
  EXPECT_EQ(strings(control(d, "List1")["lines"]).size(), 6);
  d = s.dump("click Form2.Command2");
  EXPECT_FALSE(d["windows"].toObject()["Form2"].toBool());
  EXPECT_FALSE(d["controls"].toObject().contains("Form2.Command2"));
}

TEST(HowToUse, KeepsLaterListLines) {
  Session s;
  s.dump();
  for (int i = 0; i < 9; ++i) set_list_line(s.app().main().c("List1"), i, QString("old %1").arg(i));
  const auto d = s.dump("click Command2");
  const QStringList lines = strings(control(d, "List1")["lines"]);
  ASSERT_EQ(lines.size(), 9);
  EXPECT_EQ(lines[5], "");
  EXPECT_EQ(lines[6], "old 6");
}

TEST(Reveal, DiagnosticColumnOpensAfterTheSequence) {
  Session s;
  s.dump();
  auto diag_visible = [&] {
    const auto d = s.dump();
    int shown = 0;
    for (int i = 0; i <= 15; ++i) shown += visible(d, QString("Label4(%1)").arg(i));
    return shown;
  };
  const int press = kRevealPressThreshold, stage = kRevealStageThreshold;
  for (int round = 0; round < stage; ++round) {
    // A prediction below or above the press threshold changes nothing.
    advance_reveal_stage(s.app().main());
    EXPECT_EQ(s.app().main().s.reveal_stage, round);
    for (int i = 0; i < press; ++i) s.run("click Command2");
    EXPECT_EQ(diag_visible(), 0);
    advance_reveal_stage(s.app().main());
    EXPECT_EQ(s.app().main().s.reveal_press_count, 0);
    EXPECT_EQ(s.app().main().s.reveal_stage, round + 1);
  }
  s.run("click Command2");
  EXPECT_EQ(diag_visible(), 16);
  const auto st = state(s.dump());
  EXPECT_EQ(st["reveal_press_count"].toInt(), 0);
  EXPECT_EQ(st["reveal_stage"].toInt(), 0);
  EXPECT_EQ(st["reveal_thresholds"].toArray(), QJsonArray({press, stage}));
}

TEST(Reveal, PressCounterStopsAtItsLargestValue) {
  Session s;
  s.dump();
  s.app().main().s.reveal_press_count = 32767;
  s.run("click Command2");
  EXPECT_EQ(s.app().main().s.reveal_press_count, 32767);
}

TEST(Exit, PlaysSoundStopsMusicClosesMainWindowOnly) {
  Session s;
  s.run("click Command2");
  s.dump();
  const auto d = s.dump("click Command5");
  EXPECT_EQ(event_lines(d), QStringList({"se gasha.wav", "midi_close"}));
  EXPECT_FALSE(d["windows"].toObject()["Form1"].toBool());
  EXPECT_TRUE(d["windows"].toObject()["Form2"].toBool());
  EXPECT_TRUE(s.platform().music_playing.isEmpty());
  // The closed window's buttons no longer run anything: a script that presses
  // one is told so.
  const auto err = s.runner().run_line("click Command2");
  ASSERT_TRUE(err.has_value());
  EXPECT_TRUE(err->contains("Form1 is not open")) << err->toStdString();
  s.app().click("Form1", "Command2");
  EXPECT_TRUE(event_lines(s.dump()).isEmpty());
}

TEST(ListLines, SettingBeyondTheEndFillsTheGap) {
  Control list(ControlDesign{});
  set_list_line(list, 2, "two");
  EXPECT_EQ(list.lines, QStringList({"", "", "two"}));
  set_list_line(list, 0, "zero");
  set_list_line(list, 3, "three");
  EXPECT_EQ(list.lines, QStringList({"zero", "", "two", "three"}));
  EXPECT_EQ(list_line(list, 7), "");
}
