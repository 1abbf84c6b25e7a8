#!/usr/bin/env bash
# Installs, from Debian's packages, the 32-bit LMMS with its VST server (the amd64 LMMS
# package is built without VST support), and Xvfb for the display its plug-in window
# needs.
set -euo pipefail
exec bash "$(dirname "$0")/../install_packages.sh" LMMS lmms:i386 lmms-vst-server:i386 wine32:i386 xvfb xauth python3
