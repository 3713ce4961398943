#!/usr/bin/env bash
# Video path benchmark: records H.264 test streams with the phone simulator
# (1280x720, 1920x1080 and 720x1280, 300 frames each, plain and camera-like)
# and runs video_pipeline_bench on each under Wine, one process per stream so
# that the peak working set printed belongs to that stream alone; then
# measures capture-to-queued latency against live simulators with
# video_latency_bench.
#
#   bench/run_video_bench.sh [--native DIR] [--win DIR] [--repeat N] [--frames N]
#
# DIRs default to build/native and build/win (configured and built here when
# needed). Streams are kept in $VELA_CACHE/bench-streams and re-recorded when
# the simulator is newer than them.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
native=${VELA_NATIVE_BUILD:-$root/build/native}
win=${VELA_WIN_BUILD:-$root/build/win}
repeat=3
frames=300
while [ $# -gt 0 ]; do
  case "$1" in
    --native) native=$2; shift 2 ;;
    --win) win=$2; shift 2 ;;
    --repeat) repeat=$2; shift 2 ;;
    --frames) frames=$2; shift 2 ;;
    *) echo "usage: $0 [--native DIR] [--win DIR] [--repeat N] [--frames N]" >&2; exit 2 ;;
  esac
done

# A Wine prefix of its own: a test run that ends (wineserver -k) elsewhere on
# the machine must not kill a benchmark half-way.
export VELA_WINEPREFIX=${VELA_WINEPREFIX:-${VELA_CACHE:-$HOME/.cache/vela}/wineprefix-bench}

prefix=$("$root/scripts/deps.sh" --print-prefix | tail -n1)
[ -f "$native/build.ninja" ] || cmake -S "$root" -B "$native" -G Ninja >/dev/null
[ -f "$win/build.ninja" ] || cmake -S "$root" -B "$win" -G Ninja \
  -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw64.cmake" -DVELA_DEPS_PREFIX="$prefix" >/dev/null
cmake --build "$native" --target phone_simulator -j2 >/dev/null
cmake --build "$win" --target video_pipeline_bench video_latency_bench -j2 >/dev/null
sim="$native/tools/phone_simulator/phone_simulator"
bench="$win/bench/video_pipeline_bench.exe"
latency_bench="$win/bench/video_latency_bench.exe"

streams=${VELA_CACHE:-$HOME/.cache/vela}/bench-streams
mkdir -p "$streams"
# Two sets: the plain test picture (easy to decode: flat areas, few bits) and
# a camera-like one (sensor noise, phone-like bit rates), which weighs the
# decoder as a real phone stream does.
files=()
for set in plain camera; do
  for size in 1280x720 1920x1080 720x1280; do
    file="$streams/sim_${set}_${size}_${frames}.h264"
    extra=()
    if [ "$set" = camera ]; then
      extra=(--noise 12 --bitrate 4000)
      [ "$size" = 1920x1080 ] && extra=(--noise 12 --bitrate 8000)
    fi
    if [ ! -s "$file" ] || [ "$sim" -nt "$file" ]; then
      "$sim" --dump "$file.tmp" --frames "$frames" --size "$size" --fps 30 "${extra[@]}" >/dev/null
      mv "$file.tmp" "$file"
    fi
    files+=("$file")
  done
done

echo "machine: $(nproc) cores, load average $(cut -d' ' -f1-3 /proc/loadavg)"
status=0
for file in "${files[@]}"; do
  if ! "$root/scripts/wine-run.sh" "$bench" --repeat "$repeat" "Z:${file//\//\\}"; then
    echo "video_pipeline_bench failed on $file"
    status=1
  fi
done

# Latency against a live simulator (its encoder and the one-frame wait of the
# decoder's parser included), landscape and portrait output.
source "$root/bench/simulator.sh"
for config in "1280x720 30" "1280x720 60" "1920x1080 30" "720x1280 30"; do
  set -- $config
  echo
  echo "latency, live ${1} at ${2} fps (simulator on this machine, x264 veryfast zerolatency):"
  if ! bench_start_simulator "$sim" --size "$1" --fps "$2" --exit-after-idle 120; then
    status=1
    continue
  fi
  for mode in "" --portrait; do
    if ! "$root/scripts/wine-run.sh" "$latency_bench" --port "$bench_sim_port" --seconds 6 $mode; then
      echo "video_latency_bench failed on port $bench_sim_port $mode"
      status=1
    fi
  done
  bench_stop_simulator
done
exit $status
