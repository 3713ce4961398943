#!/usr/bin/env bash
# Runs Vela直播助手 under Wine, connected to the phone simulator on
# 127.0.0.1:8984 through the fake adb placed as the program's adb\adb.exe
# (it lists one Android phone that stands for the simulator and accepts the
# forward).
# A local configuration server answers the program's configuration request
# (texts, help pictures). The build places the two camera modules beside the program, and
# start-up registers them.
#
# With a display (DISPLAY set) the program runs until you close it; click
# "马上连接" to see the simulator's picture. Without one (or with
# VELA_RUN_AUTO=1) the script does it itself: it waits for the window, saves
# build/run-idle.png, clicks "马上连接", waits until the shared section holds
# a picture, saves build/run-connected.png, the section as the cameras see
# it (build/section.png) and what a streaming app receives from the camera
# "Vela直播助手（横屏）" (build/camera.png, through tools/camera_viewer),
# clicks a filter tile of the phone's panel and saves build/run-panel.png (the tile selected, the picture tinted), then closes the
# program with Escape.
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/build.sh" || { echo "build failed" >&2; exit 1; }

source "$root/scripts/wine-env.sh"
started_display=""
[ -z "${DISPLAY:-}" ] && started_display=1
auto=${VELA_RUN_AUTO:-$started_display}
vela_wine_setup || exit 1

app_dir="$root/build/win/app"
mkdir -p "$app_dir/adb"
cp "$root/build/win/tools/fake_adb/fake_adb.exe" "$app_dir/adb/adb.exe" || exit 1
scenario="$root/build/run-adb-scenario.txt"
cat > "$scenario" <<'SCENARIO'
devices List of devices attached\r\nSIM0001\tdevice\r\n\r\n
model SIM0001 [ro.product.model]: [Vela phone simulator]\r\n
SCENARIO
export VELA_FAKE_ADB_SCENARIO=$(winepath -w "$scenario" 2>/dev/null)
export VELA_FAKE_ADB_RECORD=$(winepath -w "$root/build/run-adb-record.txt" 2>/dev/null)

pids=()
cleanup() {
  for p in "${pids[@]}"; do kill "$p" 2>/dev/null; done
  # Only our own children: a bare wait would also wait for the Xvfb that the
  # Wine set-up started in the background, which never ends by itself.
  wait "${pids[@]}" 2>/dev/null
  if [ -n "$started_display" ]; then
    vela_wine_stop
    vela_display_stop
  fi
}
trap cleanup EXIT

sim="$root/build/native/tools/phone_simulator/phone_simulator"
"$sim" --port 8984 > "$root/build/simulator.log" 2>&1 &
pids+=($!)
sleep 0.5
kill -0 "${pids[0]}" 2>/dev/null || { echo "the simulator did not start (port 8984 taken?)" >&2; exit 1; }
echo "phone simulator on 127.0.0.1:8984 (log: build/simulator.log)"

# The local configuration server stands for the maker's: texts, help
# pictures and the newest version come from it; AppConfig.ini's ConfigUrl
# points the program there.
python3 "$root/tools/config_server/config_server.py" --port 0 --picture-tag demo \
  --log "$root/build/config-requests.log" > "$root/build/config-server.log" 2>&1 &
pids+=($!)
config_port=""
for _ in $(seq 1 100); do
  config_port=$(sed -n 's/^listening port=\([0-9]*\).*/\1/p' "$root/build/config-server.log" | head -1)
  [ -n "$config_port" ] && break
  sleep 0.05
done
[ -n "$config_port" ] || { echo "the configuration server did not start" >&2; exit 1; }
printf '[Config]\r\nConfigUrl=http://127.0.0.1:%s/config.php\r\n' "$config_port" > "$app_dir/AppConfig.ini"
echo "configuration server on 127.0.0.1:$config_port (requests: build/config-requests.log)"

# The program starts its adb tool by the relative path adb\adb.exe: run it from its own folder.
cd "$app_dir"
wine VelaAssistant.exe &
app=$!
pids+=($app)

if [ -z "$auto" ]; then
  wait "$app"
  exit $?
fi

reader="$root/build/win/tools/section_reader/section_reader.exe"
viewer="$root/build/win/tools/camera_viewer/camera_viewer.exe"
section_width() { wine "$reader" 2>/dev/null | sed -n 's/^width=\([0-9]*\) .*/\1/p'; }

window=$(timeout 30 xdotool search --sync --onlyvisible --name 'Vela直播助手' 2>/dev/null | head -1)
[ -n "$window" ] || { echo "the main window did not appear" >&2; exit 1; }
sleep 3  # the first device list (the fake adb answers at once) and its paint
import -window "$window" "$root/build/run-idle.png" && echo "screenshot: build/run-idle.png"

# The connect button's centre: (622..718, 602..638) in the window.
xdotool mousemove --window "$window" 670 620 click 1
for _ in $(seq 1 60); do
  [ "$(section_width)" = 1280 ] && break
  sleep 0.5
done
if [ "$(section_width)" = 1280 ]; then
  sleep 1  # a few more pictures through the preview
  import -window "$window" "$root/build/run-connected.png" && echo "screenshot: build/run-connected.png"
  wine "$reader" --png "$(winepath -w "$root/build/section.png")" && echo "section: build/section.png"
  wine "$reader" 2>/dev/null
  # What a streaming app sees: the landscape camera opened through DirectShow
  # by its name (Wine converts arguments in the locale's encoding: UTF-8).
  LC_ALL=C.UTF-8 wine "$viewer" --camera "Vela直播助手（横屏）" --frames 30 \
    --png "$(winepath -w "$root/build/camera.png")" && echo "what a streaming app sees: build/camera.png"
  # The phone's panel: click its second filter tile (index 1 of the 3-column
  # grid: the panel at x 728, the grid at (38, 38 + 86), tiles 68 wide, 34
  # apart); the simulated phone selects it and tints its picture.
  xdotool mousemove --window "$window" 902 226 click 1
  for _ in $(seq 1 40); do
    grep -q 'event name="click" id="102"' "$root/build/simulator.log" && break
    sleep 0.25
  done
  if grep -q 'event name="click" id="102"' "$root/build/simulator.log"; then
    sleep 1  # the answer and a few tinted pictures
    import -window "$window" "$root/build/run-panel.png" && echo "screenshot: build/run-panel.png"
  else
    echo "the click on the panel did not reach the phone" >&2
  fi
else
  echo "no picture reached the section" >&2
fi
xdotool key --window "$window" Escape >/dev/null 2>&1
wait "$app"
echo "exit code $?"
