#!/usr/bin/env bash
# Builds the widget gallery and saves its screenshot as build/gallery.png:
# every control of the toolkit in each of its states, on one picture.
#
#   scripts/gallery.sh [build-dir]     (default: build/win, as scripts/build.sh makes it)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build/win}
if [ ! -f "$build/build.ninja" ]; then
  prefix=$("$root/scripts/deps.sh" --print-prefix | tail -n1)
  cmake -S "$root" -B "$build" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw64.cmake" \
    -DVELA_DEPS_PREFIX="$prefix" >/dev/null
fi
cmake --build "$build" --target widget_gallery -j2
"$root/scripts/wine-run.sh" "$build/tools/widget_gallery/widget_gallery.exe" --screenshot "$root/build/gallery.png"
echo "gallery: $root/build/gallery.png"
