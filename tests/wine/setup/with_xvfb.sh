#!/usr/bin/env bash
# Runs a command on a private Xvfb display (the installer's message boxes
# need one) and stops that display afterwards; the command's exit status
# is the script's.
#   with_xvfb.sh DISPLAY_NUMBER COMMAND [ARG...]
set -u
display=${1:?usage: with_xvfb.sh DISPLAY_NUMBER COMMAND [ARG...]}
shift
Xvfb ":$display" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
trap 'kill "$xvfb" 2>/dev/null; wait "$xvfb" 2>/dev/null' EXIT
for _ in $(seq 50); do
  [ -e "/tmp/.X11-unix/X$display" ] && break
  sleep 0.1
done
DISPLAY=":$display" "$@"
