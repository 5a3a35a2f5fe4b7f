// The 成績 window's CSV export: the file's name (its box, filled at the
// window's opening, and 参照…), its encoding (the two options) and CSV出力,
// which refuses the program's own files and asks before it writes over a
// file. A name without a folder goes to the export folder (empty: the
// current folder).
#pragma once

#include "files/startup_files.h"
#include "history/csv_export.h"
#include "history/history_store.h"
#include "media/platform.h"
#include "model/form.h"

#include <QString>

namespace quilo {

// The file the box offers when the window opens.
QString default_csv_file(const QString& export_folder);
// 参照…: the file dialog, starting at what the box names.
void choose_csv_file(Form& form, Platform& platform, const QString& export_folder);
// The options: which encoding is checked.
void show_csv_encoding(Form& form, CsvEncoding encoding);
// CSV出力; false when the history could not be read (for the caller to
// tell), true otherwise, whatever else stopped it (told to the user).
bool export_history_csv(const Form& form, Platform& platform, const StartupFiles& own_files,
                        const HistoryStore& store, const QString& export_folder);

}  // namespace quilo
