#!/usr/bin/env bash
# kvsim as integrators run it: the README's worked example, a registry
# export with --set on top, and the exit codes for bad input.
set -u
kvsim=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0

check() {  # name, expected, actual
  if [ "$2" != "$3" ]; then
    printf 'FAIL %s\n--- expected\n%s\n--- got\n%s\n' "$1" "$2" "$3"
    failures=$((failures + 1))
  fi
}

cat > "$work/touch.txt" <<'IN'
# contact, raw X 1000 (e8 03), raw Y 550 (26 02)
01 e8 03 26 02 00 00
00 e8 03 26 02 00 00
ioctl SET_SCREEN_POS 2
01 e8 03 26 02 00 00
ioctl GET_BEEP
IN
check "README example" "01 00 10 00 08 00 00
00 00 10 00 08 00 00  beep 2000 40
ioctl SET_SCREEN_POS status=0x00000000 out=
01 00 18 00 08 00 00
ioctl GET_BEEP status=0x00000000 out=02 00 00 00 d0 07 00 00 28 00 00 00 00 00 00 00 00 00 00 00" \
  "$("$kvsim" replay --set XLow=100 --set XHigh=1900 --set YLow=100 --set YHigh=1900 \
       --set BeepFreq=2000 --set BeepTime=40 "$work/touch.txt")"

printf 'REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Services\\KVUSB\\Parameters]\r\n"XLow"=dword:00000064\r\n"XHigh"=dword:0000076c\r\n"YLow"=dword:00000064\r\n"YHigh"=dword:0000076c\r\n"BeepMode"=dword:00000000\r\n' > "$work/params.reg"
check "registry export, --set wins" "01 00 10 00 14 00 00" \
  "$(echo '01 e8 03 26 02 00 00' | "$kvsim" replay --set DBScreenPos=4 --reg "$work/params.reg" -)"

echo '01 zz' | "$kvsim" replay >/dev/null 2>&1
check "malformed line exits 1" 1 $?
"$kvsim" replay --set Nope=1 </dev/null >/dev/null 2>&1
check "unknown value name exits 2" 2 $?
printf 'not a registry file\n' > "$work/bad.reg"
check "bad export names the line" "kvsim: $work/bad.reg:1: not a registry export (expected REGEDIT4 or Windows Registry Editor Version 5.00)" \
  "$("$kvsim" replay --reg "$work/bad.reg" </dev/null 2>&1)"

[ "$failures" -eq 0 ] && echo "kvsim cli: all checks passed"
exit "$failures"
