#!/usr/bin/env bash
# End to end without a driver: Wine's control.exe loads the built applet
# from system32 and opens it; the only window is the "Tip" box, and the
# control panel ends once it is answered.
#   control_panel_tip_test.sh ROOT CPL KVVIRT
set -u
root=${1:?root}; cpl=${2:?cpl}; kvvirt=${3:?kvvirt.exe}
env=$("$root/scripts/wine-run" --env "$cpl") || exit $?
eval "$env"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
system32=$WINEPREFIX/drive_c/windows/system32
cp "$cpl" "$system32/kvcplusb.cpl" || exit 1
# An earlier test may have left the real driver loaded in the virtual touch
# controller: take it away (a harness that is not running is fine too).
"$WINELOADER" "$kvvirt" unload >"$work/unload" 2>&1 </dev/null

# control.exe, with the control panel's own trace kept for a failure.
# Under load Wine's control.exe has once ended before its applet showed
# any window (seen under the i386 emulator, never reproduced alone); such
# an attempt is reported and tried once more, any other outcome counts.
open_panel() {
  WINEDEBUG=err+all,+shlctrl "$WINELOADER" control.exe kvcplusb.cpl >"$work/out" 2>&1 &
  panel=$!
  tip=""
  for _ in $(seq 150); do
    tip=$(xdotool search --name '^Tip$' 2>/dev/null | head -1)
    [ -n "$tip" ] && return 0
    kill -0 "$panel" 2>/dev/null || return 1
    sleep 0.2
  done
  return 2
}
open_panel
case $? in
  1) wait "$panel"; echo "note: control.exe ended (exit $?) before any window; trying again:"
     cat "$work/out"; open_panel ;;
esac
if [ -z "$tip" ]; then
  echo "FAIL: no Tip box appeared"; cat "$work/out"
  kill "$panel" 2>/dev/null; exit 1
fi
others=$(xdotool search --onlyvisible --name 'KESTIVA|registry' 2>/dev/null | wc -l)
xdotool windowfocus --sync "$tip" key Return 2>/dev/null || xdotool key --window "$tip" Return
for _ in $(seq 100); do
  kill -0 "$panel" 2>/dev/null || break
  sleep 0.2
done
if kill -0 "$panel" 2>/dev/null; then
  echo "FAIL: control.exe still runs after the Tip box was answered"
  kill "$panel"; exit 1
fi
wait "$panel"; status=$?
if [ "$others" -ne 0 ]; then echo "FAIL: other windows came up beside the Tip box"; exit 1; fi
echo "PASS: Tip box only; control.exe exit $status"
