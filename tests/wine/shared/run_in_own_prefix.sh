#!/usr/bin/env bash
# Runs a Wine test program in a prefix of its own and on an X display of its
# own: for tests that install and remove what other tests load (services,
# driver files, class filters), or whose windows, hooks and injected input
# must meet no other test's.
#   run_in_own_prefix.sh --up FIRST_DISPLAY PREFIX PROGRAM
#       (a CTest fixture) starts an X server on the first free display from
#       FIRST_DISPLAY up and the prefix's Wine (PROGRAM's architecture),
#       which stay for the tests of that prefix: booting Wine's services
#       anew for each test costs seconds, many under the i386 emulator
#   run_in_own_prefix.sh --down PREFIX
#       stops them
#   run_in_own_prefix.sh FIRST_DISPLAY PREFIX PROGRAM [ARG...]
#       runs PROGRAM there: in the prefix's running Wine when --up started
#       one, else with a server and display of its own, stopped afterwards
# The program's exit status is the script's.
set -u
here=$(cd "$(dirname "$0")" && pwd)
scripts=$(cd "$here/../../../scripts" && pwd)
# shellcheck source=../../../scripts/wine-env.sh
. "$scripts/wine-env.sh"

stop_prefix() {  # PREFIX PIDFILE
  [ -f "$1/system.reg" ] && WINEPREFIX=$1 "$KV_WINESERVER" -k >/dev/null 2>&1
  "$here/xvfb.sh" stop "$2"
}

case "${1:-}" in
  --up)
    first=${2:?first display}; prefix=${3:?prefix}; program=${4:?program}
    display=$("$here/xvfb.sh" start-free "$first" "$prefix.xvfb.pid") || exit 1
    # A server that an earlier run left would keep another display.
    [ -f "$prefix/system.reg" ] && WINEPREFIX=$prefix "$KV_WINESERVER" -k >/dev/null 2>&1
    DISPLAY=$display KV_WINEPREFIX=$prefix KV_WINE_PERSIST_SECONDS="" "$scripts/wine-run" --env "$program" \
      >/dev/null || exit 1
    echo "$display" >"$prefix.display"
    exit 0 ;;
  --down)
    prefix=${2:?prefix}
    rm -f "$prefix.display"
    stop_prefix "$prefix" "$prefix.xvfb.pid"
    exit 0 ;;
esac

first=${1:?usage: run_in_own_prefix.sh FIRST_DISPLAY PREFIX PROGRAM [ARG...]}
prefix=${2:?missing PREFIX}
shift 2
if [ -f "$prefix.display" ]; then
  DISPLAY=$(cat "$prefix.display") KV_WINEPREFIX=$prefix "$scripts/wine-run" "$@"
  exit $?
fi
pidfile=$(mktemp)
trap 'stop_prefix "$prefix" "$pidfile"' EXIT
display=$("$here/xvfb.sh" start-free "$first" "$pidfile") || exit 1
DISPLAY=$display KV_WINEPREFIX=$prefix "$scripts/wine-run" "$@"
