#!/usr/bin/env bash
# Builds Quilo with AddressSanitizer and UndefinedBehaviorSanitizer into
# ./build-asan (or $QUILO_ASAN_DIR) and runs the whole test suite there. Any
# sanitizer finding (memory error, undefined behaviour, leak) fails the run.
# Extra arguments go to ctest (e.g. -L core).
#
# The pictures, sounds and music are those of the plain build (./build or
# $QUILO_BUILD_DIR, brought up to date first) when it exists; otherwise the
# media generator is built there without the sanitizers. The benchmarks, the
# table generator and the generators' tests (label tools) are not built: the
# plain build checks them (QUILO_TOOLS).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${QUILO_ASAN_DIR:-$root/build-asan}
jobs=${QUILO_JOBS:-2}

supp=$root/fuzz/lsan.supp
# intercept_strndup=0: the X keyboard library (libxkbcommon-x11, a system
# library the real-window test loads) hands strndup a buffer that is not
# terminated; the interceptor would report that read in the system library.
export ASAN_OPTIONS=${ASAN_OPTIONS:-halt_on_error=1:abort_on_error=0:detect_leaks=1:detect_stack_use_after_return=1:strict_string_checks=1:check_initialization_order=1:intercept_strndup=0:exitcode=86}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-halt_on_error=1:print_stacktrace=1:exitcode=87}
export LSAN_OPTIONS=${LSAN_OPTIONS:-suppressions=$supp:print_suppressions=0}

. "$root/scripts/ccache.sh"
plain=${QUILO_BUILD_DIR:-$root/build}
media_from=
if [ -f "$plain/CMakeCache.txt" ]; then
  cmake --build "$plain" -j "$jobs" --target quilo_assets
  media_from=$plain
fi
if [ ! -f "$build/CMakeCache.txt" ]; then
  cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUILO_SANITIZE=ON \
    "${compiler_cache[@]}"
fi
options=(-DQUILO_MEDIA_FROM="$media_from")
[ -z "${QUILO_WERROR:-}" ] || options+=(-DQUILO_WERROR="$QUILO_WERROR")
cmake -S "$root" -B "$build" "${options[@]}" >/dev/null
start=$(date +%s)
cmake --build "$build" -j "$jobs"
echo "sanitize: built in $(( $(date +%s) - start )) s"

cd "$build"
log=$build/sanitize-ctest.log
status=0
# A test without a timeout of its own gets 15 minutes: a hang fails, not stalls.
ctest --output-on-failure -j "$jobs" --timeout 900 "$@" 2>&1 | tee "$log" || status=$?

# A finding in a child process whose exit code a test ignores still counts.
findings=$(grep -cE 'ERROR: (AddressSanitizer|LeakSanitizer)|runtime error:' "$log" || true)
if [ "$findings" -gt 0 ]; then
  echo "sanitize: $findings sanitizer finding(s), see $log" >&2
  [ "$status" -ne 0 ] || status=1
fi
if [ "$status" -eq 0 ]; then
  echo "sanitize: whole suite clean under AddressSanitizer + UndefinedBehaviorSanitizer"
else
  echo "sanitize: FAILED (status $status)" >&2
fi
exit "$status"
