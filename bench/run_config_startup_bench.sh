#!/usr/bin/env bash
# Start-up of the built program against a configuration server that answers
# at once, answers after 10 s, never answers, or is absent: the fetch runs on
# its own thread, so the window must show (and the first device list arrive)
# as fast in every case, and each close must end the program promptly with
# the fetch still in flight (program_bench fails a close over 20 s).
#
#   bench/run_config_startup_bench.sh [--win DIR] [--runs N]
#
# The program folder's "AppConfig.ini" points `ConfigUrl` at the case's
# address. The per-user "AppConfig.ini" of the Wine prefix, which the fetch
# writes, is put back afterwards. DIR defaults to build/win, built already.
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
win=${VELA_WIN_BUILD:-$root/build/win}
runs=5
while [ $# -gt 0 ]; do
  case "$1" in
    --win) win=$2; shift 2 ;;
    --runs) runs=$2; shift 2 ;;
    *) echo "usage: $0 [--win DIR] [--runs N]" >&2; exit 2 ;;
  esac
done
cmake --build "$win" --target VelaAssistant fake_adb test_camera_module program_bench -j2 >/dev/null || exit 1

source "$root/scripts/wine-env.sh"
source "$root/scripts/program-folder.sh"
vela_wine_setup || exit 1
work=$(mktemp -d)
user_ini="$WINEPREFIX/drive_c/users/$(id -un)/AppData/Local/Vela直播助手/AppConfig.ini"
[ -f "$user_ini" ] && cp "$user_ini" "$work/user.ini"
server_pid=""
cleanup() {
  [ -n "$server_pid" ] && kill "$server_pid" 2>/dev/null
  if [ -f "$work/user.ini" ]; then cp "$work/user.ini" "$user_ini"; else rm -f "$user_ini"; fi
  rm -rf "$work"
}
trap cleanup EXIT

vela_program_folder "$work/program" "$win" || exit 1
exe=$(winepath -w "$work/program/VelaAssistant.exe")
python3 "$root/tools/config_server/config_server.py" --port 0 --version 1.0.0.0 --log "$work/requests.log" \
  > "$work/server.out" 2>&1 &
server_pid=$!
for _ in $(seq 1 100); do grep -q '^listening port=' "$work/server.out" && break; sleep 0.05; done
port=$(sed -n 's/^listening port=//p' "$work/server.out")
[ -n "$port" ] || { echo "the configuration server did not start" >&2; cat "$work/server.out" >&2; exit 1; }
# A port where nothing listens: one the kernel just handed out and took back.
absent=$(python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')

status=0
echo "machine: $(nproc) cores, load average $(cut -d' ' -f1-3 /proc/loadavg)"
for case in "answers at once|http://127.0.0.1:$port/config.php" \
            "answers after 10 s|http://127.0.0.1:$port/fault/slow10/config.php" \
            "never answers|http://127.0.0.1:$port/fault/hang/config.php" \
            "absent|http://127.0.0.1:$absent/config.php"; do
  name=${case%%|*}
  url=${case#*|}
  printf '[Config]\r\nConfigUrl=%s\r\n' "$url" > "$work/program/AppConfig.ini"
  before=$(grep -c 'path=' "$work/requests.log" 2>/dev/null)
  echo
  echo "configuration server $name ($url):"
  wine "$win/bench/program_bench.exe" --program "$exe" --startup --runs "$runs" || status=1
  echo "  requests the server saw: $(( $(grep -c 'path=' "$work/requests.log" 2>/dev/null) - ${before:-0} ))"
done
exit $status
