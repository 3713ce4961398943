# Sourced by the program's outside test and benchmarks: a program folder as a
# user's machine has it, with the project's test doubles, and the phone
# simulator on the program's fixed port 8984.
#
#   vela_program_folder DEST WIN_BUILD
#     copies the program, its pictures and its two camera modules into DEST,
#     and the fake adb as adb\adb.exe;
#     writes DEST/scenario.txt (one Android phone, SIM0001, that stands for the
#     simulator) and exports VELA_FAKE_ADB_SCENARIO and VELA_FAKE_ADB_RECORD.
#   vela_start_simulator_8984 SIMULATOR LOG [options...]
#     waits (at most 60 s) until port 8984 is free, starts the simulator on it
#     and waits (at most 20 s) until it listens; sets vela_sim_pid.
#   vela_stop_simulator: ends it (safe when none runs).

vela_program_folder() {
  local dest=$1 win=$2
  mkdir -p "$dest/adb" || return 1
  cp "$win/app/VelaAssistant.exe" "$dest/" &&
    cp -r "$win/app/res" "$dest/" &&
    cp "$win/app/lmcam_horizontal.dll" "$win/app/lmcam_vertical.dll" "$dest/" &&
    cp "$win/tools/fake_adb/fake_adb.exe" "$dest/adb/adb.exe" || return 1
  printf '%s\n' 'devices List of devices attached\r\nSIM0001\tdevice\r\n' \
    'model SIM0001 [ro.product.model]: [Vela phone simulator]\r\n' > "$dest/scenario.txt"
  VELA_FAKE_ADB_SCENARIO=$(winepath -w "$dest/scenario.txt" 2>/dev/null)
  VELA_FAKE_ADB_RECORD=$(winepath -w "$dest/adb-record.txt" 2>/dev/null)
  export VELA_FAKE_ADB_SCENARIO VELA_FAKE_ADB_RECORD
}

vela_sim_pid=""

vela_stop_simulator() {
  if [ -n "$vela_sim_pid" ]; then
    kill "$vela_sim_pid" 2>/dev/null
    wait "$vela_sim_pid" 2>/dev/null
  fi
  vela_sim_pid=""
}

vela_start_simulator_8984() {
  local sim=$1 log=$2 _
  shift 2
  for _ in $(seq 1 300); do
    ss -Hltn 'sport = :8984' 2>/dev/null | grep -q . || break
    sleep 0.2
  done
  "$sim" --port 8984 --exit-after-idle 600 "$@" > "$log" 2>&1 &
  vela_sim_pid=$!
  for _ in $(seq 1 400); do
    grep -q '^listening port=8984' "$log" 2>/dev/null && return 0
    kill -0 "$vela_sim_pid" 2>/dev/null || break
    sleep 0.05
  done
  echo "the simulator did not start on port 8984:" >&2
  cat "$log" >&2
  vela_stop_simulator
  return 1
}
