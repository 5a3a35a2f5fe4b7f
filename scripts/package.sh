#!/usr/bin/env bash
# Builds Quilo and its Debian package (quilo_<version>_<arch>.deb) into ./build
# (or $QUILO_BUILD_DIR), then lists the package's contents.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${QUILO_BUILD_DIR:-$root/build}
"$root/scripts/install-deps.sh"
"$root/scripts/build.sh" >/dev/null
cd "$build"
cpack -G DEB --config "$build/CPackConfig.cmake" -B "$build"
deb=$(ls -t "$build"/quilo_*.deb | head -n 1)
dpkg-deb --info "$deb"
dpkg-deb --contents "$deb"
echo "Package: $deb"
