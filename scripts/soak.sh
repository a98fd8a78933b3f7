#!/usr/bin/env bash
# Builds the thread-sanitizer preset and runs pelmora-soak for MINUTES (default 10): the real
# screens (offscreen) against a virtual sensor whose faults rotate, with screen switches,
# Start/Stop/Reset, Disconnect/Connect and a history saved every minute. Ends with the soak's
# table plus the thread-sanitizer reports and crashes, both of which must be 0; exits non-zero
# otherwise. Work folder: $PELMORA_SOAK_WORK, default /tmp/pelmora-soak.
set -euo pipefail
cd "$(dirname "$0")/.."

minutes="${1:-10}"
work="${PELMORA_SOAK_WORK:-/tmp/pelmora-soak}"
rm -rf "$work"
mkdir -p "$work/histories"
cmake --preset tsan >/dev/null
nice -n 10 cmake --build --preset tsan --target pelmora-soak

export QT_QPA_PLATFORM=offscreen
export TSAN_OPTIONS="halt_on_error=0 second_deadlock_stack=1 log_path=$work/tsan"
start=$(date +%s)
set +e
build-tsan/bin/pelmora-soak "$minutes" "$work/histories" 2>&1 | tee "$work/soak.log"
status=${PIPESTATUS[0]}
set -e
reports=$(cat "$work"/tsan.* 2>/dev/null | grep -c "WARNING: ThreadSanitizer" || true)
# 0: clean; 1: a history did not read back; 66: the sanitizer's exit code after reports.
crashes=0
if [[ $status -ne 0 && $status -ne 1 && $status -ne 66 ]] || ! grep -q "soak table" "$work/soak.log"; then
  crashes=1
fi
printf '  thread-sanitizer reports           %s\n  crashes                           %s\n' "$reports" "$crashes"
echo "  wall time                         $(( $(date +%s) - start )) s (reports, if any: $work/tsan.*)"
[[ $status -eq 0 && $reports -eq 0 && $crashes -eq 0 ]]
