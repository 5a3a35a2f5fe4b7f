#!/usr/bin/env bash
# Builds Quilo's Debian package the way Debian builds its own: dpkg-buildpackage
# -us -uc -b on a clean copy of the source (debian/ holds the packaging), then
# checks the .deb and the .changes with lintian. The last line names the .deb.
#
#   scripts/package.sh [OUTDIR]      OUTDIR defaults to build/deb ($QUILO_BUILD_DIR/deb)
#
# The package build leaves out the tests (DEB_BUILD_OPTIONS=nocheck): the
# project's own build runs them. Set DEB_BUILD_OPTIONS to run them there too;
# QUILO_JOBS (2) sets the parallel jobs.
#
# It installs nothing: the tools it needs come with scripts/install-deps.sh
# (which scripts/run.sh and scripts/test.sh run); it stops and names them when
# one is missing, so that a test that builds the package never waits on apt.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
out=${1:-${QUILO_BUILD_DIR:-$root/build}/deb}
"$root/scripts/install-deps.sh" --check

version=$(dpkg-parsechangelog -l "$root/debian/changelog" -S Version)
arch=$(dpkg-architecture -q DEB_HOST_ARCH)
mkdir -p "$out"
out=$(cd "$out" && pwd)
src=$out/quilo-$version
rm -rf "$src" "$out"/quilo_"$version"_* "$out"/quilo-dbgsym_"$version"_*
mkdir -p "$src"

# The clean copy: the files git knows of (committed, changed or new, none it
# ignores, so no build folders); without git, everything but build folders.
if git -C "$root" rev-parse --is-inside-work-tree >/dev/null 2>&1; then
  (cd "$root" && git ls-files -z --cached --others --exclude-standard |
     tar --null -T - --ignore-failed-read -cf - 2>/dev/null) | tar -xf - -C "$src"
else
  tar -C "$root" --exclude='./build*' --exclude=./.git -cf - . | tar -xf - -C "$src"
fi

log=$out/build.log
start=$(date +%s)
echo "package: building quilo $version in $src (log: $log)"
if ! (cd "$src" &&
      DEB_BUILD_OPTIONS=${DEB_BUILD_OPTIONS:-nocheck parallel=${QUILO_JOBS:-2}} \
      dpkg-buildpackage -us -uc -b) >"$log" 2>&1; then
  tail -n 60 "$log" >&2
  echo "package: dpkg-buildpackage failed, see $log" >&2
  exit 1
fi
echo "package: built in $(( $(date +%s) - start )) s"

deb=$out/quilo_${version}_${arch}.deb
changes=$out/quilo_${version}_${arch}.changes
dpkg-deb --info "$deb"
dpkg-deb --contents "$deb"

# Every tag, informational and pedantic ones too, fails the build: the ones
# that stay are overridden with their reason in debian/quilo.lintian-overrides.
start=$(date +%s)
lintian --pedantic --display-info --fail-on error,warning,info,pedantic "$changes"
echo "package: lintian --pedantic --display-info: no tags ($(( $(date +%s) - start )) s)"
echo "Package: $deb"
