# Sourced by the benchmark scripts: one phone simulator on a free loopback
# port. Defines bench_start_simulator and bench_stop_simulator.
#
#   bench_start_simulator SIMULATOR [options...]
#     starts it with --port 0 and the options, waits (up to 10 s) for the port
#     it prints and sets bench_sim_port; on failure prints its output and
#     returns 1.
#   bench_stop_simulator: ends it (safe when none runs).

bench_sim_pid=""
bench_sim_port=""
bench_sim_out=$(mktemp)

bench_stop_simulator() {
  if [ -n "$bench_sim_pid" ]; then
    kill "$bench_sim_pid" 2>/dev/null || true
    wait "$bench_sim_pid" 2>/dev/null || true
  fi
  bench_sim_pid=""
}

bench_start_simulator() {
  local sim=$1
  shift
  "$sim" --port 0 "$@" > "$bench_sim_out" 2>&1 &
  bench_sim_pid=$!
  bench_sim_port=""
  local _
  for _ in $(seq 1 200); do
    bench_sim_port=$(sed -n 's/^listening port=//p' "$bench_sim_out")
    [ -n "$bench_sim_port" ] && return 0
    kill -0 "$bench_sim_pid" 2>/dev/null || break
    sleep 0.05
  done
  echo "the simulator did not start:"
  cat "$bench_sim_out"
  bench_stop_simulator
  return 1
}

trap 'bench_stop_simulator; rm -f "$bench_sim_out"' EXIT
