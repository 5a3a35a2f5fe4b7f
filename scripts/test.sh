#!/usr/bin/env bash
# Installs what is missing, builds, and runs the test suite through CTest.
#
#   scripts/test.sh                the whole suite but the Debian package build
#   scripts/test.sh -L package     the package build with lintian, unpacked and run
#   scripts/test.sh ARGS...        ctest with ARGS (any test selection replaces the default)
#
# The package build (label package) builds the program a second time the way
# Debian does, about five minutes: CI runs it as a step of its own.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${QUILO_BUILD_DIR:-$root/build}
jobs=${QUILO_JOBS:-$(nproc)}
"$root/scripts/install-deps.sh"
"$root/scripts/build.sh"
select=(-LE '^package$')
for a in "$@"; do
  case "$a" in
    -L*|-R*|-E*|-I*|--label-*|--tests-regex*|--exclude-regex*|--tests-information*) select=() ;;
  esac
done
cd "$build"
# A test without a timeout of its own gets 15 minutes: a hang fails, not stalls.
ctest --output-on-failure -j "$jobs" --timeout 900 "${select[@]}" "$@"
