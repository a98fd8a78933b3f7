#!/usr/bin/env bash
# The Windows program as a user gets it, under Wine in a fresh prefix: the installer runs silently,
# the installed pelmora.exe starts on an X display (Xvfb), connects to the Linux virtual sensor on
# Wine's COM9, measures on the AVG & PEAK screen and saves the history; the history opens by a
# double-click's way (its file association) in the history viewer; the uninstaller then removes
# the program and leaves the user's settings. The program is driven with keys (xdotool).
# With a folder as last argument the main window, the AVG & PEAK screen and the history viewer
# are saved there as PNG (xwd and netpbm).
# Usage: WineInstallTest.sh LINUX_PELMORA_SIM INSTALLER WINE WINEPREFIX [SCREENSHOT FOLDER]
set -euo pipefail
sim=$1 installer=$2 wine=$3
export WINEPREFIX; WINEPREFIX=$(realpath -m "$4") # Wine takes absolute prefixes only
export WINEDEBUG=-all WINEDLLOVERRIDES=mscoree,mshtml=
unset QT_QPA_PLATFORM # the installed program draws through the windows platform, as on Windows
shots=${5:-}
port=9
user=${USER:-$(id -un)} # Wine names the Windows user after the Unix one

skip() {
  echo "skipped: $*"
  exit 77
}
fail() {
  echo "FAILED: $*"
  [ -n "${scratch:-}" ] && [ -n "$shots" ] && shot failure || true
  exit 1
}
[ -x "$sim" ] || skip "no Linux pelmora-sim at $sim (build the release preset first)"
[ -f "$installer" ] || skip "no installer at $installer (cmake --build --preset windows --target installer)"
for tool in Xvfb xdotool; do
  command -v $tool >/dev/null || skip "$tool is missing (scripts/install-deps.sh --windows)"
done

scratch=$(mktemp -d)
sim_pid= xvfb_pid=
cleanup() {
  wineserver -k 2>/dev/null || true
  [ -n "$sim_pid" ] && kill "$sim_pid" 2>/dev/null && wait "$sim_pid" 2>/dev/null
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null && wait "$xvfb_pid" 2>/dev/null
  rm -rf "$scratch"
}
trap cleanup EXIT

# A display of our own, the first free number from 90 on.
display=90
while [ -e /tmp/.X$display-lock ] || [ -e /tmp/.X11-unix/X$display ]; do display=$((display + 1)); done
Xvfb :$display -screen 0 1280x1024x24 -nolisten tcp >"$scratch/xvfb.log" 2>&1 &
xvfb_pid=$!
export DISPLAY=:$display
for _ in $(seq 50); do
  [ -e /tmp/.X11-unix/X$display ] && break
  sleep 0.1
done

shot() {
  [ -n "$shots" ] || return 0
  mkdir -p "$shots"
  xwd -root -silent | xwdtopnm 2>/dev/null | pnmtopng >"$shots/$1.png" 2>/dev/null || echo "no screenshot $1"
}

# Waits up to $2 seconds for a window whose title matches $1; prints its id.
wait_window() {
  for _ in $(seq $(($2 * 5))); do
    xdotool search --onlyvisible --name "$1" 2>/dev/null | tail -1 && return 0
    sleep 0.2
  done
  return 1
}

rm -rf "$WINEPREFIX"
[ -n "$shots" ] && rm -f "$shots"/*.png
"$wine" wineboot -i >/dev/null 2>&1
PELMORA_PORTS_DIR=$scratch/ports "$sim" --port 20 --model 5 --serial 4711 --level 12.5 --noise 0 \
  >"$scratch/sim.log" 2>&1 &
sim_pid=$!
for _ in $(seq 100); do
  [ -e "$scratch/ports/com20" ] && break
  sleep 0.1
done
terminal=$(readlink -f "$scratch/ports/com20") || fail "no virtual sensor: $(cat "$scratch/sim.log")"
"$wine" reg add 'HKLM\Software\Wine\Ports' /v "COM$port" /d "$terminal" /f >/dev/null 2>&1
wineserver -w

echo "installing silently"
"$wine" "$installer" /S || fail "the installer ended with $?"
wineserver -w
drive=$WINEPREFIX/drive_c
program="$drive/Program Files/Pelmora"
for file in pelmora.exe pelmora-cli.exe TrelPMEnStr.ini TrelPMEnHlp.pdf Qt6Widgets.dll platforms/qwindows.dll Uninstall.exe; do
  [ -f "$program/$file" ] || fail "the installer did not put $file into Program Files\\Pelmora"
done
[ -f "$drive/ProgramData/Microsoft/Windows/Start Menu/Programs/Pelmora.lnk" ] || fail "no Start menu entry"
"$wine" reg query 'HKLM\Software\Classes\.psh' 2>/dev/null | grep -q Pelmora.History || fail "no .psh association"

# The connect dialog offers what was chosen last; this user last chose the serial port COM9.
"$wine" reg add 'HKCU\Software\Orvane\pelmora\Connect' /v Interface /t REG_DWORD /d 0 /f >/dev/null 2>&1
"$wine" reg add 'HKCU\Software\Orvane\pelmora\Connect' /v Port /t REG_DWORD /d $port /f >/dev/null 2>&1

echo "starting the installed pelmora.exe"
(cd "$program" && "$wine" 'C:\Program Files\Pelmora\pelmora.exe' >"$scratch/pelmora.log" 2>&1) &
main=$(wait_window "Power Meter V" 60) || fail "the main window did not open: $(cat "$scratch/pelmora.log")"
sleep 2
shot main-window

xdotool windowfocus --sync "$main" key ctrl+d
wait_window "^Connect$" 20 >/dev/null || fail "Ctrl+D did not open the connect dialog"
sleep 1
xdotool key Return
sleep 5
xdotool key Return # the message that the sensor is connected
sleep 1
xdotool windowfocus --sync "$main" key alt+m
sleep 1
xdotool key Return # AVG & PEAK, the first mode
sleep 3
# The screen opens with its setting dialog; the sensor's settings stay as they are.
xdotool key Escape
sleep 1
xdotool windowfocus --sync "$main" key alt+d
sleep 1
xdotool key s # Start
sleep 8
shot avg-peak

xdotool windowfocus --sync "$main" key alt+d
sleep 1
xdotool key t # Stop
sleep 2
# Into the test's scratch folder (Wine's Z: drive), not Documents, which Wine links to the Unix home.
history="Z:${scratch//\//\\}\\e2e.psh"
saved=$scratch/e2e.psh
xdotool windowfocus --sync "$main" key ctrl+s
for _ in $(seq 100); do # until the system's save dialog has the keyboard, its file name field focused
  focus=$(xdotool getwindowfocus 2>/dev/null || echo 0)
  [ "$focus" != 0 ] && [ "$focus" != "$main" ] && break
  sleep 0.2
done
sleep 2
xdotool type --delay 20 "$history"
xdotool key Return
sleep 3
[ -s "$saved" ] || fail "no history was saved"
info=$("$wine" 'C:\Program Files\Pelmora\pelmora-cli.exe' history info "$history" 2>&1) || fail "history info: $info"
echo "$info"
grep -q 4711 <<<"$info" || fail "the history does not name the sensor 4711"

# Exit; the settings profile is saved on the way out.
xdotool windowfocus --sync "$main" key alt+x
for _ in $(seq 100); do
  xdotool search --onlyvisible --name "Power Meter V" >/dev/null 2>&1 || break
  sleep 0.2
done
sleep 2
settings="$drive/users/$user/AppData/Roaming/Pelmora"
ls "$settings"/*.ini >/dev/null 2>&1 || fail "no settings profile in AppData\\Roaming\\Pelmora: $(ls -R "$drive/users/$user/AppData/Roaming" | head)"

# As a double-click does: the shell finds the program through the association.
"$wine" start "$history" >/dev/null 2>&1
viewer=$(wait_window "Power Meter V" 60) || fail "the history did not open through its association"
sleep 3
shot history-viewer
xdotool windowfocus --sync "$viewer" key alt+x
sleep 2
wineserver -k 2>/dev/null || true

echo "uninstalling silently"
"$wine" 'C:\Program Files\Pelmora\Uninstall.exe' /S || fail "the uninstaller ended with $?"
wineserver -w
[ ! -e "$program" ] || fail "left behind in Program Files: $(cd "$program" && find . | head)"
[ ! -e "$drive/ProgramData/Microsoft/Windows/Start Menu/Programs/Pelmora.lnk" ] || fail "the Start menu entry stayed"
if "$wine" reg query 'HKLM\Software\Classes\.psh' >/dev/null 2>&1; then fail "the .psh association stayed"; fi
ls "$settings"/*.ini >/dev/null 2>&1 || fail "the uninstaller removed the user's settings"
[ -s "$saved" ] || fail "the uninstaller removed the user's history"
echo "installed, measured, saved, reopened and uninstalled"
