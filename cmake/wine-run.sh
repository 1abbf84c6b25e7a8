#!/bin/sh
# Runs one Windows program under wine for ctest. The prefix lives in the build tree
# (shared by win32 and win64); a persistent wineserver makes each start cheap.
# Run the whole Windows suite inside one xvfb-run so the server has a display.
here=$(cd "$(dirname "$0")/.." && pwd)
export WINEPREFIX="${WINEPREFIX:-$here/build/wineprefix}"
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  # The registry is written when the server that wineboot started exits: wait for it,
  # so that the next program does not find a half-made prefix.
  mkdir -p "$WINEPREFIX"
  wineboot -i >/dev/null 2>&1 </dev/null
  wineserver -w
fi
# Wine's own background processes (the server and its services) must not inherit the
# caller's output pipes, or ctest would wait for them: start them here with /dev/null.
wineserver -p >/dev/null 2>&1 </dev/null
wine cmd /c exit >/dev/null 2>&1 </dev/null
exec wine "$@"
