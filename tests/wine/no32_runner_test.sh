#!/usr/bin/env bash
# The runner on a machine that refuses 32-bit code (simulated): an i686
# program is reported as skipped (77) with the reason, an x86_64 program
# still runs in its win64 prefix (a case that touches no shared state).
#   no32_runner_test.sh ROOT WIN64_EXE WIN32_EXE
set -u
root=$1 win64_exe=$2 win32_exe=$3
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

[ -f "$win32_exe" ] || { echo "FAIL: $win32_exe is missing (make win32)"; exit 1; }

out=$("$root/scripts/simulate-no32" "$root/scripts/wine-run" "$win32_exe" 2>&1); status=$?
[ "$status" -eq 77 ] || fail "i686 program: exit $status, want 77: $out"
case "$out" in *"cannot execute 32-bit x86 code"*) ;; *) fail "i686 program: no reason given: $out" ;; esac

out=$("$root/scripts/simulate-no32" "$root/scripts/wine-run" "$win64_exe" --gtest_filter=SharedHeader.RecordLayout 2>&1); status=$?
[ "$status" -eq 0 ] || fail "x86_64 program: exit $status, want 0: $out"

env=$("$root/scripts/wine-run" --env "$win64_exe"); status=$?
case "$env" in *"WINEARCH=win64"*"WINELOADER=/usr/lib/wine/wine64"*) ;; *) fail "x86_64 program gets: $env" ;; esac

out=$("$root/scripts/wine-run" "$root/README.md" 2>&1); status=$?
[ "$status" -ne 0 ] && [ "$status" -ne 77 ] || fail "a file that is no program: exit $status"

[ "$failures" -eq 0 ] && echo "no32 runner: all checks passed"
[ "$failures" -eq 0 ]
