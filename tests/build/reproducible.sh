#!/usr/bin/env bash
# Builds the shipped updater twice from the same sources, payload and profile,
# in two different build folders, and expects byte-identical executables.
#   reproducible.sh SOURCE_DIR WORK_DIR [extra cmake arguments...]
set -euo pipefail
source_dir=$1
work=$2
shift 2
rm -rf "$work"
for tree in first second-tree-with-a-longer-name; do
  cmake -S "$source_dir" -B "$work/$tree" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$source_dir/cmake/mingw.cmake" \
    -DVELNA_MINGW_TRIPLET=i686-w64-mingw32 -DCMAKE_BUILD_TYPE=MinSizeRel \
    -DVELNA_WINE_TESTS=OFF "$@" >/dev/null
  cmake --build "$work/$tree" --target updater >/dev/null
done
first="$work/first/app/Upgrade.exe"
second="$work/second-tree-with-a-longer-name/app/Upgrade.exe"
if cmp "$first" "$second"; then
  echo "reproducible: both builds give $(sha256sum < "$first" | cut -c1-16)... ($(stat -c %s "$first") bytes)"
else
  echo "NOT reproducible: the two builds differ"
  exit 1
fi
