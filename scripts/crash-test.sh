#!/usr/bin/env bash
# Kills the program (kill -9) at random moments of a recording against the virtual sensor, again
# and again, and checks every time that the next start recovers the measurement: the recovered
# history's rows must be a prefix of the readings the sensor sent, missing at most what arrived
# within the last flush interval of the recording journal.
#   scripts/crash-test.sh [ROUNDS (50)] [LONGEST RECORDING IN SECONDS (4)]
set -euo pipefail
export LC_ALL=C
cd "$(dirname "$0")/.."
. scripts/lib/virtual-sensor.sh

rounds=${1:-50}
longest=${2:-4}
bin=build/bin
cmake --build build --target pelmora-recording-driver pelmora-sim >/dev/null

work=$(mktemp -d)
sim=""
driver=""
cleanup() {
  [ -n "$driver" ] && { kill -9 "$driver"; wait "$driver"; } 2>/dev/null || true
  [ -n "$sim" ] && { kill "$sim"; wait "$sim"; } 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
# Over the USB layer: a COM line pauses half a second after every command, which would leave
# only a reading or two per round.
export QT_QPA_PLATFORM=offscreen PELMORA_PORTS_DIR=$work/ports PELMORA_USB_DIR=$work/usb
export XDG_CONFIG_HOME=$work/config XDG_DATA_HOME=$work/data
trace=$work/trace.txt
recovered=$XDG_DATA_HOME/pelmora/recovered
touch "$trace"

"$bin/pelmora-sim" --model 0 --usb --trace "$trace" >"$work/sim.log" 2>&1 &
sim=$!
wait_for_sensor "$work/sim.log" 50 || exit 1
port=0 # USB

# Starts the driver, which first recovers what the round before left; waits until it records.
start_driver() {
  : >"$work/driver.out"
  "$bin/pelmora-recording-driver" "$port" >"$work/driver.out" 2>"$work/driver.err" &
  driver=$!
  for _ in $(seq 200); do
    grep -q recording "$work/driver.out" && return 0
    kill -0 "$driver" 2>/dev/null || break
    sleep 0.05
  done
  echo "the driver did not start recording:"; cat "$work/driver.err"; exit 1
}

# Round N's trace lines, how long it recorded and the history the next start recovered from it
# (empty when its journal held no rows yet).
check_round() { # round first_line last_line seconds [history]
  python3 - "$trace" "$@" <<'EOF'
import struct, sys
trace, rnd, first, last, seconds = sys.argv[1], int(sys.argv[2]), int(sys.argv[3]), int(sys.argv[4]), float(sys.argv[5])
history = sys.argv[6] if len(sys.argv) > 6 else ""
sent = {"GA": [], "GF": []}
for line in open(trace).read().split("\n")[first:last]:
    parts = line.split()
    if len(parts) == 2 and parts[0] in sent:
        sent[parts[0]].append(int(parts[1]))
rows = []
if history:
    data = open(history, "rb").read()
    assert data[0] == 0x13, "mask %x" % data[0]
    rows = [struct.unpack_from("<3i", data, at) for at in range(216, len(data), 12)]  # AVG, VSWR, PEAK
avg = [r[0] for r in rows]
peak = [r[2] for r in rows]
prefix = avg == sent["GA"][:len(avg)] and peak == sent["GF"][:len(peak)]
missing = len(sent["GA"]) - len(avg)
rate = len(sent["GA"]) / seconds
allowed = int(rate * 1.1) + 2  # one flush interval, and a reading in flight
print("round %d: recorded %.2f s, sent %d AVG readings, recovered %d rows, missing %d (%.2f s), prefix %s"
      % (rnd, seconds, len(sent["GA"]), len(avg), missing, missing / rate if rate else 0, "yes" if prefix else "NO"))
sys.exit(0 if prefix and 0 <= missing <= allowed else 1)
EOF
}

failures=0
summary=$work/summary.txt
previous=""
for round in $(seq 1 "$rounds"); do
  first=$(wc -l <"$trace")
  before=$(ls "$recovered" 2>/dev/null || true)
  start_driver
  if [ -n "$previous" ]; then
    new=$(comm -13 <(echo "$before") <(ls "$recovered" 2>/dev/null || true) | head -1)
    check_round $previous ${new:+"$recovered/$new"} | tee -a "$summary" || failures=$((failures + 1))
  fi
  started=$(date +%s.%N)
  sleep "$(python3 -c "import random; print(round(random.uniform(0.3, $longest), 2))")"
  kill -9 "$driver"
  wait "$driver" 2>/dev/null || true
  driver=""
  stopped=$(date +%s.%N)
  previous="$round $first $(wc -l <"$trace") $(python3 -c "print($stopped - $started)")"
done
before=$(ls "$recovered" 2>/dev/null || true)
start_driver # the last round is recovered by one more start
new=$(comm -13 <(echo "$before") <(ls "$recovered" 2>/dev/null || true) | head -1)
check_round $previous ${new:+"$recovered/$new"} | tee -a "$summary" || failures=$((failures + 1))

python3 - "$summary" <<'EOF'
import re, sys
# seconds, sent, recovered, missing rows, missing seconds
rows = [tuple(map(float, re.findall(r"-?\d+(?:\.\d+)?", line)[1:6])) for line in open(sys.argv[1])]
print("%d rounds; rows recovered %d..%d; missing at the end at most %d rows (%.2f s), on average %.1f rows"
      % (len(rows), min(r[2] for r in rows), max(r[2] for r in rows), max(r[3] for r in rows),
         max(r[4] for r in rows), sum(r[3] for r in rows) / len(rows)))
EOF
echo "failed rounds: $failures"
[ "$failures" -eq 0 ]
