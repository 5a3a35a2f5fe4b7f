// Clocks for measurements: the system's monotonic clock, which other programs
// on the machine read too (a measuring script compares its own readings with
// the program's), and the processor time the process has taken.
#pragma once

namespace quilo::platform {

// Nanoseconds on the system's monotonic clock (CLOCK_MONOTONIC on Linux).
long long monotonic_ns();
// Nanoseconds of processor time this process has taken so far.
long long process_cpu_ns();

}  // namespace quilo::platform
