// The per-user working folder used when the program is started from the
// application menu: a folder in the user's data folder (on Linux the XDG data
// folder) that holds the user's own copies of the reference tables and the
// teaching file.
#pragma once

#include <QString>
#include <QStringList>

namespace quilo {

// The files the program reads from its working folder.
QStringList working_folder_files();

// "quilo" in the user's data folder (on Linux "$XDG_DATA_HOME/quilo", or
// ~/.local/share/quilo when that is unset or not absolute).
QString default_user_folder();

// The desktop program's history file: "history.sqlite" in that folder,
// whatever the working folder.
QString default_history_file();

// The largest file the user folder takes a copy of: far above any table.
constexpr qint64 kMaxCopiedFileBytes = 16 * 1024 * 1024;

// Copies source to target whole or not at all, without ever replacing a
// target: the copy is written under a temporary name beside it and renamed
// into place. A target that appeared meanwhile counts as copied.
bool place_copy(const QString& source, const QString& target);

struct UserFolderResult {
  bool ok = false;
  QStringList copied;     // files copied this time
  QStringList refreshed;  // unchanged copies replaced by a newer installed version
  QString error;          // Japanese message when !ok
};

// The file in the user folder that remembers what was copied: one line per
// file, the SHA-256 of the copied bytes in hex, a blank and the file's name.
inline constexpr char kCopiesRecordName[] = ".quilo-copies";

// Makes `folder` when missing and copies into it every working-folder file of
// `data_folder` that the user folder does not have yet. A copy that is still
// byte for byte what was copied is replaced when the installed file has
// changed (an upgrade); a copy the user edited is never touched. A missing
// `data_folder` is not an error: the program then reports the missing tables
// as usual.
UserFolderResult prepare_user_folder(const QString& folder, const QString& data_folder);

// What the user is told once about the copies an upgrade refreshed.
QString refreshed_notice(const QStringList& refreshed);

}  // namespace quilo
