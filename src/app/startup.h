// Start-up of the main window: its controls' first state, the music, and the
// reference tables read from the working folder.
#pragma once

#include "state/main_window.h"

namespace quilo {

void Form_Load(MainWindow& m);
// Reads a table file into crt_table's or waku_table's column; a file that
// cannot be read to its end is reported ("…に異常発生！").
void load_crt_file(MainWindow& m, const QString& file, int column);
void load_waku_file(MainWindow& m, const QString& file, int column);

}  // namespace quilo
