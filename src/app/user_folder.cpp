#include "app/user_folder.h"

#include "app/table_files.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>

#include <unistd.h>

namespace quilo {

QStringList working_folder_files() { return table_file_names() << kTeachingFileName; }

QString xdg_base_folder(const char* variable, const QString& under_home) {
  const QString xdg = qEnvironmentVariable(variable);
  return !xdg.isEmpty() && QDir::isAbsolutePath(xdg) ? xdg : QDir::home().filePath(under_home);
}

QString default_user_folder() {
  return QDir(xdg_base_folder("XDG_DATA_HOME", QStringLiteral(".local/share")))
      .filePath(QStringLiteral("quilo"));
}

QString default_history_file() {
  return QDir(default_user_folder()).filePath(QStringLiteral("history.sqlite"));
}

bool place_copy(const QString& source, const QString& target) {
  QFile in(source);
  if (!in.open(QIODevice::ReadOnly)) return false;
  const QByteArray bytes = in.read(kMaxCopiedFileBytes + 1);
  if (in.error() != QFileDevice::NoError || bytes.size() > kMaxCopiedFileBytes) return false;
  QTemporaryFile copy(QFileInfo(target).absolutePath() + QStringLiteral("/.quilo-copy-XXXXXX"));
  // On the disk before it gets its name: a power cut must not leave an
  // empty table under the name, which would never be copied again.
  if (!copy.open() || copy.write(bytes) != bytes.size() || !copy.flush() || ::fsync(copy.handle()) != 0)
    return false;
  // The installed files may be read-only; the user's copy is theirs to edit.
  copy.setPermissions(in.permissions() | QFile::ReadOwner | QFile::WriteOwner);
  // rename() never replaces a file: one that another instance starting at the
  // same moment put there first is as good as ours.
  if (copy.rename(target)) {
    copy.setAutoRemove(false);
    return true;
  }
  return QFileInfo::exists(target) || QFileInfo(target).isSymLink();
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
      if (!place_copy(source, target)) {
        result.error = QStringLiteral("%1 を作業フォルダ %2 にコピーできませんでした").arg(name, folder);
        return result;
      }
      result.copied << name;
    }
  }
  result.ok = true;
  return result;
}

}  // namespace quilo
