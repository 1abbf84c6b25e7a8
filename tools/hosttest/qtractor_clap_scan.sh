#!/usr/bin/env bash
# Qtractor's plug-in scanner, a CLAP host nobody here wrote, loads the Linux Quindle.clap
# the way Qtractor does when it looks for plug-ins (entry, factory, instance, ports,
# parameters, gui and state extensions; never activated) and must find one instrument
# named Quindle with no audio input, two outputs, one note input, thirteen parameters, an
# X11 editor and its state. Two paths in one run load the module twice, which its entry's
# init count must allow.
#
#   bash tools/hosttest/qtractor_clap_scan.sh        (part of make hosttest)
#
# Environment: QUINDLE_NATIVE_BUILD (default build/native).
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
build=$(cd "${QUINDLE_NATIVE_BUILD:-$root/build/native}" 2>/dev/null && pwd) || {
  echo "hosttest: no build folder ${QUINDLE_NATIVE_BUILD:-$root/build/native}" >&2; exit 1; }
module=$build/Quindle.clap
scanner=/usr/lib/x86_64-linux-gnu/qtractor/qtractor_plugin_scan

bash "$here/../install_packages.sh" Qtractor qtractor
[ -f "$module" ] || { echo "hosttest: $module is missing (build the native target)" >&2; exit 1; }
[ -x "$scanner" ] || { echo "hosttest: $scanner is missing" >&2; exit 1; }

echo "hosttest: Qtractor $(dpkg-query -W -f='${Version}' qtractor) scanner on $module"
# The scanner exits 0 whatever it finds: what it prints is the answer.
output=$(printf 'CLAP:%s\nCLAP:%s\n' "$module" "$module" | "$scanner" 2>&1) || true
echo "$output" | sed 's/^/  /'

# CLAP|name|audio in:out|note in:out|parameters in:out|flags|path|index|hash (varies)
expected="CLAP|Quindle|0:2|1:0|13:0|FLAGS|$module|0"
failures=0
lines=$(echo "$output" | grep -c '^CLAP|' || true)
if [ "$lines" != 2 ]; then
  echo "hosttest: expected 2 plug-in lines (one per path), found $lines"
  failures=$((failures + 1))
fi
while IFS= read -r line; do
  fields=$(echo "$line" | cut -d'|' -f1-8)
  flags=$(echo "$line" | cut -d'|' -f6)
  if [ "${fields/|$flags|/|FLAGS|}" != "$expected" ]; then
    echo "hosttest: found    $fields"
    echo "hosttest: expected $expected (FLAGS with GUI, EXT and RT)"
    failures=$((failures + 1))
  fi
  # GUI: the gui extension takes "x11"; EXT: the state extension; RT: always.
  for flag in GUI EXT RT; do
    case ",$flags," in *",$flag,"*) ;; *) echo "hosttest: flag $flag missing in '$flags'"; failures=$((failures + 1)) ;; esac
  done
done < <(echo "$output" | grep '^CLAP|')
if echo "$output" | grep -q 'plugin file error'; then
  echo "hosttest: the scanner could not create or initialise the plug-in"
  failures=$((failures + 1))
fi

if [ $failures -eq 0 ]; then
  echo "hosttest: Qtractor's scanner finds Quindle.clap as expected"
else
  echo "hosttest: Qtractor's scanner check failed ($failures problems)"
  exit 1
fi
