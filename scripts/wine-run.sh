#!/usr/bin/env bash
# Runs a Windows program under the project's own Wine prefix, headless when
# there is no display, and passes its exit code through.
#
#   scripts/wine-run.sh program.exe [args...]
#
# Used by ctest (CMAKE_CROSSCOMPILING_EMULATOR), the benchmarks and the demo.
# Safe to call from parallel tests: the prefix and the display are set up
# under a lock, once. The Wine server is kept warm (wineserver -p) so later
# starts take tens of milliseconds; it exits by itself once idle, and
# scripts/test.sh stops it at the end of a run.
set -u
here=$(cd "$(dirname "$0")" && pwd)
source "$here/wine-env.sh"

vela_wine_setup || exit 125
exec wine "$@"
