#!/bin/sh
# Runs one Windows program under wine for ctest. The prefix lives in the build tree's
# parent (shared by win32 and win64); a persistent wineserver makes each start cheap.
# Run the whole Windows suite inside one xvfb-run so the server has a display.
here=$(cd "$(dirname "$0")/.." && pwd)
export WINEPREFIX="${QUINDLE_WINEPREFIX:-$here/build/wineprefix}"
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  mkdir -p "$WINEPREFIX"
  wineboot -i >/dev/null 2>&1
fi
wineserver -p >/dev/null 2>&1
exec wine "$@"
