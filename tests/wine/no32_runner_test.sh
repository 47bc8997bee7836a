#!/usr/bin/env bash
# The runner on a machine that refuses 32-bit code (simulated): an i686
# program runs under the i386 emulator where bootstrap installed it, and is
# reported as skipped (77) with the reason where there is none; an x86_64
# program still runs in its win64 prefix (a case that touches no shared
# state).
#   no32_runner_test.sh ROOT WIN64_EXE WIN32_EXE
set -u
root=$1 win64_exe=$2 win32_exe=$3
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
no32() { "$root/scripts/simulate-no32" "$@" 2>&1; }
# shellcheck source=../../scripts/wine-env.sh
. "$root/scripts/wine-env.sh"

[ -f "$win32_exe" ] || { echo "FAIL: $win32_exe is missing (make win32)"; exit 1; }
# The emulated run gets a prefix of its own, so the win32 layer's prefix
# never meets a server started under the emulator.
prefix=$(mktemp -d)
trap 'WINEPREFIX=$prefix "$KV_WINESERVER" -k >/dev/null 2>&1; rm -rf "$prefix"' EXIT

out=$(KV_I386_EMULATOR=/nonexistent no32 "$root/scripts/wine-run" "$win32_exe"); status=$?
[ "$status" -eq 77 ] || fail "i686 program without the emulator: exit $status, want 77: $out"
case "$out" in *"cannot execute 32-bit x86 code"*"emulator"*) ;; *) fail "i686 program: no reason given: $out" ;; esac

# Where this machine itself refuses 32-bit code, every test of the win32
# layer runs this way; booting another prefix under the emulator here
# would prove nothing more.
kv_win32_way >/dev/null
if [ "$KV_WIN32_WAY" = emulated ]; then
  echo "i686 program under the emulator: proven by the win32 layer, which runs so on this machine"
else
  out=$(KV_WINEPREFIX=$prefix/p no32 "$root/scripts/wine-run" "$win32_exe" --gtest_filter=SharedHeader.RecordLayout)
  status=$?
  if [ -x "$KV_I386_EMULATOR" ]; then
    [ "$status" -eq 0 ] || fail "i686 program under the emulator: exit $status, want 0: $out"
    case "$out" in *"[  PASSED  ] 1 test"*) ;; *) fail "i686 program under the emulator ran no test: $out" ;; esac
  else
    [ "$status" -eq 77 ] || fail "i686 program, no emulator installed: exit $status, want 77: $out"
  fi
fi

out=$(no32 "$root/scripts/wine-run" "$win64_exe" --gtest_filter=SharedHeader.RecordLayout); status=$?
[ "$status" -eq 0 ] || fail "x86_64 program: exit $status, want 0: $out"

env=$("$root/scripts/wine-run" --env "$win64_exe"); status=$?
case "$env" in *"WINEARCH=win64"*"WINELOADER=/usr/lib/wine/wine64"*) ;; *) fail "x86_64 program gets: $env" ;; esac

out=$("$root/scripts/wine-run" "$root/README.md" 2>&1); status=$?
[ "$status" -ne 0 ] && [ "$status" -ne 77 ] || fail "a file that is no program: exit $status"

[ "$failures" -eq 0 ] && echo "no32 runner: all checks passed"
[ "$failures" -eq 0 ]
