#!/usr/bin/env bash
# The host test: plays Quindle.dll (win32) in LMMS, a VST host the project did not write,
# and checks LMMS's render against quindle-host's render of the same notes and state.
#
#   bash tools/hosttest/run_lmms.sh        (part of make hosttest)
#
# Environment: QUINDLE_WIN32_BUILD (default build/win32: Quindle.dll, quindle-host.exe),
# QUINDLE_HOSTTEST_DIR (default build/hosttest: work files, logs, the renders),
# QUINDLE_HOSTTEST_TIMEOUT (default 180 seconds for each LMMS run).
# Installs LMMS on first use (tools/hosttest/setup_lmms.sh). Runs inside its own X server
# (xvfb-run) with its own wine prefix, HOME and LMMS configuration, so neither the user's
# settings nor the shared test prefix are touched.
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
build=$(cd "${QUINDLE_WIN32_BUILD:-$root/build/win32}" 2>/dev/null && pwd) || {
  echo "hosttest: no build folder ${QUINDLE_WIN32_BUILD:-$root/build/win32}; run 'make build-win32' first" >&2
  exit 1
}
work=${QUINDLE_HOSTTEST_DIR:-$root/build/hosttest}
lmms_timeout=${QUINDLE_HOSTTEST_TIMEOUT:-180}

if [ -z "${QUINDLE_HOSTTEST_DISPLAY:-}" ]; then
  bash "$here/setup_lmms.sh"
  mkdir -p "$work"
  # LMMS's plug-in server is a wine program that opens a window: give it an X server of
  # its own. Everything below runs inside it.
  QUINDLE_HOSTTEST_DISPLAY=1 exec xvfb-run -a -s "-screen 0 1024x768x24" bash "$0" "$@"
fi

dll="$build/Quindle.dll"
host="$build/quindle-host.exe"
for f in "$dll" "$host"; do
  [ -f "$f" ] || { echo "hosttest: $f is missing; run 'make build-win32' first" >&2; exit 1; }
done

work=$(cd "$work" && pwd)
run="$work/run"
rm -rf "$run"
mkdir -p "$run" "$work/home"
export HOME="$work/home"
export WINEPREFIX="$work/wineprefix"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
# LMMS refuses to run as root unless told.
allowroot=()
[ "$(id -u)" -ne 0 ] || allowroot=(--allowroot)

stop_wine() { wineserver -k >/dev/null 2>&1 || true; }
trap stop_wine EXIT

step() { echo "hosttest: $*"; }

if [ ! -f "$WINEPREFIX/system.reg" ]; then
  step "creating the wine prefix $WINEPREFIX (once)"
  # The registry files appear when the server that wineboot started exits.
  wineboot -i >/dev/null 2>&1
  wineserver -w
fi
wineserver -p >/dev/null 2>&1 || true  # keeps one server for all the wine programs below

step "factory bank from $dll"
wine "$host" save-bank "$dll" "$run/factory.fxb" >"$run/save-bank.log" 2>&1 || {
  cat "$run/save-bank.log" >&2; echo "hosttest: quindle-host save-bank failed" >&2; exit 1; }

python3 "$here/hosttest.py" prepare "$run/factory.fxb" "$dll" "$run"

step "rendering in LMMS ($(lmms "${allowroot[@]}" --version 2>/dev/null | head -1))"
started=$(date +%s)
set +e
timeout -k 10 "$lmms_timeout" lmms "${allowroot[@]}" -c "$run/lmmsrc.xml" render "$run/quindle.mmp" \
  --oversampling 1 --samplerate 44100 --float --format wav --output "$run/lmms.wav" >"$run/lmms.log" 2>&1
status=$?
set -e
step "LMMS finished with status $status after $(( $(date +%s) - started )) s (log: $run/lmms.log)"
if [ $status -eq 124 ] || [ $status -eq 137 ]; then
  echo "hosttest: FAIL: LMMS did not finish within $lmms_timeout s (the plug-in may have crashed)" >&2
  tail -20 "$run/lmms.log" >&2
  exit 1
fi
# LMMS reports a plug-in that failed to load only in its log, and exits 0 all the same.
if grep -q "could not be loaded" "$run/lmms.log" || ! grep -q "unique ID: VKQD" "$run/lmms.log"; then
  echo "hosttest: FAIL: LMMS did not load Quindle:" >&2
  cat "$run/lmms.log" >&2
  exit 1
fi
[ $status -eq 0 ] && [ -s "$run/lmms.wav" ] || { echo "hosttest: FAIL: LMMS wrote no render" >&2; exit 1; }

step "rendering the same notes and bank with quindle-host"
render() {
  wine "$host" render "$dll" "$run/notes.txt" "$1" --rate 44100 --block 256 --format f32 --tail 1 "${@:2}" \
    >"$1.log" 2>&1 || { cat "$1.log" >&2; echo "hosttest: quindle-host render failed" >&2; exit 1; }
}
render "$run/host.wav" --preset "$run/edited.fxb"
render "$run/factory.wav" --program "$(python3 "$here/hosttest.py" edited-program)"

step "comparing"
python3 "$here/hosttest.py" compare "$run" "$run/lmms.wav" "$run/host.wav" "$run/factory.wav"
