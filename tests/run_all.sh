#!/usr/bin/env bash
# Runs every test of the built configurations: the native ones (plain, ASan+UBSan,
# TSan), the x86 and x64 Windows ones under wine in one Xvfb display and one
# wineserver, then the cross-target identity comparison. Ends with one summary line.
set -uo pipefail
cd "$(dirname "$0")/.."
export WINEPREFIX="${WINEPREFIX:-$PWD/build/wineprefix}" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="

passed=0
failed=0
log=$(mktemp)
trap 'rm -f "$log"' EXIT

count() {  # adds one ctest run's totals from its closing line
  local line total bad
  line=$(grep -E 'tests passed, [0-9]+ tests failed out of [0-9]+' "$log" | tail -n 1)
  if [ -z "$line" ]; then failed=$((failed + 1)); return; fi
  bad=$(echo "$line" | sed -E 's/.* ([0-9]+) tests failed out of ([0-9]+).*/\1/')
  total=$(echo "$line" | sed -E 's/.* ([0-9]+) tests failed out of ([0-9]+).*/\2/')
  passed=$((passed + total - bad))
  failed=$((failed + bad))
}

for preset in native native-asan native-tsan; do
  echo "== test $preset"
  ctest --preset "$preset" 2>&1 | tee "$log"
  count
done

echo "== test win32 and win64 (wine, xvfb)"
# One display and one server for the whole Windows run: a wineserver first started
# without a display could not create windows later.
xvfb-run -a bash -c '
  bash cmake/wine-run.sh cmd /c exit >/dev/null 2>&1
  for preset in win32 win64; do ctest --preset $preset; done
  wineserver -k' 2>&1 | tee "$log.windows"
for part in 1 2; do
  awk -v n=$part '/tests passed, [0-9]+ tests failed/{c++; if (c==n) print}' "$log.windows" > "$log"
  count
done
rm -f "$log.windows"

echo "== identity of the native, x86 and x64 builds"
if xvfb-run -a bash tests/identity/compare_targets.sh build/native build/win32 build/win64; then
  passed=$((passed + 1))
else
  failed=$((failed + 1))
fi

echo "make test: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
