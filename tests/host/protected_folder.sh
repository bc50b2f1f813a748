#!/usr/bin/env bash
# Makes (setup) or removes (cleanup) a folder that holds an old V2025.exe and
# refuses every change of its entries (chattr +i): no file can be created,
# renamed or deleted in it, as in a Program Files folder for a standard user.
# Where that is not permitted (not root) it says so, and the test is skipped.
set -u
folder="$2"
case "$1" in
  setup)
    [ -d "$folder" ] && chattr -i "$folder" 2>/dev/null
    rm -rf "$folder"
    mkdir -p "$folder"
    printf 'MZ old program' >"$folder/V2025.exe"
    chattr +i "$folder" 2>/dev/null ||
      echo "protected folder: chattr +i is not permitted here; the protected-folder test will be skipped"
    ;;
  cleanup)
    chattr -i "$folder" 2>/dev/null
    rm -rf "$folder"
    ;;
esac
exit 0
