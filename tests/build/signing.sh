#!/usr/bin/env bash
# Builds the updater with a throwaway self-signed code-signing certificate and
# verifies the Authenticode signature.
#   signing.sh SOURCE_DIR WORK_DIR
set -euo pipefail
source_dir=$1
work=$2
rm -rf "$work"
mkdir -p "$work"
openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj "/CN=Velna Test Signing" \
  -addext "extendedKeyUsage=codeSigning" -keyout "$work/key.pem" -out "$work/cert.pem" 2>/dev/null
cmake -S "$source_dir" -B "$work/build" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$source_dir/cmake/mingw.cmake" \
  -DVELNA_MINGW_TRIPLET=i686-w64-mingw32 -DCMAKE_BUILD_TYPE=MinSizeRel \
  -DVELNA_WINE_TESTS=OFF -DVELNA_SIGN_CERT="$work/cert.pem" -DVELNA_SIGN_KEY="$work/key.pem" >/dev/null
cmake --build "$work/build" --target updater >/dev/null
osslsigncode verify -CAfile "$work/cert.pem" -in "$work/build/app/Upgrade.exe"
