// What the output window's drive, folder and file lists show.
#pragma once

#include <QString>
#include <QStringList>

namespace quilo {

// The mounted file systems a user can write to, by mount point: the root
// ("/"; the system's drive on Windows) first, then the others by name. Pseudo
// file systems are left out.
QStringList drive_list();
// Mount points in that order: the root first (always present), the rest
// sorted, each once.
QStringList order_drives(const QStringList& mount_points);
// The index of the drive that holds the folder (the longest mount point that
// contains it), -1 when none does.
int drive_of(const QStringList& drives, const QString& folder);

// The entries of the folder list for a folder: ".." (except at a root),
// then the names of its sub-folders, sorted. Hidden ones are left out.
QStringList folder_entries(const QString& folder);
// The names of the files in a folder, sorted. Hidden ones are left out.
QStringList file_names(const QString& folder);

// A path as an absolute, clean folder path (relative paths from the current
// folder).
QString absolute_folder(const QString& path);
// The folder list entry's target: the parent for "..", else the sub-folder.
QString enter_folder(const QString& folder, const QString& entry);

}  // namespace quilo
