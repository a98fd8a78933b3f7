#!/usr/bin/env bash
# Installs what is missing, builds Pelmora and starts it beside a virtual sensor on a virtual COM port.
# Options after the script name go to the virtual sensor (for example --model 0 or --usb).
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
cmake --preset release >/dev/null
cmake --build --preset release

bin=build/bin
"$bin/pelmora-sim" "$@" &
sim=$!
trap 'kill $sim 2>/dev/null; wait $sim 2>/dev/null' EXIT
sleep 1
echo "In Pelmora choose File > Connect and pick the COM port printed above (or USB when started with --usb)."

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  xvfb-run -a "$bin/pelmora"
else
  "$bin/pelmora"
fi
