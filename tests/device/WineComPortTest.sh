#!/usr/bin/env bash
# The Windows build end to end: Wine's COM9 is the pseudo-terminal of the Linux virtual sensor
# (a dosdevices link that Wine makes from its Ports key, which also lists the port in the registry's
# SERIALCOMM key), so pelmora-cli.exe lists the port and reaches the sensor through the Win32 serial
# code (CreateFileW, DCB, time-outs, overlapped reads and event waits).
# The prefix is the test's own: Wine reads its Ports key only when its server starts.
# Usage: WineComPortTest.sh LINUX_PELMORA_SIM PELMORA_CLI_EXE TEST_DEVICE_EXE WINE WINEPREFIX
set -euo pipefail
sim=$1 cli=$2 device_tests=$3 wine=$4
export WINEPREFIX=$5 WINEDEBUG=-all WINEDLLOVERRIDES=mscoree,mshtml=
export LC_ALL=C.UTF-8 # Wine hands the arguments over as UTF-8
port=9

if [ ! -x "$sim" ]; then
  echo "no Linux pelmora-sim at $sim (build the release preset first)"
  exit 77
fi

scratch=$(mktemp -d)
sim_pid=
cleanup() {
  [ -n "$sim_pid" ] && kill "$sim_pid" 2>/dev/null && wait "$sim_pid" 2>/dev/null
  rm -f "$WINEPREFIX/dosdevices/com$port"
  rm -rf "$scratch"
}
trap cleanup EXIT

"$wine" cmd /c exit >/dev/null 2>&1 || true # makes the prefix on first use
# Replies come in pieces, the last after the write pause, so reads must wait for the rest.
PELMORA_PORTS_DIR=$scratch/ports "$sim" --port 20 --model 5 --serial 4711 --level 12.5 --noise 0 \
  --fault split:300 >"$scratch/sim.log" 2>&1 &
sim_pid=$!
for _ in $(seq 100); do
  [ -e "$scratch/ports/com20" ] && break
  sleep 0.1
done
terminal=$(readlink -f "$scratch/ports/com20") || { cat "$scratch/sim.log"; exit 1; }
"$wine" reg add 'HKLM\Software\Wine\Ports' /v "COM$port" /d "$terminal" /f >/dev/null 2>&1
wineserver -w

fail() {
  echo "FAILED: $*"
  exit 1
}

ports=$("$wine" "$cli" ports 2>&1) || fail "ports: $ports"
echo "$ports"
grep -q "(COM$port)" <<<"$ports" || fail "the port list does not show COM$port"

identity=$("$wine" "$cli" identify --port $port 2>&1) || fail "identify: $identity"
echo "$identity"
grep -q "4711" <<<"$identity" || fail "identify does not show the serial number 4711"

readings=$("$wine" "$cli" measure --port $port --mode fwdrev --count 3 --freq 1000 2>&1) || fail "measure: $readings"
echo "$readings"
[ "$(grep -c '^1 1250 ' <<<"$readings")" -eq 3 ] || fail "measure did not read the sensor's 12.50 dBm three times"

# A name beyond the system's code page reaches the file system as it was typed.
history="$scratch/Mesure été.psh"
recorded=$("$wine" "$cli" record --port $port --count 3 --out "$history" 2>&1) || fail "record: $recorded"
[ -s "$history" ] || fail "record did not write $history: $(ls "$scratch")"
info=$("$wine" "$cli" history info "$history" 2>&1) || fail "history info: $info"
grep -q "4711" <<<"$info" || fail "the history does not name the serial number 4711: $info"

PELMORA_TEST_COM_PORT=$port "$wine" "$device_tests" --gtest_filter='SerialOnAPort.*' || fail "port cases"
