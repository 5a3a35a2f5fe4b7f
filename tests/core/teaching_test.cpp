// The Maharaja's teaching: the drawn number and its lines, the teaching file
// and its loader.
#include "presentation/teaching.h"
#include "output_file_fixture.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QRegularExpression>
#include <QStringDecoder>

#include <set>

using namespace quilo;
using namespace quilo::test;

namespace {

// The committed teaching file, line by line.
QStringList committed_teachings() {
  QFile f(QStringLiteral(QUILO_DATA_DIR) + "/maharaja.txt");
  if (!f.open(QIODevice::ReadOnly)) return {};
  QStringDecoder decode("Windows-31J");
  QString text = decode(f.readAll());
  if (text.endsWith("\r\n")) text.chop(2);
  return text.split("\r\n");
}

QByteArray numbered_fields(int count) {
  QByteArray b;
  for (int i = 1; i <= count; ++i) b += "t" + QByteArray::number(i) + "\r\n";
  return b;
}

}  // namespace

TEST(Teaching, LinesAndOutput) {
  Session s;
  s.run("time 09:30:15");
  const auto start = s.dump();
  EXPECT_TRUE(messages(start).isEmpty());
  // How to use fills lines 0..4; the place prediction empties output line 3
  // (no other command's text goes out with its picks), which the teaching
  // leaves alone.
  s.dump("type Text1 9.0\ntype Text2 9.0\nclick Command2\nclick Command11");
  const QString kept = s.app().main().s.output_lines[3];
  ASSERT_EQ(kept, "");

  Lcg24Random next = s.app().main().rng;
  const int k = static_cast<int>(next.next() * 53);
  const auto d = s.dump("click Command13");
  const QString number = QString(" 第%1説").arg(k + 1);
  const QString teaching = " " + committed_teachings().value(k);
  ASSERT_NE(teaching, " ");
  EXPECT_EQ(strings(control(d, "List1")["lines"]),
            QStringList({"      「マハラジャの教え」", "", number, "", teaching, ""}));
  EXPECT_EQ(strings(state(d)["output_lines"]).mid(0, 4),
            QStringList({QString(48, '-'), "      「マハラジャの教え」", number + " " + teaching, kept}));
  EXPECT_EQ(state(d)["yosou_max"].toInt(), 53);
  EXPECT_EQ(strings(state(d)["yosou_num"]).mid(1, 6), QStringList({"", "", "", "", "", ""}));
  EXPECT_TRUE(events(d).isEmpty());
  // Every character of the teaching survives the Windows-31J output file.
  const QByteArray saved = saved_through_output_window(s);
  EXPECT_EQ(QStringDecoder("Windows-31J")(saved).operator QString(),
            QString(48, '-') + "\r\n    " + "      「マハラジャの教え」" + "\r\n    " + number + " " +
                teaching + "\r\n    " + kept + "\r\n" + QChar(0x3000) + "\r\n");
}

TEST(Teaching, NumberIsAlways1To53) {
  Session s;
  s.dump("time 23:59:59");
  static const QRegularExpression line(QStringLiteral("^ 第([0-9]+)説$"));
  std::set<int> seen;
  for (int i = 0; i < 3000; ++i) {
    s.app().click("Form1", "Command13");
    const auto m = line.match(s.app().main().result_line(2));
    ASSERT_TRUE(m.hasMatch()) << s.app().main().result_line(2).toStdString();
    const int n = m.captured(1).toInt();
    ASSERT_GE(n, 1);
    ASSERT_LE(n, 53);
    ASSERT_EQ(s.app().main().result_line(4), " " + s.app().main().s.teaching_list[n - 1]);
    seen.insert(n);
  }
  EXPECT_EQ(seen.size(), 53u);
}

TEST(Teaching, WithoutATeachingFileShowsABlank) {
  Session s;
  QFile::remove(s.path("maharaja.txt"));
  const auto start = s.dump();
  ASSERT_EQ(messages(start).size(), 1);
  EXPECT_EQ(messages(start)[0], "maharaja.txtに異常発生！");
  EXPECT_EQ(events_of(start, "message")[0].toObject()["title"].toString(), "競馬予想 Quilo ピルピルθK");
  EXPECT_EQ(state(start)["teaching_count"].toInt(), 0);

  const auto d = s.dump("click Command13");
  const QStringList lines = strings(control(d, "List1")["lines"]);
  ASSERT_EQ(lines.size(), 6);
  EXPECT_EQ(lines[4], " ");
  EXPECT_TRUE(lines[2].startsWith(" 第"));
  EXPECT_EQ(strings(state(d)["output_lines"])[2], lines[2] + "  ");
}

TEST(TeachingFile, CommittedFileHolds53TeachingsOnePerLine) {
  QFile f(QStringLiteral(QUILO_DATA_DIR) + "/maharaja.txt");
  ASSERT_TRUE(f.open(QIODevice::ReadOnly));
  const QByteArray bytes = f.readAll();
  EXPECT_TRUE(bytes.endsWith("\r\n"));
  EXPECT_EQ(bytes.count("\r\n"), 53);
  EXPECT_EQ(bytes.count('\n'), 53);
  EXPECT_EQ(bytes.count('\r'), 53);
  EXPECT_FALSE(bytes.contains(',') || bytes.contains('"'));  // one field per line
  QStringDecoder decode("Windows-31J");
  const QString text = decode(bytes);
  EXPECT_FALSE(decode.hasError());

  const QStringList teachings = committed_teachings();
  ASSERT_EQ(teachings.size(), 53);
  EXPECT_EQ(QSet<QString>(teachings.begin(), teachings.end()).size(), 53);  // all different
  Session s;
  const auto d = s.dump();
  EXPECT_TRUE(messages(d).isEmpty());
  EXPECT_EQ(state(d)["teaching_count"].toInt(), 53);
  for (int k = 0; k < 53; ++k) {
    EXPECT_FALSE(teachings[k].trimmed().isEmpty()) << k;
    EXPECT_EQ(s.app().main().s.teaching_list[k], teachings[k]) << k;
  }
  EXPECT_EQ(s.app().main().s.teaching_list[53], "");
}

TEST(TeachingFile, Loader) {
  struct Case {
    const char* name;
    QByteArray bytes;
    QStringList fields;  // the first entries of the list after the load
    int count;
    bool message;
  } cases[] = {
      {"lines and commas", "a,b\r\nc\r\n", {"a", "b", "c", ""}, 3, false},
      {"no line end at the end", "a\r\nb", {"a", "b", ""}, 2, false},
      {"leading blanks skipped", "  lead, x y \r\n", {"lead", "x y "}, 2, false},
      {"quoted commas", "\"p,q\", r\r\n\"s\"\r\n", {"p,q", "r", "s"}, 3, false},
      {"LF and CR alone", "x\ny\rz\r\n", {"x", "y", "z"}, 3, false},
      {"empty line is an empty field", "a\r\n\r\nb\r\n", {"a", "", "b"}, 3, false},
      {"Windows-31J", "\x87\x40\x81\x41\x83\xc6\r\n\x94\x6e\r\n", {"①、θ", "馬"}, 2, false},
      {"empty file", "", {""}, 0, false},
      {"1001 fields", numbered_fields(1001), {"t1", "t2"}, 1001, false},
      {"1002 fields", numbered_fields(1002), {"t1", "t2"}, 1001, true},
  };
  for (const auto& c : cases) {
    Session s;
    s.write_file("maharaja.txt", c.bytes);
    const auto d = s.dump();
    EXPECT_EQ(messages(d), c.message ? QStringList{"maharaja.txtに異常発生！"} : QStringList{}) << c.name;
    if (c.message) {
      EXPECT_EQ(events_of(d, "message")[0].toObject()["title"].toString(), "競馬予想 Quilo ピルピルθK");
      EXPECT_EQ(events_of(d, "message")[0].toObject()["buttons"].toString(), "OK");
    }
    EXPECT_EQ(state(d)["teaching_count"].toInt(), c.count) << c.name;
    for (int k = 0; k < c.fields.size(); ++k)
      EXPECT_EQ(s.app().main().s.teaching_list[k], c.fields[k]) << c.name << " entry " << k;
    if (c.count == 1001) {
      EXPECT_EQ(s.app().main().s.teaching_list[1000], "t1001") << c.name;
    }
  }
}

TEST(TeachingFile, InvalidBytesLoadWithoutHarm) {
  Session s;
  s.write_file("maharaja.txt", QByteArray("\x81\x20ok\r\n\xff\xfe\r\n\x00zz\r\n", 13));
  const auto d = s.dump();
  EXPECT_TRUE(messages(d).isEmpty());
  EXPECT_EQ(state(d)["teaching_count"].toInt(), 3);
  EXPECT_TRUE(s.app().main().s.teaching_list[0].endsWith("ok"));
  EXPECT_TRUE(s.app().main().s.teaching_list[2].endsWith("zz"));
  // A later load overwrites from the start and keeps the rest.
  s.write_file("maharaja.txt", "new\r\n");
  load_teaching_file(s.app().main(), "maharaja.txt");
  EXPECT_EQ(s.app().main().s.teaching_list[0], "new");
  EXPECT_TRUE(s.app().main().s.teaching_list[2].endsWith("zz"));
  EXPECT_EQ(s.app().main().s.teaching_count, 1);
}
