// The per-user working folder used when the program is started from the
// application menu: a folder under the XDG data folder that holds the user's
// own copies of the reference tables and the teaching file.
#pragma once

#include <QString>
#include <QStringList>

namespace quilo {

// The files the program reads from its working folder.
QStringList working_folder_files();

// The folder holding the installed copies of those files, found from the
// program's own folder: "<program>/data" (build tree) or
// "<program>/../../share/quilo/data" (installed). Empty when neither has them.
QString installed_data_folder(const QString& program_folder);

// "$XDG_DATA_HOME/quilo" (~/.local/share/quilo when unset).
QString default_user_folder();

struct UserFolderResult {
  bool ok = false;
  QStringList copied;  // files copied this time
  QString error;       // Japanese message when !ok
};

// Makes `folder` when missing and copies into it every working-folder file of
// `data_folder` that the user folder does not have yet. Existing files are
// never touched, so the user's own edits survive. A missing `data_folder` is
// not an error: the program then reports the missing tables as usual.
UserFolderResult prepare_user_folder(const QString& folder, const QString& data_folder);

}  // namespace quilo
