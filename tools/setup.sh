#!/usr/bin/env bash
# Installs every Debian package that the build, the tests, the demo and the
# benchmarks use. Idempotent: when everything is there it changes nothing.
#
# Where this machine runs 32-bit code, it also adds the i386 architecture and
# the 32-bit Wine that runs the shipped updater; elsewhere it leaves the
# architectures alone, so that the 64-bit Wine stays as it is.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/machine.sh"

packages=(
  cmake ninja-build make python3 binutils
  g++-mingw-w64-i686 g++-mingw-w64-x86-64 binutils-mingw-w64-i686 binutils-mingw-w64-x86-64
  g++ g++-multilib clang libclang-rt-14-dev llvm libgtest-dev googletest
  qemu-user-static
  wine wine64 fonts-wine xvfb xauth x11-utils imagemagick
  osslsigncode openssl hyperfine
)

if [ -z "${VELNA_RUNS_32BIT:-}" ]; then velna_machine_path setup; fi
new_architecture=no
if [ "$VELNA_RUNS_32BIT" = yes ]; then
  packages+=(wine32:i386)
  if ! dpkg --print-foreign-architectures | grep -qx i386; then
    echo "setup: adding the i386 architecture for wine32:i386"
    dpkg --add-architecture i386
    new_architecture=yes
  fi
fi

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -eq 0 ] && [ "$new_architecture" = no ]; then
  echo "setup: all ${#packages[@]} packages are installed"
  exit 0
fi

echo "setup: installing ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
apt-get update -q
apt-get install -y -q --no-install-recommends "${packages[@]}"
