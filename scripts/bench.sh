#!/usr/bin/env bash
# The performance table: every benchmark path against its baseline (medians of 5 repetitions),
# then the CPU of the running window (scripts/cpu-usage.sh). Heavy: run it on a quiet machine.
#   scripts/bench.sh [repetitions, default 5] [seconds per CPU run, default 20]
set -euo pipefail
cd "$(dirname "$0")/.."

repetitions=${1:-5}
cpu_seconds=${2:-20}
bin=build/bin
benches="pelmora-bench-exchange pelmora-bench-history pelmora-bench-graph pelmora-bench-window"
nice -n 10 cmake --build build --target $benches pelmora-sim >/dev/null
export QT_QPA_PLATFORM=offscreen

rows=$(mktemp)
trap 'rm -f "$rows"' EXIT
for bench in $benches; do
  echo "== $bench" >&2
  "$bin/$bench" --benchmark_repetitions="$repetitions" | tee /dev/stderr | grep '^ratio |' >>"$rows"
done

printf '\n| %-78s | %7s | %12s | %12s |\n' "Path" "Ratio" "Measured" "Baseline"
printf '|%s|%s|%s|%s|\n' "$(printf -- '-%.0s' {1..80})" "---------" "--------------" "--------------"
while IFS='|' read -r _ title ratio measured baseline; do
  printf '| %-78s | %6sx | %12s | %12s |\n' "$(echo $title)" "$(echo $ratio)" "$(echo $measured)" "$(echo $baseline)"
done <"$rows"
scripts/cpu-usage.sh "$cpu_seconds" | while IFS='|' read -r _ title percent rate; do
  printf '| %-78s | %7s | %12s | %12s |\n' "CPU: $(echo $title)" "$(echo $percent)" "$(echo $rate)" ""
done
