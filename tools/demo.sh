#!/usr/bin/env bash
# The updater's main job, for a newcomer: installs what it needs, builds the
# updater with the stand-in payload, prepares a demo installation (record with
# CALE and VER 1.0002, the old program in its folder) in a private Wine prefix
# and opens the updater. With a display you press the buttons yourself; with
# none, the demo runs on a virtual display, presses the upgrade button, and
# prints what happened. Screenshots go to artifacts/.
#
#   VELNA_DEMO_BUILD=windows-x64 (default; runs under a 64-bit Wine) or windows
#   (the shipped 32-bit build, where this machine's Wine runs 32-bit programs)
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
root=$(pwd)
build="${VELNA_DEMO_BUILD:-windows-x64}"

bash tools/setup.sh >/dev/null
echo "=== building the updater ($build) with the stand-in payload"
cmake --preset "$build" >/dev/null
cmake --build "build/$build" --target updater standin_old standin_release demo_driver >/dev/null

export WINEPREFIX="$root/build/demo-prefix"
if [ "$build" = windows ]; then export WINEARCH=win32; fi
rm -rf "$WINEPREFIX"
wine_run() { "$root/tools/wine-run.sh" "$@"; }
show_record() {
  echo "  installation record HKLM\\Software\\Dorvani\\105:"
  wine_run reg query 'HKLM\Software\Dorvani\105' 2>/dev/null | tr -d '\r' | grep -E 'REG_' | sed 's/^ */    /'
}

echo "=== preparing the demo installation in $WINEPREFIX"
wine_run cmd /c exit
folder="$WINEPREFIX/drive_c/Program Files/Velna"
mkdir -p "$folder"
cp "build/$build/resources/standin_old.exe" "$folder/V2025.exe"
wine_run reg add 'HKLM\Software\Dorvani\105' /v CALE /d 'C:\Program Files\Velna' /f >/dev/null
wine_run reg add 'HKLM\Software\Dorvani\105' /v VER /d '1.0002' /f >/dev/null
show_record
echo "  main program: $(sha256sum "$folder/V2025.exe" | cut -c1-16)... $(stat -c %s "$folder/V2025.exe") bytes"

updater="$root/build/$build/app/Upgrade.exe"
if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
  echo "=== the updater is open on $DISPLAY: press its buttons, then close it"
  wine_run "$updater" && code=0 || code=$?
  echo "  exit code: $code"
else
  echo "=== no display: running on a virtual display and pressing the upgrade button"
  mkdir -p artifacts
  "$root/tests/e2e/with_display.sh" "$WINEPREFIX" "$root/tools/wine-run.sh" \
    "$root/build/$build/tests/demo_driver.exe" "Z:$updater" "Z:$root/build/demo-screenshots"
  for shot in build/demo-screenshots/*.bmp; do convert "$shot" "artifacts/$(basename "${shot%.bmp}").png"; done
  echo "  screenshots: $(ls artifacts/demo-*.png | tr '\n' ' ')"
fi

echo "=== afterwards"
show_record
echo "  main program: $(sha256sum "$folder/V2025.exe" | cut -c1-16)... $(stat -c %s "$folder/V2025.exe") bytes"
echo "  the release payload: $(sha256sum "build/$build/resources/standin_release.exe" | cut -c1-16)..."
