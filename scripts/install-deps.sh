#!/usr/bin/env bash
# Installs the Debian packages the project needs, only those that are missing.
set -euo pipefail

PACKAGES=(
  cmake g++ ninja-build pkg-config git ccache
  qt6-base-dev qt6-base-dev-tools libqt6opengl6-dev libgl-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  clang libclang-rt-14-dev
  libx11-dev libsdl2-dev
  libpocketsphinx-dev libsphinxbase-dev pocketsphinx-en-us libespeak-ng-dev espeak-ng-data
  xvfb xauth x11-utils imagemagick fonts-dejavu-core
  dbus at-spi2-core python3-pyatspi
  g++-mingw-w64-x86-64
)

missing=()
for p in "${PACKAGES[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
echo "Installing: ${missing[*]}"
$SUDO apt-get update -qq
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
