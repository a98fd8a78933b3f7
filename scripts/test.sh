#!/usr/bin/env bash
# Installs what is missing, builds Pelmora with its tests and runs every test: the Linux build,
# then the Windows cross build under Wine (PELMORA_LINUX_ONLY=1 leaves that out).
# Under CI (CI=true) the formatting is checked and compiler warnings are errors.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
export QT_QPA_PLATFORM="${QT_QPA_PLATFORM:-offscreen}"
strict=OFF
if [ "${CI:-}" = true ]; then
  scripts/check-format.sh
  strict=ON
fi
cmake --preset release -DPELMORA_WERROR="$strict" >/dev/null
cmake --build --preset release
ctest --preset release
[ "${PELMORA_LINUX_ONLY:-}" = 1 ] || scripts/windows.sh
