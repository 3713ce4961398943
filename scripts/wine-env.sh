# Shared Wine and display set-up; sourced by wine-run.sh, test.sh and run.sh.
# Defines vela_wine_setup, which prepares the prefix and a display and exports
# WINEPREFIX, WINEDEBUG, DISPLAY.

VELA_CACHE=${VELA_CACHE:-$HOME/.cache/vela}
export WINEPREFIX=${VELA_WINEPREFIX:-$VELA_CACHE/wineprefix}
export WINEDEBUG=${WINEDEBUG:--all}
# No Mono or Gecko install prompts: the program needs neither.
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
# WinINet follows http_proxy even for 127.0.0.1.
unset http_proxy https_proxy HTTP_PROXY HTTPS_PROXY ftp_proxy FTP_PROXY all_proxy ALL_PROXY no_proxy NO_PROXY

# Bump when the prefix settings below change.
VELA_PREFIX_VERSION=2

vela_write_registry() {
  local reg=$1 utf8
  utf8=$(mktemp)
  {
    printf 'Windows Registry Editor Version 5.00\r\n\r\n'
    printf '[HKEY_CURRENT_USER\\Software\\Wine\\Fonts\\Replacements]\r\n'
    local face
    for face in "微软雅黑" "Microsoft YaHei" "宋体" "SimSun" "新宋体" "NSimSun" "黑体" "SimHei"; do
      printf '"%s"="WenQuanYi Micro Hei"\r\n' "$face"
    done
    printf '\r\n[HKEY_CURRENT_USER\\Software\\Wine\\X11 Driver]\r\n"Managed"="N"\r\n'
    # A crashing program must end, not wait on a crash dialog nobody sees.
    printf '\r\n[HKEY_CURRENT_USER\\Software\\Wine\\WineDbg]\r\n"ShowCrashDialog"=dword:00000000\r\n'
  } > "$utf8"
  { printf '\xff\xfe'; iconv -f UTF-8 -t UTF-16LE "$utf8"; } > "$reg"
  rm -f "$utf8"
}

# Starts Xvfb when DISPLAY is unset; one shared server for all callers.
vela_ensure_display() {
  [ -n "${DISPLAY:-}" ] && return 0
  local state="$VELA_CACHE/xvfb.display" num pid
  if [ -f "$state" ]; then
    read -r num pid < "$state"
    if kill -0 "$pid" 2>/dev/null && [ -S "/tmp/.X11-unix/X$num" ]; then
      export DISPLAY=":$num"
      return 0
    fi
  fi
  for num in $(seq 91 120); do
    [ -e "/tmp/.X11-unix/X$num" ] || [ -e "/tmp/.X$num-lock" ] && continue
    setsid Xvfb ":$num" -screen 0 1920x1080x24 -nolisten tcp >/dev/null 2>&1 < /dev/null &
    pid=$!
    local i
    for i in $(seq 1 100); do
      [ -S "/tmp/.X11-unix/X$num" ] && break
      sleep 0.05
    done
    if [ -S "/tmp/.X11-unix/X$num" ]; then
      echo "$num $pid" > "$state"
      export DISPLAY=":$num"
      return 0
    fi
    kill "$pid" 2>/dev/null
  done
  echo "wine-env: could not start Xvfb" >&2
  return 1
}

vela_ensure_prefix() {
  local stamp="$WINEPREFIX/.vela-prefix-$VELA_PREFIX_VERSION"
  [ -f "$stamp" ] && return 0
  echo "wine-env: preparing the Wine prefix $WINEPREFIX" >&2
  mkdir -p "$WINEPREFIX"
  wineboot -i >/dev/null 2>&1 || { echo "wine-env: wineboot failed" >&2; return 1; }
  local reg="$WINEPREFIX/vela-settings.reg"
  vela_write_registry "$reg"
  wine regedit "$reg" >/dev/null 2>&1 || { echo "wine-env: regedit failed" >&2; return 1; }
  wineserver -w
  touch "$stamp"
}

vela_wine_setup() {
  mkdir -p "$VELA_CACHE"
  exec 9>"$VELA_CACHE/wine.lock"
  flock 9
  vela_ensure_display && vela_ensure_prefix
  local ok=$?
  # Keep the server up between short-lived test programs; it exits after
  # 30 s without clients (or when test.sh stops it).
  if [ $ok = 0 ]; then
    wineserver -p30 >/dev/null 2>&1
    # The first program of a cold server starts Wine's background services,
    # which would inherit (and hold open) the caller's output: start them
    # here with output going nowhere, so a test runner sees the test end.
    wine cmd.exe /c exit </dev/null >/dev/null 2>&1
  fi
  flock -u 9
  exec 9>&-
  return $ok
}

# Stops the Xvfb that vela_ensure_display started, if there is one.
vela_display_stop() {
  local num pid
  if [ -f "$VELA_CACHE/xvfb.display" ]; then
    read -r num pid < "$VELA_CACHE/xvfb.display" && kill "$pid" 2>/dev/null
    rm -f "$VELA_CACHE/xvfb.display"
  fi
}

vela_wine_stop() {
  wineserver -k >/dev/null 2>&1 || true
}
