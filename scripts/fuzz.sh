#!/usr/bin/env bash
# Builds the fuzz preset and runs every libFuzzer target (or the TARGETs named) for SECONDS each
# (default 120), one at a time and at low priority, starting from the checked-in seeds. With
# PELMORA_FUZZ_RUNS=N a target also stops after N runs, so that SECONDS becomes a cap and a slow
# target gets the time it needs. New inputs and findings go to a scratch folder
# ($PELMORA_FUZZ_WORK, default /tmp/pelmora-fuzz). Ends with a table: target, runs, runs per
# second, findings; exits non-zero when a target found something.
#   scripts/fuzz.sh [SECONDS] [TARGET...]
set -euo pipefail
cd "$(dirname "$0")/.."

seconds="${1:-120}"
shift $(( $# > 0 ? 1 : 0 ))
targets=("$@")
work="${PELMORA_FUZZ_WORK:-/tmp/pelmora-fuzz}"
cmake --preset fuzz >/dev/null
nice -n 15 cmake --build --preset fuzz

# The longest input worth trying: what the format needs, no more, since every byte of a longer
# input costs time in every run.
max_length() {
  case "$1" in
    fuzz_short_reply) echo 64 ;;                                    # the longest multi-value reply
    fuzz_histogram|fuzz_ccdf_histogram_reply) echo 7682 ;;         # one large reply or several small
    fuzz_logged_data) echo 1033 ;;                                  # two blocks
    fuzz_language_file) echo 1100 ;;                                # one text past the 1023-character cut
    fuzz_history_file|fuzz_ccdf_statistics|fuzz_record_journal) echo 1024 ;;
    fuzz_private_profile) echo 512 ;;
    fuzz_cli_options) echo 256 ;;
    fuzz_scpi) echo 1024 ;;
    *) echo 4096 ;;
  esac
}

# The dictionary that helps each target, if any.
dictionary() {
  case "$1" in
    fuzz_short_reply|fuzz_histogram|fuzz_ccdf_histogram_reply) echo tests/fuzz/dict/replies.dict ;;
    fuzz_private_profile|fuzz_language_file) echo tests/fuzz/dict/ini.dict ;;
    fuzz_cli_options) echo tests/fuzz/dict/cli.dict ;;
    fuzz_scpi) echo tests/fuzz/dict/scpi.dict ;;
  esac
}

# Runs per second of CPU time too: on a shared machine the wall-clock rate says more about the
# other jobs than about the target. The last column is the CPU time the target needs for ten
# million runs at its rate, which the two-minute budget should cover.
TIMEFORMAT='%R %U %S'
table=$(printf '%-28s %12s %10s %12s %9s %12s\n' target runs "runs/s" "runs/cpu-s" findings "cpu-s to 1e7")
failed=0
[[ ${#targets[@]} -gt 0 ]] || targets=($(cd build-fuzz/bin && ls -d fuzz_*))
for target in "${targets[@]}"; do
  binary="build-fuzz/bin/$target"
  [[ -x "$binary" ]] || { echo "no fuzz target $target" >&2; exit 2; }
  rm -rf "$work/$target/findings"
  mkdir -p "$work/$target/corpus" "$work/$target/findings"
  seeds="tests/fuzz/corpus/$target"
  [[ -d "$seeds" ]] || seeds=""
  options=(-max_total_time="$seconds" -max_len="$(max_length "$target")" -print_final_stats=1 -timeout=10
           -artifact_prefix="$work/$target/findings/")
  [[ -n "${PELMORA_FUZZ_RUNS:-}" ]] && options+=(-runs="$PELMORA_FUZZ_RUNS")
  dict=$(dictionary "$target")
  [[ -n "$dict" ]] && options+=(-dict="$dict")
  log="$work/$target/log.txt"
  echo "fuzzing $target for $seconds s${PELMORA_FUZZ_RUNS:+ or $PELMORA_FUZZ_RUNS runs}"
  status=0
  { time (nice -n 15 "$binary" "${options[@]}" "$work/$target/corpus" ${seeds:+"$seeds"} >"$log" 2>&1); } \
    2>"$work/$target/cpu.txt" || status=$?
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
  wall=$(awk '{ printf "%d", $1 + 0.5 }' "$work/$target/cpu.txt")
  cpu=$(awk '{ printf "%d", $2 + $3 + 0.5 }' "$work/$target/cpu.txt")
  findings=$(find "$work/$target/findings" -type f | wc -l)
  if [[ $status -ne 0 && $findings -eq 0 ]]; then findings=1; fi
  [[ $findings -ne 0 ]] && failed=1
  rate=$(( ${runs:-0} / (cpu > 0 ? cpu : 1) ))
  table+=$'\n'$(printf '%-28s %12s %10s %12s %9s %12s' "$target" "${runs:-?}" "$(( ${runs:-0} / (wall > 0 ? wall : 1) ))" \
    "$rate" "$findings" "$(( 10000000 / (rate > 0 ? rate : 1) ))")
done
echo
echo "$table"
[[ $failed -eq 0 ]] || echo "findings and logs: $work/<target>/"
exit $failed
