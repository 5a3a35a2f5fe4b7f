#!/usr/bin/env bash
# Installs the Debian packages Quilo needs to build, run and test.
# Idempotent: when everything is present it only checks and returns.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)

# What the package build needs: the Build-Depends of debian/control (the first
# of each set of alternatives, without versions or profiles; debhelper-compat
# comes with debhelper).
build_depends() {
  awk '/^Build-Depends:/ { on = 1; sub(/^Build-Depends:/, "") }
       on && /^[^ \t]/ && !/^Build-Depends:/ { on = 0 }
       on { print }' "$root/debian/control" |
    tr ',' '\n' | sed -e 's/|.*//' -e 's/[[(<].*//' -e 's/[[:space:]]//g' |
    sed -e 's/^debhelper-compat$/debhelper/' | grep -v '^$'
}

# Besides those: the compilers and the test, measurement and packaging tools.
packages=(
  build-essential
  $(build_depends)
  libqt6printsupport6
  libbenchmark-dev
  clang libclang-rt-14-dev
  xvfb xauth xdotool poppler-utils
  lintian man-db
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

echo "Installing: ${missing[*]}"
sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then sudo_cmd=(sudo); fi
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update -qq
"${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
