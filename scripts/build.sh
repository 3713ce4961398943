#!/usr/bin/env bash
# Configures and builds both trees: build/win (the Windows program, its tests
# and test doubles, with mingw-w64) and build/native (portable code under
# ASan/UBSan and the Linux tools). Installs dependencies first.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
prefix=$("$root/scripts/deps.sh" --print-prefix | tail -n1)

build_tree() {
  local dir=$1; shift
  if [ ! -f "$dir/build.ninja" ]; then
    cmake -S "$root" -B "$dir" -G Ninja "$@" >/dev/null
  fi
  cmake --build "$dir" -j"$(nproc)"
}

build_tree "$root/build/native"
build_tree "$root/build/win" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw64.cmake" -DVELA_DEPS_PREFIX="$prefix"
