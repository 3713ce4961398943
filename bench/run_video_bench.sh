#!/usr/bin/env bash
# The video path's figures, before and after, in one run on this machine:
#   - throughput: whole path / decode only, on recorded streams at 1280x720,
#     1920x1080 and 720x1280, plain and camera-like (video_pipeline_bench);
#   - latency: the simulator's capture stamp to the picture in the cameras'
#     section, read by the built program's own section, at 720p30 and
#     720p60, with one picture per Video message and with random cuts
#     (program_bench --latency); how far the published picture trails the
#     newest decoded one at 60 fps (video_latency_bench, the new code only);
#   - CPU of the whole process over S seconds of 720p30 with the preview
#     shown, and the peak working set at 1080p (program_bench --cpu).
# "Before" is the code at REF (default: the commit before the video path's
# speed work), built in build/bench-baseline from a worktree of this
# repository; "after" is the working tree's build/win. Each figure is
# measured for both in turn, in the same run, and a table at the end sets
# them side by side with the targets.
#
#   bench/run_video_bench.sh [--baseline REF | --no-baseline] [--repeat N] [--seconds S]
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
baseline_ref=c0d9e3b
repeat=3
seconds=20
while [ $# -gt 0 ]; do
  case "$1" in
    --baseline) baseline_ref=$2; shift 2 ;;
    --no-baseline) baseline_ref=""; shift ;;
    --repeat) repeat=$2; shift 2 ;;
    --seconds) seconds=$2; shift 2 ;;
    *) echo "usage: $0 [--baseline REF | --no-baseline] [--repeat N] [--seconds S]" >&2; exit 2 ;;
  esac
done

# A Wine prefix of its own: a test run that ends (wineserver -k) elsewhere on
# the machine must not kill a benchmark half-way.
export VELA_WINEPREFIX=${VELA_WINEPREFIX:-${VELA_CACHE:-$HOME/.cache/vela}/wineprefix-bench}
prefix=$("$root/scripts/deps.sh" --print-prefix | tail -n1)
native=$root/build/native
targets=(video_pipeline_bench video_latency_bench program_bench VelaAssistant fake_adb lmcam_horizontal lmcam_vertical)

# build_win SOURCE DIR: the Windows targets the figures need.
build_win() {
  [ -f "$2/build.ninja" ] || cmake -S "$1" -B "$2" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$1/cmake/mingw64.cmake" \
    -DVELA_DEPS_PREFIX="$prefix" >/dev/null || return 1
  cmake --build "$2" --target "${targets[@]}" -j"$(nproc)" >/dev/null
}
[ -f "$native/build.ninja" ] || cmake -S "$root" -B "$native" -G Ninja >/dev/null
cmake --build "$native" --target phone_simulator -j"$(nproc)" >/dev/null || exit 1
build_win "$root" "$root/build/win" || { echo "the current tree does not build"; exit 1; }
trees=(after)
declare -A win=([after]=$root/build/win)
if [ -n "$baseline_ref" ]; then
  base=$root/build/bench-baseline
  if [ ! -d "$base/src" ]; then
    git -C "$root" worktree add --detach "$base/src" "$baseline_ref" >/dev/null 2>&1 \
      || { echo "cannot check out $baseline_ref"; exit 1; }
  fi
  git -C "$base/src" checkout --detach -q "$baseline_ref" || exit 1
  echo "building the baseline $(git -C "$base/src" log -1 --format='%h %s') (the first time takes minutes)"
  build_win "$base/src" "$base/win" || { echo "the baseline does not build"; exit 1; }
  trees=(before after)
  win[before]=$base/win
fi
sim=$native/tools/phone_simulator/phone_simulator
out=$(mktemp -d)
trap 'vela_stop_simulator 2>/dev/null; rm -rf "$out"' EXIT
source "$root/scripts/wine-env.sh"
source "$root/scripts/program-folder.sh"
vela_wine_setup || exit 1
echo "machine: $(nproc) cores, load average $(cut -d' ' -f1-3 /proc/loadavg); before = ${baseline_ref:-none}"

# --- throughput on recorded streams ---
streams=${VELA_CACHE:-$HOME/.cache/vela}/bench-streams
mkdir -p "$streams"
for set in plain camera; do
  for size in 1280x720 1920x1080 720x1280; do
    file="$streams/sim_${set}_${size}_300.h264"
    extra=()
    [ "$set" = camera ] && extra=(--noise 12 --bitrate 4000)
    [ "$set" = camera ] && [ "$size" = 1920x1080 ] && extra=(--noise 12 --bitrate 8000)
    if [ ! -s "$file" ] || [ "$sim" -nt "$file" ]; then
      "$sim" --dump "$file.tmp" --frames 300 --size "$size" --fps 30 "${extra[@]}" >/dev/null && mv "$file.tmp" "$file"
    fi
    for tree in "${trees[@]}"; do
      echo
      echo "== $tree: $set $size"
      wine "${win[$tree]}/bench/video_pipeline_bench.exe" --repeat "$repeat" "$(winepath -w "$file")" \
        | tee "$out/pipe-$tree-$set-$size.txt" | grep -E '^\s+\((a|c)\)|second core|without the conversion|slice threads|peak working set of'
    done
  done
done

# --- the built program against a live simulator on its fixed port ---
# program RUN TREE MODE SIMULATOR-OPTIONS...: one program_bench run.
program() {
  local run=$1 tree=$2 mode=$3
  shift 3
  local folder="$out/program-$tree"
  [ -d "$folder" ] || vela_program_folder "$folder" "${win[$tree]}" >/dev/null || return 1
  vela_start_simulator_8984 "$sim" "$out/simulator.log" "$@" || return 1
  wine "${win[$tree]}/bench/program_bench.exe" --program "$(winepath -w "$folder/VelaAssistant.exe")" "$mode" \
    --seconds "$( [ "$mode" = --cpu ] && echo "$seconds" || echo 10)" > "$out/$run-$tree.txt" 2>&1
  vela_stop_simulator
  grep -E 'capture stamp|never published|CPU \(Linux|peak working set' "$out/$run-$tree.txt" | sed "s/^/  $tree: /"
}
for config in "30 whole --frames-per-message 1" "30 cuts" "60 whole --frames-per-message 1" "60 cuts"; do
  set -- $config
  fps=$1 pattern=$2
  shift 2
  echo
  echo "== latency, 1280x720 at $fps fps, $( [ "$pattern" = whole ] && echo "one picture per message" || echo "random cuts")"
  for tree in "${trees[@]}"; do
    program "lat-$fps-$pattern" "$tree" --latency --size 1280x720 --fps "$fps" "$@"
  done
done
echo
echo "== the published picture against the newest decoded one, 1280x720 at 60 fps (after only)"
source "$root/bench/simulator.sh"
if bench_start_simulator "$sim" --size 1280x720 --fps 60 --frames-per-message 1 --exit-after-idle 60; then
  wine "$root/build/win/bench/video_latency_bench.exe" --port "$bench_sim_port" --seconds 8 | tee "$out/lag.txt"
  bench_stop_simulator
fi
for size in 1280x720 1920x1080; do
  echo
  echo "== CPU and memory, $size at 30 fps, preview shown, $seconds s"
  for tree in "${trees[@]}"; do program "cpu-$size" "$tree" --cpu --size "$size" --fps 30; done
done

# --- the table ---
# figure FILE PATTERN FIELD: the FIELD-th number after PATTERN on its line.
figure() {
  [ -f "$1" ] || { echo "-"; return; }
  grep -m1 -E "$2" "$1" | sed -E "s/.*$2//; s/p95//g" | grep -oE '[0-9]+(\.[0-9]+)?' | sed -n "${3}p" | grep . || echo "-"
}
row() { printf '%-58s %10s %10s   %s\n' "$1" "$2" "$3" "$4"; }
echo
echo "== summary (before = ${baseline_ref:-none})"
row "figure" "before" "after" "target"
for size in 1280x720 1920x1080 720x1280; do
  for set in plain camera; do
    target=">= 0.85"
    [ "$size" = 1920x1080 ] && target=">= 0.70"
    for side in landscape portrait; do
      row "whole / decode only, $set $size, $side" \
        "$(figure "$out/pipe-before-$set-$size.txt" "whole path, $side" 3)" \
        "$(figure "$out/pipe-after-$set-$size.txt" "whole path, $side" 3)" "$( [ "$set" = camera ] && echo "$target")"
    done
  done
done
for fps in 30 60; do
  for pattern in whole cuts; do
    what="one picture per message"
    [ "$pattern" = cuts ] && what="random cuts"
    t=""
    [ "$pattern" = whole ] && t="<= 20 / 35"
    [ "$pattern" = cuts ] && t="no worse"
    row "stamp to section, 720p$fps, $what: median / p95 ms" \
      "$(figure "$out/lat-$fps-$pattern-before.txt" "in the section" 1) / $(figure "$out/lat-$fps-$pattern-before.txt" "in the section" 2)" \
      "$(figure "$out/lat-$fps-$pattern-after.txt" "in the section" 1) / $(figure "$out/lat-$fps-$pattern-after.txt" "in the section" 2)" "$t"
    row "  pictures never published (of about $((fps * 10)))" "$(figure "$out/lat-$fps-$pattern-before.txt" "to the section, " 4)" \
      "$(figure "$out/lat-$fps-$pattern-after.txt" "to the section, " 4)" ""
  done
done
row "published behind newest decoded at 60 fps (frames)" "-" "$(figure "$out/lag.txt" "decoded: at most" 1)" "<= 1"
row "CPU, 720p30, preview shown (% of one core)" "$(figure "$out/cpu-1280x720-before.txt" "CPU \(Linux" 2)" \
  "$(figure "$out/cpu-1280x720-after.txt" "CPU \(Linux" 2)" "<= 15"
row "peak working set, 1080p30 (MiB)" "$(figure "$out/cpu-1920x1080-before.txt" "peak working set" 1)" \
  "$(figure "$out/cpu-1920x1080-after.txt" "peak working set" 1)" "<= 80"
