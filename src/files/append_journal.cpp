#include "files/append_journal.h"

#include "files/user_folder.h"

#include <QCryptographicHash>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QMutex>

#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <cctype>
#include <cerrno>
#include <utility>

namespace quilo {
namespace {

const char kHeader[] = "quilo-append 2";
const char kPendingSuffix[] = ".pending";
const char kTempSuffix[] = ".tmp";
constexpr qsizetype kMaxPathBytes = 4096;
// A whole record: the header, the fields in hex and the checksum.
constexpr qint64 kMaxRecordBytes = 2 * (kMaxRecordedEntryBytes + kMaxPathBytes) + 1024;

QMutex notices_mutex;
QStringList notices;

void tell(const QString& text) {
  const QMutexLocker lock(&notices_mutex);
  if (!notices.contains(text)) notices << text;
}

QString shown_path(const QByteArray& path) { return QDir::toNativeSeparators(QFile::decodeName(path)); }

QString id_name(const FileId& id) {
  return QStringLiteral("%1-%2").arg(id.device, 0, 16).arg(id.inode, 0, 16);
}

QString record_path(const FileId& id) {
  return append_journal_folder() + QLatin1Char('/') + id_name(id) + QLatin1String(kPendingSuffix);
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

// Only the user may have put it there: owned by the effective user, and
// nobody else may write to it.
bool private_to_user(const struct stat& st) {
  return st.st_uid == ::geteuid() && (st.st_mode & (S_IWGRP | S_IWOTH)) == 0;
}

// The journal folder, when it is a real folder of the user's own.
bool journal_folder_is_private(const QString& folder) {
  struct stat st {};
  return ::lstat(QFile::encodeName(folder).constData(), &st) == 0 && S_ISDIR(st.st_mode) &&
         private_to_user(st);
}

void tell_folder_not_private(const QString& folder) {
  tell(QStringLiteral("書きかけの出力の記録を置くフォルダー %1 がほかのユーザーのものか、"
                      "ほかのユーザーも書き込めるため、そこにある記録は使いませんでした。")
           .arg(QDir::toNativeSeparators(folder)));
}

// A record file of the user's own, read whole; nullopt when it is none.
std::optional<QByteArray> read_own_record(const QString& file) {
  const int fd = ::open(QFile::encodeName(file).constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return std::nullopt;
  struct stat st {};
  QByteArray bytes;
  if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && private_to_user(st) && st.st_size <= kMaxRecordBytes) {
    bytes.resize(qsizetype(st.st_size));
    qsizetype done = 0;
    while (done < bytes.size()) {
      const ssize_t n = ::read(fd, bytes.data() + done, size_t(bytes.size() - done));
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) break;
      done += n;
    }
    bytes.truncate(done);
    ::close(fd);
    return bytes;
  }
  ::close(fd);
  return std::nullopt;
}

// Reads exactly `size` bytes at `offset`.
bool read_at(int fd, long long offset, QByteArray& bytes, qsizetype size) {
  bytes.resize(size);
  qsizetype done = 0;
  while (done < size) {
    const ssize_t n = ::pread(fd, bytes.data() + done, size_t(size - done), off_t(offset + done));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    done += n;
  }
  return true;
}

// Lower-case hex digits, as the record writes them: one spelling per value.
bool lower_hex(const QByteArray& text) {
  for (char c : text)
    if (!std::isxdigit(static_cast<unsigned char>(c)) || std::isupper(static_cast<unsigned char>(c)))
      return false;
  return true;
}

std::optional<unsigned long long> hex_number(const QByteArray& text) {
  if (text.isEmpty() || text.size() > 16 || !lower_hex(text) || (text.size() > 1 && text[0] == '0'))
    return std::nullopt;
  return text.toULongLong(nullptr, 16);
}

std::optional<QByteArray> hex_bytes(const QByteArray& text, qsizetype limit) {
  if (text.size() % 2 != 0 || text.size() / 2 > limit || !lower_hex(text)) return std::nullopt;
  return QByteArray::fromHex(text);
}

enum class Outcome { Nothing, Cut, LeftAsItIs, Failed };

// Whether the file (open for writing as fd, at the record's path) holds the
// record's start and a beginning of its entry, and nothing else; if so, cuts
// it back to the start.
Outcome take_back(int fd, const AppendRecord& r) {
  struct stat st {};
  if (::fstat(fd, &st) != 0) return Outcome::Failed;
  if (FileId{static_cast<unsigned long long>(st.st_dev), static_cast<unsigned long long>(st.st_ino)} != r.id)
    return Outcome::Nothing;  // the name leads to another file now: none of the append is in it
  const long long size = st.st_size;
  if (size <= r.start) return Outcome::Nothing;  // not a byte of the append reached the file
  if (st.st_uid != ::geteuid()) {
    tell(QStringLiteral("出力ファイル %1 はほかのユーザーのファイルのため、"
                        "書きかけの出力を取り除かずにそのままにしました。")
             .arg(shown_path(r.path)));
    return Outcome::LeftAsItIs;
  }
  bool ours = size - r.start <= r.entry.size();
  if (ours) {
    // Read through a descriptor of its own: the one for writing may not read.
    const int in = ::open(r.path.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    struct stat in_st {};
    QByteArray tail;
    ours = in >= 0 && ::fstat(in, &in_st) == 0 && in_st.st_dev == st.st_dev && in_st.st_ino == st.st_ino &&
           read_at(in, r.start, tail, qsizetype(size - r.start)) && tail == r.entry.left(tail.size());
    if (in >= 0) ::close(in);
  }
  if (!ours) {
    tell(QStringLiteral("出力ファイル %1 は書きかけの出力のあとに変更されていたため、"
                        "取り除かずにそのままにしました。")
             .arg(shown_path(r.path)));
    return Outcome::LeftAsItIs;
  }
  if (::ftruncate(fd, r.start) != 0 || ::fsync(fd) != 0) return Outcome::Failed;
  return Outcome::Cut;
}

void remove_record(const QString& file) {
  if (QFile::remove(file)) sync_folder(append_journal_folder());
}

// A temporary record is written under the name of its record and the writer's
// process: one whose writer is gone was never finished.
bool writer_is_gone(const QString& name) {
  const QString stem = name.chopped(int(qstrlen(kTempSuffix)));
  bool ok = false;
  const long pid = stem.mid(stem.lastIndexOf(QLatin1Char('.')) + 1).toLong(&ok);
  if (!ok || pid <= 0 || pid == long(::getpid())) return true;
  return ::kill(pid_t(pid), 0) != 0 && errno == ESRCH;
}

}  // namespace

QString append_journal_folder() {
  return QDir(xdg_base_folder("XDG_STATE_HOME", QStringLiteral(".local/state")))
      .filePath(QStringLiteral("quilo/appends"));
}

QByteArray encode_append_record(const AppendRecord& r) {
  QByteArray body = QByteArray(kHeader) + '\n';
  body += "id " + QByteArray::number(r.id.device, 16) + ' ' + QByteArray::number(r.id.inode, 16) + '\n';
  body += "start " + QByteArray::number(r.start) + '\n';
  body += "path " + r.path.toHex() + '\n';
  body += "entry " + r.entry.toHex() + '\n';
  return body + "sum " + QCryptographicHash::hash(body, QCryptographicHash::Sha256).toHex() + '\n';
}

std::optional<AppendRecord> parse_append_record(const QByteArray& bytes) {
  if (bytes.size() > kMaxRecordBytes || !bytes.endsWith('\n')) return std::nullopt;
  const QList<QByteArray> lines = bytes.chopped(1).split('\n');
  if (lines.size() != 6 || lines[0] != kHeader) return std::nullopt;
  auto field = [&](int i, const char* name) -> std::optional<QByteArray> {
    const QByteArray prefix = QByteArray(name) + ' ';
    if (!lines[i].startsWith(prefix)) return std::nullopt;
    return lines[i].mid(prefix.size());
  };
  const auto id = field(1, "id"), start = field(2, "start"), path = field(3, "path"),
             entry = field(4, "entry"), sum = field(5, "sum");
  if (!id || !start || !path || !entry || !sum) return std::nullopt;
  const qsizetype body_size = bytes.size() - lines[5].size() - 1;
  if (*sum != QCryptographicHash::hash(bytes.left(body_size), QCryptographicHash::Sha256).toHex())
    return std::nullopt;
  const QList<QByteArray> id_parts = id->split(' ');
  if (id_parts.size() != 2) return std::nullopt;
  const auto device = hex_number(id_parts[0]), inode = hex_number(id_parts[1]);
  bool ok = false;
  const long long length = start->toLongLong(&ok);
  const auto path_bytes = hex_bytes(*path, kMaxPathBytes);
  const auto entry_bytes = hex_bytes(*entry, kMaxRecordedEntryBytes);
  if (!device || !inode || !ok || length < 0 || QByteArray::number(length) != *start || !path_bytes ||
      path_bytes->isEmpty() || path_bytes->contains('\0') || !entry_bytes)
    return std::nullopt;
  return AppendRecord{{*device, *inode}, *path_bytes, length, *entry_bytes};
}

bool record_append(const AppendRecord& record) {
  if (record.entry.size() > kMaxRecordedEntryBytes || record.path.size() > kMaxPathBytes) return false;
  const QString folder = append_journal_folder();
  if (!QDir().mkpath(folder)) return false;
  // A folder of the user's own that only the user may write to: its records
  // can be trusted at the next start.
  struct stat st {};
  const QByteArray folder_name = QFile::encodeName(folder);
  if (::lstat(folder_name.constData(), &st) == 0 && S_ISDIR(st.st_mode) && st.st_uid == ::geteuid() &&
      (st.st_mode & 07777) != 0700)
    ::chmod(folder_name.constData(), 0700);
  if (!journal_folder_is_private(folder)) return false;
  // Written under a temporary name and renamed: a record is whole or absent.
  const QString target = record_path(record.id);
  const QString temp = target + QStringLiteral(".%1").arg(::getpid()) + QLatin1String(kTempSuffix);
  const int fd = ::open(QFile::encodeName(temp).constData(),
                        O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_CLOEXEC, 0600);
  if (fd < 0) return false;
  const bool written = write_all(fd, encode_append_record(record)) && ::fsync(fd) == 0;
  ::close(fd);
  if (!written || ::rename(QFile::encodeName(temp).constData(), QFile::encodeName(target).constData()) != 0) {
    QFile::remove(temp);
    return false;
  }
  sync_folder(folder);
  return true;
}

void finish_append(const FileId& id) { remove_record(record_path(id)); }

std::optional<AppendRecord> unfinished_append(const FileId& id) {
  if (!journal_folder_is_private(append_journal_folder())) return std::nullopt;
  const auto bytes = read_own_record(record_path(id));
  if (!bytes) return std::nullopt;
  auto record = parse_append_record(*bytes);
  if (record && record->id != id) return std::nullopt;
  return record;
}

bool roll_back_unfinished_append(int fd, const QString& path, const FileId& id) {
  const QString folder = append_journal_folder();
  const QString file = record_path(id);
  if (!QFile::exists(file)) return true;
  if (!journal_folder_is_private(folder)) {
    tell_folder_not_private(folder);
    return true;
  }
  const auto record = unfinished_append(id);
  if (!record) {
    // A record that cannot be read is no use to anyone; one of another user
    // is not ours to remove.
    if (read_own_record(file)) remove_record(file);
    return true;
  }
  // The record is of another file that had the same identity (a file
  // removed, its inode taken by this one): none of its append is in here.
  if (record->path != QFile::encodeName(QDir::current().absoluteFilePath(path))) {
    remove_record(file);
    return true;
  }
  if (take_back(fd, *record) == Outcome::Failed) return false;
  remove_record(file);
  return true;
}

void recover_unfinished_appends() {
  const QString folder = append_journal_folder();
  if (!QFileInfo::exists(folder)) return;
  if (!journal_folder_is_private(folder)) {
    tell_folder_not_private(folder);
    return;
  }
  // A suffix test rather than a name filter, which would build a regular
  // expression at every start.
  QDirIterator it(folder, QDir::Files | QDir::Hidden | QDir::System);
  while (it.hasNext()) {
    const QString file = it.next();
    const QString name = it.fileName();
    if (name.endsWith(QLatin1String(kTempSuffix)) || name.endsWith(QLatin1String(".pending.new"))) {
      // A record that its writer never finished: it was never in force.
      if (!name.endsWith(QLatin1String(kTempSuffix)) || writer_is_gone(name)) QFile::remove(file);
      continue;
    }
    if (!name.endsWith(QLatin1String(kPendingSuffix))) continue;
    const auto bytes = read_own_record(file);
    if (!bytes) {
      struct stat st {};
      if (::lstat(QFile::encodeName(file).constData(), &st) == 0 && !private_to_user(st))
        tell(QStringLiteral("書きかけの出力の記録 %1 は自分のものではないため使いませんでした。")
                 .arg(QDir::toNativeSeparators(file)));
      continue;
    }
    const auto record = parse_append_record(*bytes);
    if (!record || name != id_name(record->id) + QLatin1String(kPendingSuffix)) {
      remove_record(file);
      continue;
    }
    // Non-blocking: no pipe or device can hold the start-up.
    const int fd = ::open(record->path.constData(), O_WRONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    const int open_error = errno;
    struct stat st {};
    if (fd < 0 || ::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
      if (fd >= 0) ::close(fd);
      // The file is gone or replaced: nothing of it to roll back. A file that
      // cannot be opened now keeps its record for a later start.
      if (fd >= 0 || open_error == ENOENT || open_error == ENOTDIR || open_error == ENXIO ||
          open_error == EISDIR)
        remove_record(file);
      continue;
    }
    // An append that is running now holds the lock: it is not ours to undo.
    // Once the lock is had, the record is read again: the append may have
    // finished (and its record gone) since it was read above.
    if (::flock(fd, LOCK_EX | LOCK_NB) == 0) {
      const auto now = read_own_record(file);
      if (now && now == bytes && take_back(fd, *record) != Outcome::Failed) remove_record(file);
    }
    ::close(fd);
  }
}

QStringList take_append_notices() {
  const QMutexLocker lock(&notices_mutex);
  return std::exchange(notices, {});
}

}  // namespace quilo
