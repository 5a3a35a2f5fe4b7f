// Processes on POSIX systems: getpid(2), and kill(2) with no signal to ask
// after one.
#include "platform/processes.h"

#include <signal.h>
#include <unistd.h>
#include <cerrno>

namespace quilo::platform {

long process_id() { return long(::getpid()); }

bool process_is_gone(long pid) { return ::kill(pid_t(pid), 0) != 0 && errno == ESRCH; }

}  // namespace quilo::platform
