#!/usr/bin/env bash
# Starts or stops the X server the window tests draw on.
#   xvfb.sh start DISPLAY PIDFILE   start Xvfb unless DISPLAY already answers
#   xvfb.sh stop PIDFILE            stop the server this script started
set -u
case "${1:-}" in
  start)
    display=${2:?display}; pidfile=${3:?pidfile}
    if xdpyinfo -display "$display" >/dev/null 2>&1; then exit 0; fi
    Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
    echo $! > "$pidfile"
    for _ in $(seq 50); do
      if xdpyinfo -display "$display" >/dev/null 2>&1; then exit 0; fi
      sleep 0.1
    done
    echo "xvfb.sh: Xvfb $display did not start" >&2
    exit 1 ;;
  stop)
    pidfile=${2:?pidfile}
    [ -f "$pidfile" ] || exit 0
    kill "$(cat "$pidfile")" 2>/dev/null
    rm -f "$pidfile"
    exit 0 ;;
  *) echo "usage: xvfb.sh start DISPLAY PIDFILE | stop PIDFILE" >&2; exit 2 ;;
esac
