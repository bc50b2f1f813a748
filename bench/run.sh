#!/usr/bin/env bash
# Benchmarks of the updater under Wine: size overhead, time to window, payload
# write and peak working set, for payloads of 1 MiB, 8,634,880 bytes and
# 128 MiB. Figures only; nothing here passes or fails.
#   bash bench/run.sh [RUNS]     (default 7 runs per figure, each after a warm-up)
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
runs=${1:-7}

source tools/machine.sh
velna_machine_path bench
bash tools/setup.sh >/dev/null

# The shipped i686 build where this machine runs 32-bit code; the 64-bit twin elsewhere.
if [ "$VELNA_RUNS_32BIT" = yes ]; then
  preset=windows
  export WINEARCH=win32
else
  preset=windows-x64
  export WINEARCH=win64
fi
echo "building the shipped updater and the benchmark programs ($preset)..." >&2
cmake --preset windows >/dev/null
cmake --build build/windows --target updater standin_release >/dev/null
b="build/bench-$preset"
cmake --preset "$preset" -B "$b" -DVELNA_BENCH=ON -DVELNA_WINE_TESTS=OFF >/dev/null
targets=(window_timer floor)
for size in 1048576 8634880 134217728; do targets+=("updater_bench_$size" "payload_write_bench_$size"); done
cmake --build "$b" --target "${targets[@]}" >/dev/null

exec tests/e2e/with_display.sh "$PWD/$b/wineprefix" bash bench/measure.sh "$runs" "$preset" "$b"
