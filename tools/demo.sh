#!/usr/bin/env bash
# The updater's main job, for a newcomer: installs what it needs, builds the
# updater with the stand-in payload, prepares a demo installation (record with
# CALE and VER 1.0002, the old program in its folder) in a private Wine prefix
# and opens the updater. With a display you press the buttons yourself; with
# none, the demo runs on a virtual display and presses the upgrade button.
# Either way it then checks the outcome: the installed V2025.exe must be byte
# for byte the release payload and VER the release version. It ends with a
# one-line verdict, and exits non-zero when the upgrade did not happen.
# Screenshots go to artifacts/.
#
# It runs the shipped 32-bit build where this machine runs 32-bit code, and
# the 64-bit twin elsewhere; VELNA_DEMO_BUILD=windows or windows-x64 chooses.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
root=$(pwd)
source tools/machine.sh
velna_machine_path demo

if [ "$VELNA_RUNS_32BIT" = yes ]; then preset=windows; else preset=windows-x64; fi
preset="${VELNA_DEMO_BUILD:-$preset}"
case "$preset" in
  windows) export WINEARCH=win32; view=/reg:32 ;;  # a 32-bit program reads the 32-bit registry view
  windows-x64) export WINEARCH=win64; view=/reg:64 ;;
  *) echo "demo: VELNA_DEMO_BUILD must be windows or windows-x64, not '$preset'" >&2; exit 2 ;;
esac

bash tools/setup.sh >/dev/null
# A build folder of its own, with this release's profile and the stand-in
# payload, whatever a developer's build folders hold.
build="build/demo-$preset"
echo "=== building the updater ($preset preset, in $build) with the stand-in payload"
cmake --preset "$preset" -B "$build" -DVELNA_PAYLOAD= -DVELNA_WINE_TESTS=OFF >/dev/null
cmake --build "$build" --target updater standin_old standin_release demo_driver >/dev/null
release_version=$(sed -n 's/^VELNA_RELEASE_VERSION:[A-Z]*=//p' "$build/CMakeCache.txt")
stored_version=$(python3 tools/version_text.py "$release_version")  # as the updater writes VER
payload="$build/resources/standin_release.exe"

export WINEPREFIX="$root/build/demo-prefix"
rm -rf "$WINEPREFIX"
wine_run() { "$root/tools/wine-run.sh" "$@"; }
record_value() {
  wine_run reg query 'HKLM\Software\Dorvani\105' /v "$1" "$view" 2>/dev/null | tr -d '\r' |
    sed -n "s/^ *$1 *REG_[A-Z_]* *//p"
}
show_record() {
  echo "  installation record HKLM\\Software\\Dorvani\\105 ($WINEARCH, view ${view#/reg:} bits):"
  wine_run reg query 'HKLM\Software\Dorvani\105' "$view" 2>/dev/null | tr -d '\r' | grep -E 'REG_' | sed 's/^ */    /'
}
digest() { sha256sum "$1" | cut -c1-16; }

echo "=== preparing the demo installation in $WINEPREFIX"
wine_run cmd /c exit
folder="$WINEPREFIX/drive_c/Program Files/Velna"
mkdir -p "$folder"
cp "$build/resources/standin_old.exe" "$folder/V2025.exe"
wine_run reg add 'HKLM\Software\Dorvani\105' /v CALE /d 'C:\Program Files\Velna' /f "$view" >/dev/null
wine_run reg add 'HKLM\Software\Dorvani\105' /v VER /d '1.0002' /f "$view" >/dev/null
show_record
echo "  main program: $(digest "$folder/V2025.exe")... $(stat -c %s "$folder/V2025.exe") bytes"

updater="$root/$build/app/Upgrade.exe"
if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
  echo "=== the updater is open on $DISPLAY: press its buttons, then close it"
  wine_run "$updater" && code=0 || code=$?
  echo "  exit code: $code"
else
  echo "=== no display: running on a virtual display and pressing the upgrade button"
  mkdir -p artifacts
  rm -rf build/demo-screenshots
  "$root/tests/e2e/with_display.sh" "$WINEPREFIX" "$root/tools/wine-run.sh" \
    "$root/$build/tests/demo_driver.exe" "Z:$updater" "Z:$root/build/demo-screenshots"
  for shot in build/demo-screenshots/*.bmp; do
    [ -e "$shot" ] && convert "$shot" "artifacts/$(basename "${shot%.bmp}").png"
  done
  echo "  screenshots: $(ls artifacts/demo-*.png 2>/dev/null | tr '\n' ' ')"
fi

echo "=== afterwards"
show_record
echo "  main program: $(digest "$folder/V2025.exe")... $(stat -c %s "$folder/V2025.exe") bytes"
echo "  the release payload: $(digest "$payload")... $(stat -c %s "$payload") bytes"

failures=()
cmp -s "$folder/V2025.exe" "$payload" || failures+=("the installed V2025.exe is not the release payload")
ver=$(record_value VER)
[ "$ver" = "$stored_version" ] || failures+=("VER reads '$ver', not $stored_version")
if [ ${#failures[@]} -eq 0 ]; then
  echo "verdict: UPGRADED: V2025.exe is the release payload and VER reads $stored_version ($preset build, $WINEARCH Wine)"
else
  (IFS=';'; echo "verdict: NOT UPGRADED:${failures[*]/#/ }")
  exit 1
fi
