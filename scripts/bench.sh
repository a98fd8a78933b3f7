#!/usr/bin/env bash
# The performance table: every benchmark path against its baseline (medians of 5 repetitions),
# then the CPU of the running window (scripts/cpu-usage.sh, median run). Heavy: run it on a quiet
# machine.
# The programs' own output goes to build/bench.log; a program that fails or prints no figure
# still gets its line in the table, marked as missing.
#   scripts/bench.sh [repetitions, default 5] [seconds per CPU run, default 20]
set -uo pipefail
cd "$(dirname "$0")/.." || exit 1

repetitions=${1:-5}
cpu_seconds=${2:-20}
bin=build/bin
log=build/bench.log
benches="pelmora-bench-exchange pelmora-bench-history pelmora-bench-graph pelmora-bench-ccdf pelmora-bench-window"
nice -n 10 cmake --build build --target $benches pelmora-sim pelmora-cli >/dev/null || exit 1
export QT_QPA_PLATFORM=offscreen

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
rows=$work/rows out=$work/out
: >"$log"
for bench in $benches; do
  echo "== $bench" | tee -a "$log" >&2
  "$bin/$bench" --benchmark_repetitions="$repetitions" >"$out" 2>>"$log"
  status=$?
  cat "$out" >>"$log"
  grep '^ratio |' "$out" >>"$rows" ||
    echo "ratio | $bench: no figures (exit status $status, see $log) | missing | | " >>"$rows"
done
echo "== bench-cli" | tee -a "$log" >&2
scripts/bench-cli.sh 2>>"$log" | tee -a "$log" >>"$rows" ||
  echo "ratio | pelmora-cli: no figures (see $log) | missing | | " >>"$rows"
# The window's CPU with one, two and four sensors, run as often as the benchmarks repeat; the run
# with the median figure counts.
: >"$out"
for run in $(seq "$repetitions"); do
  for sensors in 1 2 4; do
    echo "== cpu-usage $run, $sensors sensors" | tee -a "$log" >&2
    scripts/cpu-usage.sh "$cpu_seconds" "$sensors" 2>>"$log" | tee -a "$log" >>"$out"
  done
done
cpu_rows=$(grep '^cpu |' "$out" | grep -v '| missing |' | cut -d'|' -f2 | sort -u)
if [ -z "$cpu_rows" ]; then
  echo "cpu | window CPU: no figures (see $log) | missing | " >>"$rows"
fi
while read -r label; do
  [ -n "$label" ] || continue
  figures=$(grep -F "| $label |" "$out" | grep -v '| missing |' | sort -t'|' -k3 -g)
  count=$(echo "$figures" | wc -l)
  echo "$figures" | sed -n "$(((count + 1) / 2))p" >>"$rows"
done <<<"$cpu_rows"

trim() { echo $1; }
printf '\n| %-78s | %8s | %18s | %12s |\n' "Path" "Ratio" "Measured" "Baseline"
printf '|%s|%s|%s|%s|\n' "$(printf -- '-%.0s' {1..80})" "----------" "--------------------" "--------------"
while IFS='|' read -r kind title figure measured baseline; do
  if [ "$(trim "$kind")" = cpu ]; then
    printf '| %-78s | %8s | %18s | %12s |\n' "CPU: $(trim "$title")" "$(trim "$figure")" "$(trim "$measured")" ""
  else
    ratio=$(trim "$figure")
    [ "$ratio" != missing ] && ratio="${ratio}x"
    printf '| %-78s | %8s | %18s | %12s |\n' "$(trim "$title")" "$ratio" "$(trim "$measured")" "$(trim "$baseline")"
  fi
done <"$rows"
