#!/usr/bin/env bash
# The built program driven from outside as a person would, under Wine on the
# X display: start it from a program folder with the fake adb and the test
# camera modules, wait for the connect button, click it, see the window widen
# and the cameras' section (read by the section reader, another process) hold
# the simulator's 1280 x 720 picture with its four corner colours, click
# disconnect, see the window narrow, click the close button and get exit code 2.
# Every wait polls for its event with a deadline; any wrong step fails.
#
#   program_clicks_test.sh ROOT WIN_BUILD SIMULATOR
set -u
root=$1 win=$2 sim=$3
source "$root/scripts/wine-env.sh"
source "$root/scripts/program-folder.sh"
vela_wine_setup || exit 1

work=$(mktemp -d)
app=""
finish() {
  [ -n "$app" ] && kill "$app" 2>/dev/null && wait "$app" 2>/dev/null
  vela_stop_simulator
  rm -rf "$work"
}
trap finish EXIT
fail() {
  echo "FAILED: $*" >&2
  [ -n "$app" ] && [ -n "${window:-}" ] &&
    timeout 10 import -window "$window" "$win/program_clicks_failure.png" 2>/dev/null &&
    echo "screenshot of the window: $win/program_clicks_failure.png" >&2
  exit 1
}
# until SECONDS COMMAND...: polls COMMAND every 0.2 s until it succeeds or the deadline passes.
until_within() {
  local deadline=$((SECONDS + $1))
  shift
  while ! "$@"; do
    [ $SECONDS -lt $deadline ] || return 1
    sleep 0.2
  done
}

vela_program_folder "$work/program" "$win" || fail "could not place the program folder"
vela_start_simulator_8984 "$sim" "$work/simulator.log" --size 640x360 || fail "no simulator"

# The program starts adb\adb.exe by a relative path: run it from its folder.
(cd "$work/program" && exec wine VelaAssistant.exe) > "$work/program.out" 2>&1 &
app=$!

find_window() { window=$(xdotool search --onlyvisible --pid "$app" --name 'Vela直播助手' 2>/dev/null | head -1); [ -n "$window" ]; }
window_width() { xdotool getwindowgeometry "$window" 2>/dev/null | sed -n 's/.*Geometry: \([0-9]*\)x.*/\1/p'; }
width_is() { [ "$(window_width)" = "$1" ]; }
# The pink face of the connect button at (640, 610): the busy overlay covers it until the first device list.
connect_button_shown() {
  timeout 10 import -window "$window" "$work/window.png" 2>/dev/null &&
    [ "$(convert "$work/window.png" -format '%[fx:p{640,610}.r > p{640,610}.g + 0.2]' info:)" = 1 ]
}
# The four corner colours of the cameras' picture, top left to bottom right.
corner() { convert "$work/section.png" -format "%[fx:round(p{$1,$2}.r)]%[fx:round(p{$1,$2}.g)]%[fx:round(p{$1,$2}.b)]" info:; }
cameras_see_the_simulator() {
  rm -f "$work/section.png"
  wine "$win/tools/section_reader/section_reader.exe" --png "$(winepath -w "$work/section.png")" >/dev/null 2>&1 || return 1
  [ "$(identify -format '%wx%h' "$work/section.png")" = 1280x720 ] || return 1
  seen="$(corner 160 90) $(corner 1119 90) $(corner 160 629) $(corner 1119 629)"
  [ "$seen" = "100 010 001 111" ]  # red, green, blue, white
}

until_within 60 find_window || fail "the main window did not appear"
width_is 730 || fail "the idle window is $(window_width) wide, not 730"
until_within 60 connect_button_shown || fail "the connect button did not appear"

xdotool mousemove --window "$window" 670 620 click 1
until_within 30 width_is 1080 || fail "after the click on connect the window is $(window_width) wide, not 1080"
until_within 30 cameras_see_the_simulator || fail "the cameras see ${seen:-no picture}, not the simulator's corners"

# A second press within the double-click time (500 ms) would be a double
# click, which the button takes as no click: a person's pause.
sleep 0.6
xdotool mousemove --window "$window" 670 620 click 1
until_within 10 width_is 730 || fail "after the click on disconnect the window is $(window_width) wide, not 730"

xdotool mousemove --window "$window" 702 25 click 1  # the close button
program_ended() { ! kill -0 "$app" 2>/dev/null; }
until_within 20 program_ended || fail "the program did not end after the click on its close button"
wait "$app"
code=$?
app=""
[ "$code" = 2 ] || fail "exit code $code, not 2"
echo "passed: connect, the simulator's picture in the section, disconnect, close with exit code 2"
