// The output window: the bytes it appends, its refusals and failures, the
// fields it prints, and its folder, file and drive lists.
#include "files/folder_listing.h"
#include "files/output_file.h"
#include "test_support.h"
#include "text/field_reader.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <sys/resource.h>
#include <unistd.h>
#include <csignal>
#include <map>

using namespace quilo;
using namespace quilo::test;

namespace {

const QString kTitle = QStringLiteral("競馬予想 Quilo ピルピルθK");
const QString kQuestion = QStringLiteral("予想結果をファイル出力します。\rよろしいですか？");
const QString kPaper = QStringLiteral("印刷出力をします。プリンターに用紙をセットして下さい！");
const QByteArray kEmptyEntry = "\r\n    \r\n    \r\n    \r\n\x81\x40\r\n";

QByteArray read_file(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

QStringList printed(const QJsonObject& dump) {
  QStringList out;
  for (const auto& e : events_of(dump, "print")) out << strings(e.toObject().value("lines"));
  return out;
}

// Opens the output window in the session's folder, then drops start-up's events.
void open_output(Session& s) {
  s.run("click Command10");
  s.dump();
}

QString json_string(const QString& text) {
  QString escaped = text;
  escaped.replace("\\", "\\\\").replace("\"", "\\\"");
  return "\"" + escaped + "\"";
}

// Types the file name and presses 出力実行, answering the question with OK.
QJsonObject output_to(Session& s, const QString& name) {
  return s.dump("type Form3.Text1 " + json_string(name) + "\nclick Form3.Command1");
}

// A limit on the size of the files this process writes, as a full disk sets
// one; lifted again when it goes out of scope.
class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t bytes) {
    old_handler_ = std::signal(SIGXFSZ, SIG_IGN);
    getrlimit(RLIMIT_FSIZE, &old_);
    rlimit lower = old_;
    lower.rlim_cur = bytes;
    setrlimit(RLIMIT_FSIZE, &lower);
  }
  ~FileSizeLimit() {
    setrlimit(RLIMIT_FSIZE, &old_);
    std::signal(SIGXFSZ, old_handler_);
  }

 private:
  rlimit old_{};
  void (*old_handler_)(int) = nullptr;
};

}  // namespace

// ---- Bytes of the file ------------------------------------------------------

TEST(OutputFile, EncodesWindows31JWithQuestionMarkForTheRest) {
  struct Case {
    const char* text;
    QByteArray bytes;
  } cases[] = {
      {"①②③④⑤⑥⑦⑧⑨", "\x87\x40\x87\x41\x87\x42\x87\x43\x87\x44\x87\x45\x87\x46\x87\x47\x87\x48"},
      {"～θ　", "\x81\x60\x83\xC6\x81\x40"},
      {"競馬 Quilo", "\x8B\xA3\x94\x6E Quilo"},
      {"a🐎b", "a?b"},  // one mark for the pair of surrogates
      {"🐎🐎", "??"},
      {"€1", "?1"},
      {"", ""},
  };
  for (const Case& c : cases) {
    const QString text = QString::fromUtf8(c.text);
    EXPECT_EQ(encode_windows31j(text).toHex(' '), c.bytes.toHex(' ')) << c.text;
    if (!c.bytes.contains('?')) {
      EXPECT_EQ(decode_windows31j(c.bytes), text) << c.text;
    }
  }
}

TEST(OutputFile, DecodesBrokenWindows31JAsReplacementCharacters) {
  const QString bad(QChar(0xFFFD));
  struct Case {
    QByteArray bytes;
    QString text;
  } cases[] = {
      {"\x82\xa0\x87\x40\xb1", "あ①ｱ"},
      {"\x81\r\nZ", bad + "\r\nZ"},  // a lead byte does not swallow the line end
      {"A\x82\rB", "A" + bad + "\rB"},
      {"\x80Z\xa0Z\xfdZ", bad + "Z" + bad + "Z" + bad + "Z"},  // no characters at all
      {"\x85\x40Z", bad + "Z"},                                // a pair with no character
      {"ok\x82", "ok" + bad},                                  // cut short at the end
      {"\x1a\x1c\x7f", "\x1a\x1c\x7f"},                        // control bytes are ASCII
  };
  for (const Case& c : cases)
    EXPECT_EQ(decode_windows31j(c.bytes), c.text) << c.bytes.toHex(' ').toStdString();
}

TEST(OutputFile, ALineBreakOrAControlCharacterIsWrittenAsOneBlank) {
  // NUL, ESC, DEL and the C1 controls (NEL) never reach the file; a tab does.
  const std::vector<QString> lines{"a\r\nb", "c\rd", "e\nf\n",
                                   QString("g") + QChar(0) + "h\x1bi\x7fj" + QChar(0x85) + "k\tl"};
  EXPECT_EQ(output_entry(lines), QStringList({"a b", "    c d", "    e f ", "    g h i j k\tl", "　"}));
  const QByteArray bytes = output_entry_bytes(lines);
  EXPECT_EQ(bytes.count("\r\n"), 5);
  EXPECT_EQ(bytes.count('\n'), 5);
  for (char c : bytes)
    EXPECT_TRUE(c == '\t' || c == '\r' || c == '\n' || (static_cast<unsigned char>(c) >= 0x20 && c != 0x7f))
        << int(c);
}

TEST(OutputWindow, BeforeAnyPredictionFiveLinesThenFiveMore) {
  Session s;
  open_output(s);
  const auto first = output_to(s, "out.txt");
  EXPECT_EQ(messages(first), QStringList{kQuestion});
  EXPECT_EQ(events_of(first, "message")[0].toObject()["title"].toString(), kTitle);
  EXPECT_EQ(events_of(first, "message")[0].toObject()["buttons"].toString(), "OKCancel");
  EXPECT_EQ(read_file(s.path("out.txt")), kEmptyEntry);
  // The file list shows the new file, picked.
  const QStringList files = strings(control(first, "Form3.File1")["items"]);
  EXPECT_TRUE(files.contains("out.txt"));
  EXPECT_EQ(control(first, "Form3.File1")["selected"].toInt(), files.indexOf("out.txt"));

  s.run("click Form3.Command1");
  EXPECT_EQ(read_file(s.path("out.txt")), kEmptyEntry + kEmptyEntry);
  EXPECT_TRUE(s.app().output().form.open);
  EXPECT_TRUE(printed(s.dump()).isEmpty());
}

TEST(OutputWindow, WritesTheCurrentLinesAndKeepsWhatTheFileHolds) {
  Session s;
  // Whatever the file holds stays, even bytes that are no text and no final line end.
  s.write_file("keep.txt", QByteArray("old\xFF\x00end", 8));
  open_output(s);
  auto& lines = s.app().main().s.output_lines;
  lines[0] = "Quilo ①②③④⑤⑥⑦⑧⑨";
  lines[1] = "a,b";
  lines[2] = "～θ";
  lines[3] = "🐎x";
  lines[4] = "not written";
  output_to(s, "keep.txt");
  const QByteArray entry =
      "Quilo \x87\x40\x87\x41\x87\x42\x87\x43\x87\x44\x87\x45\x87\x46\x87\x47\x87\x48\r\n"
      "    a,b\r\n"
      "    \x81\x60\x83\xC6\r\n"
      "    ?x\r\n"
      "\x81\x40\r\n";
  EXPECT_EQ(read_file(s.path("keep.txt")).toHex(' '), (QByteArray("old\xFF\x00end", 8) + entry).toHex(' '));

  // A later prediction changes what the next output writes.
  lines[1] = "next";
  s.run("click Form3.Command1");
  EXPECT_TRUE(read_file(s.path("keep.txt"))
                  .endsWith("\r\n    next\r\n    \x81\x60\x83\xC6\r\n    ?x\r\n\x81\x40\r\n"));
}

TEST(OutputWindow, CancelAndBlankNamesWriteNothing) {
  Session s;
  open_output(s);
  const auto cancelled = s.dump("type Form3.Text1 a.txt\nanswer Cancel\nclick Form3.Command1");
  EXPECT_EQ(messages(cancelled), QStringList{kQuestion});
  EXPECT_FALSE(QFile::exists(s.path("a.txt")));

  for (const char* blank : {"", " ", "    "}) {
    const auto d = output_to(s, blank);
    // Said at once: the question comes only for a name that can be written.
    EXPECT_EQ(messages(d), (QStringList{"ファイル名を入力して下さい！"})) << blank;
    EXPECT_EQ(events_of(d, "message")[0].toObject()["buttons"].toString(), "OK");
    EXPECT_EQ(events_of(d, "message")[0].toObject()["title"].toString(), kTitle);
  }
  EXPECT_EQ(QDir(s.path("")).entryList({"a.txt", " *"}, QDir::Files), QStringList{});

  // Blanks around a name stay part of it.
  output_to(s, " b ");
  EXPECT_EQ(read_file(s.path(" b ")), kEmptyEntry);
}

// Each case makes the target unusable; the user is told the path and why, and
// nothing is written.
TEST(OutputWindow, FailuresAreToldAndChangeNothing) {
  struct Case {
    const char* what;
    QString folder;  // relative to the session folder
    QString name;
    const char* reason;
  } cases[] = {
      {"into a missing folder", "", "gone/x.txt", "フォルダーが見つかりません。"},
      {"nul", "", QString("x") + QChar(0) + "y", "ファイル名に使えない文字が含まれています。"},
      {"too long", "", QString(256, 'n'), "ファイル名が長すぎます。"},
      {"a folder", "", "sub", "同じ名前のフォルダーがあります。"},
      {"dot", "", ".", "同じ名前のフォルダーがあります。"},
      {"no folder", "gone", "x.txt", "フォルダーが見つかりません。"},
      {"device", "/dev", "null", "通常のファイルではないため書き込めません。"},
  };
  for (const Case& c : cases) {
    Session s;
    QDir(s.path("")).mkdir("sub");
    const QString folder = c.folder.startsWith('/') ? c.folder : s.path(c.folder);
    s.run("folder " + folder + "\nclick Command10");
    s.dump();
    s.app().output().form["Text1"].text = c.name;
    const auto d = s.dump("click Form3.Command1");
    const QString path = QDir::cleanPath(folder) + "/" + c.name;
    // Told before the question, which is not asked.
    ASSERT_EQ(messages(d).size(), 1) << c.what;
    EXPECT_EQ(messages(d)[0], "「" + path + "」に出力できませんでした。\n" + c.reason) << c.what;
    EXPECT_EQ(events_of(d, "message")[0].toObject()["title"].toString(), kTitle);
    EXPECT_TRUE(s.app().output().form.open) << c.what;
    EXPECT_EQ(QDir(s.path("sub")).entryList(QDir::Files), QStringList{}) << c.what;
    EXPECT_FALSE(QFile::exists(s.path("gone"))) << c.what;
  }
}

TEST(OutputWindow, RefusesTheFilesReadAtStartUnderAnyName) {
  // Each case names, from the output window, a file the program read at start.
  struct Case {
    const char* what;
    QString folder;  // relative to the session folder
    QString name;
    const char* table;  // the start-up file it is
  } cases[] = {
      {"table", "", "crt_1.txt", "crt_1.txt"},
      {"teaching file", "", "maharaja.txt", "maharaja.txt"},
      {"other spelling of the folder", "sub/..", "waku_4.txt", "waku_4.txt"},
      {"folder through a link", "alias", "crt_8.txt", "crt_8.txt"},
      {"link to a table", "sub", "link.txt", "crt_2.txt"},
      {"hard link", "sub", "hard.txt", "crt_3.txt"},
      {"table missing at start", "", "crt_5.txt", "crt_5.txt"},
  };
  for (const Case& c : cases) {
    Session s;
    QDir(s.path("")).mkdir("sub");
    QFile::link(s.path(""), s.path("alias"));
    QFile::link(s.path("crt_2.txt"), s.path("sub/link.txt"));
    ASSERT_EQ(::link(qPrintable(s.path("crt_3.txt")), qPrintable(s.path("sub/hard.txt"))), 0);
    QFile::remove(s.path("crt_5.txt"));
    s.run("folder " + s.path(c.folder) +
          "\nclick Command10\nselect Combo3 4\ntype Text1 1.5\n"
          "type Text2 4.0\nclick Command8");
    s.dump();
    const QDir here(s.path(""));
    std::map<QString, QByteArray> before;
    for (const QString& f : here.entryList(QDir::Files)) before[f] = read_file(here.filePath(f));

    const auto d = output_to(s, c.name);
    const QString path = QDir::cleanPath(s.path(c.folder)) + "/" + c.name;
    ASSERT_EQ(messages(d).size(), 1) << c.what;
    EXPECT_TRUE(messages(d)[0].startsWith("「" + path + "」に出力できませんでした。\n" + c.table + " は"))
        << c.what << ": " << messages(d)[0].toStdString();
    for (const auto& [f, bytes] : before)
      EXPECT_EQ(read_file(here.filePath(f)), bytes) << c.what << f.toStdString();
    EXPECT_FALSE(QFile::exists(s.path("crt_5.txt"))) << c.what;
    // Any other name is written as before.
    EXPECT_EQ(messages(output_to(s, "mine.txt")).size(), 1) << c.what;
    EXPECT_TRUE(QFile::exists(QDir(s.path(c.folder)).filePath("mine.txt"))) << c.what;
  }
}

TEST(OutputWindow, ReadOnlyFileStaysAsItWas) {
  if (geteuid() == 0) GTEST_SKIP() << "the superuser writes read-only files";
  Session s;
  s.write_file("ro.txt", "before\r\n");
  QFile::setPermissions(s.path("ro.txt"), QFile::ReadOwner);
  open_output(s);
  const auto d = output_to(s, "ro.txt");
  EXPECT_EQ(
      messages(d).value(1),
      "「" + s.path("ro.txt") + "」に出力できませんでした。\nファイルへの書き込みが許可されていません。");
  EXPECT_EQ(read_file(s.path("ro.txt")), "before\r\n");
}

// A write that stops part-way (a full disk) takes back what it wrote.
TEST(OutputWindow, WriteFailingPartWayLeavesTheFileAsItWas) {
  Session s;
  s.write_file("full.txt", "before\r\n");
  open_output(s);
  s.app().main().s.output_lines[0] = "a line longer than the room left";
  QJsonObject d;
  {
    const FileSizeLimit limit(16);
    d = output_to(s, "full.txt");
    output_to(s, "new.txt");
  }
  ASSERT_EQ(messages(d).size(), 2);
  EXPECT_TRUE(messages(d)[1].startsWith("「" + s.path("full.txt") + "」に出力できませんでした。\n"));
  EXPECT_TRUE(messages(d)[1].endsWith("ファイルは元のままです。")) << messages(d)[1].toStdString();
  EXPECT_EQ(read_file(s.path("full.txt")), "before\r\n");
  // A file the output created is gone again.
  EXPECT_FALSE(QFile::exists(s.path("new.txt")));
}

TEST(OutputFile, AppendTakesBackAPartialWrite) {
  QTemporaryDir dir;
  const QString path = dir.filePath("f.txt");
  {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("kept\r\n");
  }
  // Writes half of what it is given, then fails.
  int calls = 0;
  const ChunkWriter half_then_fail = [&](QFile& file, const char* data, qint64 size) -> qint64 {
    return calls++ == 0 ? file.write(data, size / 2) : -1;
  };
  const auto reason = append_to_file(path, "0123456789", half_then_fail);
  ASSERT_TRUE(reason.has_value());
  EXPECT_TRUE(reason->endsWith("ファイルは元のままです。"));
  EXPECT_EQ(read_file(path), "kept\r\n");

  // A writer that makes no progress does not hang the output.
  const ChunkWriter stuck = [](QFile&, const char*, qint64) -> qint64 { return 0; };
  EXPECT_TRUE(append_to_file(path, "x", stuck).has_value());
  EXPECT_TRUE(append_to_file(dir.filePath("created.txt"), "x", stuck).has_value());
  EXPECT_FALSE(QFile::exists(dir.filePath("created.txt")));

  EXPECT_FALSE(append_to_file(path, "more").has_value());
  EXPECT_EQ(read_file(path), "kept\r\nmore");
}

// ---- Printing ------------------------------------------------------------------

TEST(FieldReader, SplitsLikeADelimitedTextReader) {
  struct Case {
    const char* text;
    QStringList fields;
  } cases[] = {
      {"", {}},
      {"a", {"a"}},
      {"a\r\n", {"a"}},
      {"a\r\n\r\n", {"a", ""}},
      {"\r\n    \r\n", {"", ""}},
      {"   a,  b\r\n", {"a", "b"}},
      {"a,\r\nb", {"a", "", "b"}},
      {"a,", {"a", ""}},
      {"x\ny\rz", {"x", "y", "z"}},
      {"\"x, y\",z\r\n", {"x, y", "z"}},
      {"  \"q\" r,s", {"q r", "s"}},
      {"\"open\r\nnext\r\n", {"open", "next"}},
      {"\"\",\"\"", {"", ""}},
      {"　a b ", {"　a b "}},  // only half-width blanks lead off a field
  };
  for (const Case& c : cases)
    EXPECT_EQ(read_fields(QString::fromUtf8(c.text), kPrintedFileFields), c.fields) << c.text;
}

TEST(OutputWindow, PrintsEveryFieldOfTheWholeFile) {
  Session s;
  open_output(s);
  auto& lines = s.app().main().s.output_lines;
  lines[0] = "□□□□□ 競馬予想 Quilo ピルピルθK Ver 1.0 2010 □□□□□ ";
  lines[1] = "1-2-3";
  lines[2] = "4-5-6";
  lines[3] = "7-8-9";
  s.dump("type Form3.Text1 p.txt\nclick Form3.Command1\nclick Form3.Command1");
  lines[2] = "本命 1,穴 ⑦";
  const auto d = s.dump("click Form3.Option2\nclick Form3.Command1");
  EXPECT_FALSE(control(d, "Form3.Option1")["checked"].toBool());
  EXPECT_TRUE(control(d, "Form3.Option2")["checked"].toBool());
  EXPECT_EQ(messages(d), (QStringList{kQuestion, kPaper}));

  QStringList entry{lines[0], "1-2-3", "4-5-6", "7-8-9", "　"};
  QStringList expected = entry + entry;
  expected << lines[0] << "1-2-3"
           << "本命 1"
           << "穴 ⑦"
           << "7-8-9"
           << "　";
  EXPECT_EQ(printed(d), expected);
  EXPECT_EQ(expected.size(), 16);
  EXPECT_TRUE(s.app().output().form.open);

  // Back to file only: nothing is printed.
  EXPECT_TRUE(printed(s.dump("click Form3.Option1\nclick Form3.Command1")).isEmpty());
}

TEST(OutputWindow, ThisSessionsEntriesArePrintedAlone) {
  // A file that other sessions wrote to; this one appends twice, once to
  // another file in between, and prints only its own two entries of it.
  Session s;
  s.write_file("p.txt", "old entry\r\n");
  open_output(s);
  auto& lines = s.app().main().s.output_lines;
  lines[1] = "1-2-3";
  s.dump("type Form3.Text1 p.txt\nclick Form3.Command1\ntype Form3.Text1 q.txt\nclick Form3.Command1");
  lines[1] = "4-5-6";
  const auto d = s.dump("click Form3.Option3\ntype Form3.Text1 p.txt\nclick Form3.Command1");
  for (const char* o : {"Form3.Option1", "Form3.Option2"}) EXPECT_FALSE(control(d, o)["checked"].toBool());
  EXPECT_TRUE(control(d, "Form3.Option3")["checked"].toBool());
  EXPECT_EQ(messages(d), (QStringList{kQuestion, kPaper}));
  EXPECT_EQ(printed(d), (QStringList{"", "1-2-3", "", "", "　", "", "4-5-6", "", "", "　"}));
  EXPECT_TRUE(read_file(s.path("p.txt")).startsWith("old entry\r\n"));
}

TEST(OutputWindow, AnAbsolutePathIsWrittenWhereItPoints) {
  Session s;
  QDir(s.path("")).mkdir("elsewhere");
  open_output(s);
  const auto d = output_to(s, s.path("elsewhere/abs.txt"));
  EXPECT_EQ(messages(d), QStringList{kQuestion});
  EXPECT_EQ(read_file(s.path("elsewhere/abs.txt")), kEmptyEntry);
}

TEST(OutputWindow, AFileTooLargeToPrintIsRefused) {
  Session s;
  s.write_file("big.txt", QByteArray(8 * 1024 * 1024, 'x'));
  open_output(s);
  const auto d = s.dump("click Form3.Option2\ntype Form3.Text1 big.txt\nclick Form3.Command1");
  ASSERT_EQ(messages(d).size(), 3);
  EXPECT_EQ(messages(d)[2], "「" + s.path("big.txt") +
                                "」を印刷のために読み込めませんでした。\n"
                                "ファイルが大きすぎます（印刷できるのは 8 MB までです）。");
  EXPECT_TRUE(printed(d).isEmpty());
  // The entry itself was written.
  EXPECT_EQ(QFileInfo(s.path("big.txt")).size(), 8 * 1024 * 1024 + kEmptyEntry.size());
}

TEST(OutputWindow, NoPrinterIsToldAfterTheFileIsWritten) {
  Session s;
  open_output(s);
  s.platform().printer_available = false;
  const auto d = s.dump("click Form3.Option2\ntype Form3.Text1 q.txt\nclick Form3.Command1");
  // No paper is asked for without a printer to put it in.
  EXPECT_EQ(messages(d),
            (QStringList{kQuestion, "プリンターが見つかりません。既定のプリンターを設定して下さい。"}));
  EXPECT_EQ(read_file(s.path("q.txt")), kEmptyEntry);
  EXPECT_TRUE(s.app().output().form.open);
}

// ---- The window and its lists ---------------------------------------------------

TEST(OutputWindow, OpensInTheCurrentFolderWithItsDesign) {
  Session s;
  const auto d = s.dump("click Command10");
  EXPECT_EQ(event_lines(d).mid(event_lines(d).size() - 3),
            (QStringList{"se fm009.wav", "midi_close", "midi_open nakipops.mid"}));
  EXPECT_TRUE(d["windows"].toObject()["Form3"].toBool());
  EXPECT_EQ(control(d, "Form3.Dir1")["text"].toString(), QDir::currentPath());
  // The working folder holds the data files, listed by name.
  QStringList files = QDir(QStringLiteral(QUILO_DATA_DIR)).entryList({"*.txt"}, QDir::Files);
  files.sort();
  EXPECT_EQ(strings(control(d, "Form3.File1")["items"]), files);
  EXPECT_EQ(control(d, "Form3.File1")["selected"].toInt(), -1);
  const QStringList drives = strings(control(d, "Form3.Drive1")["items"]);
  ASSERT_FALSE(drives.isEmpty());
  EXPECT_EQ(drives[0], "/");
  const int drive = control(d, "Form3.Drive1")["selected"].toInt();
  EXPECT_EQ(drive, drive_of(drives, QDir::currentPath()));
  EXPECT_EQ(control(d, "Form3.Drive1")["text"].toString(), drives.value(drive));
  EXPECT_EQ(control(d, "Form3.Text1")["text"].toString(), "Text1");
  EXPECT_TRUE(control(d, "Form3.Option1")["checked"].toBool());
  EXPECT_FALSE(control(d, "Form3.Option2")["checked"].toBool());
  EXPECT_EQ(s.app().output().output_path(), QDir::currentPath() + "/Text1");
}

TEST(OutputWindow, OutputCommandAgainKeepsTheOpenWindowAndCloseResetsIt) {
  Session s;
  open_output(s);
  s.run("type Form3.Text1 mine.txt\nclick Form3.Option2");
  const auto again = s.dump("click Command10");
  EXPECT_EQ(event_lines(again), (QStringList{"se fm009.wav", "midi_close", "midi_open nakipops.mid"}));
  EXPECT_EQ(control(again, "Form3.Text1")["text"].toString(), "mine.txt");

  const auto closed = s.dump("click Form3.Command2");
  EXPECT_FALSE(closed["windows"].toObject()["Form3"].toBool());
  EXPECT_FALSE(closed["controls"].toObject().contains("Form3.Text1"));
  const auto reopened = s.dump("click Command10");
  EXPECT_EQ(control(reopened, "Form3.Text1")["text"].toString(), "Text1");
  EXPECT_TRUE(control(reopened, "Form3.Option1")["checked"].toBool());
  EXPECT_FALSE(control(reopened, "Form3.Option2")["checked"].toBool());
}

TEST(OutputWindow, FoldersFilesAndDrivesChangeTheOutputPath) {
  Session s;
  QDir root(s.path(""));
  for (const char* d : {"b", "A", ".hidden", "b/inner"}) root.mkpath(d);
  for (const char* f : {"b/z.txt", "b/Y.txt", "b/.dot", "A/one"}) {
    QFile file(s.path(f));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  }
  const QString here = QDir::currentPath();
  s.run("folder .\nclick Command10");
  auto d = s.dump();
  EXPECT_EQ(strings(control(d, "Form3.Dir1")["items"]), (QStringList{"..", "A", "b"}));

  d = s.dump("select Form3.Dir1 2");  // into b
  EXPECT_EQ(control(d, "Form3.Dir1")["text"].toString(), here + "/b");
  EXPECT_EQ(strings(control(d, "Form3.Dir1")["items"]), (QStringList{"..", "inner"}));
  EXPECT_EQ(strings(control(d, "Form3.File1")["items"]), (QStringList{"Y.txt", "z.txt"}));
  EXPECT_EQ(s.app().output().output_path(), here + "/b/Text1");

  d = s.dump("select Form3.File1 1");
  EXPECT_EQ(control(d, "Form3.Text1")["text"].toString(), "z.txt");
  EXPECT_EQ(control(d, "Form3.File1")["selected"].toInt(), 1);
  EXPECT_EQ(s.app().output().output_path(), here + "/b/z.txt");
  s.run("click Form3.Command1");
  EXPECT_EQ(read_file(s.path("b/z.txt")), kEmptyEntry);

  d = s.dump("select Form3.Dir1 0");  // back up
  EXPECT_EQ(control(d, "Form3.Dir1")["text"].toString(), here);
  EXPECT_EQ(control(d, "Form3.File1")["selected"].toInt(), -1);
  EXPECT_EQ(control(d, "Form3.Text1")["text"].toString(), "z.txt");  // the name stays
  EXPECT_EQ(s.app().output().output_path(), here + "/z.txt");

  // Another folder chosen by path; then the root drive.
  d = s.dump("folder A");
  EXPECT_EQ(strings(control(d, "Form3.File1")["items"]), QStringList{"one"});
  const QStringList drives = strings(control(d, "Form3.Drive1")["items"]);
  if (drive_of(drives, here) != 0) {
    d = s.dump("select Form3.Drive1 0");
    EXPECT_EQ(control(d, "Form3.Dir1")["text"].toString(), "/");
    EXPECT_EQ(strings(control(d, "Form3.File1")["items"]), file_names("/"));
  }
  d = s.dump("folder /");
  EXPECT_EQ(control(d, "Form3.Dir1")["text"].toString(), "/");
  EXPECT_FALSE(strings(control(d, "Form3.Dir1")["items"]).contains(".."));
  EXPECT_EQ(control(d, "Form3.Drive1")["selected"].toInt(), 0);
  EXPECT_EQ(s.app().output().output_path(), "/z.txt");

  // Entries that do not exist cannot be picked.
  for (const char* script :
       {"select Form3.File1 99", "select Form3.Dir1 -1", "select Form3.Drive1 99", "select Form3.Text1 0"})
    EXPECT_TRUE(s.runner().run_script(script).has_value()) << script;
}

TEST(OutputWindow, FolderBeforeOpeningIsWhereItStarts) {
  Session s;
  QDir(s.path("")).mkdir("start");
  const auto d = s.dump("folder start\nclick Command10\ntype Form3.Text1 s.txt\nclick Form3.Command1");
  EXPECT_EQ(control(d, "Form3.Dir1")["text"].toString(), QDir::currentPath() + "/start");
  EXPECT_EQ(read_file(s.path("start/s.txt")), kEmptyEntry);
}

TEST(FolderListing, DrivesRootFirstAndTheDriveOfAFolder) {
  EXPECT_EQ(order_drives({"/home", "/boot/efi", "/", "/home/", "/data"}),
            (QStringList{"/", "/boot/efi", "/data", "/home"}));
  EXPECT_EQ(order_drives({}), QStringList{"/"});
  const QStringList drives{"/", "/home", "/home/x/mnt"};
  struct Case {
    const char* folder;
    int drive;
  } cases[] = {{"/", 0}, {"/etc", 0}, {"/homework", 0}, {"/home", 1}, {"/home/x", 1}, {"/home/x/mnt/a", 2}};
  for (const Case& c : cases) EXPECT_EQ(drive_of(drives, c.folder), c.drive) << c.folder;
  EXPECT_EQ(drive_list().value(0), "/");
}
