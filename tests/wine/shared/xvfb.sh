#!/usr/bin/env bash
# Starts or stops an X server for the Wine tests to draw on.
#   xvfb.sh start DISPLAY PIDFILE       start Xvfb unless DISPLAY already answers
#   xvfb.sh start-free FIRST PIDFILE    start Xvfb on the first free display
#                                       from number FIRST up; prints it (:N)
#   xvfb.sh stop PIDFILE                stop the server this script started
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
  start-free)
    # Two checkouts testing at once on one machine must not share (or stop)
    # each other's server: a server that dies at once lost the race for its
    # number, and the next one is tried.
    display=${2:?first display number}; pidfile=${3:?pidfile}
    for _ in $(seq 20); do
      while [ -e "/tmp/.X${display}-lock" ] || [ -e "/tmp/.X11-unix/X$display" ]; do
        display=$((display + 1))
      done
      Xvfb ":$display" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 </dev/null &
      pid=$!
      for _ in $(seq 50); do
        { [ -e "/tmp/.X11-unix/X$display" ] || ! kill -0 "$pid" 2>/dev/null; } && break
        sleep 0.1
      done
      if kill -0 "$pid" 2>/dev/null; then
        echo "$pid" > "$pidfile"
        echo ":$display"
        exit 0
      fi
      display=$((display + 1))
    done
    echo "xvfb.sh: no X display could be started" >&2
    exit 1 ;;
  stop)
    pidfile=${2:?pidfile}
    [ -f "$pidfile" ] || exit 0
    kill "$(cat "$pidfile")" 2>/dev/null
    rm -f "$pidfile"
    exit 0 ;;
  *) echo "usage: xvfb.sh start DISPLAY PIDFILE | start-free FIRST PIDFILE | stop PIDFILE" >&2; exit 2 ;;
esac
