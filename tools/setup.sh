#!/usr/bin/env bash
# Installs every Debian package that the build, the tests, the demo and the
# benchmarks use. Idempotent: when everything is there it changes nothing.
set -euo pipefail

packages=(
  cmake ninja-build make python3
  g++-mingw-w64-i686 g++-mingw-w64-x86-64 binutils-mingw-w64-i686 binutils-mingw-w64-x86-64
  g++ g++-multilib clang libclang-rt-14-dev llvm libgtest-dev googletest
  qemu-user-static
  wine wine64 xvfb xauth x11-utils imagemagick
  osslsigncode openssl hyperfine
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -eq 0 ]; then
  echo "setup: all ${#packages[@]} packages are installed"
  exit 0
fi

echo "setup: installing ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
apt-get update -q
apt-get install -y -q --no-install-recommends "${packages[@]}"
