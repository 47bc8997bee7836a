#!/usr/bin/env bash
# Runs an installer test program under Wine in a prefix of its own (the
# installer adds and removes the very services, driver files and class
# filters that other tests load and use) and on a private Xvfb display (its
# message boxes need one); stops that prefix's Wine and the display
# afterwards. The program's exit status is the script's.
#   run_in_own_prefix.sh DISPLAY_NUMBER PREFIX WINE_RUN PROGRAM [ARG...]
set -u
display=${1:?usage: run_in_own_prefix.sh DISPLAY_NUMBER PREFIX WINE_RUN PROGRAM [ARG...]}
prefix=${2:?missing PREFIX}
wine_run=${3:?missing WINE_RUN}
shift 3
# shellcheck source=../../../scripts/wine-env.sh
. "$(dirname "$wine_run")/wine-env.sh"

# A free display from the asked one up: two checkouts testing at once on one
# machine must not share (or stop) each other's server. A server that dies at
# once lost the race for its number; the next one is tried.
xvfb=
stop() {
  [ -f "$prefix/system.reg" ] && WINEPREFIX=$prefix "$KV_WINESERVER" -k >/dev/null 2>&1
  [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null && wait "$xvfb" 2>/dev/null
}
trap stop EXIT
for _ in $(seq 20); do
  while [ -e "/tmp/.X${display}-lock" ] || [ -e "/tmp/.X11-unix/X$display" ]; do
    display=$((display + 1))
  done
  Xvfb ":$display" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
  xvfb=$!
  for _ in $(seq 50); do
    { [ -e "/tmp/.X11-unix/X$display" ] || ! kill -0 "$xvfb" 2>/dev/null; } && break
    sleep 0.1
  done
  kill -0 "$xvfb" 2>/dev/null && break
  xvfb=
  display=$((display + 1))
done
[ -n "$xvfb" ] || { echo "run_in_own_prefix.sh: no X display could be started" >&2; exit 1; }
DISPLAY=":$display" KV_WINEPREFIX=$prefix "$wine_run" "$@"
