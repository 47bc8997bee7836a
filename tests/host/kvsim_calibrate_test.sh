#!/usr/bin/env bash
# kvsim calibrate as integrators run it: the worked example with its
# disagreement line, a placement's area, a degenerate diagonal, and the
# exit code and message for bad arguments.
set -u
kvsim=$1
failures=0

check() {  # name, expected, actual
  if [ "$2" != "$3" ]; then
    printf 'FAIL %s\n--- expected\n%s\n--- got\n%s\n' "$1" "$2" "$3"
    failures=$((failures + 1))
  fi
}

check "worked example" "area 0,0 1024,768 (1024x768)
targets 256,192 768,576 256,576 768,192
L1=0 T1=0 R1=2000 B1=1600 L2=4 B2=1596 R2=1996 T2=4
XLow=2 XHigh=1998 YLow=2 YHigh=1598
disagreement X=4 raw (2.1 px) Y=4 raw (1.9 px)" \
  "$("$kvsim" calibrate --area 1024x768 500 400 1500 1200 502 1198 1498 402)"

check "slave screen: area right of the primary, targets in window coordinates" "area 1280,0 2560,1024 (1280x1024)
targets 320,256 960,768 320,768 960,256" \
  "$("$kvsim" calibrate --pos 5 --screen 1280x1024 500 400 1500 1200 502 1198 1498 402 | head -2)"

check "degenerate X diagonal, negative raw values" "XLow=0 XHigh=8191 YLow=-403 YHigh=1197
disagreement X=degenerate Y=0 raw (0.0 px)" \
  "$("$kvsim" calibrate --area 800x600 -5 -3 -5 797 0 797 10 -3 | tail -2)"

for bad in "--area 1024x768 1 2 3" "--area 0x768 1 2 3 4 5 6 7 8" "--pos 1 1 2 3 4 5 6 7 8" \
           "--area 10x10 --pos 1 --screen 10x10 1 2 3 4 5 6 7 8" "--area 10x10 1 2 3 4 5 6 7 99999999999"; do
  # shellcheck disable=SC2086
  "$kvsim" calibrate $bad >/dev/null 2>&1
  check "bad arguments exit 2: $bad" 2 $?
done
check "message names the problem" "kvsim calibrate: need eight raw values (X1 Y1 .. X4 Y4), got 3" \
  "$("$kvsim" calibrate --area 1024x768 1 2 3 2>&1 | head -1)"

[ "$failures" -eq 0 ] && echo "kvsim calibrate: all checks passed"
exit "$failures"
