#!/usr/bin/env bash
# The whole test suite: installs what it needs, configures and builds every
# build, and runs every test. Screenshots of the end-to-end run are copied
# to artifacts/ as PNG files.
#
# Where this machine runs 32-bit code, every Windows test runs on the shipped
# i686 build (build/windows: the very Upgrade.exe a vendor gets) under a
# 32-bit Wine, and the core's 32-bit build runs directly. Elsewhere the shipped
# build is checked as a file, a 64-bit twin runs the Windows tests under
# wine64, and the core's 32-bit build runs under qemu-i386.
# VELNA_RUNS_32BIT=no takes the second path on any machine.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
source tools/machine.sh
velna_machine_path test

bash tools/setup.sh

# Builds, in order: the core on the host under the sanitizers (with the
# differential fuzz), the core as a 32-bit x86 program, the libFuzzer target,
# and the shipped 32-bit updater; where Wine cannot run that, its 64-bit twin.
declare -A options=([native]="" [fuzz]="")
if [ "$VELNA_RUNS_32BIT" = yes ]; then
  presets=(native native32 fuzz windows)
  options[native32]="-DVELNA_I386_EMULATOR="
  options[windows]="-DVELNA_WINE_TESTS=ON"
  windows_tests=windows
else
  presets=(native native32 fuzz windows windows-x64)
  options[native32]="-DVELNA_I386_EMULATOR=qemu-i386-static"
  options[windows]="-DVELNA_WINE_TESTS=OFF"
  options[windows-x64]=""
  windows_tests=windows-x64
fi

status=0
for preset in "${presets[@]}"; do
  echo "=== $preset: configure and build"
  # shellcheck disable=SC2086  # the options are words
  cmake --preset "$preset" ${options[$preset]} >/dev/null
  cmake --build "build/$preset"
done
for preset in "${presets[@]}"; do
  echo "=== $preset: tests"
  ctest --test-dir "build/$preset" --output-on-failure --timeout 900 -j 2 || status=1
done

mkdir -p artifacts
find artifacts -name "*.png" ! -name "demo-*" -delete  # the screenshots of this run only; the demo keeps its own
for shot in "build/$windows_tests/artifacts"/*.bmp; do
  [ -e "$shot" ] && convert "$shot" "artifacts/$(basename "${shot%.bmp}").png"
done

echo
if [ "$VELNA_RUNS_32BIT" = yes ]; then
  echo "The Windows tests ran on the shipped i686 updater (build/windows/app/Upgrade.exe) under a 32-bit Wine."
else
  echo "The shipped i686 updater was checked as a file only: this machine runs no 32-bit code."
  echo "The Windows tests ran on its 64-bit twin (build/windows-x64) under wine64."
fi
[ "$status" -eq 0 ] && echo "all test builds passed" || echo "some tests failed"
exit "$status"
