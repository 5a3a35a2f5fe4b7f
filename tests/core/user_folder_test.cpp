// The per-user working folder: where it is, and its first filling, also when
// two instances start at the same moment.
#include "app/user_folder.h"
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
    EXPECT_EQ(QDir(folder).entryList(QDir::Files | QDir::Hidden).size(), working_folder_files().size());
  }
}
