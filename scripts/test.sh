#!/usr/bin/env bash
# Installs what is missing, builds Pelmora with its tests and runs every test.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
export QT_QPA_PLATFORM="${QT_QPA_PLATFORM:-offscreen}"
cmake --preset release >/dev/null
cmake --build --preset release
ctest --preset release
