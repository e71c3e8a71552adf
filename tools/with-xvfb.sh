#!/usr/bin/env bash
# Runs a command with DISPLAY set to a private Xvfb on a free display number, and stops
# that server afterwards. -noreset keeps the lock states when the last client leaves.
set -u

display=""
for n in $(seq 90 199); do
    if [ ! -e "/tmp/.X$n-lock" ] && [ ! -e "/tmp/.X11-unix/X$n" ]; then
        display=$n
        break
    fi
done
[ -n "$display" ] || { echo "no free X display number" >&2; exit 1; }

Xvfb ":$display" -noreset -nolisten tcp -screen 0 1024x768x24 >/dev/null 2>&1 &
xvfb=$!
trap 'kill $xvfb 2>/dev/null; wait $xvfb 2>/dev/null' EXIT

for _ in $(seq 100); do
    [ -e "/tmp/.X11-unix/X$display" ] && break
    kill -0 $xvfb 2>/dev/null || { echo "Xvfb :$display did not start" >&2; exit 1; }
    sleep 0.05
done

DISPLAY=":$display" "$@"
