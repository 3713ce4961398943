#!/usr/bin/env bash
# The built program measured from outside under Wine: start-up time, the
# latency from the simulator's frame stamp to the picture in the cameras'
# section (720p30 and 720p60, with the capture-to-queue figure of
# video_latency_bench beside it), CPU and peak working set while streaming
# 720p30 with the preview shown, and how long disconnect and close take in
# each state (streaming, connecting to a silent phone, adb hanging).
#
#   bench/run_program_bench.sh [--native DIR] [--win DIR] [--runs N] [--seconds S]
#
# The program connects to its fixed port 8984: the simulator takes that port
# (the script waits until it is free). DIRs default to build/native and
# build/win, built already (scripts/build.sh).
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
native=${VELA_NATIVE_BUILD:-$root/build/native}
win=${VELA_WIN_BUILD:-$root/build/win}
runs=5
seconds=20
while [ $# -gt 0 ]; do
  case "$1" in
    --native) native=$2; shift 2 ;;
    --win) win=$2; shift 2 ;;
    --runs) runs=$2; shift 2 ;;
    --seconds) seconds=$2; shift 2 ;;
    *) echo "usage: $0 [--native DIR] [--win DIR] [--runs N] [--seconds S]" >&2; exit 2 ;;
  esac
done
cmake --build "$native" --target phone_simulator -j2 >/dev/null || exit 1
cmake --build "$win" --target VelaAssistant fake_adb lmcam_horizontal lmcam_vertical program_bench video_latency_bench -j2 \
  >/dev/null || exit 1
sim="$native/tools/phone_simulator/phone_simulator"

source "$root/scripts/wine-env.sh"
source "$root/scripts/program-folder.sh"
vela_wine_setup || exit 1
work=$(mktemp -d)
trap 'vela_stop_simulator; rm -rf "$work"' EXIT
vela_program_folder "$work/program" "$win" || exit 1
exe=$(winepath -w "$work/program/VelaAssistant.exe")
bench() { wine "$win/bench/program_bench.exe" --program "$exe" "$@"; }

status=0
echo "machine: $(nproc) cores, load average $(cut -d' ' -f1-3 /proc/loadavg)"
vela_start_simulator_8984 "$sim" "$work/simulator.log" --size 1280x720 --fps 30 || exit 1
bench --startup --runs "$runs" || status=1
for fps in 30 60; do
  vela_stop_simulator
  vela_start_simulator_8984 "$sim" "$work/simulator.log" --size 1280x720 --fps $fps || exit 1
  echo
  echo "1280x720 at $fps fps:"
  bench --latency --seconds 10 || status=1
  # The same stream without the preview: capture stamp to the frame queued.
  wine "$win/bench/video_latency_bench.exe" --port 8984 --seconds 10 || status=1
done
echo
vela_stop_simulator
vela_start_simulator_8984 "$sim" "$work/simulator.log" --size 1280x720 --fps 30 || exit 1
bench --cpu --seconds "$seconds" || status=1
echo
bench --stop --runs "$runs" || status=1
vela_stop_simulator
bench --stop-silent --runs "$runs" || status=1
printf '%s\n' 'delay forward 60000' >> "$work/program/scenario.txt"
bench --stop-adb --runs "$runs" || status=1
exit $status
