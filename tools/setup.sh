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

exec bash "$(dirname "$0")/install_packages.sh" "the build and test tools" "${packages[@]}"
