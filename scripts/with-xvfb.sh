#!/usr/bin/env bash
# Runs a command with DISPLAY pointing at a private Xvfb server, started here and
# stopped afterwards. The window tests need a real X server; the screen is large enough
# for the main window at twice its size (a screen of device pixel ratio 2).
set -euo pipefail
display=""
for n in $(seq 90 120); do
  if [ ! -e "/tmp/.X11-unix/X$n" ] && [ ! -e "/tmp/.X$n-lock" ]; then display=":$n"; break; fi
done
if [ -z "$display" ]; then echo "no free X display number" >&2; exit 1; fi
Xvfb "$display" -screen 0 1920x1600x24 -nolisten tcp > /dev/null 2>&1 &
xvfb_pid=$!
trap 'kill "$xvfb_pid" 2>/dev/null || true' EXIT
for _ in $(seq 1 50); do
  if [ -e "/tmp/.X11-unix/X${display#:}" ]; then break; fi
  sleep 0.1
done
DISPLAY="$display" "$@"
