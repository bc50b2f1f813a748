#!/usr/bin/env bash
# Runs a Windows program under Wine in the project's throwaway prefix.
#   WINEPREFIX  the prefix (default: build/wineprefix beside this script's repo)
#   WINEARCH    win32 for the shipped i686 build (where this machine runs
#               32-bit code) or win64 (default) for the 64-bit twin
# The prefix is created on first use; that takes a few seconds. Wine's own
# fonts go into it, so that the window gets the bitmap "MS Sans Serif" it is
# laid out for instead of a wider stand-in.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
export WINEPREFIX="${WINEPREFIX:-$here/build/wineprefix}"
export WINEARCH="${WINEARCH:-win64}"
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"

if [ ! -f "$WINEPREFIX/system.reg" ]; then
  mkdir -p "$(dirname "$WINEPREFIX")"
  wine wineboot -i >/dev/null 2>&1 || true
  fonts="$WINEPREFIX/drive_c/windows/Fonts"
  mkdir -p "$fonts"
  cp /usr/share/wine/fonts/* "$fonts/"
  # Under a bare X server: no window manager; Wine draws title bars itself and
  # does not wait for one on every close.
  wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
  wine reg add 'HKCU\Software\Wine\X11 Driver' /v Decorated /d N /f >/dev/null 2>&1
  wineserver -w
fi
exec wine "$@"
