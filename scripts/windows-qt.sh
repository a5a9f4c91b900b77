#!/usr/bin/env bash
# Qt for 64-bit Windows, static, built from Debian's own qt6-base source
# package (the version the Linux build uses) with the MinGW-w64 toolchain,
# into a cache folder outside the repository. A finished build is kept and
# reused by every later build on the machine; it is keyed by Qt's version,
# the options below and the compiler's version, so changing one builds a new
# one beside it.
#   scripts/windows-qt.sh            builds it unless it is there; prints its prefix
#   scripts/windows-qt.sh --prefix   only prints the prefix it has (or will have)
# The cache folder is ${KSCGEN_CACHE:-${XDG_CACHE_HOME:-~/.cache}/kscgen}.
# A build counts as done only when its stamp file is written, after the
# install; an interrupted one is built on from where it stopped.
set -euo pipefail

qt_version=6.4.2
root=$(cd "$(dirname "$0")/.." && pwd)
toolchain=$root/cmake/mingw-w64-x86_64.cmake

# Only Core, Gui, Widgets and Test, with their third-party libraries bundled
# so that nothing needs a MinGW build of them. Tablet support needs the
# wintab headers Debian's source leaves out; dynamic OpenGL needs OpenGL.
options=(
  -DCMAKE_BUILD_TYPE=Release
  -DBUILD_SHARED_LIBS=OFF
  -DQT_BUILD_EXAMPLES=OFF
  -DQT_BUILD_TESTS=OFF
  -DFEATURE_tabletevent=OFF
  -DFEATURE_dynamicgl=OFF
  -DFEATURE_opengl=OFF
  -DFEATURE_sql=OFF
  -DFEATURE_network=OFF
  -DFEATURE_dbus=OFF
  -DFEATURE_printsupport=OFF
  -DFEATURE_concurrent=OFF
  -DFEATURE_xml=OFF
  -DFEATURE_icu=OFF
  -DFEATURE_system_zlib=OFF
  -DFEATURE_system_pcre2=OFF
  -DFEATURE_system_harfbuzz=OFF
  -DFEATURE_system_freetype=OFF
  -DFEATURE_system_png=OFF
  -DFEATURE_system_jpeg=OFF
  -DFEATURE_jpeg=OFF
)

compiler=x86_64-w64-mingw32-g++-posix
key=$( { echo "$qt_version"; printf '%s\n' "${options[@]}"; $compiler --version | head -1; } |
  sha256sum | cut -c1-12)
cache=${KSCGEN_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/kscgen}
prefix=$cache/qt-$qt_version-mingw-static-$key
stamp=$prefix/.kscgen-complete

if [ "${1:-}" = "--prefix" ]; then
  echo "$prefix"
  exit 0
fi
if [ -f "$stamp" ]; then
  echo "$prefix"
  exit 0
fi

mkdir -p "$cache"
# One builder at a time; a second waits, then finds the stamp.
exec 9>"$cache/qt-$qt_version-$key.lock"
if ! flock -n 9; then
  echo "windows-qt: waiting for another build of Qt to finish" >&2
  flock 9
fi
if [ -f "$stamp" ]; then
  echo "$prefix"
  exit 0
fi

work=$cache/qt-$qt_version-$key.work
src=$work/source
build=$work/build
mkdir -p "$work"

sudo=""
if [ "$(id -u)" -ne 0 ]; then sudo="sudo"; fi

# Debian's source for the same archive the binary packages come from.
if [ ! -f "$src/.kscgen-extracted" ]; then
  if ! apt-get source --print-uris qt6-base >/dev/null 2>&1; then
    list=/etc/apt/sources.list.d/kscgen-deb-src.sources
    echo "windows-qt: adding Debian's source packages ($list)" >&2
    if [ -f /etc/apt/sources.list.d/debian.sources ]; then
      sed -n 's/^Types: deb$/Types: deb-src/p; /^\(URIs\|Suites\|Components\|Signed-By\):/p; /^$/p' \
        /etc/apt/sources.list.d/debian.sources | $sudo tee "$list" >/dev/null
    else
      grep '^deb ' /etc/apt/sources.list | sed 's/^deb /deb-src /' |
        $sudo tee /etc/apt/sources.list.d/kscgen-deb-src.list >/dev/null
    fi
    $sudo apt-get update -qq
  fi
  rm -rf "$work/download" "$src"
  mkdir -p "$work/download"
  echo "windows-qt: fetching and unpacking Debian's qt6-base $qt_version source" >&2
  (cd "$work/download" && apt-get source -qq qt6-base >&2)
  unpacked=$(echo "$work/download"/qt6-base-"$qt_version"*/)
  if [ ! -d "$unpacked" ]; then
    echo "windows-qt: Debian's qt6-base source is not $qt_version:" "$work/download"/* >&2
    exit 1
  fi
  mv "$unpacked" "$src"
  rm -rf "$work/download"
  touch "$src/.kscgen-extracted"
fi

echo "windows-qt: configuring (log: $work/build.log)" >&2
rm -rf "$prefix"
# The Linux Qt supplies moc, rcc, uic and the other build tools.
cmake -S "$src" -B "$build" -G Ninja \
  -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
  -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
  -DCMAKE_INSTALL_PREFIX="$prefix" \
  "${options[@]}" >"$work/build.log" 2>&1 ||
  { tail -40 "$work/build.log" >&2; exit 1; }
echo "windows-qt: building, about 30 minutes on 2 cores (log: $work/build.log)" >&2
started=$(date +%s)
nice -n 19 cmake --build "$build" -j "${JOBS:-$(nproc)}" >>"$work/build.log" 2>&1 ||
  { tail -40 "$work/build.log" >&2; exit 1; }
cmake --install "$build" >>"$work/build.log" 2>&1 ||
  { tail -40 "$work/build.log" >&2; exit 1; }
echo "windows-qt: built in $(( ($(date +%s) - started) / 60 )) min" >&2
touch "$stamp"
# The build folder and the source are several GB; only the install is kept.
rm -rf "$work"
echo "$prefix"
