// The operating system is reached only through src/platform: no other folder
// of the program includes a header of the system's own API, and the
// platform's headers themselves are portable, so that a port is new files in
// src/platform. The sound module (src/audio) goes through SDL.
#include "test_support.h"

#include <gtest/gtest.h>

#include <QDirIterator>
#include <QFile>
#include <QRegularExpression>

namespace {

// The system headers a file outside the platform's implementations may not
// include: POSIX, Linux, Windows and macOS APIs, and Fontconfig.
const QRegularExpression kSystemInclude(
    QStringLiteral("^\\s*#\\s*include\\s*<(unistd\\.h|fcntl\\.h|sys/.*|signal\\.h|dlfcn\\.h|dirent\\.h|"
                   "pwd\\.h|poll\\.h|pthread\\.h|fontconfig/.*|windows\\.h|io\\.h|direct\\.h|"
                   "CoreFoundation/.*|mach/.*)>"));

// Every include of such a header in src, as "file: line", except in the
// platform's implementation files.
QStringList system_includes() {
  const QString src = QStringLiteral(QUILO_SOURCE_DIR "/src/");
  QStringList found;
  QDirIterator it(src, {"*.cpp", "*.h"}, QDir::Files, QDirIterator::Subdirectories);
  while (it.hasNext()) {
    const QString file = it.next();
    const QString name = file.mid(src.size());
    if (name.startsWith("platform/") && name.endsWith(".cpp")) continue;
    QFile in(file);
    if (!in.open(QIODevice::ReadOnly)) {
      found << name + ": unreadable";
      continue;
    }
    for (const QByteArray& line : in.readAll().split('\n'))
      if (kSystemInclude.match(QString::fromUtf8(line)).hasMatch()) found << name + ": " + line;
  }
  return found;
}

}  // namespace

TEST(PlatformSeam, OnlyThePlatformImplementationsIncludeSystemHeaders) {
  // The pattern itself, on lines as they are written.
  for (const char* line :
       {"#include <unistd.h>", "#include <sys/stat.h>", "  #  include <fontconfig/fontconfig.h>"})
    EXPECT_TRUE(kSystemInclude.match(line).hasMatch()) << line;
  for (const char* line : {"#include <cstdio>", "#include \"platform/file_ops.h\"", "// <unistd.h>"})
    EXPECT_FALSE(kSystemInclude.match(line).hasMatch()) << line;

  EXPECT_EQ(system_includes(), QStringList{});
}
