#!/usr/bin/env bash
# Stop-time benchmark: starts one phone simulator and runs stream_stop_bench
# under Wine against it, which prints how long StreamWorker::Stop takes in
# each state a run can wait in (target: under 0.5 s).
#
#   bench/run_stop_bench.sh [--native DIR] [--win DIR] [--repeat N]
#
# DIRs default to build/native and build/win (both built already, e.g. by
# scripts/build.sh); only the two programs needed are brought up to date.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
native=${VELA_NATIVE_BUILD:-$root/build/native}
win=${VELA_WIN_BUILD:-$root/build/win}
repeat=10
while [ $# -gt 0 ]; do
  case "$1" in
    --native) native=$2; shift 2 ;;
    --win) win=$2; shift 2 ;;
    --repeat) repeat=$2; shift 2 ;;
    *) echo "usage: $0 [--native DIR] [--win DIR] [--repeat N]" >&2; exit 2 ;;
  esac
done
cmake --build "$native" --target phone_simulator -j2 >/dev/null
cmake --build "$win" --target stream_stop_bench -j2 >/dev/null
sim="$native/tools/phone_simulator/phone_simulator"

source "$root/bench/simulator.sh"
bench_start_simulator "$sim" --size 1280x720 --fps 30 --exit-after-idle 300 || exit 1
echo "machine: $(nproc) cores, load average $(cut -d' ' -f1-3 /proc/loadavg)"
"$root/scripts/wine-run.sh" "$win/bench/stream_stop_bench.exe" --port "$bench_sim_port" --repeat "$repeat"
