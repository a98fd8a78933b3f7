#!/usr/bin/env bash
# Takes the user manual's screenshots from the real program, headless, beside a virtual sensor.
#   scripts/manual-shots.sh [output folder] [extra environment, e.g. QT_SCALE_FACTOR=2]
# The default output folder is docs/manual/images; the next build turns them into the PDF.
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/lib/virtual-sensor.sh

out=${1:-docs/manual/images}
shift || true
bin=build/bin
cmake --build build --target pelmora pelmora-sim pelmora-cli pelmora-manual-shots >/dev/null

work=$(mktemp -d)
sim=""
sim2=""
cleanup() {
  [ -n "$sim" ] && kill "$sim" 2>/dev/null && wait "$sim" 2>/dev/null
  [ -n "$sim2" ] && kill "$sim2" 2>/dev/null && wait "$sim2" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
export QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen}
export PELMORA_PORTS_DIR=$work/ports XDG_CONFIG_HOME=$work/config XDG_DATA_HOME=$work/data

"$bin/pelmora-sim" --model 5 >"$work/sim.log" 2>&1 &
sim=$!
wait_for_sensor "$work/sim.log" 50 || exit 1
port=$(sed -n 's/.* on COM\([0-9]*\).*/\1/p' "$work/sim.log")

# The amplifier's input for the Relative screen: a second sensor 10 dB below the first.
"$bin/pelmora-sim" --model 5 --level 30 --serial 10002 >"$work/sim2.log" 2>&1 &
sim2=$!
wait_for_sensor "$work/sim2.log" 50 || exit 1
port2=$(sed -n 's/.* on COM\([0-9]*\).*/\1/p' "$work/sim2.log")

"$bin/pelmora-cli" record --port "$port" --count 30 --out "$work/Bench run.psh" >/dev/null
env "$@" "$bin/pelmora-manual-shots" "$port" "$out" "$work/Bench run.psh" "$port2"
