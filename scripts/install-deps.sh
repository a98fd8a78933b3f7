#!/usr/bin/env bash
# Installs the Debian 12 packages Pelmora needs to build, test and run; skips what is present.
# With --windows also the MinGW-w64 cross compiler, Wine, NSIS, the tools to unpack Debian's Qt
# sources and to drive and photograph the program under Xvfb (about 2 minutes and 1.2 GB more on
# a fresh machine, so only when asked for); with --coverage gcovr.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config ccache clang-format
  qt6-base-dev qt6-svg-dev libqt6svg6 qt6-image-formats-plugins
  libgtest-dev libgmock-dev libbenchmark-dev
  libcanberra-dev sound-theme-freedesktop
  fonts-liberation xvfb xauth
  clang-tidy help2man lintian desktop-file-utils appstream
  python3-pyvisa python3-pyvisa-py # the remote control's end-to-end test
)
case "${1:-}" in
--windows)
  packages+=(g++-mingw-w64-x86-64-posix mingw-w64-x86-64-dev googletest wine wine64 nsis dpkg-dev xdotool fonts-dejavu-core
    x11-apps netpbm)
  ;;
--coverage) packages+=(gcovr) ;;
esac

missing=()
for package in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" || missing+=("$package")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
