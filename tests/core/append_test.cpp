// Appending an output entry while other instances append to the same file,
// and after a program was killed half-way through an append: every entry is
// whole or absent, nobody else's entry is lost, and what the user is told is
// what happened.
#include "output/append_journal.h"
#include "output/output_file.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <atomic>
#include <condition_variable>
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
    // A program killed half-way through its append.
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      append_to_file(path, entry(1), [](QFile& file, const char* data, qint64 size) -> qint64 {
        file.write(data, size / 2);
        ::_exit(9);
      });
      ::_exit(0);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    ASSERT_EQ(WEXITSTATUS(status), 9);
    EXPECT_EQ(read_file(path), entry(0) + entry(1).left(entry(1).size() / 2));
    EXPECT_EQ(unfinished_append(id_of(path)), entry(0).size());

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
  ASSERT_TRUE(record_append(id, path, entry(0).size()));
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
  ASSERT_TRUE(record_append(id, path, 0));
  QFile::remove(path);
  recover_unfinished_appends();
  EXPECT_FALSE(unfinished_append(id).has_value());
  EXPECT_FALSE(QFile::exists(path));
}
