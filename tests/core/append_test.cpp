// Appending an output entry while other instances append to the same file,
// and after a program was killed half-way through an append: every entry is
// whole or absent, nobody else's entry is lost, and what the user is told is
// what happened.
#include "files/append_journal.h"
#include "files/output_file.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <atomic>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace quilo;

namespace {

QByteArray read_file(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

void write_file(const QString& path, const QByteArray& bytes) {
  QFile f(path);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.write(bytes);
}

FileId id_of(const QString& path) {
  struct stat st {};
  ::stat(QFile::encodeName(path).constData(), &st);
  return {static_cast<unsigned long long>(st.st_dev), static_cast<unsigned long long>(st.st_ino)};
}

QByteArray entry(int n) { return "entry " + QByteArray::number(n) + "\r\n"; }

// A program killed half-way through appending `bytes` to the file.
void killed_append(const QString& path, const QByteArray& bytes) {
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    append_to_file(path, bytes, [](QFile& file, const char* data, qint64 size) -> qint64 {
      file.write(data, size / 2);
      ::_exit(9);
    });
    ::_exit(0);
  }
  int status = 0;
  ::waitpid(child, &status, 0);
  ASSERT_EQ(WEXITSTATUS(status), 9);
}

}  // namespace

TEST(Append, AFailedAppendTakesBackOnlyItsOwnBytes) {
  // Instance B's write stalls (a slow, then full disk) while instance A
  // appends ten entries; B's write then fails.
  QTemporaryDir dir;
  const QString path = dir.filePath("shared.txt");
  write_file(path, "before\r\n");

  std::mutex m;
  std::condition_variable cv;
  bool b_writing = false, release_b = false;
  int calls = 0;
  const ChunkWriter stall_then_fail = [&](QFile& file, const char* data, qint64 size) -> qint64 {
    // The first write goes half through, the second waits and fails.
    if (calls++ == 0) return file.write(data, size / 2);
    std::unique_lock<std::mutex> lock(m);
    b_writing = true;
    cv.notify_all();
    cv.wait(lock, [&] { return release_b; });
    errno = ENOSPC;
    return -1;
  };
  std::optional<QString> b_result;
  std::thread b([&] { b_result = append_to_file(path, "B's entry\r\n", stall_then_fail); });
  {
    std::unique_lock<std::mutex> lock(m);
    cv.wait(lock, [&] { return b_writing; });
  }
  std::atomic<int> a_failures{0};
  std::thread a([&] {
    for (int i = 0; i < 10; ++i)
      if (append_to_file(path, entry(i))) ++a_failures;
  });
  // A waits for B's append to end instead of writing into the middle of it.
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  EXPECT_EQ(read_file(path), "before\r\nB's e");
  {
    std::lock_guard<std::mutex> lock(m);
    release_b = true;
  }
  cv.notify_all();
  b.join();
  a.join();

  ASSERT_TRUE(b_result.has_value());
  EXPECT_TRUE(b_result->startsWith("ディスクの空き容量が足りません。")) << b_result->toStdString();
  EXPECT_TRUE(b_result->endsWith("ファイルは元のままです。")) << b_result->toStdString();
  EXPECT_EQ(a_failures, 0);
  QByteArray expected = "before\r\n";
  for (int i = 0; i < 10; ++i) expected += entry(i);
  EXPECT_EQ(read_file(path), expected);
  EXPECT_FALSE(unfinished_append(id_of(path)).has_value());
}

TEST(Append, AKilledAppendIsTakenBackByTheNextAppendOrStart) {
  for (bool at_start : {false, true}) {
    QTemporaryDir dir;
    const QString path = dir.filePath("out.txt");
    write_file(path, entry(0));
    killed_append(path, entry(1));
    EXPECT_EQ(read_file(path), entry(0) + entry(1).left(entry(1).size() / 2));
    ASSERT_TRUE(unfinished_append(id_of(path)).has_value());
    EXPECT_EQ(unfinished_append(id_of(path))->start, entry(0).size());

    if (at_start) {
      recover_unfinished_appends();
      EXPECT_EQ(read_file(path), entry(0)) << "at start";
    } else {
      EXPECT_FALSE(append_to_file(path, entry(2)).has_value());
      EXPECT_EQ(read_file(path), entry(0) + entry(2));
    }
    EXPECT_FALSE(unfinished_append(id_of(path)).has_value());
  }
}

TEST(Append, StartUpLeavesAnAppendThatIsRunningAlone) {
  QTemporaryDir dir;
  const QString path = dir.filePath("busy.txt");
  write_file(path, entry(0) + "half");
  const FileId id = id_of(path);
  ASSERT_TRUE(record_append({id, QFile::encodeName(path), entry(0).size(), "half entry\r\n"}));
  // Another instance holds the file's lock: its append is still running.
  const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY);
  ASSERT_EQ(::flock(fd, LOCK_EX), 0);
  recover_unfinished_appends();
  EXPECT_EQ(read_file(path), entry(0) + "half");
  EXPECT_TRUE(unfinished_append(id).has_value());
  ::close(fd);
  // Once that instance is gone, the next start takes its half entry back.
  recover_unfinished_appends();
  EXPECT_EQ(read_file(path), entry(0));
  EXPECT_FALSE(unfinished_append(id).has_value());
}

TEST(Append, RecordsOfFilesThatAreGoneAreDropped) {
  QTemporaryDir dir;
  const QString path = dir.filePath("gone.txt");
  write_file(path, "x");
  const FileId id = id_of(path);
  ASSERT_TRUE(record_append({id, QFile::encodeName(path), 0, "x"}));
  QFile::remove(path);
  recover_unfinished_appends();
  EXPECT_FALSE(unfinished_append(id).has_value());
  EXPECT_FALSE(QFile::exists(path));
}

namespace {

// The append journal in a folder of the test's own, so that what a test does
// to the folder reaches no other test.
class OwnJournal {
 public:
  OwnJournal() : former_(qgetenv("XDG_STATE_HOME")) {
    qputenv("XDG_STATE_HOME", QFile::encodeName(dir_.path()));
  }
  ~OwnJournal() {
    qputenv("XDG_STATE_HOME", former_);
    take_append_notices();
  }

 private:
  QTemporaryDir dir_;
  QByteArray former_;
};

QString record_file(const QString& path) {
  const FileId id = id_of(path);
  return append_journal_folder() +
         QStringLiteral("/%1-%2.pending").arg(id.device, 0, 16).arg(id.inode, 0, 16);
}

}  // namespace

TEST(Append, AHalfEntryIsTakenBackOnlyWhenTheFileHoldsNothingElse) {
  // After the kill and before the next start or append, the user...
  struct Case {
    const char* meanwhile;
    std::function<void(const QString&)> act;
    bool cut;   // the half entry is taken back
    bool told;  // the user hears that the file was left as it is
  };
  const QByteArray other(80000, 'o');
  const Case cases[] = {
      {"did nothing", [](const QString&) {}, true, false},
      {"added a line in place (>>)",
       [](const QString& p) {
         QFile f(p);
         ASSERT_TRUE(f.open(QIODevice::Append));
         f.write("my own note\r\n");
       },
       false, true},
      // Removing the file and copying another under its name often gives
      // the new file the old one's inode: the same identity, other bytes.
      {"put another file in its place", [&](const QString& p) { write_file(p, other); }, false, true},
      {"cut it short", [](const QString& p) { ::truncate(QFile::encodeName(p).constData(), 3); }, false,
       false},
  };
  for (bool at_start : {true, false}) {
    for (const Case& c : cases) {
      SCOPED_TRACE(std::string(c.meanwhile) + (at_start ? ", then a start" : ", then an append"));
      OwnJournal journal;
      QTemporaryDir dir;
      // A line break in the name is kept by the record.
      const QString path = dir.filePath("my\ndiary.txt");
      write_file(path, entry(0));
      killed_append(path, entry(1));
      c.act(path);
      const QByteArray before = read_file(path);
      if (at_start) {
        recover_unfinished_appends();
      } else {
        ASSERT_FALSE(append_to_file(path, entry(2)).has_value());
      }
      const QByteArray added = at_start ? QByteArray() : entry(2);
      EXPECT_EQ(read_file(path), (c.cut ? entry(0) : before) + added);
      EXPECT_FALSE(unfinished_append(id_of(path)).has_value());
      const QStringList notices = take_append_notices();
      EXPECT_EQ(notices.size(), c.told ? 1 : 0) << notices.join('\n').toStdString();
      if (c.told) {
        EXPECT_TRUE(notices[0].contains(path)) << notices[0].toStdString();
      }
    }
  }
}

TEST(Append, ARecordOfAFileWhoseInodeAnotherFileTookCutsNothing) {
  // The program was killed appending to diary.txt; diary.txt was removed and
  // notes.txt got its inode. Appending to notes.txt keeps every line of it.
  OwnJournal journal;
  QTemporaryDir dir;
  const QString notes = dir.filePath("notes.txt");
  QByteArray lines;
  for (int i = 0; i < 5000; ++i) lines += "line " + QByteArray::number(i) + "\n";
  write_file(notes, lines);
  ASSERT_TRUE(record_append({id_of(notes), QFile::encodeName(dir.filePath("diary.txt")), 168, entry(1)}));
  ASSERT_FALSE(append_to_file(notes, entry(2)).has_value());
  EXPECT_EQ(read_file(notes), lines + entry(2));
  EXPECT_FALSE(unfinished_append(id_of(notes)).has_value());
}

TEST(Append, RecordsFoldersAndFilesOfOthersAreNeverObeyed) {
  // Each case leaves a killed append behind, then makes one thing not the
  // user's own; the next start must leave the file as it is and say so.
  struct Case {
    const char* what;
    bool needs_root;  // giving a file to another user
    std::function<void(const QString& path)> act;
    QString (*told_about)(const QString& path);
  };
  const uid_t other_user = 4242;
  const Case cases[] = {
      {"the journal folder is writable by others", false,
       [](const QString&) { ::chmod(QFile::encodeName(append_journal_folder()).constData(), 0777); },
       [](const QString&) { return append_journal_folder(); }},
      {"the record is writable by others", false,
       [](const QString& p) { ::chmod(QFile::encodeName(record_file(p)).constData(), 0666); }, record_file},
      {"the record belongs to another user", true,
       [&](const QString& p) {
         ASSERT_EQ(::chown(QFile::encodeName(record_file(p)).constData(), other_user, 0), 0);
       },
       record_file},
      {"the file belongs to another user", true,
       [&](const QString& p) { ASSERT_EQ(::chown(QFile::encodeName(p).constData(), other_user, 0), 0); },
       [](const QString& p) { return p; }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    if (c.needs_root && ::geteuid() != 0) continue;
    OwnJournal journal;
    QTemporaryDir dir;
    const QString path = dir.filePath("out.txt");
    write_file(path, entry(0));
    killed_append(path, entry(1));
    const QByteArray half = read_file(path);
    ASSERT_NE(half, entry(0));
    c.act(path);
    recover_unfinished_appends();
    EXPECT_EQ(read_file(path), half);
    const QStringList notices = take_append_notices();
    ASSERT_EQ(notices.size(), 1) << notices.join('\n').toStdString();
    EXPECT_TRUE(notices[0].contains(c.told_about(path))) << notices[0].toStdString();
  }
}

TEST(Append, NoHalfWrittenRecordSurvivesAStart) {
  OwnJournal journal;
  QTemporaryDir dir;
  const QString path = dir.filePath("out.txt");
  write_file(path, entry(0));
  ASSERT_FALSE(append_to_file(path, entry(1)).has_value());  // makes the journal folder
  // Records whose writers were killed before they renamed them: one of a
  // process that is gone, and one in the former naming.
  const pid_t child = ::fork();
  if (child == 0) ::_exit(0);
  ::waitpid(child, nullptr, 0);
  const QString gone = record_file(path) + QStringLiteral(".%1.tmp").arg(child);
  const QString former = record_file(path) + ".new";
  write_file(gone, "quilo-append 2\nid ");
  write_file(former, "quilo-append 1\n");
  recover_unfinished_appends();
  EXPECT_FALSE(QFile::exists(gone));
  EXPECT_FALSE(QFile::exists(former));
  EXPECT_EQ(QDir(append_journal_folder()).entryList(QDir::Files | QDir::Hidden), QStringList());
  EXPECT_EQ(read_file(path), entry(0) + entry(1));
}

TEST(Append, ARecordIsReadBackOnlyWhenItIsWhole) {
  const AppendRecord record{{0x803, 0x1a2b3c}, QByteArray("/home/u/a\nb\xff.txt"), 168, entry(1)};
  const QByteArray good = encode_append_record(record);
  EXPECT_EQ(parse_append_record(good), record);
  EXPECT_EQ(parse_append_record(encode_append_record({{1, 2}, "/x", 0, ""})),
            AppendRecord({{1, 2}, "/x", 0, ""}));
  QByteArray flipped = good;
  flipped[flipped.indexOf("entry ") + 7] ^= 1;
  const QByteArray broken[] = {
      "",
      good.chopped(1),                         // no line end
      good.left(good.size() / 2),              // cut short
      flipped,                                 // a changed byte
      good.left(good.indexOf("sum ")),         // no checksum
      good + "extra\n",                        // a line too many
      "quilo-append 1\n168\n/home/u/a.txt\n",  // the former record
  };
  for (const QByteArray& bytes : broken) EXPECT_FALSE(parse_append_record(bytes)) << bytes.toStdString();
}
