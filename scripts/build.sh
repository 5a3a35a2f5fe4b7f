#!/usr/bin/env bash
# Configures and builds Quilo into ./build (or $QUILO_BUILD_DIR), through ccache
# when it is installed (QUILO_NO_CCACHE=1 leaves it out of a new build folder).
# QUILO_WERROR=ON (as CI sets it) makes compiler warnings errors.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${QUILO_BUILD_DIR:-$root/build}
jobs=${QUILO_JOBS:-$(nproc)}
. "$root/scripts/ccache.sh"
if [ ! -f "$build/CMakeCache.txt" ]; then
  cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=${QUILO_BUILD_TYPE:-RelWithDebInfo} \
    "${compiler_cache[@]}" "$@"
fi
if [ -n "${QUILO_WERROR:-}" ]; then
  cmake -S "$root" -B "$build" -DQUILO_WERROR="$QUILO_WERROR" >/dev/null
fi
cmake --build "$build" -j "$jobs"
