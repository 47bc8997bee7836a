#!/usr/bin/env bash
# Prepares PROGRAM's Wine prefix for kvcal's window tests (a CTest fixture
# after the X server's): Wine's desktop must use our display, since these
# tests read the screen.
#   kvcal_prefix.sh PROGRAM    with DISPLAY set
set -u
program=${1:?program whose Wine prefix the tests use}
root=$(cd "$(dirname "$0")/../../.." && pwd)
: "${DISPLAY:?the X display of the tests}"

# Wine's desktop process keeps the display of the program that started it
# for the wineserver's life.
desktop_display_is_ours() {
  local pid env
  for pid in $(pgrep -f 'explorer.exe /desktop'); do
    env=$(tr '\0' '\n' <"/proc/$pid/environ" 2>/dev/null) || continue
    grep -qx "WINEPREFIX=$WINEPREFIX" <<<"$env" || continue
    grep -qx "DISPLAY=$DISPLAY" <<<"$env" || return 1
  done
  return 0
}

env=$("$root/scripts/wine-run" --env "$program") || exit $?
eval "$env"
if ! desktop_display_is_ours; then
  "$WINESERVER" -k >/dev/null 2>&1
  "$WINESERVER" -w >/dev/null 2>&1
  "$root/scripts/wine-run" --env "$program" >/dev/null || exit $?
fi
