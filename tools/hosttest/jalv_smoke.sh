#!/usr/bin/env bash
# jalv, the LV2 project's own standalone host, plays the bundle as an instrument on a JACK
# server with the dummy driver: it must load the plug-in with its thirteen controls, list
# the eight factory presets, apply one, and stop cleanly when its input ends.
#
#   bash tools/hosttest/jalv_smoke.sh        (part of make hosttest)
#
# Environment: QUINDLE_NATIVE_BUILD (default build/native), QUINDLE_HOSTTEST_DIR.
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
build=$(cd "${QUINDLE_NATIVE_BUILD:-$root/build/native}" 2>/dev/null && pwd) || {
  echo "hosttest: no build folder ${QUINDLE_NATIVE_BUILD:-$root/build/native}" >&2; exit 1; }
work=$(mkdir -p "${QUINDLE_HOSTTEST_DIR:-$root/build/hosttest}/jalv" && cd "${QUINDLE_HOSTTEST_DIR:-$root/build/hosttest}/jalv" && pwd)
uri=urn:velkor:quindle
preset=$uri:preset:knocky
preset_level=0.565000   # Knocky's A Level, as jalv prints it

bash "$here/../install_packages.sh" jalv jalv jackd2
[ -f "$build/Quindle.lv2/manifest.ttl" ] || { echo "hosttest: $build/Quindle.lv2 is missing" >&2; exit 1; }
rm -rf "$work/lv2"
mkdir -p "$work/lv2"
ln -s "$build/Quindle.lv2" "$work/lv2/Quindle.lv2"

# A JACK server of the test's own, so that none of the user's is touched.
export JACK_DEFAULT_SERVER=quindle-hosttest JACK_NO_AUDIO_RESERVATION=1
jackd --no-realtime -d dummy -r 48000 -p 1024 >"$work/jackd.log" 2>&1 &
jack=$!
trap 'kill $jack 2>/dev/null || true; wait $jack 2>/dev/null || true' EXIT
for _ in $(seq 1 50); do jack_lsp >/dev/null 2>&1 && break; sleep 0.1; done

echo "hosttest: jalv $(dpkg-query -W -f='${Version}' jalv) on JACK's dummy driver"
set +e
{ sleep 2; echo controls; sleep 0.5; echo presets; sleep 0.5; echo "preset $preset"; sleep 0.5; echo controls; sleep 0.5; } |
  LV2_PATH="$work/lv2:/usr/lib/lv2" timeout -k 5 30 jalv -n quindle-smoke "$uri" >"$work/jalv.log" 2>&1
status=$?
set -e

failures=0
check() {  # TEXT COMMAND...: passes when the command succeeds
  local text=$1
  shift
  if "$@"; then echo "  ok    $text"; else echo "  FAIL  $text"; failures=$((failures + 1)); fi
}
log=$work/jalv.log
controls=$(grep -oE '^(> )*[a-z_]+ = ' "$log" | sed 's/^[> ]*//' | sort -u | wc -l)
presets=$(grep -c "^\(> \)*$uri:preset:" "$log" || true)
check "jalv loaded $uri" grep -q "^Plugin: *$uri" "$log"
check "thirteen controls listed ($controls)" test "$controls" -eq 13
check "eight factory presets listed ($presets)" test "$presets" -eq 8
check "preset Knocky applied (a_level = $preset_level)" grep -qE "^(> )*a_level = $preset_level$" "$log"
check "jalv stopped cleanly when its input ended (status $status)" test "$status" -eq 0
echo "jalv: $((5 - failures)) passed, $failures failed"
[ $failures -eq 0 ]
