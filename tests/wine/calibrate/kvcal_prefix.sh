#!/usr/bin/env bash
# Prepares PROGRAM's Wine prefix for kvcal's window tests (a CTest fixture
# after the X server's): Wine's desktop must use our display, and Wine
# must not hand kvcal's windows to a window manager (there is none on
# Xvfb, and with managed windows every hide waits two seconds for one).
# Only kvcal's programs are set so, per program (AppDefaults).
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
for exe in kvcal.exe kvcal_scripted_en_US.exe kvcal_scripted_zh_CN.exe kvcal_window_test.exe \
           kvcal_zh_window_test.exe kvcal_program_test.exe kvcal_end_to_end_test.exe; do
  "$WINELOADER" reg add "HKCU\\Software\\Wine\\AppDefaults\\$exe\\X11 Driver" /v Managed /t REG_SZ /d N /f \
    >/dev/null 2>&1 </dev/null || { echo "kvcal_prefix: cannot set $exe" >&2; exit 1; }
done
