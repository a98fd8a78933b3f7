#!/usr/bin/env bash
# clang-tidy with the repository's .clang-tidy over every source file of src/ that the build
# compiles, as CI runs it; any finding fails. Needs a finished build (its compile_commands.json
# and Qt's generated headers).
#   scripts/tidy.sh [build folder, default build]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}

started=$(date +%s)
log=$(mktemp)
trap 'rm -f "$log"' EXIT
if ! run-clang-tidy -p "$build" -quiet -j "$(nproc)" -extra-arg=-Wno-unknown-warning-option "^$PWD/src/" >"$log" 2>&1; then
  grep -E "(warning|error):" -A3 "$log" || cat "$log"
  echo "clang-tidy: findings above"
  exit 1
fi
echo "clang-tidy: $(grep -c -- ' -quiet ' "$log") files clean in $(($(date +%s) - started)) s"
