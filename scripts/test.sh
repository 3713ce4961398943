#!/usr/bin/env bash
# The whole test run: dependencies, both builds, the native tests (under
# ASan/UBSan) and the Windows tests under Wine, headless.
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
start=$(date +%s)

"$root/scripts/build.sh" || { echo "build failed"; exit 1; }

source "$root/scripts/wine-env.sh"
own_xvfb=""
if [ -z "${DISPLAY:-}" ]; then own_xvfb=1; fi
vela_wine_setup || { echo "Wine set-up failed"; exit 1; }
stop_all() {
  vela_wine_stop
  [ -n "$own_xvfb" ] && vela_display_stop
}
trap stop_all EXIT

status=0
echo "== native tests (ASan/UBSan) =="
(cd "$root/build/native" && ctest --output-on-failure -j"$(nproc)") || status=1
echo "== Windows tests under Wine =="
(cd "$root/build/win" && ctest --output-on-failure -j"$(nproc)") || status=1

echo "test run took $(( $(date +%s) - start )) s"
exit $status
