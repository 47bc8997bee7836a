#!/usr/bin/env bash
# Starts or stops the X server that the window tests of one CTest run
# share (a CTest fixture): one server for the whole run, so Wine's desktop
# process, which outlives single tests, never loses its display.
#   xvfb_fixture.sh start DISPLAY PIDFILE PROGRAM
#   xvfb_fixture.sh stop DISPLAY PIDFILE
# Start also makes sure Wine's desktop process in PROGRAM's prefix uses
# this display, and tells Wine not to hand its windows to a window
# manager: there is none on Xvfb, and with managed windows every hide
# waits two seconds for one to answer.
set -u
action=${1:?start or stop} display=${2:?display, e.g. :11} pidfile=${3:?pid file}
root=$(cd "$(dirname "$0")/../.." && pwd)

# Wine's desktop process keeps the display of the program that started it
# for the wineserver's life; one started without ours (by a test that
# needs no windows) would leave every window test without a screen.
desktop_display_is_ours() {
  local pid env
  for pid in $(pgrep -f 'explorer.exe /desktop'); do
    env=$(tr '\0' '\n' <"/proc/$pid/environ" 2>/dev/null) || continue
    grep -qx "WINEPREFIX=$WINEPREFIX" <<<"$env" || continue
    grep -qx "DISPLAY=$display" <<<"$env" || return 1
  done
  return 0
}

# Prepares PROGRAM's prefix for window tests on our display.
prepare_prefix() {
  local program=$1 env
  export DISPLAY=$display
  env=$("$root/scripts/wine-run" --env "$program") || return $?
  eval "$env"
  if ! desktop_display_is_ours; then
    "$WINESERVER" -k >/dev/null 2>&1
    "$WINESERVER" -w >/dev/null 2>&1
    "$root/scripts/wine-run" --env "$program" >/dev/null || return $?
  fi
  "$WINELOADER" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f \
    >"$pidfile.reg.log" 2>&1 </dev/null
}

case "$action" in
  start)
    program=${4:?program whose Wine prefix the tests use}
    if xdpyinfo -display "$display" >/dev/null 2>&1; then
      echo "xvfb: $display already answers; using it"
    else
      Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp >"$pidfile.log" 2>&1 </dev/null &
      echo $! >"$pidfile"
      for _ in $(seq 50); do
        xdpyinfo -display "$display" >/dev/null 2>&1 && break
        sleep 0.1
      done
      if ! xdpyinfo -display "$display" >/dev/null 2>&1; then
        echo "xvfb: $display did not come up, see $pidfile.log" >&2
        exit 1
      fi
    fi
    prepare_prefix "$program"
    exit $? ;;
  stop)
    # Only the server this fixture started.
    [ -f "$pidfile" ] || exit 0
    pid=$(cat "$pidfile")
    kill "$pid" 2>/dev/null
    # Gone before the next run looks for a server on this display.
    for _ in $(seq 50); do
      kill -0 "$pid" 2>/dev/null || break
      sleep 0.1
    done
    rm -f "$pidfile"
    exit 0 ;;
esac
echo "xvfb: unknown action $action" >&2
exit 2
