#!/usr/bin/env bash
# Starts and stops the configuration server that the remote-configuration
# tests fetch from (ctest fixture set-up and clean-up of the Windows build).
#
#   config_server.sh start STATE_DIR PORT
#   config_server.sh stop STATE_DIR
#
# The server listens on 127.0.0.1:PORT, serves STATE_DIR/files (the tests
# write their replies there), logs every request to STATE_DIR/requests.log
# and its output to STATE_DIR/server.out; its process id is kept in
# STATE_DIR/server.pid and stop ends exactly that process. --exit-after ends
# a server that a crashed run left behind.
set -u
cmd=${1:-}
state=${2:-}
[ -n "$state" ] || { echo "usage: $0 start|stop STATE_DIR [PORT]" >&2; exit 2; }
server="$(cd "$(dirname "$0")/../.." && pwd)/tools/config_server/config_server.py"

stop_server() {
  [ -e "$state/server.pid" ] || return 0
  local pid
  pid=$(cat "$state/server.pid")
  rm -f "$state/server.pid"
  kill "$pid" 2>/dev/null || return 0
  for _ in $(seq 1 200); do
    if [ ! -e "/proc/$pid" ] || [ "$(awk '{print $3}' "/proc/$pid/stat" 2>/dev/null)" = Z ]; then return 0; fi
    sleep 0.05
  done
  echo "configuration server still running after 10 s: $pid" >&2
  return 1
}

case "$cmd" in
  start)
    port=${3:-}
    mkdir -p "$state/files"
    stop_server
    rm -f "$state/server.out" "$state/requests.log"
    setsid python3 "$server" --port "$port" --files-dir "$state/files" --log "$state/requests.log" \
      --exit-after 900 > "$state/server.out" 2>&1 < /dev/null &
    echo $! > "$state/server.pid"
    for _ in $(seq 1 200); do
      if grep -q '^listening port=' "$state/server.out" 2>/dev/null; then
        echo "configuration server listening on 127.0.0.1:$port"
        exit 0
      fi
      kill -0 "$(cat "$state/server.pid")" 2>/dev/null || break
      sleep 0.05
    done
    echo "configuration server did not start:" >&2
    cat "$state/server.out" >&2
    stop_server
    exit 1
    ;;
  stop)
    stop_server
    ;;
  *)
    echo "usage: $0 start|stop STATE_DIR [PORT]" >&2
    exit 2
    ;;
esac
