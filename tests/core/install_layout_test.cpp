// Where the program looks for its media and installed tables: in the build
// tree, under an installation prefix, and in the package's /usr layout.
#include "files/install_layout.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

using namespace quilo;

TEST(InstallLayout, FindsMediaAndTablesForEachLayout) {
  const struct {
    const char* name;
    QStringList files;    // made under a scratch root; a trailing '/' makes a folder
    QString program;      // the program's folder, under the root
    QString media, data;  // expected, under the root; data "" for none
  } cases[] = {
      {"build tree",
       {"build/quilo", "build/quilo_audio.so", "build/GF/", "build/se/", "build/data/crt_1.txt"},
       "build",
       "build",
       "build/data"},
      {"cmake --install prefix",
       {"opt/q/lib/quilo/quilo", "opt/q/bin/", "opt/q/share/quilo/GF/", "opt/q/share/quilo/data/crt_1.txt"},
       "opt/q/lib/quilo",
       "opt/q/share/quilo",
       "opt/q/share/quilo/data"},
      {"package under /usr, folders with blanks and kana",
       {"ルート dir/usr/lib/quilo/quilo", "ルート dir/usr/share/quilo/GF/",
        "ルート dir/usr/share/quilo/data/crt_1.txt"},
       "ルート dir/usr/lib/quilo",
       "ルート dir/usr/share/quilo",
       "ルート dir/usr/share/quilo/data"},
      {"program folder named with dots",
       {"usr/lib/quilo/quilo", "usr/share/quilo/GF/", "usr/share/quilo/data/crt_1.txt"},
       "usr/lib/./quilo/../quilo/",
       "usr/share/quilo",
       "usr/share/quilo/data"},
      {"build tree before the tables are copied",
       {"build/quilo", "build/GF/", "build/data/"},
       "build",
       "build",
       ""},
      {"installed tables folder without the tables",
       {"usr/lib/quilo/quilo", "usr/share/quilo/GF/", "usr/share/quilo/data/maharaja.txt"},
       "usr/lib/quilo",
       "usr/share/quilo",
       ""},
      {"media beside the program win over the prefix",
       {"p/lib/quilo/GF/", "p/share/quilo/GF/", "p/share/quilo/data/crt_1.txt"},
       "p/lib/quilo",
       "p/lib/quilo",
       "p/share/quilo/data"},
      {"a file named GF is not a media folder",
       {"p/lib/quilo/GF", "p/share/quilo/GF/"},
       "p/lib/quilo",
       "p/share/quilo",
       ""},
      {"nothing anywhere: the program's folder", {"lone/quilo"}, "lone", "lone", ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    QTemporaryDir tmp;
    ASSERT_TRUE(tmp.isValid());
    const QDir root(tmp.path());
    for (const QString& f : c.files) {
      if (f.endsWith('/')) {
        ASSERT_TRUE(root.mkpath(f));
      } else {
        ASSERT_TRUE(root.mkpath(QFileInfo(f).path()));
        QFile file(root.filePath(f));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
      }
    }
    const InstallLayout layout = locate_install(root.filePath(c.program));
    EXPECT_EQ(layout.program_folder, QDir::cleanPath(root.filePath(c.program)));
    EXPECT_EQ(layout.media_folder, root.filePath(c.media));
    EXPECT_EQ(layout.data_folder, c.data.isEmpty() ? QString() : root.filePath(c.data));
  }
}
