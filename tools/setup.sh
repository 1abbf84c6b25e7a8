#!/usr/bin/env bash
# Installs, from Debian's packages, everything the build, the tests and the demo need.
# Idempotent and quiet when everything is already there. Needs root (or sudo) to install.
set -euo pipefail

packages=(
  cmake make g++ ninja-build pkg-config
  clang libclang-rt-14-dev
  g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix binutils-mingw-w64-i686
  binutils-mingw-w64-x86-64
  wine wine32:i386 wine64 xvfb xauth x11-utils
  libgtest-dev googletest libbenchmark-dev libstb-dev
  lv2-dev liblilv-dev lilv-utils sordi
  libxcb1-dev libxcb-xtest0-dev libxcb-res0-dev
  sox python3 python3-pil fonts-dejavu-core zip unzip
)

missing=()
need_i386=0
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
    [[ "$p" == *:i386 ]] && need_i386=1
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO="sudo"
echo "setup: installing ${missing[*]}"
if [ $need_i386 -eq 1 ] && ! dpkg --print-foreign-architectures | grep -qx i386; then
  $SUDO dpkg --add-architecture i386
fi
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
echo "setup: done"
