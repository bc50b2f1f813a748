#!/usr/bin/env bash
# The measuring half of bench/run.sh, on its virtual display and Wine prefix.
set -euo pipefail
# bench/measure.sh RUNS PRESET BUILD_FOLDER
runs=$1
preset=$2
b=$3
wine_run() { tools/wine-run.sh "$@" | tr -d '\r'; }
wine_run cmd /c exit
wineserver -w
wineserver -p  # kept running between runs: every run pays the same start cost

bytes() { stat -c %s "$1"; }
ratio() { python3 -c "import sys; print(f'{float(sys.argv[1]) / float(sys.argv[2]):.2f}')" "$1" "$2"; }

echo
echo "Overhead (updater size minus payload size)"
shipped=$(( $(bytes build/windows/app/Upgrade.exe) - $(bytes build/windows/resources/standin_release.exe) ))
echo "  shipped 32-bit updater: $shipped bytes ($(( shipped / 1024 )) KiB; at most 65536)"
echo "  against an NSIS-built updater (zlib, 99113 bytes): $(ratio "$shipped" 99113)"
echo "  against a trivial Win32 program (resource + one WriteFile + message box, 15872 bytes): $(ratio "$shipped" 15872)"
measured=$(( $(bytes $b/bench/updater_bench_8634880.exe) - 8634880 ))
if [ "$preset" = windows ]; then
  echo "  measured below: the shipped 32-bit build itself, in a 32-bit Wine ($measured bytes over its payload)"
else
  echo "  measured below: the 64-bit twin ($measured bytes over its payload), since this machine runs no 32-bit code"
fi

read -r floor_ms floor_peak < <(wine_run $b/bench/window_timer.exe "Z:$PWD/$b/bench/floor.exe" "#32770" "$runs")
echo
echo "Time to window (median of $runs after a warm-up) and peak working set; floor: a message box program, $floor_ms ms"
printf '  %-12s %10s %12s %14s\n' "payload" "ms" "x floor" "peak WS (KiB)"
declare -A window_ms
for size in 1048576 8634880 134217728; do
  read -r ms peak < <(wine_run $b/bench/window_timer.exe "Z:$PWD/$b/bench/updater_bench_$size.exe" TForm1 "$runs")
  window_ms[$size]=$ms
  printf '  %-12s %10s %12s %14s\n' "$size" "$ms" "$(ratio "$ms" "$floor_ms")" "$(( peak / 1024 ))"
done
echo "  128 MiB / 1 MiB: $(ratio "${window_ms[134217728]}" "${window_ms[1048576]}") (goal at most 1.15)"

echo
echo "Payload write: write + flush + replace, against CopyFileA + FlushFileBuffers (medians of $runs)"
printf '  %-12s %10s %10s %8s\n' "payload" "step ms" "copy ms" "ratio"
for size in 1048576 8634880 134217728; do
  read -r written step copy < <(wine_run $b/bench/payload_write_bench_$size.exe 'C:\bench-write' "$runs")
  printf '  %-12s %10s %10s %8s\n' "$written" "$step" "$copy" "$(ratio "$step" "$copy")"
done
wineserver -k
