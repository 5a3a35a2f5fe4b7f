// Intent records for appends: before an append writes its first byte, a
// record of the file and of its length is put (and synced) in the journal
// folder; once every byte of the append is synced, the record goes. A record
// that is still there means that an append never finished (the program was
// killed, the power failed): the file is cut back to the recorded length, so
// an entry is whole or absent. Every step on a file happens under an
// advisory lock on it, which other Quilo instances respect.
#pragma once

#include <QString>

#include <optional>

namespace quilo {

// "$XDG_STATE_HOME/quilo/appends" (~/.local/state/quilo/appends when unset or
// not absolute).
QString append_journal_folder();

// The identity of an open file, which names its record.
struct FileId {
  unsigned long long device = 0, inode = 0;
};

// Records that an append to the file (open as fd, at `path`) starts at
// `length`; false when the record could not be made durable.
bool record_append(const FileId& id, const QString& path, long long length);
// The append finished: its bytes are synced, the record goes.
void finish_append(const FileId& id);
// The length recorded for an unfinished append to the file, if any.
std::optional<long long> unfinished_append(const FileId& id);
// Cuts the file (open for writing as fd, locked by the caller) back to the
// length of its unfinished append, if it has one, and drops the record.
// False when the file could not be cut back.
bool roll_back_unfinished_append(int fd, const FileId& id);

// Rolls back every unfinished append whose file is not being appended to now
// (its lock is free); run at start-up.
void recover_unfinished_appends();

}  // namespace quilo
