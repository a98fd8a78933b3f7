#!/usr/bin/env bash
# Builds Qt 6.4.2 for 64-bit Windows (MinGW-w64, shared) from Debian's own source packages, once,
# into a cache folder outside the work tree, and prints that folder. Later runs find it and return
# at once. Only what the program needs: Core, Gui, Widgets, PrintSupport, Test, the windows
# platform plugin, and Svg with its icon engine when Debian's source of it can be fetched.
#
#   PELMORA_QT_MINGW_DIR   the finished Qt (default ~/.cache/pelmora/qt6-mingw-6.4.2)
#   PELMORA_QT_JOBS        parallel compile jobs (default 2)
#
# Needs: a deb-src entry for the configured suites (added here when missing), dpkg-dev, the MinGW-w64
# compilers of the posix thread model and Debian's Qt host tools (qt6-base-dev-tools) of the same
# version. A fresh build takes about 35-50 minutes on two busy cores.
set -euo pipefail

version=6.4.2
prefix="${PELMORA_QT_MINGW_DIR:-$HOME/.cache/pelmora/qt6-mingw-$version}"
work="$prefix.build"
jobs="${PELMORA_QT_JOBS:-2}"
host_cmake_dir=/usr/lib/x86_64-linux-gnu/cmake
stamp="$prefix/.pelmora-complete"

say() { echo "qt-windows: $*" >&2; }
fail() {
  say "$*"
  exit 1
}

if [ -f "$stamp" ]; then
  echo "$prefix"
  exit 0
fi

check_tools() {
  local missing=()
  command -v x86_64-w64-mingw32-g++-posix >/dev/null || missing+=("g++-mingw-w64-x86-64-posix")
  command -v dpkg-source >/dev/null || missing+=("dpkg-dev")
  command -v ninja >/dev/null || missing+=("ninja-build")
  [ -f "$host_cmake_dir/Qt6HostInfo/Qt6HostInfoConfig.cmake" ] || missing+=("qt6-base-dev (Qt6HostInfo)")
  [ -x /usr/lib/qt6/libexec/moc ] || missing+=("qt6-base-dev-tools (moc, rcc, uic)")
  [ ${#missing[@]} -eq 0 ] || fail "missing Debian packages: ${missing[*]} (scripts/install-deps.sh --windows installs them)"
  local host_version
  host_version=$(dpkg-query -W -f='${Version}' qt6-base-dev 2>/dev/null | sed 's/+.*//')
  [ "$host_version" = "$version" ] || fail "host Qt is $host_version, the cross build needs the same version $version"
}

# apt-get source needs deb-src lines; mirror the configured deb entries once.
ensure_deb_src() {
  if apt-get indextargets --format '$(CREATED_BY)' 2>/dev/null | grep -q '^Sources$'; then
    return
  fi
  local list=/etc/apt/sources.list.d/pelmora-deb-src.sources
  [ -w /etc/apt/sources.list.d ] || fail "no deb-src entry and no permission to add $list; add deb-src for your suites and run apt-get update"
  say "adding $list"
  awk '/^Types:/ { print "Types: deb-src"; next } { print }' /etc/apt/sources.list.d/debian.sources >"$list"
  apt-get update -qq || fail "apt-get update failed after adding $list"
}

# Unpacks the Debian source package $1 (patches applied) into $work/src/$1 unless it is there.
fetch_source() {
  local package=$1 dest="$work/src/$1"
  [ -d "$dest" ] && return 0
  mkdir -p "$work/download"
  (cd "$work/download" && apt-get source -qq "$package=$2" >/dev/null) || return 1
  mv "$(find "$work/download" -mindepth 1 -maxdepth 1 -type d -name "$package-*" | head -1)" "$dest"
  rm -rf "$work/download"
}

# Qt 6.4.2 without Direct2D (a platform plugin the program does not use) leaves out its DirectWrite
# font engine and font database, which PrintSupport and the windows platform plugin still call
# whenever DirectWrite is on; they are built as with Direct2D.
patch_base() {
  local gui="$work/src/qt6-base/src/gui"
  sed -i 's/CONDITION QT_FEATURE_direct2d AND QT_FEATURE_directwrite/CONDITION QT_FEATURE_directwrite/' "$gui/CMakeLists.txt"
  sed -i 's/QT_CONFIG(directwrite) \&\& QT_CONFIG(direct2d)/QT_CONFIG(directwrite)/' \
    "$gui/text/windows/qwindowsfontdatabase.cpp" "$gui/text/windows/qwindowsfontdatabasebase.cpp"
}

write_toolchain() {
  cat >"$work/mingw-posix.cmake" <<'EOF'
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)
set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
EOF
}

build_base() {
  local build="$work/build-qtbase"
  # Debian's source leaves out the tablet header wintab.h, and without OpenGL the windows plugin
  # only compiles with dynamic GL off. Everything else bundled, so no MinGW libraries are needed.
  cmake -S "$work/src/qt6-base" -B "$build" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$work/mingw-posix.cmake" -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_INSTALL_PREFIX="$prefix" -DBUILD_SHARED_LIBS=ON \
    -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR="$host_cmake_dir" \
    -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF -DQT_BUILD_BENCHMARKS=OFF \
    -DFEATURE_system_zlib=OFF -DFEATURE_system_png=OFF -DFEATURE_system_freetype=OFF \
    -DFEATURE_system_harfbuzz=OFF -DFEATURE_system_pcre2=OFF -DFEATURE_system_jpeg=OFF \
    -DFEATURE_sql=OFF -DFEATURE_network=OFF -DFEATURE_opengl=OFF -DFEATURE_dbus=OFF \
    -DFEATURE_concurrent=OFF -DFEATURE_xml=OFF -DFEATURE_icu=OFF \
    -DFEATURE_tabletevent=OFF -DFEATURE_dynamicgl=OFF -DFEATURE_direct2d=OFF \
    -DFEATURE_jpeg=OFF -DFEATURE_gif=OFF -DFEATURE_vulkan=OFF \
    -Wno-dev >"$work/configure-qtbase.log" 2>&1 ||
    fail "configuring qtbase failed; see $work/configure-qtbase.log"
  say "building qtbase ($(ninja -C "$build" -n 2>/dev/null | grep -c '^\[') steps, -j$jobs)"
  cmake --build "$build" --parallel "$jobs" >"$work/build-qtbase.log" 2>&1 ||
    fail "building qtbase failed; see the end of $work/build-qtbase.log"
  cmake --install "$build" >/dev/null
}

# The SVG module is optional: without it the program draws icons rendered at build time.
build_svg() {
  if ! fetch_source qt6-svg "$svg_version"; then
    say "qt6-svg's source could not be fetched; the Windows program uses pre-rendered icons"
    return 0
  fi
  local build="$work/build-qtsvg"
  # Qt's own toolchain file for modules built on top: the MinGW one chained, the host tools set.
  cmake -S "$work/src/qt6-svg" -B "$build" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$prefix/lib/cmake/Qt6/qt.toolchain.cmake" -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_INSTALL_PREFIX="$prefix" -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF -Wno-dev \
    >"$work/configure-qtsvg.log" 2>&1 || fail "configuring qtsvg failed; see $work/configure-qtsvg.log"
  say "building qtsvg ($(ninja -C "$build" -n 2>/dev/null | grep -c '^\[') steps)"
  cmake --build "$build" --parallel "$jobs" >"$work/build-qtsvg.log" 2>&1 ||
    fail "building qtsvg failed; see the end of $work/build-qtsvg.log"
  cmake --install "$build" >/dev/null
}

check_tools
ensure_deb_src
svg_version=$(dpkg-query -W -f='${Version}' qt6-svg-dev 2>/dev/null || true)
base_version=$(dpkg-query -W -f='${Version}' qt6-base-dev)
start=$SECONDS
mkdir -p "$work/src"
write_toolchain
fetch_source qt6-base "$base_version" || fail "apt-get source qt6-base=$base_version failed (is a deb-src entry configured?)"
patch_base
say "building Qt $version for MinGW-w64 into $prefix"
build_base
[ -n "$svg_version" ] && build_svg
touch "$stamp"
# The sources and objects (some 3 GB) go; the logs and the toolchain file Qt's own refers to stay.
rm -rf "$work/src" "$work/build-qtbase" "$work/build-qtsvg"
say "done in $(((SECONDS - start) / 60)) minutes"
echo "$prefix"
