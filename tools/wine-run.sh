#!/usr/bin/env bash
# Runs a Windows program under Wine in the project's throwaway prefix.
#   WINEPREFIX  the prefix (default: build/wineprefix beside this script's repo)
#   WINEARCH    win64 (default: the twin build) or win32 (the shipped build,
#               where this machine's Wine can run 32-bit code)
# The prefix is created on first use; that takes a few seconds.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
export WINEPREFIX="${WINEPREFIX:-$here/build/wineprefix}"
export WINEARCH="${WINEARCH:-win64}"
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"

if [ ! -f "$WINEPREFIX/system.reg" ]; then
  mkdir -p "$(dirname "$WINEPREFIX")"
  wine wineboot -i >/dev/null 2>&1 || true
  # Under a bare X server: no window manager; Wine draws title bars itself and
  # does not wait for one on every close.
  wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
  wine reg add 'HKCU\Software\Wine\X11 Driver' /v Decorated /d N /f >/dev/null 2>&1
  wineserver -w
fi
exec wine "$@"
