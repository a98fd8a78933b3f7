#!/usr/bin/env bash
# Builds the Debian package from a finished build and checks it as a distribution would:
# lintian on the package, desktop-file-validate on its desktop entry, appstreamcli on its
# AppStream file, and a manual page for every program in /usr/bin.
#   scripts/check-package.sh [build folder, default build]
# Exits 77 (ctest's "skipped") when one of the tools is missing.
set -euo pipefail
cd "$(dirname "$0")/.."
build=$(realpath "${1:-build}")

for tool in cpack dpkg-deb lintian desktop-file-validate appstreamcli help2man; do
  if ! command -v "$tool" >/dev/null; then
    echo "skipped: $tool is not installed (scripts/install-deps.sh installs it)"
    exit 77
  fi
done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cpack --config "$build/CPackConfig.cmake" -B "$work" >"$work/cpack.log" 2>&1 || {
  cat "$work/cpack.log"
  exit 1
}
deb=$(ls "$work"/*.deb)
dpkg-deb -x "$deb" "$work/root"

status=0
# Tags that are only information stay quiet; every warning and error fails.
if ! lintian --fail-on error,warning "$deb"; then
  status=1
fi
for entry in "$work"/root/usr/share/applications/*.desktop; do
  desktop-file-validate "$entry" || status=1
done
for metainfo in "$work"/root/usr/share/metainfo/*.xml; do
  appstreamcli validate --no-net --pedantic "$metainfo" || status=1
done
for program in "$work"/root/usr/bin/*; do
  page="$work/root/usr/share/man/man1/$(basename "$program").1.gz"
  [ -s "$page" ] || { echo "no manual page for $(basename "$program")"; status=1; }
done
[ $status -eq 0 ] && echo "$(basename "$deb"): lintian, desktop-file-validate and appstreamcli are clean"
exit $status
