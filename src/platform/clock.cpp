// The monotonic clock through Qt, which reads the system's own (on Linux
// CLOCK_MONOTONIC, as other programs do).
#include "platform/clock.h"

#include <QDeadlineTimer>

namespace quilo::platform {

long long monotonic_ns() { return QDeadlineTimer::current(Qt::PreciseTimer).deadlineNSecs(); }

}  // namespace quilo::platform
