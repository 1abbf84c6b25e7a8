#!/usr/bin/env bash
# Checks the committed demo piece, run by ctest in the native build: make_demo_midi.py
# still writes exactly the committed demo.mid, and quindle-host reads it and renders it
# (about 23 s of music plus the tail) through this build's module.
#
#   bash tools/demo/check_demo_piece.sh BUILD_DIR     (BUILD_DIR holds Quindle.so, quindle-host)
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "${1:?usage: check_demo_piece.sh BUILD_DIR}" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
passed=0
failed=0
report() {
  if [ "$1" -eq 0 ]; then echo "ok    $2"; passed=$((passed + 1)); else echo "FAIL  $2"; failed=$((failed + 1)); fi
}

python3 "$here/make_demo_midi.py" "$work/demo.mid" >/dev/null
status=0
cmp -s "$work/demo.mid" "$here/demo.mid" || status=$?
report $status "make_demo_midi.py writes the committed demo.mid"

status=0
"$build/quindle-host" render "$build/Quindle.so" "$here/demo.mid" "$work/demo.wav" --tail 1 --format s16 \
  >"$work/render.log" 2>&1 || status=$?
report $status "quindle-host renders demo.mid"
seconds=$(python3 -c 'import sys, wave; w = wave.open(sys.argv[1]); print(w.getnframes() // w.getframerate())' \
  "$work/demo.wav" 2>/dev/null || echo 0)
status=0
[ "$seconds" -ge 20 ] && [ "$seconds" -le 30 ] || status=1
report $status "the render lasts 20 to 30 seconds (${seconds} s)"

echo "$passed passed, $failed failed"
[ $failed -eq 0 ]
