#!/usr/bin/env bash
# Runs a GUI test program under Wine on a private Xvfb display (:24) in a
# prefix of its own, so that the helper's windows, hooks and injected
# input meet no other test's windows. Usage: run_with_display.sh SOURCE_DIR PROGRAM
set -u
root=${1:?usage: run_with_display.sh SOURCE_DIR PROGRAM}
program=${2:?usage: run_with_display.sh SOURCE_DIR PROGRAM}
export KV_WINEPREFIX="$(dirname "$program")/wineprefix"
export DISPLAY=:24
pidfile=$(mktemp)
"$root/tests/wine/xvfb.sh" start "$DISPLAY" "$pidfile" || exit 1
finish() {
  eval "$("$root/scripts/wine-run" --env "$program")"
  "$WINESERVER" -k >/dev/null 2>&1
  "$root/tests/wine/xvfb.sh" stop "$pidfile"
}
trap finish EXIT
"$root/scripts/wine-run" "$program"
