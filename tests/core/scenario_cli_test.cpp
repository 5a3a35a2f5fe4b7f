// The scenario mode as a user of the command line sees it.
#include "test_support.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QJsonDocument>
#include <QProcess>

using namespace quilo::test;

namespace {

struct ProcessResult {
  int code;
  QStringList out;
  QString err;
};

ProcessResult run_quilo(const QByteArray& script, const QString& cwd) {
  QProcess p;
  p.setWorkingDirectory(cwd);
  p.start(QStringLiteral(QUILO_BINARY), {"--script", "-"});
  p.write(script);
  p.closeWriteChannel();
  p.waitForFinished(60000);
  return {p.exitCode(), QString::fromUtf8(p.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts),
          QString::fromUtf8(p.readAllStandardError())};
}

}  // namespace

TEST(ScenarioCli, DumpsOneJsonLinePerDumpAndTypesJsonLiterals) {
  Session s;
  const ProcessResult r = run_quilo(
      "# comment\n\ntype Text1 \" 1\"\ntype Combo8 中山 \nselect Combo9 11\ndump\nclick Command2\ndump\n",
      s.path(""));
  ASSERT_EQ(r.code, 0) << r.err.toStdString();
  ASSERT_EQ(r.out.size(), 2);
  const auto d1 = QJsonDocument::fromJson(r.out[0].toUtf8()).object();
  EXPECT_EQ(control(d1, "Text1")["text"].toString(), " 1");
  EXPECT_EQ(control(d1, "Combo8")["text"].toString(), "中山 ");
  EXPECT_EQ(control(d1, "Combo8")["selected"].toInt(), -1);
  EXPECT_EQ(control(d1, "Combo9")["text"].toString(), "12R");
  EXPECT_EQ(control(d1, "Combo9")["selected"].toInt(), 11);
  const auto d2 = QJsonDocument::fromJson(r.out[1].toUtf8()).object();
  EXPECT_EQ(event_lines(d2), QStringList({"picture Image1 usermane.bmp", "se fm009.wav"}));
}

TEST(ScenarioCli, LinesThatCannotBeUnderstoodStopWithTheirNumber) {
  Session s;
  const char* bad[] = {"fly Command8",    "click Nothing",    "select Combo3 12",
                       "select Combo3 x", "type Label1(3) x", "type Text1 \"unterminated",
                       "time 25:00:00",   "answer Maybe",     "click Form2.Command2 extra"};
  for (const char* line : bad) {
    const ProcessResult r = run_quilo(QByteArray("dump\n") + line + "\ndump\n", s.path(""));
    EXPECT_NE(r.code, 0) << line;
    EXPECT_TRUE(r.err.contains("line 2")) << line << ": " << r.err.toStdString();
    EXPECT_EQ(r.out.size(), 1) << line;
  }
}

TEST(ScenarioCli, ReadsAScriptFile) {
  Session s;
  s.write_file("s.txt", "select Combo6 3\ndump\n");
  QProcess p;
  p.setWorkingDirectory(s.path(""));
  p.start(QStringLiteral(QUILO_BINARY), {"--script", "s.txt"});
  ASSERT_TRUE(p.waitForFinished(60000));
  EXPECT_EQ(p.exitCode(), 0);
  const auto d = QJsonDocument::fromJson(p.readAllStandardOutput()).object();
  EXPECT_EQ(control(d, "Combo6")["text"].toString(), "2013");
}

TEST(CommandLine, VersionUnknownOptionsAndNoDisplay) {
  Session s;
  struct Case {
    const char* what;
    QStringList args;
    QStringList unset;  // environment variables taken away
    QString display;    // DISPLAY, when set
    int code;
    const char* out;  // expected at the start of standard output
    const char* err;  // expected somewhere in standard error
  } cases[] = {
      {"version", {"--version"}, {}, {}, 0, "quilo 1.0\n", ""},
      {"unknown option", {"--fly"}, {}, {}, 2, "", "usage: quilo"},
      {"stray argument", {"file.txt"}, {}, {}, 2, "", "usage: quilo"},
      {"script without a file", {"--script"}, {}, {}, 2, "", "usage: quilo"},
      {"no display", {}, {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"}, {}, 1, "", "quilo --script FILE"},
      {"display not reachable",
       {},
       {"QT_QPA_PLATFORM", "WAYLAND_DISPLAY"},
       ":65000",
       1,
       "",
       "quilo --script FILE"},
  };
  for (const auto& c : cases) {
    QProcess p;
    p.setWorkingDirectory(s.path(""));
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const QString& name : c.unset) env.remove(name);
    if (!c.display.isEmpty()) env.insert("DISPLAY", c.display);
    p.setProcessEnvironment(env);
    p.start(QStringLiteral(QUILO_BINARY), c.args);
    ASSERT_TRUE(p.waitForFinished(60000)) << c.what;
    const QString out = QString::fromUtf8(p.readAllStandardOutput());
    const QString err = QString::fromUtf8(p.readAllStandardError());
    EXPECT_EQ(p.exitStatus(), QProcess::NormalExit) << c.what;
    EXPECT_EQ(p.exitCode(), c.code) << c.what << ": " << err.toStdString();
    EXPECT_EQ(out.left(qstrlen(c.out)), QString::fromUtf8(c.out)) << c.what;
    EXPECT_TRUE(err.contains(QString::fromUtf8(c.err))) << c.what << ": " << err.toStdString();
  }
}

TEST(ScenarioCli, ExactAboutFailure) {
  Session s;
  QDir(s.path("")).mkdir("folder");
  struct Case {
    const char* what;
    QStringList args;
    QByteArray input;
    bool to_full_disk;  // standard output on /dev/full
    int code;
    const char* err;
  } cases[] = {
      {"a folder as the script", {"--script", "folder"}, "", false, 2, "it is a folder"},
      {"a missing script", {"--script", "nothing.txt"}, "", false, 2, "cannot read the scenario"},
      {"dumps that cannot be written", {"--script", "-"}, "dump\n", true, 1, "cannot write the dump"},
      {"a button of a closed window",
       {"--script", "-"},
       "click Form2.Command2\n",
       false,
       2,
       "line 1: Form2 is not open"},
      {"all well", {"--script", "-"}, "dump\n", false, 0, ""},
  };
  for (const auto& c : cases) {
    QProcess p;
    p.setWorkingDirectory(s.path(""));
    if (c.to_full_disk) p.setStandardOutputFile("/dev/full");
    p.start(QStringLiteral(QUILO_BINARY), c.args);
    p.write(c.input);
    p.closeWriteChannel();
    ASSERT_TRUE(p.waitForFinished(60000)) << c.what;
    const QString err = QString::fromUtf8(p.readAllStandardError());
    EXPECT_EQ(p.exitCode(), c.code) << c.what << ": " << err.toStdString();
    EXPECT_TRUE(err.contains(QString::fromUtf8(c.err))) << c.what << ": " << err.toStdString();
  }
}

TEST(ScenarioCli, DumpsAreValidJsonWhateverIsTyped) {
  Session s;
  // A lone surrogate, which JSON text cannot carry, is typed as U+FFFD.
  const ProcessResult r = run_quilo("type Text1 \"\\ud800x\\udc00\"\nclick Command8\ndump\n", s.path(""));
  ASSERT_EQ(r.code, 0) << r.err.toStdString();
  ASSERT_EQ(r.out.size(), 1);
  EXPECT_FALSE(r.out[0].contains("\\ud8") || r.out[0].contains("\\udc")) << r.out[0].toStdString();
  QJsonParseError error;
  const auto d = QJsonDocument::fromJson(r.out[0].toUtf8(), &error).object();
  ASSERT_EQ(error.error, QJsonParseError::NoError);
  EXPECT_EQ(control(d, "Text1")["text"].toString(), QString("\uFFFDx\uFFFD"));
}
