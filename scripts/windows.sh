#!/usr/bin/env bash
# The Windows build: installs MinGW-w64 and Wine when missing, cross-builds the core, pelmora-cli.exe
# and the core tests, and runs the tests under Wine. The end-to-end COM port test talks to the Linux
# build's pelmora-sim (build/bin), so run scripts/test.sh first. With PELMORA_STRICT=1 warnings are errors.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh --windows
strict=OFF
[ "${PELMORA_STRICT:-}" = 1 ] && strict=ON
cmake --preset windows -DPELMORA_WERROR="$strict" >/dev/null
cmake --build --preset windows
ctest --preset windows
