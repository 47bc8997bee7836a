#!/usr/bin/env bash
# Runs a GUI test program under Wine on a private Xvfb display (:24) in a
# prefix of its own, so that the helper's windows, hooks and injected
# input meet no other test's windows. Usage: run_with_display.sh SOURCE_DIR PROGRAM
set -u
root=${1:?usage: run_with_display.sh SOURCE_DIR PROGRAM}
program=${2:?usage: run_with_display.sh SOURCE_DIR PROGRAM}
display=:24
export KV_WINEPREFIX="$(dirname "$program")/wineprefix"
export DISPLAY=$display

xvfb_pid=
if ! [ -e "/tmp/.X11-unix/X${display#:}" ]; then
  Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
  xvfb_pid=$!
  for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X${display#:}" ] && break; sleep 0.1; done
fi
finish() {
  eval "$("$root/scripts/wine-run" --env "$program")"
  "$WINESERVER" -k >/dev/null 2>&1
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
}
trap finish EXIT
"$root/scripts/wine-run" "$program"
