#!/bin/sh
# Measures the program: start-up, memory, CPU over a staged run, the staging's
# picture changes, and the engine and history benchmarks. Usage: bench/measure.sh [BUILD_DIR]
set -e
here=$(cd "$(dirname "$0")" && pwd)
build=${1:-$here/../build}
cmake --build "$build" -j2 --target quilo quilo_audio quilo_assets quilo_minimal_window quilo_floor quilo_engines_bench quilo_history_bench >/dev/null
exec python3 "$here/measure.py" "$build"
