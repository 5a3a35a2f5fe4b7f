// Timing of what the main window shows, for measurements: with the
// environment variable QUILO_TRACE_FRAMES=1 the program writes to standard
// error "shown NS CPU_NS" (the system's monotonic clock, CLOCK_MONOTONIC on
// Linux, and the processor time the process has taken until then) when the main window, its controls too, is
// first on the screen, and "frame FILE MS" for each background change: the time from the change in the model
// to the screen update that shows it, and "decoded FILE BYTES" for each picture decoded into memory,
// "released FILE BYTES" for each let go again. Off, it costs one flag test.
#pragma once

#include <QString>

namespace quilo::frame_trace {

bool enabled();
// Writes the "shown" line now, whether tracing is on or not (the floors).
void report_shown();
// The main window's background became FILE (before its picture is decoded).
void background_changed(const QString& file);
// The main window, painted with FILE as its background, went to the screen.
void painted(const QString& file);
// A picture was decoded and is kept, taking BYTES.
void decoded(const QString& file, long long bytes);
// A picture taking BYTES was let go.
void released(const QString& file, long long bytes);

}  // namespace quilo::frame_trace
