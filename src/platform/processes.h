// The program's own process and whether another one still runs: the append
// journal names its temporary records after the process writing them.
#pragma once

namespace quilo::platform {

// This process's number.
long process_id();
// Whether no process has the number `pid` (any more). A process of another
// user still counts as running.
bool process_is_gone(long pid);

}  // namespace quilo::platform
