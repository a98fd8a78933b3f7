#!/usr/bin/env bash
# The Windows build: installs MinGW-w64, Wine and NSIS when missing, builds Qt for MinGW once
# (scripts/qt-windows.sh; about 35-50 minutes the first time, then taken from its cache folder),
# cross-builds the whole program with its tests and the installer, and runs the tests under Wine.
# The end-to-end tests talk to the Linux build's pelmora-sim (build/bin) and the Windows build runs
# the Linux build's icon and manual tools (build/tools), so run the Linux build first
# (scripts/test.sh does). With PELMORA_STRICT=1 warnings are errors.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh --windows
export QT_QPA_PLATFORM="${QT_QPA_PLATFORM:-offscreen}" # the GUI tests under Wine
strict=OFF
[ "${PELMORA_STRICT:-}" = 1 ] && strict=ON
start=$SECONDS
PELMORA_QT_MINGW_DIR=$(scripts/qt-windows.sh)
export PELMORA_QT_MINGW_DIR
echo "Qt for MinGW: $PELMORA_QT_MINGW_DIR ($((SECONDS - start)) s)"
# The whole program: a build folder configured before the Qt was there must not stay without it.
cmake --preset windows -DPELMORA_WERROR="$strict" -DPELMORA_BUILD_GUI=ON >/dev/null
cmake --build --preset windows
cmake --build --preset windows --target installer
ctest --preset windows
