#!/usr/bin/env bash
# What a vendor is told when configuring with a payload that is wrong.
#   vendor_checks.sh SOURCE_DIR WORK_DIR OLD_STANDIN
set -uo pipefail
source_dir=$1
work=$2
old_standin=$3
rm -rf "$work"
mkdir -p "$work"
failures=0
configure() {  # prints cmake's output; returns its status
  rm -rf "$work/build"
  cmake -S "$source_dir" -B "$work/build" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$source_dir/cmake/mingw.cmake" \
    -DVELNA_MINGW_TRIPLET=i686-w64-mingw32 -DVELNA_WINE_TESTS=OFF "$@" 2>&1
}
expect() {  # expect NAME STATUS(fails|passes) TEXT CMAKE-ARGS...
  local name=$1 want=$2 text=$3
  shift 3
  local output status
  output=$(configure "$@")
  status=$?
  output=$(tr -s '[:space:]' ' ' <<<"$output")  # cmake wraps its messages
  if { [ "$want" = fails ] && [ $status -eq 0 ]; } || { [ "$want" = passes ] && [ $status -ne 0 ]; } ||
     ! grep -qF "$text" <<<"$output"; then
    echo "FAIL $name: wanted configure to $want with '$text'; status $status:"
    echo "$output" | tail -c 1500
    failures=$((failures + 1))
  else
    echo "ok   $name: $text"
  fi
}

expect "missing payload" fails "which does not exist" -DVELNA_PAYLOAD="$work/no-such-file.exe"
echo "not a program" > "$work/notes.txt"
expect "not an executable" passes "is not a Windows executable" -DVELNA_PAYLOAD="$work/notes.txt"
printf 'MZ\0\0' > "$work/tiny.exe"
expect "broken executable" passes "is not a Windows executable" -DVELNA_PAYLOAD="$work/tiny.exe"
expect "version differs" passes "not the release version 1.0003" -DVELNA_PAYLOAD="$old_standin"
expect "version agrees" passes "Build files have been written" -DVELNA_PAYLOAD="$old_standin" -DVELNA_RELEASE_VERSION=1.0002
if configure -DVELNA_PAYLOAD="$old_standin" -DVELNA_RELEASE_VERSION=1.0002 | grep -q "VELNA_PAYLOAD:"; then
  echo "FAIL version agrees: a warning was given"
  failures=$((failures + 1))
fi
[ $failures -eq 0 ] && echo "vendor checks: all as expected"
exit $failures
