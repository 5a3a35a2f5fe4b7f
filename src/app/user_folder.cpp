#include "app/user_folder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

namespace quilo {

QStringList working_folder_files() {
  QStringList files;
  for (int i = 1; i <= 8; ++i) files << QStringLiteral("crt_%1.txt").arg(i);
  for (int i = 1; i <= 4; ++i) files << QStringLiteral("waku_%1.txt").arg(i);
  files << QStringLiteral("maharaja.txt");
  return files;
}

QString installed_data_folder(const QString& program_folder) {
  const QDir program(program_folder);
  const QString candidates[] = {
      program.filePath(QStringLiteral("data")),
      program.filePath(QStringLiteral("../../share/quilo/data")),
  };
  for (const QString& dir : candidates) {
    if (QFileInfo(QDir(dir).filePath(QStringLiteral("crt_1.txt"))).isFile())
      return QDir::cleanPath(dir);
  }
  return {};
}

QString default_user_folder() {
  QString base = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
  if (base.isEmpty()) base = QDir::home().filePath(QStringLiteral(".local/share"));
  return QDir(base).filePath(QStringLiteral("quilo"));
}

UserFolderResult prepare_user_folder(const QString& folder, const QString& data_folder) {
  UserFolderResult result;
  const QFileInfo info(folder);
  if (info.exists() && !info.isDir()) {
    result.error = QStringLiteral("作業フォルダ %1 がファイルとして存在するため使えません").arg(folder);
    return result;
  }
  if (!QDir().mkpath(folder)) {
    result.error = QStringLiteral("作業フォルダ %1 を作成できませんでした").arg(folder);
    return result;
  }
  if (!data_folder.isEmpty()) {
    const QDir from(data_folder);
    const QDir to(folder);
    for (const QString& name : working_folder_files()) {
      const QString source = from.filePath(name);
      const QString target = to.filePath(name);
      // exists() is false for a dangling link too: leave any entry the user made alone.
      if (QFileInfo(target).exists() || QFileInfo(target).isSymLink()) continue;
      if (!QFileInfo(source).isFile()) continue;
      // QFile::copy writes a temporary file and renames it: no half-written copy.
      if (!QFile::copy(source, target)) {
        result.error = QStringLiteral("%1 を作業フォルダ %2 にコピーできませんでした").arg(name, folder);
        return result;
      }
      // The installed files may be read-only; the user's copy is theirs to edit.
      QFile::setPermissions(target, QFile::permissions(target) | QFile::ReadOwner | QFile::WriteOwner);
      result.copied << name;
    }
  }
  result.ok = true;
  return result;
}

}  // namespace quilo
