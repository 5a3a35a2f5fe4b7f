#include "output/append_journal.h"

#include "app/user_folder.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <cerrno>

namespace quilo {
namespace {

const char kHeader[] = "quilo-append 1";

QString record_path(const FileId& id) {
  return append_journal_folder() +
         QStringLiteral("/%1-%2.pending").arg(id.device, 0, 16).arg(id.inode, 0, 16);
}

void sync_folder(const QString& folder) {
  const int fd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}

bool write_all(int fd, const QByteArray& bytes) {
  qint64 done = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::write(fd, bytes.constData() + done, size_t(bytes.size() - done));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    done += n;
  }
  return true;
}

struct Record {
  long long length = 0;
  QString path;
};

std::optional<Record> read_record(const QString& file) {
  QFile f(file);
  if (!f.open(QIODevice::ReadOnly)) return std::nullopt;
  const QList<QByteArray> lines = f.read(64 * 1024).split('\n');
  if (lines.size() < 3 || lines[0] != kHeader) return std::nullopt;
  bool ok = false;
  const long long length = lines[1].toLongLong(&ok);
  if (!ok || length < 0) return std::nullopt;
  return Record{length, QString::fromUtf8(lines[2])};
}

}  // namespace

QString append_journal_folder() {
  return QDir(xdg_base_folder("XDG_STATE_HOME", QStringLiteral(".local/state")))
      .filePath(QStringLiteral("quilo/appends"));
}

bool record_append(const FileId& id, const QString& path, long long length) {
  const QString folder = append_journal_folder();
  if (!QDir().mkpath(folder)) return false;
  // Written under a temporary name and renamed: a record is whole or absent.
  const QString target = record_path(id);
  const QString temp = target + QStringLiteral(".new");
  const int fd = ::open(QFile::encodeName(temp).constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
  if (fd < 0) return false;
  const QByteArray bytes =
      QByteArray(kHeader) + '\n' + QByteArray::number(length) + '\n' + path.toUtf8() + '\n';
  const bool written = write_all(fd, bytes) && ::fsync(fd) == 0;
  ::close(fd);
  if (!written || ::rename(QFile::encodeName(temp).constData(), QFile::encodeName(target).constData()) != 0) {
    QFile::remove(temp);
    return false;
  }
  sync_folder(folder);
  return true;
}

void finish_append(const FileId& id) {
  if (QFile::remove(record_path(id))) sync_folder(append_journal_folder());
}

std::optional<long long> unfinished_append(const FileId& id) {
  if (const auto r = read_record(record_path(id))) return r->length;
  return std::nullopt;
}

bool roll_back_unfinished_append(int fd, const FileId& id) {
  const auto length = unfinished_append(id);
  if (!length) {
    // A record that cannot be read is no use to anyone.
    QFile::remove(record_path(id));
    return true;
  }
  struct stat st {};
  if (::fstat(fd, &st) != 0) return false;
  // Only bytes beyond the recorded length are the unfinished append's.
  if (st.st_size > *length && (::ftruncate(fd, *length) != 0 || ::fsync(fd) != 0)) return false;
  finish_append(id);
  return true;
}

void recover_unfinished_appends() {
  // A suffix test rather than a name filter, which would build a regular
  // expression at every start.
  QDirIterator it(append_journal_folder(), QDir::Files);
  while (it.hasNext()) {
    const QString file = it.next();
    if (!file.endsWith(QLatin1String(".pending"))) continue;
    const auto record = read_record(file);
    if (!record) {
      QFile::remove(file);
      continue;
    }
    // Non-blocking: no pipe or device can hold the start-up.
    const int fd =
        ::open(QFile::encodeName(record->path).constData(), O_WRONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    const int open_error = errno;
    struct stat st {};
    if (fd < 0 || ::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
      if (fd >= 0) ::close(fd);
      // The file is gone or replaced: nothing of it to roll back. A file that
      // cannot be opened now keeps its record for a later start.
      if (fd >= 0 || open_error == ENOENT) QFile::remove(file);
      continue;
    }
    const FileId id{static_cast<unsigned long long>(st.st_dev), static_cast<unsigned long long>(st.st_ino)};
    if (record_path(id) != file) {
      // The name now leads to another file.
      ::close(fd);
      QFile::remove(file);
      continue;
    }
    // An append that is running now holds the lock: it is not ours to undo.
    if (::flock(fd, LOCK_EX | LOCK_NB) == 0) roll_back_unfinished_append(fd, id);
    ::close(fd);
  }
}

}  // namespace quilo
