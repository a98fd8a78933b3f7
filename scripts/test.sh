#!/usr/bin/env bash
# Installs what is missing, builds Pelmora with its tests and runs every test: the Linux build,
# then the Windows cross build with its windows and installer under Wine (scripts/windows.sh; it
# builds Qt for MinGW the first time, 35-50 minutes, and reuses it afterwards).
# PELMORA_LINUX_ONLY=1 leaves Windows out.
# With PELMORA_STRICT=1 (.ci/run sets it) the formatting and clang-tidy are checked and compiler
# warnings are errors.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
export QT_QPA_PLATFORM="${QT_QPA_PLATFORM:-offscreen}"
strict=OFF
if [ "${PELMORA_STRICT:-}" = 1 ]; then
  scripts/check-format.sh
  strict=ON
fi
cmake --preset release -DPELMORA_WERROR="$strict" >/dev/null
cmake --build --preset release
[ "$strict" = ON ] && scripts/tidy.sh
ctest --preset release
[ "${PELMORA_LINUX_ONLY:-}" = 1 ] || scripts/windows.sh
