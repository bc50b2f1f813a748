#!/usr/bin/env bash
# The vendor's release command: every bad input is refused with its one-line
# message, a non-zero exit and an empty output folder; then one good run with
# a payload and a self-signed certificate of our own, checked end to end.
#   release_test.sh SOURCE_DIR WORK_DIR PAYLOAD PAYLOAD_VERSION
set -uo pipefail
source_dir=$1
work=$2
payload=$3
payload_version=$4
release="$source_dir/tools/release.sh"
source "$source_dir/tools/machine.sh"
velna_probe_32bit
rm -rf "$work"
mkdir -p "$work/folder"
cd "$work"
: >empty.exe
echo "not a program" >notes.txt
touch a-file
openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj "/CN=Velna Release Test" \
  -addext "extendedKeyUsage=codeSigning" -keyout key.pem -out cert.pem 2>/dev/null
failures=0

refused() {  # refused NAME MESSAGE ARGS...: exit 2, MESSAGE on the one line of stderr, nothing written
  local name=$1 message=$2
  shift 2
  rm -rf out
  local errors status
  errors=$(bash "$release" --out out "$@" 2>&1 >/dev/null)
  status=$?
  if [ $status -ne 2 ] || [ "$(wc -l <<<"$errors")" -ne 1 ] || ! grep -qF "$message" <<<"$errors" ||
     [ -n "$(ls -A out 2>/dev/null)" ]; then
    echo "FAIL $name: exit $status, output folder: $(ls -A out 2>/dev/null | tr '\n' ' ')"
    echo "  stderr: $errors"
    failures=$((failures + 1))
  else
    echo "ok   $name: $errors"
  fi
}

refused "no payload" "no payload" --version 1.0004
refused "missing payload" "does not exist" --payload no-such.exe --version 1.0004
refused "empty payload" "is empty" --payload empty.exe --version 1.0004
refused "payload is a folder" "is a directory" --payload folder --version 1.0004
refused "invalid version" "'1.2.3' is not a valid version text" --payload "$payload" --version 1.2.3
refused "not a Windows program" "is not a Windows executable" --payload notes.txt --version 1.0004
refused "version differs" "not the release version 1.0004" --payload "$payload" --version 1.0004
refused "certificate without key" "a certificate without a key" --payload "$payload" --version "$payload_version" \
  --cert cert.pem
refused "key without certificate" "a key without a certificate" --payload "$payload" --version "$payload_version" \
  --key key.pem
# As root no permission stops a write; a file where the folder should be does.
rm -rf out
errors=$(bash "$release" --payload "$payload" --version "$payload_version" --out a-file/dist 2>&1 >/dev/null)
status=$?
if [ $status -eq 2 ] && grep -qF "cannot be written" <<<"$errors"; then
  echo "ok   output folder cannot be written: $errors"
else
  echo "FAIL output folder cannot be written: exit $status: $errors"
  failures=$((failures + 1))
fi

# The good run.
rm -rf out
bash "$release" --payload "$payload" --version "$payload_version" --out out --build-dir "$work/build" \
  --cert cert.pem --key key.pem --company "Velna Test" >good.log 2>&1
status=$?
summary="out/Upgrade-$payload_version.txt"
expect() {  # expect WHAT COMMAND...
  local what=$1
  shift
  if "$@" >/dev/null 2>&1; then echo "ok   good run: $what"; else echo "FAIL good run: $what"; failures=$((failures + 1)); fi
}
expect "exit code 0" test "$status" -eq 0
expect "the updater and its summary, nothing else" test "$(ls -A out | tr '\n' ' ')" = \
  "Upgrade-$payload_version.exe Upgrade-$payload_version.txt "
expect "the summary's SHA-256 is the updater's" grep -qF "$(sha256sum "out/Upgrade-$payload_version.exe" | cut -d' ' -f1)" \
  "$summary"
expect "the summary's payload SHA-256" grep -qF "$(sha256sum "$payload" | cut -d' ' -f1)" "$summary"
expect "signed" grep -qx "Signed: *yes" "$summary"
expect "the signature verifies" osslsigncode verify -CAfile cert.pem -in "out/Upgrade-$payload_version.exe"
expect "the file check, version resource included" python3 "$source_dir/tests/build/pe_check.py" \
  "out/Upgrade-$payload_version.exe" --machine i386 --payload "$payload" --version "$payload_version" \
  --product "Velna 2025"
expect "progress, one line per step" grep -q "^\[[0-9]* s\] building the updater" good.log
if [ "$VELNA_RUNS_32BIT" = yes ]; then
  expect "smoke run passed" grep -q "^Smoke run: *passed" "$summary"
else
  expect "smoke run skipped, with the reason" grep -q "^Smoke run: *skipped: this machine runs no 32-bit code" "$summary"
fi
if [ $failures -ne 0 ]; then
  echo "--- the good run's output:"
  cat good.log
  exit 1
fi
echo "release command: all as expected"
