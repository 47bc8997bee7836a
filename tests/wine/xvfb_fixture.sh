#!/usr/bin/env bash
# Starts or stops the X server that the window tests of one CTest run
# share (a CTest fixture): one server for the whole run, so Wine's desktop
# process, which outlives single tests, never loses its display.
#   xvfb_fixture.sh start DISPLAY PIDFILE PROGRAM
#   xvfb_fixture.sh stop DISPLAY PIDFILE
# Start also tells Wine in PROGRAM's prefix not to hand its windows to a
# window manager: there is none on Xvfb, and with managed windows every
# hide waits two seconds for one to answer.
set -u
action=${1:?start or stop} display=${2:?display, e.g. :11} pidfile=${3:?pid file}
root=$(cd "$(dirname "$0")/../.." && pwd)

unmanaged_windows() {
  local program=$1 env
  env=$("$root/scripts/wine-run" --env "$program") || return $?
  eval "$env"
  "$WINELOADER" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f \
    >"$pidfile.reg.log" 2>&1 </dev/null
}

case "$action" in
  start)
    unmanaged_windows "${4:?program whose Wine prefix the tests use}" || exit $?
    if xdpyinfo -display "$display" >/dev/null 2>&1; then
      echo "xvfb: $display already answers; using it"
      exit 0
    fi
    Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp >"$pidfile.log" 2>&1 </dev/null &
    echo $! >"$pidfile"
    for _ in $(seq 50); do
      xdpyinfo -display "$display" >/dev/null 2>&1 && exit 0
      sleep 0.1
    done
    echo "xvfb: $display did not come up, see $pidfile.log" >&2
    exit 1 ;;
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
