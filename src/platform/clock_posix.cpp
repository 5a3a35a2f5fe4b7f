// The process's processor time on POSIX systems: clock_gettime(2) with
// CLOCK_PROCESS_CPUTIME_ID, to the nanosecond.
#include "platform/clock.h"

#include <ctime>

namespace quilo::platform {

long long process_cpu_ns() {
  timespec t{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
  return (long long)t.tv_sec * 1000000000LL + t.tv_nsec;
}

}  // namespace quilo::platform
