#!/bin/sh
# Stress check of the output file: several instances of the scenario mode
# append to one file at once while runs are killed at random moments; then
# every entry must be whole and none that an instance confirmed may be lost.
# Usage: bench/stress.sh [BUILD_DIR] [stress.py options, e.g. --seconds 60 --instances 4]
set -e
here=$(cd "$(dirname "$0")" && pwd)
build=$here/../build
case "$1" in -*|"") ;; *) build=$1; shift ;; esac
cmake --build "$build" -j2 --target quilo >/dev/null
exec python3 "$here/stress.py" "$build/quilo" "$here/../data" "$@"
