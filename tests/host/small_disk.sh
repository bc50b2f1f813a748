#!/usr/bin/env bash
# Mounts (setup) or unmounts (cleanup) a 256 KiB tmpfs for the full-disk test.
# Where mounting is not permitted it says so, and the test is skipped.
set -u
folder="$2"
case "$1" in
  setup)
    mkdir -p "$folder"
    mountpoint -q "$folder" || mount -t tmpfs -o size=256k tmpfs "$folder" 2>/dev/null ||
      echo "small disk: cannot mount a tmpfs here; the full-disk test will be skipped"
    ;;
  cleanup)
    mountpoint -q "$folder" && umount "$folder"
    ;;
esac
exit 0
