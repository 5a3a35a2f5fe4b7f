// Fills a new history file with the made-up history of history_sample.h,
// either as the program does it (through the store: a transaction a run,
// results saved as the user saves them) or written straight into the tables
// in the store's own encoding, settled by the program's settle(), in one
// transaction: a million runs in a few minutes instead of hours. The second
// way can also write a file of the schema before payout tables (version 2),
// whose first opening then migrates it. `quilo_history_scale check` shows
// that the two ways give the same history.
#pragma once

#include <QString>

namespace quilo::bench {

enum class FillWay { Store, Tables, TablesVersion2 };

// Runs 0 to runs-1 into `file`, which must not exist yet. A race's result
// is entered after its last run, a bought run marked as bought. Empty when
// done, else what went wrong.
QString fill_history(const QString& file, qint64 runs, FillWay way);

}  // namespace quilo::bench
