// Intent records for appends: before an append writes its first byte, a
// record of the file (its name, its identity and its length) and of the bytes
// it is about to write is put (and synced) in the journal folder; once every
// byte of the append is synced, the record goes. A record that is still there
// means that an append never finished (the program was killed, the power
// failed): the file is cut back to the recorded length, so an entry is whole
// or absent. The cut happens only when the file is still the same file and
// holds nothing past that length but a beginning of the recorded bytes;
// anything else (the file replaced, the user's own text added) is left as it
// is and the user is told. Records live in a folder that only the user can
// write to; records, folders and files of other users are never obeyed.
// Every step on a file happens under an advisory lock on it, which other Quilo
// instances respect.
#pragma once

#include "platform/file_ops.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>

namespace quilo {

// "quilo/appends" in the user's state folder (on Linux $XDG_STATE_HOME, or
// ~/.local/state when that is unset or not absolute).
QString append_journal_folder();

// The identity of an open file, which names its record.
using FileId = platform::FileId;

// What an append is about to do.
struct AppendRecord {
  FileId id;
  QByteArray path;      // the file's name as the system takes it, every byte kept
  long long start = 0;  // the file's length before the append
  QByteArray entry;     // the bytes the append writes
  friend bool operator==(const AppendRecord&, const AppendRecord&) = default;
};

// The largest append that a record can describe.
constexpr qsizetype kMaxRecordedEntryBytes = 4 * 1024 * 1024;

// The record as it is stored, and read back: nullopt for anything that is not
// one whole, intact record.
QByteArray encode_append_record(const AppendRecord& record);
std::optional<AppendRecord> parse_append_record(const QByteArray& bytes);

// Records that an append starts; false when the record could not be made
// durable (or the journal folder is not the user's own).
bool record_append(const AppendRecord& record);
// The append finished: its bytes are synced, the record goes.
void finish_append(const FileId& id);
// The unfinished append recorded for the file, if any.
std::optional<AppendRecord> unfinished_append(const FileId& id);
// Takes back the unfinished append of the file at `path` (open as fd, locked
// by the caller), if it has one that is its own; a record that is not is
// dropped and the file left as it is. False when the file could not be cut
// back.
bool roll_back_unfinished_append(int fd, const QString& path, const FileId& id);

// Rolls back every unfinished append whose file is not being appended to now
// (its lock is free), and removes records that a killed program left half
// written; run at start-up.
void recover_unfinished_appends();

// What the user should be told about records that were not obeyed (which
// file was left as it is, and why) since the last call; each is told once.
QStringList take_append_notices();

}  // namespace quilo
