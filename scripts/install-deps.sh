#!/usr/bin/env bash
# Installs the Debian packages Quilo needs to build, run, test and package.
# Idempotent: when everything is present it only checks and returns.
#
#   scripts/install-deps.sh           installs what is missing (as root or through sudo)
#   scripts/install-deps.sh --check   installs nothing: names what is missing, exits 1 then
#
# apt waits for another process's dpkg lock (QUILO_APT_LOCK_WAIT seconds, 600)
# instead of failing at once.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
check_only=0
[ "${1:-}" = "--check" ] && check_only=1

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

# Besides those: the compilers and the compiler cache, the test, measurement and
# packaging tools (dpkg-buildpackage, lintian, man for the manual page checks),
# clang-format for the format check.
packages=(
  build-essential dpkg-dev ccache clang-format
  $(build_depends)
  libqt6printsupport6
  libbenchmark-dev
  clang libclang-rt-14-dev
  xvfb xauth xdotool poppler-utils python3
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
if [ "$check_only" -eq 1 ]; then
  echo "Missing Debian packages: ${missing[*]}" >&2
  echo "Install them with: bash scripts/install-deps.sh" >&2
  exit 1
fi

echo "Installing: ${missing[*]}"
sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then sudo_cmd=(sudo); fi
export DEBIAN_FRONTEND=noninteractive
wait_s=${QUILO_APT_LOCK_WAIT:-600}
apt_opts=(-o DPkg::Lock::Timeout="$wait_s")
# The lock of the package lists is not covered by DPkg::Lock::Timeout on every
# apt: the update is tried again while another apt holds it.
deadline=$(( $(date +%s) + wait_s ))
until "${sudo_cmd[@]}" apt-get "${apt_opts[@]}" update -qq; do
  if [ "$(date +%s)" -ge "$deadline" ]; then
    echo "install-deps: apt-get update kept failing for ${wait_s} s" >&2
    exit 1
  fi
  echo "install-deps: apt-get update failed (another apt running?), trying again in 10 s" >&2
  sleep 10
done
"${sudo_cmd[@]}" apt-get "${apt_opts[@]}" install -y -qq --no-install-recommends "${missing[@]}"
