#!/usr/bin/env bash
# Installs the Debian packages Quilo needs to build, run and test.
# Idempotent: when everything is present it only checks and returns.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev qt6-base-dev-tools libqt6printsupport6 qt6-qpa-plugins
  libqt6sql6-sqlite qt6-charts-dev libqt6opengl6-dev
  libsdl2-mixer-dev libfluidsynth-dev timgm6mb-soundfont libfontconfig-dev
  fonts-ipafont-gothic fonts-ipafont-mincho fonts-liberation
  libgtest-dev libbenchmark-dev
  clang libclang-rt-14-dev
  xvfb xauth xdotool poppler-utils
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
