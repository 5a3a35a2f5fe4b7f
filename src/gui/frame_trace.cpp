// Writing the timing of what the main window shows to standard error.
#include "gui/frame_trace.h"

#include "platform/clock.h"

#include <cstdio>
#include <cstdlib>

namespace quilo::frame_trace {
namespace {

long long now_ns() { return platform::monotonic_ns(); }

bool shown = false;
QString pending;
long long pending_since = 0;

}  // namespace

bool enabled() {
  static const bool on = [] {
    const char* v = std::getenv("QUILO_TRACE_FRAMES");
    return v && *v && *v != '0';
  }();
  return on;
}

void report_shown() {
  const long long t = now_ns();
  std::fprintf(stderr, "shown %lld %lld\n", t, platform::process_cpu_ns());
}

void background_changed(const QString& file) {
  if (!enabled()) return;
  pending = file;
  pending_since = now_ns();
}

void painted(const QString& file) {
  if (!enabled()) return;
  if (!shown) {
    shown = true;
    report_shown();
  }
  const long long t = now_ns();
  if (!pending.isEmpty() && file == pending) {
    std::fprintf(stderr, "frame %s %.3f\n", qPrintable(file), (t - pending_since) / 1e6);
    pending.clear();
  }
}

void decoded(const QString& file, long long bytes) {
  if (enabled()) std::fprintf(stderr, "decoded %s %lld\n", qPrintable(file), bytes);
}

void released(const QString& file, long long bytes) {
  if (enabled()) std::fprintf(stderr, "released %s %lld\n", qPrintable(file), bytes);
}

}  // namespace quilo::frame_trace
