#include "files/user_folder.h"

#include "files/table_files.h"
#include "platform/file_ops.h"
#include "platform/folders.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QTemporaryFile>

#include <memory>

namespace quilo {

QStringList working_folder_files() { return table_file_names() << kTeachingFileName; }

QString default_user_folder() { return QDir(platform::user_data_folder()).filePath(QStringLiteral("quilo")); }

QString default_history_file() {
  return QDir(default_user_folder()).filePath(QStringLiteral("history.sqlite"));
}

namespace {

QByteArray read_copyable(const QString& path, bool& ok) {
  QFile in(path);
  ok = in.open(QIODevice::ReadOnly);
  const QByteArray bytes = ok ? in.read(kMaxCopiedFileBytes + 1) : QByteArray();
  ok = ok && in.error() == QFileDevice::NoError && bytes.size() <= kMaxCopiedFileBytes;
  return bytes;
}

QByteArray sum_of(const QByteArray& bytes) {
  return QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex();
}

// The bytes under a temporary name beside `target`, on the disk before they
// get its name: a power cut must not leave an empty table under the name,
// which would never be copied again. Null when they could not be written.
std::unique_ptr<QTemporaryFile> synced_copy(const QString& target, const QByteArray& bytes,
                                            QFileDevice::Permissions permissions) {
  auto copy = std::make_unique<QTemporaryFile>(QFileInfo(target).absolutePath() +
                                               QStringLiteral("/.quilo-copy-XXXXXX"));
  if (!copy->open() || copy->write(bytes) != bytes.size() || !copy->flush() ||
      !platform::sync_file(copy->handle()))
    return nullptr;
  copy->setPermissions(permissions);
  return copy;
}

// Puts the bytes in place of `target` whole, through a synced copy.
bool replace_file(const QString& target, const QByteArray& bytes, QFileDevice::Permissions permissions) {
  const auto copy = synced_copy(target, bytes, permissions);
  if (!copy || !platform::replace_name(QFile::encodeName(copy->fileName()), QFile::encodeName(target)))
    return false;
  copy->setAutoRemove(false);
  return true;
}

}  // namespace

bool place_copy(const QString& source, const QString& target) {
  bool ok = false;
  const QByteArray bytes = read_copyable(source, ok);
  if (!ok) return false;
  // The installed files may be read-only; the user's copy is theirs to edit.
  const auto copy =
      synced_copy(target, bytes, QFile::permissions(source) | QFile::ReadOwner | QFile::WriteOwner);
  if (!copy) return false;
  // rename() never replaces a file: one that another instance starting at the
  // same moment put there first is as good as ours.
  if (copy->rename(target)) {
    copy->setAutoRemove(false);
    return true;
  }
  return QFileInfo::exists(target) || QFileInfo(target).isSymLink();
}

namespace {

// name -> the sum of the bytes that were copied under it.
QHash<QString, QByteArray> read_copies_record(const QString& path) {
  QHash<QString, QByteArray> sums;
  bool ok = false;
  for (const QByteArray& line : read_copyable(path, ok).split('\n')) {
    const qsizetype blank = line.indexOf(' ');
    if (blank == 64) sums.insert(QString::fromUtf8(line.mid(65)), line.left(64));
  }
  return sums;
}

bool write_copies_record(const QString& path, const QHash<QString, QByteArray>& sums) {
  QByteArray bytes;
  QStringList names = sums.keys();
  names.sort();
  for (const QString& name : names) bytes += sums[name] + ' ' + name.toUtf8() + '\n';
  return replace_file(path, bytes, QFile::ReadOwner | QFile::WriteOwner);
}

}  // namespace

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
    const QString record = to.filePath(QLatin1String(kCopiesRecordName));
    QHash<QString, QByteArray> sums = read_copies_record(record);
    bool record_changed = false;
    for (const QString& name : working_folder_files()) {
      const QString source = from.filePath(name);
      const QString target = to.filePath(name);
      if (!QFileInfo(source).isFile()) continue;
      bool ok = false;
      const QByteArray installed = read_copyable(source, ok);
      if (!ok) continue;
      const QByteArray installed_sum = sum_of(installed);
      const QFileInfo existing(target);
      if (existing.isSymLink() || (existing.exists() && !existing.isFile())) continue;
      if (existing.exists()) {
        // A copy still as it was copied follows the installed file; one the
        // user edited (or one of unknown origin) stays the user's.
        bool read = false;
        const QByteArray mine_sum = sum_of(read_copyable(target, read));
        if (!read) continue;
        if (mine_sum == installed_sum) {
          if (sums.value(name) != installed_sum) {
            sums.insert(name, installed_sum);
            record_changed = true;
          }
          continue;
        }
        if (sums.value(name) != mine_sum) continue;
        if (!replace_file(target, installed, existing.permissions())) continue;
        sums.insert(name, installed_sum);
        record_changed = true;
        result.refreshed << name;
        continue;
      }
      if (!place_copy(source, target)) {
        result.error = QStringLiteral("%1 を作業フォルダ %2 にコピーできませんでした").arg(name, folder);
        return result;
      }
      result.copied << name;
      sums.insert(name, installed_sum);
      record_changed = true;
    }
    if (record_changed) write_copies_record(record, sums);
  }
  result.ok = true;
  return result;
}

QString refreshed_notice(const QStringList& refreshed) {
  return QStringLiteral(
             "新しい版の Quilo の参照表に合わせて、作業フォルダの %1 を更新しました"
             "（書き換えていなかったものだけです）。")
      .arg(refreshed.join(QStringLiteral("、")));
}

}  // namespace quilo
