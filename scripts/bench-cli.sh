#!/usr/bin/env bash
# pelmora-cli timed as a shell runs it (hyperfine, medians): its start-up, which loads no Qt,
# against the drawing helper's, which does; and a 100000-row CSV export against cp of the same
# CSV file. Prints "ratio |" lines as the benchmark programs do; scripts/bench.sh adds them to
# its table.
#   scripts/bench-cli.sh [runs, default 30]
set -euo pipefail
cd "$(dirname "$0")/.."
runs=${1:-30}
bin=$PWD/build/bin
command -v hyperfine >/dev/null || { echo "bench-cli: hyperfine is not installed (apt-get install hyperfine)" >&2; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$bin/pelmora-bench-history" --write-history "$work/run.psh"
"$bin/pelmora-cli" history csv "$work/run.psh" "$work/reference.csv"

# Median seconds of each command, in the order given.
medians() {
  hyperfine -N --style none --warmup 3 --runs "$runs" --export-csv "$work/times.csv" "$@" >&2
  tail -n +2 "$work/times.csv" | cut -d, -f4
}
row() { # title, measured seconds, baseline seconds
  awk -v title="$1" -v m="$2" -v b="$3" \
    'BEGIN { printf "ratio | %s | %.3g | %.2f ms | %.2f ms\n", title, m / b, m * 1000, b * 1000 }'
}

mapfile -t start < <(medians "$bin/pelmora-cli --help" "$bin/pelmora-cli-draw --help")
row "pelmora-cli --help (no Qt) vs the drawing helper's --help (Qt loaded)" "${start[0]}" "${start[1]}"
mapfile -t csv < <(medians "$bin/pelmora-cli history csv $work/run.psh $work/out.csv" \
  "cp $work/reference.csv $work/copy.csv")
row "pelmora-cli history csv, 100000 rows, vs cp of the same CSV" "${csv[0]}" "${csv[1]}"
