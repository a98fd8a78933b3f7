#!/usr/bin/env bash
# Builds the thread-sanitizer preset and runs the whole suite under it, headless.
# Outside CI's default run: a clean build and run take about half an hour on two cores.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
export QT_QPA_PLATFORM="${QT_QPA_PLATFORM:-offscreen}"
export TSAN_OPTIONS="${TSAN_OPTIONS:-halt_on_error=0 second_deadlock_stack=1}"
start=$(date +%s)
cmake --preset tsan >/dev/null
cmake --build --preset tsan
ctest --preset tsan
echo "thread-sanitizer run: $(( $(date +%s) - start )) s"
