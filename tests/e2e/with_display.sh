#!/usr/bin/env bash
# Runs a command with a virtual X display of its own (CI has none), in a Wine
# prefix of its own so that its windows never meet another test's.
#   with_display.sh PREFIX COMMAND...
set -euo pipefail
export WINEPREFIX="$1"
shift
# A server of this prefix that started without this display would keep its
# desktop there; the prefix is ours alone, so end it.
wineserver -k 2>/dev/null || true
for n in $(seq 91 160); do
  if [ ! -e "/tmp/.X11-unix/X$n" ] && [ ! -e "/tmp/.X$n-lock" ]; then display=$n; break; fi
done
Xvfb ":$display" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
cleanup() {
  WINEPREFIX="$WINEPREFIX" wineserver -k 2>/dev/null || true
  kill "$xvfb" 2>/dev/null || true
  wait "$xvfb" 2>/dev/null || true
}
trap cleanup EXIT
for _ in $(seq 100); do [ -e "/tmp/.X11-unix/X$display" ] && break; sleep 0.05; done
export DISPLAY=":$display"
"$@"
