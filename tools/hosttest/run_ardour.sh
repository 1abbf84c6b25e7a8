#!/usr/bin/env bash
# The Ardour host test: plays Quindle in Ardour 7 (headless, ardour7-lua on the dummy
# back-end) as an LV2 plug-in, a Linux VST 2 plug-in and a VST 3 plug-in, and compares
# each export with quindle-host's render of the same notes through the VST 2 module. For
# VST 3, Ardour's scanner must also report the instrument with its identity and buses.
#
#   bash tools/hosttest/run_ardour.sh [LV2|LXVST|VST3]...     (default: all three)
#
# Environment: QUINDLE_NATIVE_BUILD (default build/native: Quindle.so, Quindle.lv2,
# Quindle.vst3, quindle-host), QUINDLE_HOSTTEST_DIR (default build/hosttest),
# QUINDLE_ARDOUR_ATTEMPTS (default 4). ardour7-lua 7.3 itself crashes now and then while
# starting or closing, with any plug-in: a run is repeated until an export is complete,
# and a crash after a finished export counts as done.
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
build=$(cd "${QUINDLE_NATIVE_BUILD:-$root/build/native}" 2>/dev/null && pwd) || {
  echo "hosttest: no build folder ${QUINDLE_NATIVE_BUILD:-$root/build/native}" >&2; exit 1; }
work=${QUINDLE_HOSTTEST_DIR:-$root/build/hosttest}
attempts=${QUINDLE_ARDOUR_ATTEMPTS:-4}
formats=("$@")
[ ${#formats[@]} -gt 0 ] || formats=(LV2 LXVST VST3)
vst3_uid=313AD1CA8CA451ABFD5F28A91212A113

bash "$here/../install_packages.sh" Ardour ardour python3
for f in "$build/Quindle.so" "$build/Quindle.lv2/manifest.ttl" "$build/Quindle.vst3/Contents/x86_64-linux/Quindle.so" \
         "$build/quindle-host"; do
  [ -e "$f" ] || { echo "hosttest: $f is missing; build the native modules first" >&2; exit 1; }
done
step() { echo "hosttest: $*"; }

# scan SCANNER PLUGIN LOG: one of Ardour's scanners on one plug-in, filling the scan cache
# (XDG_CACHE_HOME) that ardour7-lua reads VST plug-ins from; it never scans by itself. The
# scanners exit 0 even when they cannot load a module: "Found Plugin:" is what counts.
scan() {
  LD_LIBRARY_PATH=/usr/lib/ardour7 "/usr/lib/ardour7/$1" -f -v "$2" >"$3" 2>&1 || true
  grep -q "Found Plugin:" "$3"
}

# The plug-in where the session looks for it, and Ardour's scan of it.
install_plugin() {  # FORMAT RUN
  case $1 in
    LV2) ln -s "$build/Quindle.lv2" "$2/plugins/Quindle.lv2" ;;
    LXVST)
      ln -s "$build/Quindle.so" "$2/plugins/Quindle.so"
      scan ardour-vst-scanner "$2/plugins/Quindle.so" "$2/scan.log" ;;
    VST3)
      ln -s "$build/Quindle.vst3" "$2/plugins/Quindle.vst3"
      scan ardour-vst3-scanner "$2/plugins/Quindle.vst3" "$2/scan.log" || return 1
      local expected
      for expected in "uid=\"$vst3_uid\"" 'name="Quindle"' 'vendor="Velkor"' 'category="Instrument|Synth"' \
                      'n_inputs="0" n_outputs="2"' 'n_midi_inputs="1" n_midi_outputs="0"'; do
        grep -qF "$expected" "$2/scan.log" || { echo "hosttest: the scanner's record lacks $expected" >&2; return 1; }
      done
      grep -E "Found Plugin|VST3Info" "$2/scan.log" | sed 's/^[[:space:]]*/  /' ;;
  esac
}

status=0
for format in "${formats[@]}"; do
  run=$(mkdir -p "$work" && cd "$work" && pwd)/ardour-${format,,}
  rm -rf "$run"
  mkdir -p "$run/plugins"
  python3 "$here/ardour_hosttest.py" prepare "$run" "$format"
  export HOME="$run/home" XDG_CACHE_HOME="$run/cache"
  if ! install_plugin "$format" "$run"; then
    [ ! -f "$run/scan.log" ] || cat "$run/scan.log" >&2
    echo "hosttest: FAIL: Ardour's scanner did not find Quindle as $format" >&2
    status=1
    continue
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
