#!/usr/bin/env bash
# Installs the given Debian packages where they are missing: what the build and the tests
# need (tools/setup.sh), and the third-party hosts of the host tests. Idempotent and quiet
# when everything is there. Needs root (or sudo); the i386 architecture is added when an
# i386 package is asked for.
#   install_packages.sh WHAT PACKAGE...     (WHAT names the packages in the messages)
set -euo pipefail

what=$1
shift
missing=()
need_i386=0
for p in "$@"; do
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
echo "setup: $what installed"
