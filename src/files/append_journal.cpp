#include "files/append_journal.h"

#include "platform/file_ops.h"
#include "platform/folders.h"
#include "platform/processes.h"

#include <QCryptographicHash>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QMutex>

#include <cctype>
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

// The journal folder, when it is a real folder of the user's own that only
// the user may write to (not a link to one).
bool journal_folder_is_private(const QString& folder) {
  const auto st = platform::file_status(QFile::encodeName(folder), platform::Links::DoNotFollow);
  return st && st->kind == platform::FileKind::Folder && st->private_to_user;
}

void tell_folder_not_private(const QString& folder) {
  tell(QStringLiteral("書きかけの出力の記録を置くフォルダー %1 がほかのユーザーのものか、"
                      "ほかのユーザーも書き込めるため、そこにある記録は使いませんでした。")
           .arg(QDir::toNativeSeparators(folder)));
}

// A record file of the user's own (only the user may have put it there), read
// whole; nullopt when it is none.
std::optional<QByteArray> read_own_record(const QString& file) {
  const platform::File in = platform::open_to_read(QFile::encodeName(file), platform::Links::DoNotFollow);
  if (!in.is_open()) return std::nullopt;
  const auto st = platform::file_status(in.descriptor());
  if (!st || st->kind != platform::FileKind::Regular || !st->private_to_user || st->size > kMaxRecordBytes)
    return std::nullopt;
  return platform::read_up_to(in.descriptor(), qsizetype(st->size));
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
  const auto st = platform::file_status(fd);
  if (!st) return Outcome::Failed;
  if (st->id != r.id)
    return Outcome::Nothing;  // the name leads to another file now: none of the append is in it
  const long long size = st->size;
  if (size <= r.start) return Outcome::Nothing;  // not a byte of the append reached the file
  if (!st->owned_by_user) {
    tell(QStringLiteral("出力ファイル %1 はほかのユーザーのファイルのため、"
                        "書きかけの出力を取り除かずにそのままにしました。")
             .arg(shown_path(r.path)));
    return Outcome::LeftAsItIs;
  }
  bool ours = size - r.start <= r.entry.size();
  if (ours) {
    // Read through a descriptor of its own: the one for writing may not read.
    const platform::File in = platform::open_to_read(r.path);
    const auto in_st = in.is_open() ? platform::file_status(in.descriptor()) : std::nullopt;
    QByteArray tail;
    ours = in_st && in_st->id == st->id &&
           platform::read_at(in.descriptor(), r.start, qsizetype(size - r.start), tail) &&
           tail == r.entry.left(tail.size());
  }
  if (!ours) {
    tell(QStringLiteral("出力ファイル %1 は書きかけの出力のあとに変更されていたため、"
                        "取り除かずにそのままにしました。")
             .arg(shown_path(r.path)));
    return Outcome::LeftAsItIs;
  }
  if (!platform::cut_back(fd, r.start)) return Outcome::Failed;
  return Outcome::Cut;
}

void remove_record(const QString& file) {
  if (QFile::remove(file)) platform::sync_folder(append_journal_folder());
}

// A temporary record is written under the name of its record and the writer's
// process: one whose writer is gone was never finished.
bool writer_is_gone(const QString& name) {
  const QString stem = name.chopped(int(qstrlen(kTempSuffix)));
  bool ok = false;
  const long pid = stem.mid(stem.lastIndexOf(QLatin1Char('.')) + 1).toLong(&ok);
  if (!ok || pid <= 0 || pid == platform::process_id()) return true;
  return platform::process_is_gone(pid);
}

}  // namespace

QString append_journal_folder() {
  return QDir(platform::user_state_folder()).filePath(QStringLiteral("quilo/appends"));
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
  platform::restrict_to_user(QFile::encodeName(folder));
  if (!journal_folder_is_private(folder)) return false;
  // Written under a temporary name and renamed: a record is whole or absent.
  const QString target = record_path(record.id);
  const QString temp =
      target + QStringLiteral(".%1").arg(platform::process_id()) + QLatin1String(kTempSuffix);
  platform::File out = platform::create_private_file(QFile::encodeName(temp));
  if (!out.is_open()) return false;
  const bool written = platform::write_all(out.descriptor(), encode_append_record(record)) &&
                       platform::sync_file(out.descriptor());
  out.close();
  if (!written || !platform::replace_name(QFile::encodeName(temp), QFile::encodeName(target))) {
    QFile::remove(temp);
    return false;
  }
  platform::sync_folder(folder);
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
      const auto st = platform::file_status(QFile::encodeName(file), platform::Links::DoNotFollow);
      if (st && !st->private_to_user)
        tell(QStringLiteral("書きかけの出力の記録 %1 は自分のものではないため使いませんでした。")
                 .arg(QDir::toNativeSeparators(file)));
      continue;
    }
    const auto record = parse_append_record(*bytes);
    if (!record || name != id_name(record->id) + QLatin1String(kPendingSuffix)) {
      remove_record(file);
      continue;
    }
    // Opened without waiting: no pipe or device can hold the start-up.
    platform::File out = platform::open_to_write(record->path);
    const platform::SystemError::Kind open_error = platform::SystemError::last().kind();
    const auto st = out.is_open() ? platform::file_status(out.descriptor()) : std::nullopt;
    if (!st || st->kind != platform::FileKind::Regular) {
      // The file is gone or replaced: nothing of it to roll back. A file that
      // cannot be opened now keeps its record for a later start.
      using Kind = platform::SystemError::Kind;
      if (out.is_open() || open_error == Kind::Missing || open_error == Kind::NotAFolder ||
          open_error == Kind::SpecialFile || open_error == Kind::IsAFolder)
        remove_record(file);
      continue;
    }
    // An append that is running now holds the lock: it is not ours to undo.
    // Once the lock is had, the record is read again: the append may have
    // finished (and its record gone) since it was read above.
    if (platform::try_lock(out.descriptor()) == platform::Lock::Taken) {
      const auto now = read_own_record(file);
      if (now && now == bytes && take_back(out.descriptor(), *record) != Outcome::Failed) remove_record(file);
    }
  }
}

QStringList take_append_notices() {
  const QMutexLocker lock(&notices_mutex);
  return std::exchange(notices, {});
}

}  // namespace quilo
