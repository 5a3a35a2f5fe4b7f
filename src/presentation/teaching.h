// The Maharaja's teaching: one of 53 numbered maxims drawn at random, and the
// loader of the file that holds them.
#pragma once

#include "state/main_window.h"

namespace quilo {

void Command13_Click(MainWindow& m);
void teaching_command(MainWindow& m);
// report: a file that cannot be read gets its message.
void load_teaching_file(MainWindow& m, const QString& file, bool report = true);

}  // namespace quilo
