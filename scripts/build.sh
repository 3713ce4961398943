#!/usr/bin/env bash
# Configures and builds the trees: build/win (the Windows program, its tests
# and test doubles, with mingw-w64), build/native (portable code under
# ASan/UBSan and the Linux tools) and build/win32 (only the camera modules,
# 32-bit, for 32-bit applications). Installs dependencies first. Ends with
# the check of both bitnesses' camera module files (exports and imports).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
prefix=$("$root/scripts/deps.sh" --print-prefix | tail -n1)

# build_tree DIR SOURCE [cmake options...]
build_tree() {
  local dir=$1 source=$2; shift 2
  if [ ! -f "$dir/build.ninja" ]; then
    cmake -S "$source" -B "$dir" -G Ninja "$@" >/dev/null
  fi
  cmake --build "$dir" -j"$(nproc)"
}

build_tree "$root/build/native" "$root"
build_tree "$root/build/win" "$root" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw64.cmake" -DVELA_DEPS_PREFIX="$prefix"
build_tree "$root/build/win32" "$root/camera" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw32.cmake"

"$root/camera/module_check.sh" x86_64-w64-mingw32-objdump "$root"/build/win/app/lmcam_{horizontal,vertical}.dll
"$root/camera/module_check.sh" i686-w64-mingw32-objdump "$root"/build/win32/lmcam_{horizontal,vertical}.dll
