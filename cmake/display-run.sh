#!/usr/bin/env bash
# Runs a test that opens X11 windows: on the display the caller has, or else on a private
# Xvfb display for the one program (xvfb-run picks a free server number).
#   display-run.sh PROGRAM [ARGS...]
set -uo pipefail
if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
  exec "$@"
fi
exec xvfb-run -a -s "-screen 0 1280x1024x24" "$@"
