#!/usr/bin/env bash
# Starts and stops the phone simulators that the stream worker tests connect
# to (ctest fixture set-up and clean-up of the Windows build).
#
#   simulators.sh start STATE_DIR SIMULATOR BASE_PORT
#   simulators.sh stop STATE_DIR
#
# One simulator per configuration, each on BASE_PORT + offset on 127.0.0.1
# (the offsets are the ones in stream_test_support.h). Each prints its events
# to STATE_DIR/<name>.out; its process id is kept in STATE_DIR/<name>.pid and
# stop ends exactly those processes. --exit-after-idle ends a simulator that
# a crashed run left behind.
set -u
cmd=${1:-}
state=${2:-}
[ -n "$state" ] || { echo "usage: $0 start|stop STATE_DIR [SIMULATOR BASE_PORT]" >&2; exit 2; }

# Ends the recorded simulators and waits (at most 10 s) until each has gone,
# so that a following start finds its ports free.
stop_all() {
  local f pid pids=()
  for f in "$state"/*.pid; do
    [ -e "$f" ] || continue
    pid=$(cat "$f")
    rm -f "$f"
    [ -n "$pid" ] || continue
    kill "$pid" 2>/dev/null && pids+=("$pid")
  done
  local _ left
  for _ in $(seq 1 200); do
    left=0
    for pid in "${pids[@]}"; do
      # A zombie has closed its sockets already.
      if [ -e "/proc/$pid" ] && [ "$(awk '{print $3}' "/proc/$pid/stat" 2>/dev/null)" != Z ]; then left=1; fi
    done
    [ $left = 0 ] && return 0
    sleep 0.05
  done
  echo "simulators still running after 10 s: ${pids[*]}" >&2
  return 1
}

case "$cmd" in
  start)
    sim=${3:-}
    base=${4:-}
    if [ ! -x "$sim" ]; then
      echo "the phone simulator is not built: $sim (build the native tree first)" >&2
      exit 1
    fi
    mkdir -p "$state"
    stop_all
    rm -f "$state"/*.out
    common=(--exit-after-idle 900 --size 640x360 --fps 30)
    start_one() {
      local name=$1 offset=$2
      shift 2
      setsid "$sim" --port $((base + offset)) "${common[@]}" "$@" > "$state/$name.out" 2>&1 < /dev/null &
      echo $! > "$state/$name.pid"
    }
    start_one plain 0
    start_one reverse_v 1 --reverse-v 1
    start_one command 5 --no-video --command '<test text="命令一"/>'
    start_one restart 6
    start_one close_mid_frame 8 --close-mid-frame-after 0.5
    start_one main_dialog 9  # the main dialog's end-to-end test (tests/app)
    # Ready when each has printed its "listening" line (at most 20 s each).
    for pidfile in "$state"/*.pid; do
      name=$(basename "$pidfile" .pid)
      ready=""
      for _ in $(seq 1 400); do
        if grep -q '^listening port=' "$state/$name.out" 2>/dev/null; then ready=1; break; fi
        kill -0 "$(cat "$pidfile")" 2>/dev/null || break
        sleep 0.05
      done
      if [ -z "$ready" ]; then
        echo "simulator $name did not start:" >&2
        cat "$state/$name.out" >&2
        stop_all
        exit 1
      fi
    done
    echo "simulators listening on 127.0.0.1 ports $base to $((base + 10))"
    ;;
  stop)
    stop_all
    ;;
  *)
    echo "usage: $0 start|stop STATE_DIR [SIMULATOR BASE_PORT]" >&2
    exit 2
    ;;
esac
