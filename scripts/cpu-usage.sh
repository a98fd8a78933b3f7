#!/usr/bin/env bash
# CPU of the running window, read from /proc: the AVG & PEAK screen of a model-0 virtual sensor
# measuring over the USB layer (one reading per 20 ms, paced by the engine's worker), then the
# same screen open and stopped. With N sensors, N-1 more virtual sensors on COM ports (their
# line without its write pause) measure beside it, each on its own screen. The window runs
# offscreen; the virtual sensors' own CPU is not counted.
#   scripts/cpu-usage.sh [seconds per run, default 20] [sensors, default 1]
# PELMORA_BIN=DIR takes the programs from another build (e.g. of an earlier commit).
# Prints "cpu | <run> | <percent of one core> | <readings per second>" lines.
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/lib/virtual-sensor.sh

seconds=${1:-20}
sensors=${2:-1}
bin=${PELMORA_BIN:-build/bin} # another build to compare with, e.g. one of an earlier commit
work=$(mktemp -d)
sim=""
window=""
com_sims=()
cleanup() {
  [ -n "$window" ] && kill -KILL "$window" 2>/dev/null && wait "$window" 2>/dev/null
  for pid in $sim "${com_sims[@]}"; do
    kill "$pid" 2>/dev/null && wait "$pid" 2>/dev/null
  done
  rm -rf "$work"
}
trap cleanup EXIT
export QT_QPA_PLATFORM=offscreen PELMORA_USB_DIR=$work/usb PELMORA_PORTS_DIR=$work/ports
export XDG_CONFIG_HOME=$work/config XDG_DATA_HOME=$work/data

"$bin/pelmora-sim" --usb --model 0 >"$work/sim.log" 2>&1 &
sim=$!
wait_for_sensor "$work/sim.log" || exit 1
ports=""
for n in $(seq 2 "$sensors"); do
  "$bin/pelmora-sim" --model 0 --serial $((10000 + n)) >"$work/sim$n.log" 2>&1 &
  com_sims+=($!)
  wait_for_sensor "$work/sim$n.log" || exit 1
  ports="$ports${ports:+,}$(sed -n 's/.* on COM\([0-9]*\).*/\1/p' "$work/sim$n.log")"
done

# Time on a CPU of a process's threads in nanoseconds: exact where the clock ticks of
# /proc/PID/stat come in 10 ms steps, too coarse to tell two builds apart.
cpu_ns() { cat /proc/"$1"/task/*/schedstat 2>/dev/null | awk '{ s += $1 } END { printf "%.0f\n", s }'; }
uptime_s() { awk '{ print $1 }' /proc/uptime; }
last_count() { grep '^readings ' "$1" | tail -n 1 | awk '{ print $2 }'; }

runs="usb idle"
[ "$sensors" -gt 1 ] && runs=usb # the idle window is the same with more sensors
for run in $runs; do
  log=$work/$run.log
  "$bin/pelmora-bench-window" --drive "$run" $ports >"$log" 2>&1 &
  window=$!
  for _ in $(seq 300); do
    grep -q '^ready' "$log" && break
    sleep 0.1
  done
  label="window measuring over USB (AVG & PEAK, model 0)"
  [ "$sensors" -gt 1 ] && label="window measuring $sensors sensors (USB and $((sensors - 1)) COM, AVG & PEAK, model 0)"
  [ "$run" = idle ] && label="idle window, screen stopped"
  if ! grep -q '^ready' "$log"; then
    cat "$log" >&2
    echo "cpu | $label | missing | "
    kill -KILL "$window" 2>/dev/null && wait "$window" 2>/dev/null || true
    window=""
    continue
  fi
  sleep 3 # past the start-up
  t0=$(cpu_ns "$window") w0=$(uptime_s) r0=$(last_count "$log")
  sleep "$seconds"
  t1=$(cpu_ns "$window") w1=$(uptime_s) r1=$(last_count "$log")
  kill -KILL "$window" && wait "$window" 2>/dev/null || true # no save question on the way out
  window=""
  awk -v t0="$t0" -v t1="$t1" -v w0="$w0" -v w1="$w1" -v r0="${r0:-0}" -v r1="${r1:-0}" -v l="$label" \
    'BEGIN { printf "cpu | %s | %.2f %% | %.1f readings/s\n", l, 100 * (t1 - t0) / 1e9 / (w1 - w0), (r1 - r0) / (w1 - w0) }'
done
