#!/usr/bin/env bash
# Runs a Wine test program in a prefix of its own and on an X display of its
# own, the first free one from FIRST_DISPLAY up: for tests that install and
# remove what other tests load (services, driver files, class filters), or
# whose windows, hooks and injected input must meet no other test's. Stops
# that prefix's Wine and the display afterwards; the program's exit status
# is the script's.
#   run_in_own_prefix.sh FIRST_DISPLAY PREFIX PROGRAM [ARG...]
set -u
first=${1:?usage: run_in_own_prefix.sh FIRST_DISPLAY PREFIX PROGRAM [ARG...]}
prefix=${2:?missing PREFIX}
shift 2
here=$(cd "$(dirname "$0")" && pwd)
scripts=$(cd "$here/../../../scripts" && pwd)
# shellcheck source=../../../scripts/wine-env.sh
. "$scripts/wine-env.sh"

pidfile=$(mktemp)
stop() {
  [ -f "$prefix/system.reg" ] && WINEPREFIX=$prefix "$KV_WINESERVER" -k >/dev/null 2>&1
  "$here/xvfb.sh" stop "$pidfile"
}
trap stop EXIT
display=$("$here/xvfb.sh" start-free "$first" "$pidfile") || exit 1
DISPLAY=$display KV_WINEPREFIX=$prefix "$scripts/wine-run" "$@"
