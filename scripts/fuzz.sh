#!/usr/bin/env bash
# Builds the fuzz preset and runs every libFuzzer target for SECONDS each (default 120), one at a
# time and at low priority, starting from the checked-in seeds. New inputs and findings go to a
# scratch folder ($PELMORA_FUZZ_WORK, default /tmp/pelmora-fuzz). Ends with a table: target,
# runs, runs per second, findings; exits non-zero when a target found something.
set -euo pipefail
cd "$(dirname "$0")/.."

seconds="${1:-120}"
work="${PELMORA_FUZZ_WORK:-/tmp/pelmora-fuzz}"
cmake --preset fuzz >/dev/null
nice -n 15 cmake --build --preset fuzz

# The dictionary that helps each target, if any.
dictionary() {
  case "$1" in
    fuzz_short_reply|fuzz_histogram|fuzz_ccdf_histogram_reply) echo tests/fuzz/dict/replies.dict ;;
    fuzz_private_profile|fuzz_language_file) echo tests/fuzz/dict/ini.dict ;;
    fuzz_cli_options) echo tests/fuzz/dict/cli.dict ;;
  esac
}

table=$(printf '%-28s %12s %10s %9s\n' target runs "runs/s" findings)
failed=0
for binary in build-fuzz/bin/fuzz_*; do
  target=$(basename "$binary")
  rm -rf "$work/$target/findings"
  mkdir -p "$work/$target/corpus" "$work/$target/findings"
  seeds="tests/fuzz/corpus/$target"
  options=(-max_total_time="$seconds" -print_final_stats=1 -timeout=10
           -artifact_prefix="$work/$target/findings/")
  dict=$(dictionary "$target")
  [[ -n "$dict" ]] && options+=(-dict="$dict")
  log="$work/$target/log.txt"
  echo "fuzzing $target for $seconds s"
  status=0
  nice -n 15 "$binary" "${options[@]}" "$work/$target/corpus" ${seeds:+"$seeds"} >"$log" 2>&1 || status=$?
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
  findings=$(find "$work/$target/findings" -type f | wc -l)
  if [[ $status -ne 0 && $findings -eq 0 ]]; then findings=1; fi
  [[ $findings -ne 0 ]] && failed=1
  table+=$'\n'$(printf '%-28s %12s %10s %9s' "$target" "${runs:-?}" "$(( ${runs:-0} / seconds ))" "$findings")
done
echo
echo "$table"
[[ $failed -eq 0 ]] || echo "findings and logs: $work/<target>/"
exit $failed
