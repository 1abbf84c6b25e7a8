#!/usr/bin/env bash
# The host tests: Quindle played by real hosts nobody here wrote, each checked against
# quindle-host's render of the same notes, or loaded and inspected by the host's own
# scanner. Every part runs, then one summary line; the status is 1 when any part failed.
#
#   bash tools/hosttest/run_hosttest.sh        (or: make hosttest)
#
#   LMMS 1.2.2 (wine)       the x86 DLL                         run_lmms.sh
#   Ardour 7.3 (headless)   the LV2 bundle, the Linux VST 2     run_ardour.sh
#                           module and the VST 3 bundle
#   jalv 1.6.6 (JACK)       the LV2 bundle as a standalone      jalv_smoke.sh
#   Qtractor 0.9.31 scanner the Linux CLAP plug-in               qtractor_clap_scan.sh
set -uo pipefail

here=$(cd "$(dirname "$0")" && pwd)
parts=(run_lmms.sh run_ardour.sh jalv_smoke.sh qtractor_clap_scan.sh)
failed=()
for part in "${parts[@]}"; do
  echo "== host test: $part"
  bash "$here/$part" || failed+=("$part")
done
if [ ${#failed[@]} -eq 0 ]; then
  echo "make hosttest: all ${#parts[@]} parts passed"
else
  echo "make hosttest: ${#failed[@]} of ${#parts[@]} parts failed: ${failed[*]}"
  exit 1
fi
