// The per-user working folder: where it is, and its first filling, also when
// two instances start at the same moment.
#include "files/user_folder.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <thread>

using namespace quilo;

namespace {

QByteArray read_file(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

}  // namespace

TEST(UserFolder, FollowsAnAbsoluteXdgDataHomeOnly) {
  const QByteArray saved = qgetenv("XDG_DATA_HOME");
  const QString fallback = QDir::home().filePath(".local/share/quilo");
  const struct {
    const char* value;  // nullptr: unset
    QString folder;
  } cases[] = {
      {nullptr, fallback},         {"", fallback},       {"/srv/data", "/srv/data/quilo"},
      {"relative/data", fallback}, {"./data", fallback},
  };
  for (const auto& c : cases) {
    if (c.value)
      qputenv("XDG_DATA_HOME", c.value);
    else
      qunsetenv("XDG_DATA_HOME");
    EXPECT_EQ(default_user_folder(), c.folder) << (c.value ? c.value : "(unset)");
  }
  if (saved.isNull())
    qunsetenv("XDG_DATA_HOME");
  else
    qputenv("XDG_DATA_HOME", saved);
}

TEST(UserFolder, ACopyNeverReplacesAFileThatIsThere) {
  QTemporaryDir dir;
  const QString source = dir.filePath("source.txt"), target = dir.filePath("target.txt");
  QFile s(source), t(target);
  ASSERT_TRUE(s.open(QIODevice::WriteOnly) && s.write("installed") > 0);
  s.close();
  ASSERT_TRUE(t.open(QIODevice::WriteOnly) && t.write("the user's own") > 0);
  t.close();
  // Another instance (or the user) put the file there first: that is success.
  EXPECT_TRUE(place_copy(source, target));
  EXPECT_EQ(read_file(target), "the user's own");
  QFile::remove(target);
  EXPECT_TRUE(place_copy(source, target));
  EXPECT_EQ(read_file(target), "installed");
  EXPECT_TRUE(QFile::permissions(target) & QFile::WriteOwner);
  // No temporary copy is left behind.
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 2);
}

TEST(UserFolder, TwoFirstStartsAtOnceBothSucceed) {
  const QString data = QStringLiteral(QUILO_DATA_DIR);
  QTemporaryDir root;
  for (int round = 0; round < 40; ++round) {
    const QString folder = root.filePath(QString("user%1/quilo").arg(round));
    UserFolderResult a, b;
    std::thread other([&] { b = prepare_user_folder(folder, data); });
    a = prepare_user_folder(folder, data);
    other.join();
    ASSERT_TRUE(a.ok) << round << ": " << a.error.toStdString();
    ASSERT_TRUE(b.ok) << round << ": " << b.error.toStdString();
    for (const QString& name : working_folder_files())
      ASSERT_EQ(read_file(QDir(folder).filePath(name)), read_file(QDir(data).filePath(name)))
          << round << " " << name.toStdString();
    // The files and the record of what was copied, nothing half made.
    QStringList expected = working_folder_files() << kCopiesRecordName;
    expected.sort();
    EXPECT_EQ(QDir(folder).entryList(QDir::Files | QDir::Hidden, QDir::Name), expected);
  }
}

// An upgrade brings new tables: a copy the user never changed follows them,
// one the user edited stays as it is; a copy made before copies were
// remembered is taken as unchanged only when it equals what is installed.
TEST(UserFolder, AnUpgradeRefreshesOnlyTheCopiesNobodyChanged) {
  QTemporaryDir dir;
  const QString data = dir.filePath("data"), folder = dir.filePath("user");
  QDir().mkpath(data);
  auto install = [&](const char* name, const QByteArray& bytes) {
    QFile f(QDir(data).filePath(name));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes);
  };
  auto mine = [&](const char* name) { return read_file(QDir(folder).filePath(name)); };
  install("crt_1.txt", "1\r\n");
  install("crt_2.txt", "2\r\n");
  install("crt_3.txt", "3\r\n");
  UserFolderResult r = prepare_user_folder(folder, data);
  ASSERT_TRUE(r.ok);
  EXPECT_EQ(r.copied, QStringList({"crt_1.txt", "crt_2.txt", "crt_3.txt"}));
  EXPECT_TRUE(r.refreshed.isEmpty());

  // The user edits crt_2.txt; crt_3.txt loses its record (as after an older
  // version's copy). Then version 2 is installed.
  {
    QFile f(QDir(folder).filePath("crt_2.txt"));
    ASSERT_TRUE(f.open(QIODevice::Append));
    f.write("my row\r\n");
  }
  QFile record(QDir(folder).filePath(kCopiesRecordName));
  ASSERT_TRUE(record.open(QIODevice::ReadOnly));
  const QByteArray kept = record.readAll();
  record.close();
  ASSERT_TRUE(record.open(QIODevice::WriteOnly | QIODevice::Truncate));
  for (const QByteArray& line : kept.split('\n'))
    if (!line.endsWith("crt_3.txt") && !line.isEmpty()) record.write(line + '\n');
  record.close();
  install("crt_1.txt", "1 new\r\n");
  install("crt_2.txt", "2 new\r\n");
  install("crt_3.txt", "3 new\r\n");

  r = prepare_user_folder(folder, data);
  ASSERT_TRUE(r.ok);
  EXPECT_EQ(r.refreshed, QStringList{"crt_1.txt"});
  EXPECT_EQ(mine("crt_1.txt"), "1 new\r\n");
  EXPECT_EQ(mine("crt_2.txt"), "2\r\nmy row\r\n");
  EXPECT_EQ(mine("crt_3.txt"), "3\r\n");
  EXPECT_TRUE(refreshed_notice(r.refreshed).contains("crt_1.txt"));

  // Told once: the next start finds nothing to refresh.
  r = prepare_user_folder(folder, data);
  EXPECT_TRUE(r.refreshed.isEmpty());
  EXPECT_EQ(mine("crt_1.txt"), "1 new\r\n");
}
