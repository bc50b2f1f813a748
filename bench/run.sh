#!/usr/bin/env bash
# Benchmarks of the updater under Wine: size overhead, time to window, payload
# write and peak working set, for payloads of 1 MiB, 8,634,880 bytes and
# 128 MiB. Figures only; nothing here passes or fails.
#   bash bench/run.sh [RUNS]     (default 7 runs per figure, each after a warm-up)
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
runs=${1:-7}

bash tools/setup.sh >/dev/null
echo "building the shipped updater and the benchmark programs..." >&2
cmake --preset windows >/dev/null
cmake --build build/windows --target updater standin_release >/dev/null
cmake --preset windows-x64 -B build/bench -DVELNA_BENCH=ON >/dev/null
targets=(window_timer floor)
for size in 1048576 8634880 134217728; do targets+=("updater_bench_$size" "payload_write_bench_$size"); done
cmake --build build/bench --target "${targets[@]}" >/dev/null

exec tests/e2e/with_display.sh "$PWD/build/bench/wineprefix" bash bench/measure.sh "$runs"
