#!/usr/bin/env bash
# The whole test suite: installs what it needs, configures and builds every
# build, and runs every test. Screenshots of the end-to-end run are copied
# to artifacts/ as PNG files.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
root=$(pwd)

bash tools/setup.sh

# Builds, in order: core on the host under the sanitizers (with the
# differential fuzz), the core as 32-bit x86 under qemu-i386, the libFuzzer
# target, the shipped 32-bit updater, and its 64-bit twin with the Windows,
# host and end-to-end tests under Wine.
presets=(native native32 fuzz windows windows-x64)
status=0
for preset in "${presets[@]}"; do
  echo "=== $preset: configure and build"
  cmake --preset "$preset" >/dev/null
  cmake --build "build/$preset"
done
for preset in "${presets[@]}"; do
  echo "=== $preset: tests"
  ctest --test-dir "build/$preset" --output-on-failure --timeout 900 -j 2 || status=1
done

mkdir -p artifacts
for shot in build/windows-x64/artifacts/*.bmp; do
  [ -e "$shot" ] && convert "$shot" "artifacts/$(basename "${shot%.bmp}").png"
done
[ "$status" -eq 0 ] && echo "all test builds passed" || echo "some tests failed"
exit "$status"
