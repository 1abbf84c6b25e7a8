#!/usr/bin/env bash
# The Ardour host test: plays Quindle in Ardour 7 (headless, ardour7-lua on the dummy
# back-end) as an LV2 plug-in and as a Linux VST 2 plug-in, and compares each export with
# quindle-host's render of the same notes through the VST 2 module.
#
#   bash tools/hosttest/run_ardour.sh [LV2|LXVST]...     (default: both)
#
# Environment: QUINDLE_NATIVE_BUILD (default build/native: Quindle.so, Quindle.lv2,
# quindle-host), QUINDLE_HOSTTEST_DIR (default build/hosttest), QUINDLE_ARDOUR_ATTEMPTS
# (default 4). ardour7-lua 7.3 itself crashes now and then while starting or closing,
# with any plug-in: a run is repeated until an export is complete, and a crash after a
# finished export counts as done.
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
build=$(cd "${QUINDLE_NATIVE_BUILD:-$root/build/native}" 2>/dev/null && pwd) || {
  echo "hosttest: no build folder ${QUINDLE_NATIVE_BUILD:-$root/build/native}" >&2; exit 1; }
work=${QUINDLE_HOSTTEST_DIR:-$root/build/hosttest}
attempts=${QUINDLE_ARDOUR_ATTEMPTS:-4}
formats=("$@")
[ ${#formats[@]} -gt 0 ] || formats=(LV2 LXVST)

bash "$here/../install_packages.sh" Ardour ardour python3
for f in "$build/Quindle.so" "$build/Quindle.lv2/manifest.ttl" "$build/quindle-host"; do
  [ -e "$f" ] || { echo "hosttest: $f is missing; build the native modules first" >&2; exit 1; }
done
step() { echo "hosttest: $*"; }

status=0
for format in "${formats[@]}"; do
  run=$(mkdir -p "$work" && cd "$work" && pwd)/ardour-${format,,}
  rm -rf "$run"
  mkdir -p "$run/plugins"
  python3 "$here/ardour_hosttest.py" prepare "$run" "$format"
  export HOME="$run/home"
  if [ "$format" = LV2 ]; then
    ln -s "$build/Quindle.lv2" "$run/plugins/Quindle.lv2"
  else
    ln -s "$build/Quindle.so" "$run/plugins/Quindle.so"
    # Ardour reads VST 2 plug-ins from its scan cache: its own scanner fills it.
    LD_LIBRARY_PATH=/usr/lib/ardour7 /usr/lib/ardour7/ardour-vst-scanner -f "$run/plugins/Quindle.so" \
      >"$run/scan.log" 2>&1 || true
    grep -q "Found Plugin:" "$run/scan.log" || { cat "$run/scan.log" >&2; echo "hosttest: FAIL: Ardour's VST scanner did not find Quindle" >&2; status=1; continue; }
  fi
  step "rendering in Ardour as $format ($(ardour7-lua --version 2>/dev/null | head -1))"
  done_export=0
  for attempt in $(seq 1 "$attempts"); do
    set +e
    LV2_PATH="$run/plugins:/usr/lib/lv2" timeout -k 10 180 ardour7-lua "$run/session.lua" >"$run/ardour.$attempt.log" 2>&1
    code=$?
    set -e
    if grep -q "^export finished" "$run/ardour.$attempt.log" && [ -s "$run/ardour.wav" ]; then
      step "attempt $attempt: export finished (ardour7-lua exit status $code)"
      done_export=1
      break
    fi
    step "attempt $attempt: no export (exit status $code; log $run/ardour.$attempt.log)"
    rm -rf "$run/session" "$run/ardour.wav"
  done
  if [ $done_export = 0 ]; then
    echo "hosttest: FAIL: Ardour did not export the $format render in $attempts attempts" >&2
    status=1
    continue
  fi
  step "rendering the same notes with quindle-host"
  # shellcheck disable=SC2046  # the options are words on purpose
  "$build/quindle-host" render "$build/Quindle.so" "$run/notes.txt" "$run/host.wav" \
    $(python3 "$here/ardour_hosttest.py" host-options) >"$run/host.log" 2>&1 || {
    cat "$run/host.log" >&2; echo "hosttest: quindle-host render failed" >&2; exit 1; }
  step "comparing ($format)"
  python3 "$here/ardour_hosttest.py" compare "$run" "$run/ardour.wav" "$run/host.wav" || status=1
done
exit $status
