#!/usr/bin/env bash
# Installs what is missing, builds, and starts Quilo in the current folder
# (the folder that holds the reference tables). Extra arguments go to the program.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/install-deps.sh"
"$root/scripts/build.sh"
# The program reads its tables from the current folder: without them here,
# start in the repository's data folder.
[ -f crt_1.txt ] || cd "$root/data"
exec "${QUILO_BUILD_DIR:-$root/build}/quilo" "$@"
