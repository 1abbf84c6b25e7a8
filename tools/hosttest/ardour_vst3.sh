#!/usr/bin/env bash
# Quindle's Linux VST 3 bundle in Ardour 7.3: its scanner must find the instrument with
# the right identity and buses, and a headless session (ardour7-lua on the dummy
# back-end) must play it, notes and pitch bends, exactly as quindle-host renders the same
# notes through the VST 2 module (the comparison of run_ardour.sh, and every sample).
#
#   bash tools/hosttest/ardour_vst3.sh [scan|render]...     (default: both)
#
# Environment: QUINDLE_NATIVE_BUILD (default build/native: Quindle.vst3, Quindle.so,
# quindle-host), QUINDLE_HOSTTEST_DIR (default build/hosttest), QUINDLE_ARDOUR_ATTEMPTS
# (default 4; ardour7-lua 7.3 crashes now and then while starting or closing).
#
# The scanner exits 0 even when it cannot load a module: "Found Plugin:" is what counts.
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
build=$(cd "${QUINDLE_NATIVE_BUILD:-$root/build/native}" 2>/dev/null && pwd) || {
  echo "hosttest: no build folder ${QUINDLE_NATIVE_BUILD:-$root/build/native}" >&2; exit 1; }
work=${QUINDLE_HOSTTEST_DIR:-$root/build/hosttest}
attempts=${QUINDLE_ARDOUR_ATTEMPTS:-4}
parts=("$@")
[ ${#parts[@]} -gt 0 ] || parts=(scan render)
scanner=/usr/lib/ardour7/ardour-vst3-scanner
uid=313AD1CA8CA451ABFD5F28A91212A113

bash "$here/../install_packages.sh" Ardour ardour python3
for f in "$build/Quindle.vst3/Contents/x86_64-linux/Quindle.so" "$build/Quindle.so" "$build/quindle-host"; do
  [ -e "$f" ] || { echo "hosttest: $f is missing; build the native modules first" >&2; exit 1; }
done
step() { echo "hosttest: $*"; }
fail() { echo "hosttest: FAIL: $*" >&2; status=1; }

# scan BUNDLE CACHE_HOME LOG: Ardour's scanner on one bundle, its cache in CACHE_HOME.
scan() {
  XDG_CACHE_HOME=$2 LD_LIBRARY_PATH=/usr/lib/ardour7 "$scanner" -f -v "$1" >"$3" 2>&1 || true
  grep -q "Found Plugin: Quindle" "$3"
}

status=0
run=$(mkdir -p "$work" && cd "$work" && pwd)/ardour-vst3
rm -rf "$run"
mkdir -p "$run/plugins" "$run/cache"
ln -s "$build/Quindle.vst3" "$run/plugins/Quindle.vst3"
for part in "${parts[@]}"; do
  case $part in
    scan)
      step "Ardour's VST 3 scanner on Quindle.vst3"
      if ! scan "$run/plugins/Quindle.vst3" "$run/cache" "$run/scan.log"; then
        cat "$run/scan.log" >&2
        fail "Ardour's VST 3 scanner did not find Quindle"
        continue
      fi
      for expected in "uid=\"$uid\"" 'category="Instrument|Synth"' 'vendor="Velkor"' 'n_inputs="0" n_outputs="2"' \
                      'n_midi_inputs="1" n_midi_outputs="0"'; do
        grep -qF "$expected" "$run/scan.log" || fail "the scanner's record lacks $expected (log $run/scan.log)"
      done
      grep -E "Found Plugin|VST3Info" "$run/scan.log" | sed 's/^[[:space:]]*/  /'
      ;;
    render)
      python3 "$here/ardour_vst3_session.py" prepare "$run"
      export HOME="$run/home"
      # ardour7-lua reads VST 3 plug-ins only from the scan cache: fill it first.
      scan "$run/plugins/Quindle.vst3" "$run/cache" "$run/render-scan.log" || {
        cat "$run/render-scan.log" >&2; fail "no scan cache for the session"; continue; }
      step "rendering in Ardour as VST3 ($(ardour7-lua --version 2>/dev/null | head -1))"
      done_export=0
      for attempt in $(seq 1 "$attempts"); do
        set +e
        XDG_CACHE_HOME="$run/cache" timeout -k 10 180 ardour7-lua "$run/session.lua" >"$run/ardour.$attempt.log" 2>&1
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
        fail "Ardour did not export the VST 3 render in $attempts attempts"
        continue
      fi
      step "rendering the same notes with quindle-host"
      # shellcheck disable=SC2046  # the options are words on purpose
      "$build/quindle-host" render "$build/Quindle.so" "$run/notes.txt" "$run/host.wav" \
        $(python3 "$here/ardour_hosttest.py" host-options) >"$run/host.log" 2>&1 || {
        cat "$run/host.log" >&2; fail "quindle-host render failed"; continue; }
      step "comparing (VST3)"
      python3 "$here/ardour_hosttest.py" compare "$run" "$run/ardour.wav" "$run/host.wav" || status=1
      python3 "$here/ardour_vst3_session.py" identical "$run/ardour.wav" "$run/host.wav" || status=1
      ;;
    *)
      echo "usage: $0 [scan|render]..." >&2
      exit 2
      ;;
  esac
done
exit $status
