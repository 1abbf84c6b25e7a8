#!/usr/bin/env bash
# Installs, from Debian's packages, the third-party host the host test plays Quindle in:
# the 32-bit LMMS with its VST server (the amd64 LMMS package is built without VST
# support), and Xvfb for the display its plug-in window needs. Idempotent and quiet when
# everything is there. Needs root (or sudo); the i386 architecture is added if missing.
set -euo pipefail

packages=(lmms:i386 lmms-vst-server:i386 wine32:i386 xvfb xauth python3)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO="sudo"
echo "hosttest: installing ${missing[*]}"
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  $SUDO dpkg --add-architecture i386
fi
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
echo "hosttest: LMMS installed"
