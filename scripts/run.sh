#!/usr/bin/env bash
# Runs Vela直播助手 under Wine with the phone simulator serving on 127.0.0.1:8984.
#
# With a display (DISPLAY set) the program runs until you close it. Without
# one, an Xvfb is started, a screenshot is saved to build/run.png once the
# window is up, and the program is closed after VELA_RUN_SECONDS (default 20).
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/build.sh" || { echo "build failed" >&2; exit 1; }

source "$root/scripts/wine-env.sh"
headless=""
[ -z "${DISPLAY:-}" ] && headless=1
vela_wine_setup || exit 1

pids=()
cleanup() {
  for p in "${pids[@]}"; do kill "$p" 2>/dev/null; done
  # Only our own children: a bare wait would also wait for the Xvfb that the
  # Wine set-up started in the background, which never ends by itself.
  wait "${pids[@]}" 2>/dev/null
  if [ -n "$headless" ]; then
    vela_wine_stop
    vela_display_stop
  fi
}
trap cleanup EXIT

sim="$root/build/native/tools/phone_simulator/phone_simulator"
if [ -x "$sim" ]; then
  "$sim" --port 8984 > "$root/build/simulator.log" 2>&1 &
  pids+=($!)
  echo "phone simulator on 127.0.0.1:8984 (log: build/simulator.log)"
fi

# The program starts its adb tool by the relative path adb\adb.exe: run it from its own folder.
cd "$root/build/win/app"
wine VelaAssistant.exe &
app=$!
pids+=($app)

if [ -z "$headless" ]; then
  wait "$app"
  exit $?
fi

if timeout 30 xdotool search --sync --onlyvisible --name 'Vela直播助手' >/dev/null 2>&1; then
  sleep 1  # let the first paint finish before the picture is taken
  import -window root "$root/build/run.png" && echo "screenshot: build/run.png"
fi
seconds=${VELA_RUN_SECONDS:-20}
echo "running headless for $seconds s"
( sleep "$seconds"; xdotool search --name 'Vela直播助手' key Escape >/dev/null 2>&1 ) &
wait "$app"
echo "exit code $?"
